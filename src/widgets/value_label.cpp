#include "widgets/value_label.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QLabel>

namespace tonobild {

namespace {

constexpr const char* kValueLabelProperty = "tonobildValueLabel";

class ValueLabelAccessible final : public QAccessibleWidget {
public:
    explicit ValueLabelAccessible(QLabel* label) : QAccessibleWidget(label, QAccessible::StaticText) {}

    QString text(QAccessible::Text kind) const override
    {
        if (kind == QAccessible::Value || kind == QAccessible::Description)
            return static_cast<QLabel*>(widget())->text();
        return QAccessibleWidget::text(kind);
    }
};

QAccessibleInterface* valueLabelInterface(const QString&, QObject* object)
{
    auto* label = qobject_cast<QLabel*>(object);
    if (label && label->property(kValueLabelProperty).toBool())
        return new ValueLabelAccessible(label);
    return nullptr;
}

} // namespace

void markAsValueLabel(QLabel* label)
{
    static const bool installed = [] {
        QAccessible::installFactory(valueLabelInterface);
        return true;
    }();
    (void)installed;
    label->setProperty(kValueLabelProperty, true);
}

} // namespace tonobild
