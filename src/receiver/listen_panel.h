// "Listen": live reception beside the window's Decode. While listening, every
// transmission on the input device is decoded as it arrives, shown row by row,
// and kept in the gallery folder with its recording; the gallery strip shows
// the latest pictures, and a click places one as the working picture.
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

inline constexpr const char* kReceiveSection = "Receive";
inline constexpr const char* kGalleryFolderKey = "Gallery Folder";

class ListenPanel : public QWidget {
    Q_OBJECT
public:
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

protected:
    void showEvent(QShowEvent* event) override;

private:
    void buildControls();
    void layOutControls();
    void connectSession();
    void startListening();
    void stopListening(const QString& status);
    void showProgress();
    void showKept(const ReceivedPicture& picture, const GalleryEntry& entry);
    void fillGalleryStrip();
    void addToGalleryStrip(const QString& path, bool newest);
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
    QLabel* rowLabel = nullptr;
    QLabel* timeLeftLabel = nullptr;
    QProgressBar* levelBar = nullptr;
    PictureView* livePicture = nullptr;
    QListWidget* galleryStrip = nullptr;
    WorkingPicture live_;
    QElapsedTimer lastRepaint_;
    bool stripFilled_ = false; // the strip is read from the folder when first shown, not at start-up
};

} // namespace tonobild
