// The Receive view's gallery strip: the latest pictures with their time, mode
// and callsign, a click placing one as the working picture, and "Decode again".
#include <QComboBox>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

#include "picture/picture_files.h"
#include "picture/picture_view.h"
#include "receiver/decode_again.h"
#include "receiver/gallery_names.h"
#include "receiver/listen_panel.h"
#include "widgets/named_control.h"

namespace tonobild {

namespace {

constexpr int kStripPictures = 12;
constexpr int kThumbnailWidth = 80;

// What the strip keeps of each picture besides its path (Qt::UserRole).
enum StripRole { RecordingRole = Qt::UserRole + 1, TimeRole, OptionsRole, ReportRole };

QString stripCaption(const GalleryItem& item)
{
    const std::string stem = QFileInfo(item.entry.picturePath).completeBaseName().toStdString();
    return QStringList{item.entry.time.toString(QStringLiteral("HH:mm:ss")),
                       QString::fromStdString(modeOfIndexLine(item.decodeOptions.toStdString(), item.report.toStdString())),
                       QString::fromStdString(namePartOfStem(stem))}
        .join(QLatin1Char('\n'));
}

GalleryItem itemOf(const QListWidgetItem& strip)
{
    return {{strip.data(Qt::UserRole).toString(), strip.data(RecordingRole).toString(),
             strip.data(TimeRole).toDateTime()},
            strip.data(OptionsRole).toString(),
            strip.data(ReportRole).toString()};
}

bool isStandard(const GalleryItem& item)
{
    return item.decodeOptions.startsWith(QLatin1String("--standard"));
}

// A number typed by hand, or none when the box is empty; false when it is no
// number or lies beyond +-`reach`.
bool numberTyped(const QLineEdit* box, std::optional<double>& value, double reach)
{
    value.reset();
    if (box->text().trimmed().isEmpty())
        return true;
    bool ok = false;
    value = box->text().toDouble(&ok);
    return ok && standard::withinReach(*value, reach);
}

} // namespace

QWidget* ListenPanel::buildGalleryRow()
{
    galleryStrip = named(new QListWidget, "galleryStrip", QStringLiteral("Gallery"));
    galleryStrip->setViewMode(QListView::IconMode);
    galleryStrip->setFlow(QListView::LeftToRight);
    galleryStrip->setWrapping(false);
    galleryStrip->setWordWrap(true);
    galleryStrip->setIconSize(QSize(kThumbnailWidth, kThumbnailWidth * 3 / 4));
    galleryStrip->setGridSize(QSize(kThumbnailWidth + 24, kThumbnailWidth * 3 / 4 + 3 * fontMetrics().height() + 8));
    galleryStrip->setFixedHeight(galleryStrip->gridSize().height() + 24);
    againMode = named(new QComboBox, "decodeAgainMode", QStringLiteral("Mode to decode again in"));
    againMode->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    againMode->setMinimumContentsLength(12);
    againMode->addItem(QStringLiteral("Mode as found"), QString());
    for (const standard::StandardMode& mode : standard::modeTable())
        againMode->addItem(QString::fromStdString(mode.name), QString::fromStdString(mode.shortName));
    againPpm = named(new QLineEdit, "decodeAgainPpm", QStringLiteral("Slant in ppm"));
    againOffset = named(new QLineEdit, "decodeAgainOffset", QStringLiteral("Offset in Hz"));
    for (QLineEdit* box : {againPpm, againOffset}) {
        box->setPlaceholderText(QStringLiteral("measured"));
        box->setMaximumWidth(80);
    }
    decodeAgainButton = named(new QPushButton(QStringLiteral("Decode again")), "decodeAgainButton",
                              QStringLiteral("Decode again"));
    decodeAgainButton->setToolTip(QStringLiteral(
        "Decode the standard picture chosen in the strip once more from its recording, with the mode, slant and "
        "offset set here; the new picture is kept beside the old one"));
    decodeAgainButton->setEnabled(false);
    auto* again = new QHBoxLayout;
    again->addWidget(againMode, 1);
    for (const auto& [caption, box] : {std::pair{"Slant (ppm):", againPpm}, {"Offset (Hz):", againOffset}}) {
        auto* label = new QLabel(QString::fromLatin1(caption));
        label->setBuddy(box);
        again->addWidget(label);
        again->addWidget(box);
    }
    again->addWidget(decodeAgainButton);
    auto* row = new QWidget;
    auto* layout = new QVBoxLayout(row);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(galleryStrip);
    layout->addLayout(again);
    // A click, or Enter on the chosen picture.
    const auto place = [this](QListWidgetItem* item) { host_.placeGalleryPicture(item->data(Qt::UserRole).toString()); };
    connect(galleryStrip, &QListWidget::itemClicked, this, place);
    connect(galleryStrip, &QListWidget::itemActivated, this, place);
    connect(galleryStrip, &QListWidget::currentItemChanged, this, &ListenPanel::chooseForDecodeAgain);
    connect(decodeAgainButton, &QPushButton::clicked, this, &ListenPanel::decodeAgain);
    return row;
}

void ListenPanel::showKept(const ReceivedPicture& picture, const GalleryEntry& entry)
{
    livePicture->setImage(toImage(picture.picture));
    clearReceiving();
    const QString read = picture.namePart.empty() ? QStringLiteral("no signature")
                                                  : QString::fromStdString(picture.namePart);
    statusLabel->setText(QStringLiteral("Received %1 (%2); listening").arg(QFileInfo(entry.picturePath).fileName(), read));
    addToGalleryStrip({entry, QString::fromStdString(picture.decodeOptions), QString::fromLatin1(picture.report)},
                      true);
}

void ListenPanel::fillGalleryStrip()
{
    stripFilled_ = true;
    galleryStrip->clear();
    const Gallery gallery(folderBox->text());
    const QHash<QString, GalleryItem> indexed = gallery.indexed();
    for (const QString& path : gallery.latestPictures(kStripPictures)) {
        GalleryItem item = indexed.value(QFileInfo(path).fileName());
        item.entry.picturePath = path;
        if (!item.entry.time.isValid())
            item.entry.time = QFileInfo(path).lastModified();
        addToGalleryStrip(item, false);
    }
}

void ListenPanel::addToGalleryStrip(const GalleryItem& item, bool newest)
{
    const LoadedPicture loaded = loadPictureFile(item.entry.picturePath);
    if (loaded.image.isNull())
        return;
    auto* strip = new QListWidgetItem(QIcon(QPixmap::fromImage(loaded.image.scaledToWidth(kThumbnailWidth))),
                                      stripCaption(item));
    strip->setData(Qt::UserRole, item.entry.picturePath);
    strip->setData(RecordingRole, item.entry.recordingPath);
    strip->setData(TimeRole, item.entry.time);
    strip->setData(OptionsRole, item.decodeOptions);
    strip->setData(ReportRole, item.report);
    strip->setToolTip(item.entry.picturePath + QLatin1Char('\n') + item.report);
    if (newest)
        galleryStrip->insertItem(0, strip);
    else
        galleryStrip->addItem(strip);
    while (galleryStrip->count() > kStripPictures)
        delete galleryStrip->takeItem(galleryStrip->count() - 1);
}

// Only a standard picture with its recording can be decoded again here; the
// own format's recording is decoded again with Decode and the window's settings.
void ListenPanel::chooseForDecodeAgain()
{
    const QListWidgetItem* item = galleryStrip->currentItem();
    decodeAgainButton->setEnabled(item != nullptr && isStandard(itemOf(*item)));
}

void ListenPanel::decodeAgain()
{
    const QListWidgetItem* chosen = galleryStrip->currentItem();
    if (chosen == nullptr || !isStandard(itemOf(*chosen)))
        return;
    standard::ReceiveOptions options;
    options.mode = standard::findMode(againMode->currentData().toString().toStdString());
    if (!numberTyped(againPpm, options.byHand.ppm, standard::kHandPpmReach) ||
        !numberTyped(againOffset, options.byHand.offsetHz, standard::kHandOffsetReach)) {
        statusLabel->setText(QStringLiteral("Decode again: the slant (up to +-%1 ppm) and the offset (up to +-%2 Hz) are "
                                            "numbers, or empty to measure them.")
                                 .arg(standard::kHandPpmReach)
                                 .arg(standard::kHandOffsetReach));
        return;
    }
    // Kept in the gallery the picture came from, whatever the folder box says now.
    const GalleryItem item = itemOf(*chosen);
    const auto result =
        tonobild::decodeAgain(Gallery(QFileInfo(item.entry.picturePath).absolutePath()), item, options);
    if (const QString* problem = std::get_if<QString>(&result)) {
        statusLabel->setText(QStringLiteral("Decode again: %1.").arg(*problem));
        return;
    }
    const auto& again = std::get<DecodedAgain>(result);
    livePicture->setImage(toImage(again.picture.picture));
    statusLabel->setText(QStringLiteral("Decoded again into %1: %2")
                             .arg(QFileInfo(again.entry.picturePath).fileName(), QString::fromLatin1(again.picture.report)));
    addToGalleryStrip({again.entry, QString::fromStdString(again.picture.decodeOptions),
                       QString::fromLatin1(again.picture.report)},
                      true);
}

} // namespace tonobild
