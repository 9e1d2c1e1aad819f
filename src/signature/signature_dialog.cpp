#include "signature/signature_dialog.h"

#include <QCloseEvent>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "widgets/user_dialogs.h"
#include "signature/signature_text.h"

namespace tonobild {

namespace {

QLabel* makeLabel(QWidget* parent, const char* name, const QString& caption)
{
    auto* label = new QLabel(caption, parent);
    label->setObjectName(QLatin1String(name));
    label->setAccessibleName(caption);
    return label;
}

QPushButton* makeButton(QWidget* parent, const char* name, const QString& caption)
{
    auto* button = new QPushButton(caption, parent);
    button->setObjectName(QLatin1String(name));
    button->setAccessibleName(caption);
    return button;
}

} // namespace

SignatureDialog::SignatureDialog(UserDialogs& dialogs, QWidget* parent) : QWidget(parent, Qt::Window), dialogs_(dialogs)
{
    setObjectName(QStringLiteral("Form3"));
    setWindowTitle(QStringLiteral("Digital Signature Options"));
    setAttribute(Qt::WA_DeleteOnClose);

    label1_ = makeLabel(this, "Label1",
                        QStringLiteral("The Digital Signature is a unique signature which will identify your own transmission"));
    label1_->setWordWrap(true);
    label2_ = makeLabel(this, "Label2", QStringLiteral("Class of Transmission:"));
    label3_ = makeLabel(this, "Label3", QStringLiteral("Amateur"));
    label4_ = makeLabel(this, "Label4", QStringLiteral("Your Personal Codeword:"));
    text1_ = new QLineEdit(QStringLiteral("KLM456"), this);
    text1_->setObjectName(QStringLiteral("Text1"));
    text1_->setAccessibleName(QStringLiteral("Your Personal Codeword"));
    label4_->setBuddy(text1_);
    capacity_ = makeLabel(this, "capacity", QString());
    capacity_->setWordWrap(true);
    command1_ = makeButton(this, "Command1", QStringLiteral("Set Signature"));
    command2_ = makeButton(this, "Command2", QStringLiteral("Cancel Signature"));

    auto* fields = new QGridLayout;
    fields->addWidget(label2_, 0, 0);
    fields->addWidget(label3_, 0, 1);
    fields->addWidget(label4_, 1, 0);
    fields->addWidget(text1_, 1, 1);
    fields->addWidget(capacity_, 2, 0, 1, 2);
    fields->addWidget(command1_, 3, 0);
    fields->addWidget(command2_, 3, 1);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(label1_);
    layout->addLayout(fields);

    connect(command1_, &QPushButton::clicked, this, &SignatureDialog::setSignature);
    connect(command2_, &QPushButton::clicked, this, &SignatureDialog::cancelSignature);
    connect(text1_, &QLineEdit::textChanged, this, &SignatureDialog::showCapacity);
    capacity_->hide();
}

void SignatureDialog::setSignatureRoom(int longestSignature, const QString& resolution)
{
    longestSignature_ = longestSignature;
    resolution_ = resolution;
    capacity_->show();
    showCapacity();
}

void SignatureDialog::showCapacity()
{
    if (resolution_.isEmpty())
        return;
    const QString note = codewordCapacityNote(text1_->text(), longestSignature_, resolution_);
    capacity_->setText(note);
    capacity_->setAccessibleName(note);
}

void SignatureDialog::setSignature()
{
    QString codeword = text1_->text();
    if (!resolution_.isEmpty())
        codeword.truncate(readableCodewordLength(longestSignature_)); // what a receiver reads back whole
    const std::optional<std::string> text = amateurSignatureText(codeword);
    if (!text) {
        dialogs_.message(this, windowTitle(),
                         QStringLiteral("The codeword can only hold Latin-1 characters (codes 0 to 255). "
                                        "Please change it and set the signature again."));
        return;
    }
    hide();
    emit signatureSet(QString::fromLatin1(text->data(), static_cast<qsizetype>(text->size())));
}

void SignatureDialog::cancelSignature()
{
    hide();
    emit signatureCancelled();
}

void SignatureDialog::closeEvent(QCloseEvent* event)
{
    event->accept();
    emit signatureCancelled();
}

} // namespace tonobild
