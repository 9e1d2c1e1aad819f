// The "Digital Signature Options" window (Form3): sets or clears the signature
// text that the preparation stamps into every picture it prepares. The dialog
// only emits signals; the owner keeps the text and hides / shows the main window.
//
// Set and Cancel hide the dialog, so the codeword typed stays for the next
// opening. Closing it from the window frame acts like Cancel and unloads it (the
// widget deletes itself), so an owner holding it in a QPointer creates a fresh
// one, showing "KLM456" again, at the next opening.
#pragma once

#include <QString>
#include <QWidget>

class QLabel;
class QLineEdit;
class QPushButton;

namespace tonobild {

class UserDialogs;

class SignatureDialog : public QWidget {
    Q_OBJECT

public:
    explicit SignatureDialog(UserDialogs& dialogs, QWidget* parent = nullptr);

    // The room the current transmission settings leave for the signature text,
    // and the resolution's name for the note under the codeword. From then on
    // Set Signature cuts a longer codeword to what a receiver reads back whole.
    void setSignatureRoom(int longestSignature, const QString& resolution);

signals:
    // "Set Signature": the new signature text, a space, "A" and the codeword; Latin-1 only.
    void signatureSet(const QString& text);
    // "Cancel Signature" or closing from the frame: the signature text becomes empty.
    void signatureCancelled();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void setSignature();
    void cancelSignature();
    void showCapacity();

    UserDialogs& dialogs_;
    QLabel* label1_ = nullptr;
    QLabel* label2_ = nullptr;
    QLabel* label3_ = nullptr;
    QLabel* label4_ = nullptr;
    QLabel* capacity_ = nullptr; // how much of the codeword a receiver reads back
    QLineEdit* text1_ = nullptr;
    QPushButton* command1_ = nullptr;
    QPushButton* command2_ = nullptr;
    int longestSignature_ = 0;
    QString resolution_;
};

} // namespace tonobild
