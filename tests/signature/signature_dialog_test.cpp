// The signature dialog alone, on the offscreen platform.
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QSignalSpy>

#include "signature/signature_dialog.h"
#include "support/fake_dialogs.h"

using namespace tonobild;

TEST(SignatureDialog, SetSendsSpaceAAndTheCodewordSaysWhatWillBeCutWhileCancelAndClosingFromTheFrameClearIt)
{
    testdata::FakeDialogs dialogs;
    QPointer<SignatureDialog> dialog = new SignatureDialog(dialogs);
    QSignalSpy set(dialog.data(), &SignatureDialog::signatureSet);
    QSignalSpy cancelled(dialog.data(), &SignatureDialog::signatureCancelled);
    auto* codeword = dialog->findChild<QLineEdit*>(QStringLiteral("Text1"));
    auto* note = dialog->findChild<QLabel*>(QStringLiteral("capacity"));
    const auto click = [&](const char* button) { dialog->findChild<QPushButton*>(QLatin1String(button))->click(); };
    ASSERT_TRUE(note && codeword && codeword->text() == "KLM456");

    // Set hides the dialog, except when the codeword leaves Latin-1: then it says why and stays
    // (a plain codeword set is the window's whole road).
    for (const QString& typed : {QString(), QStringLiteral("G\u00e9rard 7\u00ff"), QStringLiteral("KLM\u0100")}) {
        dialog->show();
        codeword->setText(typed);
        click("Command1");
        EXPECT_EQ(dialog->isVisible(), typed.contains(QChar(0x100))) << typed.toStdString();
    }
    ASSERT_TRUE(dialogs.messages.size() == 1 && dialogs.messages.front().contains(QLatin1String("Latin-1")));

    // The note under the codeword follows the typing and names what a receiver loses.
    dialog->setSignatureRoom(54, QStringLiteral("160 x 120"));
    codeword->setText(QString(50, 'K') + "XYZ");
    EXPECT_EQ(note->text(), "At 160 x 120 a receiver reads back 52 characters of the codeword. "
                            "This one has 53: \"Z\" will be cut.");
    EXPECT_EQ(note->accessibleName(), note->text());
    click("Command1");
    QStringList sent;
    for (const QList<QVariant>& arguments : set)
        sent << arguments[0].toString();
    EXPECT_EQ(sent, (QStringList{" A", QStringLiteral(" AG\u00e9rard 7\u00ff"), " A" + QString(50, 'K') + "XY"}));
    dialog->setSignatureRoom(1, QStringLiteral("tiny"));
    EXPECT_TRUE(note->text().startsWith("At tiny a receiver reads back 0 characters of the codeword. This one has 53"));

    // Cancel hides and keeps the typed codeword; the frame's close unloads the dialog.
    dialog->show();
    codeword->setText(QStringLiteral("XYZ"));
    click("Command2");
    EXPECT_TRUE(cancelled.size() == 1 && !dialog->isVisible());
    dialog->show();
    EXPECT_EQ(codeword->text(), "XYZ");
    EXPECT_TRUE(dialog->close() && cancelled.size() == 2 && set.size() == 3);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(dialog.isNull());
}

