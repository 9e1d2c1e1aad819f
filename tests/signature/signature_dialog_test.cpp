// The signature dialog alone, on the offscreen platform.
#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>

#include "signature/signature_dialog.h"
#include "signature/signature_text.h"
#include "support/fake_dialogs.h"

using namespace tonobild;

namespace {

using testdata::FakeDialogs;

// What the dialog told its owner.
struct Signals {
    explicit Signals(SignatureDialog& dialog)
    {
        QObject::connect(&dialog, &SignatureDialog::signatureSet, [this](const QString& text) { setTexts << text; });
        QObject::connect(&dialog, &SignatureDialog::signatureCancelled, [this] { ++cancels; });
    }
    QStringList setTexts;
    int cancels = 0;
};

template <typename Widget>
Widget* child(QWidget& dialog, const char* name)
{
    auto* widget = dialog.findChild<Widget*>(QLatin1String(name));
    EXPECT_NE(widget, nullptr) << name;
    return widget;
}

} // namespace

TEST(SignatureDialog, ShowsItsControlsWithTheirCaptions)
{
    FakeDialogs dialogs;
    SignatureDialog dialog(dialogs);
    EXPECT_EQ(dialog.objectName(), "Form3");
    EXPECT_EQ(dialog.windowTitle(), "Digital Signature Options");
    EXPECT_EQ(child<QLabel>(dialog, "Label1")->text(),
              "The Digital Signature is a unique signature which will identify your own transmission");
    EXPECT_EQ(child<QLabel>(dialog, "Label2")->text(), "Class of Transmission:");
    EXPECT_EQ(child<QLabel>(dialog, "Label3")->text(), "Amateur");
    EXPECT_EQ(child<QLabel>(dialog, "Label4")->text(), "Your Personal Codeword:");
    EXPECT_EQ(child<QLineEdit>(dialog, "Text1")->text(), "KLM456");
    EXPECT_EQ(child<QPushButton>(dialog, "Command1")->text(), "Set Signature");
    EXPECT_EQ(child<QPushButton>(dialog, "Command1")->accessibleName(), "Set Signature");
    EXPECT_EQ(child<QPushButton>(dialog, "Command2")->text(), "Cancel Signature");
    EXPECT_FALSE(child<QLineEdit>(dialog, "Text1")->accessibleName().isEmpty());
}

TEST(SignatureDialog, SetSignatureSendsSpaceAThenTheCodewordAndHides)
{
    FakeDialogs dialogs;
    SignatureDialog dialog(dialogs);
    Signals sent(dialog);
    dialog.show();

    child<QPushButton>(dialog, "Command1")->click();
    EXPECT_EQ(sent.setTexts.last(), " AKLM456");
    EXPECT_FALSE(dialog.isVisible());

    child<QLineEdit>(dialog, "Text1")->setText(QString());
    child<QPushButton>(dialog, "Command1")->click();
    EXPECT_EQ(sent.setTexts.last(), " A");

    child<QLineEdit>(dialog, "Text1")->setText(QStringLiteral("G\u00e9rard 7 "));
    child<QPushButton>(dialog, "Command1")->click();
    EXPECT_EQ(sent.setTexts.last(), QStringLiteral(" AG\u00e9rard 7 "));
    EXPECT_TRUE(dialogs.messages.empty());
}

TEST(SignatureDialog, RefusesACodewordOutsideLatin1WithAMessage)
{
    FakeDialogs dialogs;
    SignatureDialog dialog(dialogs);
    Signals sent(dialog);
    dialog.show();

    child<QLineEdit>(dialog, "Text1")->setText(QStringLiteral("KLM\u20ac"));
    child<QPushButton>(dialog, "Command1")->click();
    EXPECT_TRUE(sent.setTexts.isEmpty());
    EXPECT_TRUE(dialog.isVisible());
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_EQ(dialogs.messages.front().title, "Digital Signature Options");
    EXPECT_TRUE(dialogs.messages.front().text.contains(QLatin1String("Latin-1")));
}

TEST(SignatureDialog, CancelClearsAndKeepsTheTypedCodewordForTheNextOpening)
{
    FakeDialogs dialogs;
    SignatureDialog dialog(dialogs);
    Signals sent(dialog);
    dialog.show();
    child<QLineEdit>(dialog, "Text1")->setText(QStringLiteral("XYZ"));

    child<QPushButton>(dialog, "Command2")->click();
    EXPECT_EQ(sent.cancels, 1);
    EXPECT_FALSE(dialog.isVisible());
    dialog.show();
    EXPECT_EQ(child<QLineEdit>(dialog, "Text1")->text(), "XYZ");
}

TEST(SignatureDialog, ClosingFromTheFrameCancelsAndUnloads)
{
    FakeDialogs dialogs;
    QPointer<SignatureDialog> dialog = new SignatureDialog(dialogs);
    Signals sent(*dialog);
    dialog->show();
    child<QLineEdit>(*dialog, "Text1")->setText(QStringLiteral("XYZ"));

    EXPECT_TRUE(dialog->close());
    EXPECT_EQ(sent.cancels, 1);
    EXPECT_TRUE(sent.setTexts.isEmpty());
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(dialog.isNull());

    SignatureDialog reopened(dialogs);
    EXPECT_EQ(child<QLineEdit>(reopened, "Text1")->text(), "KLM456");
}

TEST(SignatureText, IsSingleByteTextOrNothing)
{
    EXPECT_EQ(amateurSignatureText(QStringLiteral("KLM456")), std::optional<std::string>(" AKLM456"));
    EXPECT_EQ(amateurSignatureText(QStringLiteral("\u00ff")), std::optional<std::string>(" A\xff"));
    EXPECT_EQ(amateurSignatureText(QStringLiteral("\u0100")), std::nullopt);
}
