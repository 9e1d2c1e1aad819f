// The working picture on the window side: the preparation for sending
// (p1updat), the preview and its clicks, the XShift and YShift read-outs, the
// digital coding buttons, and loading and saving picture files.
#include <QCheckBox>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

#include "widgets/clickable_label.h"
#include "app/form1.h"
#include "widgets/check_values.h"
#include "widgets/user_dialogs.h"
#include "digital/digital_coding.h"
#include "picture/picture_files.h"
#include "picture/picture_view.h"
#include "picture/picture_viewer.h"
#include "picture/preview.h"
#include "signature/preparation.h"
#include "settings/option_choices.h"
#include "signature/signature_codec.h"

namespace tonobild {

void Form1::connectPictureReactions()
{
    connect(Image1, &PictureView::released, this, &Form1::Image1_MouseUp);
    connect(viewButton, &QPushButton::clicked, this, &Form1::showFullSizePicture);
    connect(Picture1, &PictureView::released, this, [this](Qt::MouseButton button, QPointF position) {
        const QRectF area = Picture1->pictureRect();
        if (area.isEmpty() || !area.contains(position))
            return;
        const int x = static_cast<int>((position.x() - area.left()) * picture_.width() / area.width());
        const int y = static_cast<int>((position.y() - area.top()) * picture_.height() / area.height());
        Picture1_MouseUp(button, x, y);
    });
    for (QLabel* duration : {Label12, Label13, Label14})
        connect(static_cast<ClickableLabel*>(duration), &ClickableLabel::clicked, this, &Form1::p1updat);
    connect(static_cast<ClickableLabel*>(Label15), &ClickableLabel::clicked, this, &Form1::Label15_Click);
    connect(Command5, &QPushButton::clicked, this, [this] { Label4->setText(QStringLiteral("0")); });
    connect(Command6, &QPushButton::clicked, this, [this] { Label5->setText(QStringLiteral("0")); });
    connect(Command19, &QPushButton::clicked, this, &Form1::Command19_Click);
    connect(Command20, &QPushButton::clicked, this, &Form1::Command20_Click);
    connect(Command21, &QPushButton::clicked, this, &Form1::Command21_Click);
    connect(Command11, &QPushButton::clicked, this, &Form1::Command11_Click);
    connect(Command9, &QPushButton::clicked, this, &Form1::Command9_Click);
}

// The picture as it will be sent: with the caption, when there is one.
void Form1::refreshPreview()
{
    Image1->setImage(toImage(sendingPicture()));
}

// Makes the working picture ready for sending: the resolution follows the
// width of the picture most recently placed (the option's own reaction resizes
// only when the selection changes), and the signature is stamped unless the
// picture already carries one.
void Form1::p1updat()
{
    refreshPreview();
    option(resolutionOption(chooseResolution(picture_)))->setChecked(true);
    putcode(picture_, state_, isTicked(Check9));
    refreshPreview();
    Label15_Click();
}

void Form1::Label15_Click()
{
    Label15->setText(QString::fromLatin1(readSignatureCaption(picture_, state_, isTicked(Check9))));
}

void Form1::Picture1_MouseUp(Qt::MouseButton, int x, int y)
{
    Label4->setText(QString::number(x));
    Label5->setText(QString::number(y));
}

void Form1::Image1_MouseUp(Qt::MouseButton button, QPointF position)
{
    if (button == Qt::LeftButton) {
        const PicturePosition at = previewClickPosition(position.x(), position.y(), kPreviewWidth, picture_.width());
        Picture1_MouseUp(Qt::LeftButton, at.x, at.y);
        return;
    }
    blackenLeftColumns(picture_, previewClickColumn(position.x(), kPreviewWidth, picture_.width()));
    p1updat();
}

void Form1::Command20_Click()
{
    digitalEncode(picture_);
    p1updat();
}

void Form1::Command21_Click()
{
    digitalDecode(picture_);
    p1updat();
}

// Places a picture at its own size and prepares it for sending.
void Form1::placePicture(const QImage& image)
{
    placeImage(picture_, image);
    p1updat();
}

void Form1::showFullSizePicture()
{
    auto* viewer = new PictureViewer(toImage(picture_), this);
    viewer->show();
}

void Form1::Command11_Click()
{
    placePictureFile(Text4->text(), QStringLiteral("Load from file"));
}

void Form1::placePictureFile(const QString& path, const QString& title)
{
    const LoadedPicture loaded = loadPictureFile(path);
    if (loaded.image.isNull()) {
        dialogs_.message(this, title, QStringLiteral("Cannot load the picture %1: %2").arg(path, loaded.problem));
        return;
    }
    placePicture(loaded.image);
}

void Form1::Command9_Click()
{
    const QString path = Text3->text();
    const QString problem = savePictureFile(toImage(picture_), path);
    if (!problem.isEmpty())
        dialogs_.message(this, QStringLiteral("Save to file"),
                         QStringLiteral("Cannot save the picture to %1: %2").arg(path, problem));
}

} // namespace tonobild
