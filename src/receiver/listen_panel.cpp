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
#include "receiver/waterfall_view.h"
#include "settings/settings_store.h"
#include "settings/sound_device_keys.h"
#include "widgets/named_control.h"

namespace tonobild {

namespace {

const QString kListenCaption = QStringLiteral("Listen");
const QString kStopCaption = QStringLiteral("Stop listening");

QString timeText(double seconds)
{
    const int whole = static_cast<int>(std::lround(seconds));
    return QStringLiteral("%1:%2").arg(whole / 60).arg(whole % 60, 2, 10, QLatin1Char('0'));
}

QString familyName(std::string_view family)
{
    return QString::fromUtf8(family.data(), static_cast<qsizetype>(family.size()));
}

} // namespace

ListenPanel::ListenPanel(Host& host, SettingsStore& store, QWidget* parent)
    : QWidget(parent), host_(host), store_(store),
      ownFinder_(host.decoderControls(), settings_, [this](bool ticked) { host_.setLicLock(ticked); }),
      session_({&ownFinder_, &standardFinder_})
{
    layOutControls();
    connect(listenButton, &QPushButton::clicked, this, &ListenPanel::toggleListening);
    connect(inputBox, &QComboBox::currentIndexChanged, this, &ListenPanel::storeInput);
    connect(folderBox, &QLineEdit::editingFinished, this, &ListenPanel::storeFolder);
    connect(bandBox, &QComboBox::currentIndexChanged, this, &ListenPanel::startWaterfall);
    connectSession();
}

QWidget* ListenPanel::buildListenRow()
{
    listenButton = named(new QPushButton(kListenCaption), "listenButton", kListenCaption);
    listenButton->setToolTip(QStringLiteral("Receive every transmission on the input device and keep it in the gallery"));
    inputBox = named(new QComboBox, "listenInput", QStringLiteral("Input Device"));
    inputBox->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    inputBox->setMinimumContentsLength(12);
    inputBox->addItem(QStringLiteral("Default input"), QString());
    for (const QAudioDevice& device : AudioEngine::inputs())
        inputBox->addItem(device.description(), device.description());
    const QString storedInput = QString::fromStdString(store_.read(kRecorderSection, kInputDeviceKey, ""));
    if (const int index = inputBox->findData(storedInput); index >= 0)
        inputBox->setCurrentIndex(index);
    folderBox = named(new QLineEdit(QString::fromStdString(store_.read(kReceiveSection, kGalleryFolderKey,
                                                                       defaultGalleryFolder().toStdString()))),
                      "galleryFolder", QStringLiteral("Gallery folder"));
    auto* gallery = new QLabel(QStringLiteral("Gallery:"));
    gallery->setBuddy(folderBox);
    auto* row = new QWidget;
    auto* layout = new QHBoxLayout(row);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(listenButton);
    layout->addWidget(inputBox, 2);
    layout->addWidget(gallery);
    layout->addWidget(folderBox, 3);
    return row;
}

// The waterfall with its band and the input level, and what is being received.
QWidget* ListenPanel::buildSignalColumn()
{
    waterfallView = named(new WaterfallView, "waterfall", QStringLiteral("Waterfall of the input"));
    bandBox = named(new QComboBox, "waterfallBand", QStringLiteral("Waterfall band"));
    bandBox->addItem(QStringLiteral("0 - 3000 Hz"), WaterfallView::kStandardTopHz);
    bandBox->addItem(QStringLiteral("Whole band"), 0.0);
    bandBox->setToolTip(QStringLiteral("0 to 3000 Hz for the standard modes; the whole band for the station's own format"));
    levelBar = named(new QProgressBar, "inputLevel", QStringLiteral("Input level"));
    levelBar->setRange(0, 128);
    levelBar->setTextVisible(false);
    levelBar->setMaximumHeight(12);
    familyLabel = named(new QLabel, "listenFamily", QStringLiteral("Family received"));
    rowLabel = named(new QLabel, "listenRow", QStringLiteral("Line reached"));
    timeLeftLabel = named(new QLabel, "listenTimeLeft", QStringLiteral("Time left"));
    signalLabel = named(new QLabel, "listenSignal", QStringLiteral("Signal figure"));
    signalLabel->setToolTip(QStringLiteral("The strongest tone of the waterfall's last row above the middle of the band"));
    auto* column = new QWidget;
    auto* layout = new QGridLayout(column);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(waterfallView, 0, 0, 1, 2);
    layout->setRowStretch(0, 1);
    layout->addWidget(bandBox, 1, 0);
    layout->addWidget(levelBar, 1, 1);
    layout->addWidget(familyLabel, 2, 0);
    layout->addWidget(signalLabel, 2, 1);
    layout->addWidget(rowLabel, 3, 0);
    layout->addWidget(timeLeftLabel, 3, 1);
    return column;
}

void ListenPanel::layOutControls()
{
    livePicture = named(new PictureView, "livePicture", QStringLiteral("Picture coming in"));
    livePicture->setKeepAspect(true);
    livePicture->setMinimumSize(320, 240);
    livePicture->setNaturalSize({480, 360});
    livePicture->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
    statusLabel = named(new QLabel(QStringLiteral("Not listening")), "listenStatus", QStringLiteral("Listening"));
    statusLabel->setWordWrap(true);
    auto* middle = new QHBoxLayout;
    middle->addWidget(livePicture, 3);
    middle->addWidget(buildSignalColumn(), 2);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(buildListenRow());
    layout->addLayout(middle, 1);
    layout->addWidget(statusLabel);
    layout->addWidget(buildGalleryRow());
}

void ListenPanel::connectSession()
{
    connect(&session_, &ListeningSession::transmissionBegan, this, [this] {
        settings_ = host_.listeningSettings();
        statusLabel->setText(QStringLiteral("Receiving"));
    });
    connect(&session_, &ListeningSession::receivedNothing, this, [this] {
        clearReceiving();
        statusLabel->setText(QStringLiteral("Listening on %1; the last signal held no picture").arg(inputBox->currentText()));
    });
    connect(&session_, &ListeningSession::samplesHeard, this, &ListenPanel::hear);
    connect(&session_, &ListeningSession::pictureKept, this, &ListenPanel::showKept);
    connect(&session_, &ListeningSession::keepFailed, this, [this](const QString& message) {
        statusLabel->setText(QStringLiteral("The picture could not be kept: %1. Listening goes on.").arg(message));
    });
    connect(&session_, &ListeningSession::deviceLost, this, [this](const QString& message) {
        clearReceiving();
        levelBar->setValue(0);
        statusLabel->setText(message + QStringLiteral(" What arrived of a transmission is kept; listening resumes when it is back."));
    });
    connect(&session_, &ListeningSession::deviceBack, this, [this] {
        startWaterfall();
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
    startWaterfall();
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
    clearReceiving();
    signalLabel->clear();
    statusLabel->setText(status);
}

// The waterfall starts anew at the rate listened to, over the band chosen.
void ListenPanel::startWaterfall()
{
    const Listener* listener = session_.listener();
    if (listener == nullptr)
        return;
    const double top = bandBox->currentData().toDouble();
    waterfallView->listen(listener->sampleRate(), top > 0 ? top : listener->sampleRate() / 2.0);
}

// Every block goes into the waterfall; the rest is shown at most at the screen's rate.
void ListenPanel::hear(const QByteArray& samples)
{
    waterfallView->feed({reinterpret_cast<const std::uint8_t*>(samples.constData()),
                         static_cast<std::size_t>(samples.size())});
    if (lastRepaint_.isValid() && lastRepaint_.elapsed() < kRepaintIntervalMs)
        return;
    lastRepaint_.restart();
    showProgress();
}

// The input level and signal figure, and the transmission coming in.
void ListenPanel::showProgress()
{
    levelBar->setValue(session_.inputLevel());
    if (const Waterfall* waterfall = waterfallView->waterfall())
        signalLabel->setText(QStringLiteral("Signal %1 dB").arg(std::lround(waterfall->signalFigureDb())));
    const Listener* listener = session_.listener();
    if (listener != nullptr && listener->receiving())
        showReceiving(*listener);
}

// The family, the line reached, the time left, and the picture when a line has come in since.
void ListenPanel::showReceiving(const Listener& listener)
{
    const TransmissionFinder* family = listener.receivingFamily();
    familyLabel->setText(familyName(family == &ownFinder_ ? kOwnFamily : kStandardFamily));
    const PassProgress progress = listener.progress();
    rowLabel->setText(QString::fromStdString(progress.caption));
    timeLeftLabel->setText(QStringLiteral("%1 left").arg(timeText(listener.secondsLeft())));
    if (progress.value == shownProgress_.value && progress.caption == shownProgress_.caption)
        return;
    shownProgress_ = progress;
    listener.paintLivePicture(live_);
    livePicture->setImage(toImage(live_));
}

void ListenPanel::clearReceiving()
{
    shownProgress_ = {};
    for (QLabel* label : {familyLabel, rowLabel, timeLeftLabel})
        label->clear();
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
