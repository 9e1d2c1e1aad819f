// "Digital Signing options": the signature dialog sets or clears the signature
// text. The main window is hidden while the dialog is open.
#include <QPushButton>

#include "app/form1.h"
#include "signature/signature_codec.h"
#include "signature/signature_dialog.h"
#include "signature/signature_text.h"

namespace tonobild {

void Form1::Command19_Click()
{
    if (!form3_) {
        form3_ = new SignatureDialog(dialogs_);
        connect(form3_, &SignatureDialog::signatureSet, this, [this](const QString& text) {
            setSignatureText(text);
            form3_->hide();
            show();
        });
        connect(form3_, &SignatureDialog::signatureCancelled, this, [this] {
            setSignatureText(QString());
            if (form3_)
                form3_->hide();
            if (!closing_)
                show();
        });
        connect(this, &Form1::programEnding, form3_, &QWidget::close);
    }
    if (const std::optional<EncoderSettings> settings = encoderSettings()) {
        const QString resolution =
            transmissionSizeName(settings->pictureWidth, settings->pictureHeight, settings->columnStep);
        form3_->setSignatureRoom(longestReadableSignature(settings->groupsPerLine(), settings->columnStep), resolution);
    }
    hide();
    form3_->show();
}

} // namespace tonobild
