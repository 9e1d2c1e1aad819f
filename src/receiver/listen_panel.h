// The Receive view: live reception in the standard modes and the station's
// own format. While listening, every transmission on the input device is
// decoded as it arrives, shown row by row as large as the room allows, and
// kept in the gallery folder with its recording. Beside it the waterfall of
// the input with its level and signal figure, and what is being received
// (family, mode, line reached, time left). The gallery strip shows the latest
// pictures with their time, mode and callsign; a click places one as the
// working picture, and "Decode again" decodes a standard one once more from
// its recording with the mode, clock and tuning set by hand.
#pragma once

#include <QElapsedTimer>
#include <QWidget>

#include "decoder/decoder_controls.h"
#include "family/own_family.h"
#include "family/standard_family.h"
#include "picture/working_picture.h"
#include "receiver/listening_session.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QListWidgetItem;
class QProgressBar;
class QPushButton;

namespace tonobild {

class PictureView;
class SettingsStore;
class WaterfallView;

inline constexpr const char* kReceiveSection = "Receive";
inline constexpr const char* kGalleryFolderKey = "Gallery Folder";

class ListenPanel : public QWidget {
    Q_OBJECT
public:
    static constexpr int kRepaintIntervalMs = 16; // the screen's rate

    // The window's side of listening.
    class Host {
    public:
        virtual ~Host() = default;
        // The receiving controls, kept current by the window.
        virtual const DecoderControls& decoderControls() const = 0;
        // The settings as the window's Decode takes them.
        virtual DecodeSettings listeningSettings() = 0;
        // The live decode unticks or ticks "LIC Lock".
        virtual void setLicLock(bool ticked) = 0;
        // A gallery picture clicked: the window places it as the working picture.
        virtual void placeGalleryPicture(const QString& path) = 0;
        // Encode or Decode runs: the live decode would share its controls.
        virtual bool commandRunning() const = 0;
    };

    ListenPanel(Host& host, SettingsStore& store, QWidget* parent = nullptr);
    ~ListenPanel() override;

    bool isListening() const { return session_.isListening(); }
    // "Listen": starts listening, or stops it.
    void toggleListening();
    // "Decode again": the picture chosen in the strip, with the mode, clock and tuning set.
    void decodeAgain();

protected:
    void showEvent(QShowEvent* event) override;

private:
    QWidget* buildListenRow();
    QWidget* buildSignalColumn();
    QWidget* buildGalleryRow();
    void layOutControls();
    void connectSession();
    void startListening();
    void stopListening(const QString& status);
    void startWaterfall();
    void hear(const QByteArray& samples);
    void showProgress();
    void showReceiving(const Listener& listener);
    void clearReceiving();
    void showKept(const ReceivedPicture& picture, const GalleryEntry& entry);
    void fillGalleryStrip();
    void addToGalleryStrip(const GalleryItem& item, bool newest);
    void chooseForDecodeAgain();
    void storeInput();
    void storeFolder();

    Host& host_;
    SettingsStore& store_;
    DecodeSettings settings_; // brought up to date when a transmission begins
    OwnFinder ownFinder_;     // the station's own format, with the window's controls
    StandardFinder standardFinder_; // the standard modes, found by their VIS headers or their lines
    ListeningSession session_;
    QPushButton* listenButton = nullptr;
    QComboBox* inputBox = nullptr;
    QLineEdit* folderBox = nullptr;
    QLabel* statusLabel = nullptr;
    QLabel* familyLabel = nullptr;
    QLabel* rowLabel = nullptr;
    QLabel* timeLeftLabel = nullptr;
    QLabel* signalLabel = nullptr;
    QProgressBar* levelBar = nullptr;
    PictureView* livePicture = nullptr;
    WaterfallView* waterfallView = nullptr;
    QComboBox* bandBox = nullptr;
    QListWidget* galleryStrip = nullptr;
    QComboBox* againMode = nullptr;
    QLineEdit* againPpm = nullptr;
    QLineEdit* againOffset = nullptr;
    QPushButton* decodeAgainButton = nullptr;
    WorkingPicture live_;
    QElapsedTimer lastRepaint_;
    PassProgress shownProgress_; // of the live picture shown last
    bool stripFilled_ = false; // the strip is read from the folder when first shown, not at start-up
};

} // namespace tonobild
