#include "receiver/listen_panel.h"

#include <QComboBox>
#include <QFileInfo>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>
#include <cmath>

#include "picture/picture_files.h"
#include "picture/picture_view.h"
#include "settings/settings_store.h"
#include "settings/sound_device_keys.h"

namespace tonobild {

namespace {

constexpr qint64 kRepaintIntervalMs = 16; // the screen's rate
constexpr int kStripPictures = 12;
constexpr int kThumbnailWidth = 80;
const QString kListenCaption = QStringLiteral("Listen");
const QString kStopCaption = QStringLiteral("Stop listening");

QString timeText(double seconds)
{
    const int whole = static_cast<int>(std::lround(seconds));
    return QStringLiteral("%1:%2").arg(whole / 60).arg(whole % 60, 2, 10, QLatin1Char('0'));
}

} // namespace

ListenPanel::ListenPanel(Host& host, SettingsStore& store, QWidget* parent)
    : QWidget(parent), host_(host), store_(store),
      ownFinder_(host.decoderControls(), settings_, [this](bool ticked) { host_.setLicLock(ticked); }),
      session_({&ownFinder_, &standardFinder_})
{
    buildControls();
    layOutControls();
    connect(listenButton, &QPushButton::clicked, this, &ListenPanel::toggleListening);
    connect(inputBox, &QComboBox::currentIndexChanged, this, &ListenPanel::storeInput);
    connect(folderBox, &QLineEdit::editingFinished, this, &ListenPanel::storeFolder);
    connectSession();
    // A click, or Enter on the chosen picture.
    const auto place = [this](QListWidgetItem* item) { host_.placeGalleryPicture(item->data(Qt::UserRole).toString()); };
    connect(galleryStrip, &QListWidget::itemClicked, this, place);
    connect(galleryStrip, &QListWidget::itemActivated, this, place);
}

void ListenPanel::buildControls()
{
    listenButton = new QPushButton(kListenCaption, this);
    listenButton->setObjectName(QStringLiteral("listenButton"));
    listenButton->setToolTip(QStringLiteral("Receive every transmission on the input device and keep it in the gallery"));
    inputBox = new QComboBox(this);
    inputBox->setObjectName(QStringLiteral("listenInput"));
    inputBox->setAccessibleName(QStringLiteral("Input Device"));
    inputBox->addItem(QStringLiteral("Default input"), QString());
    for (const QAudioDevice& device : AudioEngine::inputs())
        inputBox->addItem(device.description(), device.description());
    const QString storedInput = QString::fromStdString(store_.read(kRecorderSection, kInputDeviceKey, ""));
    if (const int index = inputBox->findData(storedInput); index >= 0)
        inputBox->setCurrentIndex(index);
    folderBox = new QLineEdit(QString::fromStdString(store_.read(
                                  kReceiveSection, kGalleryFolderKey, defaultGalleryFolder().toStdString())),
                              this);
    folderBox->setObjectName(QStringLiteral("galleryFolder"));
    folderBox->setAccessibleName(QStringLiteral("Gallery folder"));
    statusLabel = new QLabel(QStringLiteral("Not listening"), this);
    statusLabel->setObjectName(QStringLiteral("listenStatus"));
    statusLabel->setWordWrap(true);
    rowLabel = new QLabel(this);
    rowLabel->setObjectName(QStringLiteral("listenRow"));
    timeLeftLabel = new QLabel(this);
    timeLeftLabel->setObjectName(QStringLiteral("listenTimeLeft"));
    levelBar = new QProgressBar(this);
    levelBar->setObjectName(QStringLiteral("inputLevel"));
    levelBar->setAccessibleName(QStringLiteral("Input level"));
    levelBar->setRange(0, 128);
    levelBar->setTextVisible(false);
    livePicture = new PictureView(this);
    livePicture->setObjectName(QStringLiteral("livePicture"));
    livePicture->setKeepAspect(true);
    livePicture->setMinimumSize(160, 120);
    galleryStrip = new QListWidget(this);
    galleryStrip->setObjectName(QStringLiteral("galleryStrip"));
    galleryStrip->setAccessibleName(QStringLiteral("Gallery"));
    galleryStrip->setViewMode(QListView::IconMode);
    galleryStrip->setFlow(QListView::LeftToRight);
    galleryStrip->setWrapping(false);
    galleryStrip->setIconSize(QSize(kThumbnailWidth, kThumbnailWidth * 3 / 4));
    galleryStrip->setFixedHeight(kThumbnailWidth * 3 / 4 + 40);
}

void ListenPanel::layOutControls()
{
    auto* layout = new QGridLayout(this);
    layout->addWidget(listenButton, 0, 0);
    layout->addWidget(inputBox, 0, 1);
    layout->addWidget(new QLabel(QStringLiteral("Gallery:"), this), 1, 0);
    layout->addWidget(folderBox, 1, 1);
    layout->addWidget(levelBar, 2, 0, 1, 2);
    layout->addWidget(livePicture, 3, 0, 1, 2);
    layout->addWidget(rowLabel, 4, 0);
    layout->addWidget(timeLeftLabel, 4, 1);
    layout->addWidget(statusLabel, 5, 0, 1, 2);
    layout->addWidget(galleryStrip, 6, 0, 1, 2);
}

void ListenPanel::connectSession()
{
    connect(&session_, &ListeningSession::transmissionBegan, this, [this] {
        settings_ = host_.listeningSettings();
        statusLabel->setText(QStringLiteral("Receiving"));
    });
    connect(&session_, &ListeningSession::receivedNothing, this, [this] {
        rowLabel->clear();
        timeLeftLabel->clear();
        statusLabel->setText(QStringLiteral("Listening on %1; the last signal held no picture").arg(inputBox->currentText()));
    });
    connect(&session_, &ListeningSession::samplesHeard, this, &ListenPanel::showProgress);
    connect(&session_, &ListeningSession::pictureKept, this, &ListenPanel::showKept);
    connect(&session_, &ListeningSession::keepFailed, this, [this](const QString& message) {
        statusLabel->setText(QStringLiteral("The picture could not be kept: %1. Listening goes on.").arg(message));
    });
    connect(&session_, &ListeningSession::deviceLost, this, [this](const QString& message) {
        rowLabel->clear();
        timeLeftLabel->clear();
        levelBar->setValue(0);
        statusLabel->setText(message + QStringLiteral(" What arrived of a transmission is kept; listening resumes when it is back."));
    });
    connect(&session_, &ListeningSession::deviceBack, this, [this] {
        statusLabel->setText(QStringLiteral("Listening on %1 again").arg(inputBox->currentText()));
    });
}

void ListenPanel::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    if (!stripFilled_)
        fillGalleryStrip();
}

// A window closing while a transmission comes in keeps what has arrived.
ListenPanel::~ListenPanel()
{
    session_.stop();
}

void ListenPanel::toggleListening()
{
    if (session_.isListening())
        stopListening(QStringLiteral("Not listening"));
    else
        startListening();
}

void ListenPanel::startListening()
{
    if (host_.commandRunning()) {
        statusLabel->setText(QStringLiteral("Encode or Decode is running: listen when it has ended."));
        return;
    }
    settings_ = host_.listeningSettings();
    const std::string missing = ownFinder_.missingChoice();
    if (!missing.empty()) {
        statusLabel->setText(QStringLiteral("Choose the %1 before listening.").arg(QString::fromStdString(missing)));
        return;
    }
    storeFolder();
    const QString problem =
        session_.start(AudioEngine::findInput(inputBox->currentData().toString()), folderBox->text());
    if (!problem.isEmpty()) {
        statusLabel->setText(problem);
        return;
    }
    listenButton->setText(kStopCaption);
    inputBox->setEnabled(false);
    folderBox->setEnabled(false);
    statusLabel->setText(QStringLiteral("Listening on %1").arg(inputBox->currentText()));
    fillGalleryStrip();
}

void ListenPanel::stopListening(const QString& status)
{
    session_.stop();
    listenButton->setText(kListenCaption);
    inputBox->setEnabled(true);
    folderBox->setEnabled(true);
    levelBar->setValue(0);
    rowLabel->clear();
    timeLeftLabel->clear();
    statusLabel->setText(status);
}

// At most at the screen's rate: the input level, the row reached, the time
// left and the picture as it stands.
void ListenPanel::showProgress()
{
    if (lastRepaint_.isValid() && lastRepaint_.elapsed() < kRepaintIntervalMs)
        return;
    lastRepaint_.restart();
    levelBar->setValue(session_.inputLevel());
    const Listener* listener = session_.listener();
    if (listener == nullptr || !listener->receiving())
        return;
    rowLabel->setText(QString::fromStdString(listener->progress().caption));
    timeLeftLabel->setText(QStringLiteral("%1 left").arg(timeText(listener->secondsLeft())));
    listener->paintLivePicture(live_);
    livePicture->setImage(toImage(live_));
}

void ListenPanel::showKept(const ReceivedPicture& picture, const GalleryEntry& entry)
{
    livePicture->setImage(toImage(picture.picture));
    rowLabel->clear();
    timeLeftLabel->clear();
    const QString read = picture.namePart.empty() ? QStringLiteral("no signature")
                                                  : QString::fromStdString(picture.namePart);
    statusLabel->setText(QStringLiteral("Received %1 (%2); listening").arg(QFileInfo(entry.picturePath).fileName(), read));
    addToGalleryStrip(entry.picturePath, true);
}

void ListenPanel::fillGalleryStrip()
{
    stripFilled_ = true;
    galleryStrip->clear();
    for (const QString& path : Gallery(folderBox->text()).latestPictures(kStripPictures))
        addToGalleryStrip(path, false);
}

void ListenPanel::addToGalleryStrip(const QString& path, bool newest)
{
    const LoadedPicture loaded = loadPictureFile(path);
    if (loaded.image.isNull())
        return;
    auto* item = new QListWidgetItem(QIcon(QPixmap::fromImage(loaded.image.scaledToWidth(kThumbnailWidth))),
                                     QFileInfo(path).completeBaseName());
    item->setData(Qt::UserRole, path);
    item->setToolTip(path);
    if (newest)
        galleryStrip->insertItem(0, item);
    else
        galleryStrip->addItem(item);
    while (galleryStrip->count() > kStripPictures)
        delete galleryStrip->takeItem(galleryStrip->count() - 1);
}

void ListenPanel::storeInput()
{
    store_.write(kRecorderSection, kInputDeviceKey, inputBox->currentData().toString().toStdString());
}

void ListenPanel::storeFolder()
{
    store_.write(kReceiveSection, kGalleryFolderKey, folderBox->text().toStdString());
}

} // namespace tonobild
