// The main window "Tonobild 3": every setting of transmission and reception as
// a control, the command buttons, the working picture and the working-state
// record. The controls keep the names they have in the station's design
// (Command1, Check10, Option24, Label15, ...) as members and object names.
#pragma once

#include <QElapsedTimer>
#include <QImage>
#include <QPointer>
#include <QWidget>
#include <array>
#include <functional>
#include <memory>
#include <optional>

#include "common/pass_progress.h"
#include "common/working_state.h"
#include "decoder/decoder.h"
#include "decoder/decoder_controls.h"
#include "encoder/encoder.h"
#include "picture/resolution.h"
#include "picture/working_picture.h"
#include "app/send_settings.h"
#include "receiver/listen_panel.h"
#include "settings/mode_presets.h"
#include "settings/numbered_controls.h"

class QButtonGroup;
class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;
class QRadioButton;
class QScrollBar;
class QTabWidget;
class QVBoxLayout;

namespace tonobild {

namespace standard {
struct StandardMode;
}

class PictureSender;
class PictureView;
class ReceptionPanel;
struct FileSelectionRequest;
class SignatureDialog;
class SettingsStore;
class UserDialogs;

class Form1 : public QWidget, private ListenPanel::Host, private NumberedControls {
    Q_OBJECT
public:
    Form1(UserDialogs& dialogs, SettingsStore& store, QWidget* parent = nullptr);
    ~Form1() override;

    // Start-up: runs once before the window is first shown.
    void Form_Load();

    // The working picture and the working-state record.
    WorkingPicture& workingPicture() noexcept { return picture_; }
    WorkingState& workingState() noexcept { return state_; }

    // The signature text, held by the hidden label and the working state alike
    // ("Set Signature" and "Cancel Signature" of the signature dialog).
    void setSignatureText(const QString& text);

    // Commands and reactions, named after the control and the event. The
    // controls themselves are found by their object names, which are the names
    // the design gives them (Command1, Check10, Option24, Label15, ...).
    void Command1_Click();  // Encode
    void Command2_Click();  // Decode
    void Command3_Click();  // Res detect
    void Command4_Click();  // STOP
    void Command7_Click();  // Record
    void Command8_Click();  // Play
    void Command9_Click();  // Save to file
    void Command10_Click(); // Load from Clipboard
    void Command11_Click(); // Load from file
    void Command12_Click(); // Save to clipboard
    void Command14_Click(); // Change testcard directory
    void Text2_DblClick();  // browse for the audio file
    void Text3_DblClick();  // browse for the output picture
    void Text4_DblClick();  // browse for the input picture and load it
    void Image2_Click();    // the thumbnail's card
    void Picture2_Click();  // the black cross card
    void Picture3_Click();  // the white card
    void Command19_Click(); // Digital Signing options
    void Command20_Click(); // Digital Encode
    void Command21_Click(); // Digital Decode
    void Label15_Click();   // signature read-out
    void Image1_MouseUp(Qt::MouseButton button, QPointF position);
    void showFullSizePicture(); // "View"
    void Picture1_MouseUp(Qt::MouseButton button, int x, int y);
    void p1updat();
    void Command13_Click(); // Save Settings to selected mode
    void Command15_Click(); // Reset selected Settings
    void Command22_Click(); // First - Time Guide
    void Check1_Click();    // HSync interlock
    void Check3_Click();    // Use LIC interlock
    void Option1_Click();
    void Option2_Click();
    void Option3_Click();
    void Option4_Click();   // NR Method "None"
    void Option5_Click();   // NR Method "Active Norm"
    void Option8_Click();   // Time Reduction "None"
    void Option9_Click();   // Time Reduction "Mono Image"
    void Option15_Click();  // FM
    void Option16_Click();  // CB
    void Option25_Click();  // HAM
    void Option26_Click();  // TAPE
    void Option27_Click();  // HIRES
    void Text2_Change();
    void VScroll1_Change();
    void VScroll2_Change();
    void timecalc();

signals:
    // The main window was closed: the program ends.
    void programEnding();

protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    static QImage crossCard();
    static QImage whiteCard();
    class DecodeHost;
    class WindowPresetTarget;
    // The numbered option buttons and check boxes (Option1..Option27, Check1..Check11).
    QRadioButton* option(int number) const;
    QCheckBox* check(int number) const;
    // Places a picture at its own size and prepares it for sending.
    void placePicture(const QImage& image);
    // Loads a picture file and places it; a file that does not load is said under the title.
    void placePictureFile(const QString& path, const QString& title);
    void collectNumberedControls();
    // The numbered controls as the encoder and decoder fields read them (family/own_controls.h).
    int checkState(int number) const override;
    bool selected(int number) const override;
    void connectDecodeReactions();
    void connectAudioReactions();
    void addCommandShortcuts();
    void connectSourceReactions();
    QString chooseFile(const FileSelectionRequest& request);
    void syncDecoderControls();
    DecodeSettings decodeSettings() const;
    // Listening's side of the window.
    const DecoderControls& decoderControls() const override { return decoderControls_; }
    DecodeSettings listeningSettings() override;
    void setLicLock(bool ticked) override;
    void placeGalleryPicture(const QString& path) override;
    bool commandRunning() const override { return busy_; }
    // Record and Decode wait while listening; answers true after saying so.
    bool saysListeningIsOn(const QString& title);
    void repaintWorkingPicture();
    std::unique_ptr<SampleSource> openRecordingToDecode(const QString& path);
    DecodeEnd decodeShowingThePicture(SampleSource& recording, const DecodeSettings& settings, QString& failure);
    void showDecodingPicture(bool decoding);
    void connectPictureReactions();
    void refreshPreview();
    void connectOptionReactions();
    void connectPresetReactions();
    void applyNrMethod(bool activeNorm);
    std::optional<Mode> selectedModeButton() const;
    void modeButtonClick(Mode mode);
    ModePreset windowPreset() const;
    void selectStoredMode();
    void reportSettingsProblem();
    // Where a sender's samples go: opened before, completed after (answering
    // what could not be completed beside the main file), abandoned on a failure.
    struct EncodeTarget {
        SampleSink& sink;
        std::function<void()> open;
        std::function<std::string()> commit;
        std::function<void()> abandon;
    };
    bool encodeTo(PictureSender& sender, const EncodeTarget& target);
    bool encodeOwn(const EncoderSettings& settings);
    bool encodeStandard(const standard::StandardMode& mode);
    void buildControls();
    void buildHiddenControls();
    QWidget* buildPictureColumn();
    QWidget* buildSendView();
    QGroupBox* buildSignalFrame();
    QGroupBox* buildCaptionFrame();
    QWidget* buildFileAndProgressBar();
    QWidget* buildDecoderOptionsView();
    void addOutputPictureBox(QVBoxLayout* layout);
    QGroupBox* buildResolutionFrame();
    QWidget* buildReceptionColumn();
    QGroupBox* buildLicInsetFrame();
    QGroupBox* buildSyncLevelFrame();
    QGroupBox* buildThumbnailFrame();
    // The Send view's own controls (form1_send.cpp).
    void connectSendReactions();
    void showSendSettings(const SendSettings& settings);
    SendSettings sendSettings() const;
    void sendSettingsChanged();
    void showStandardDuration();
    // The standard mode chosen to send in, or none: the station's own format.
    const standard::StandardMode* chosenStandardMode() const;
    // The working picture as it is sent: with the caption, when there is one.
    const WorkingPicture& sendingPicture();
    void connectReactions();
    void setCommandsEnabled(bool enabled);
    // Yields to the event loop at a progress point; answers false when the window is closing.
    bool yieldAtProgressPoint();
    void countProgressStep();
    // Shows the line and pass reached in the progress bar.
    void showPassProgress(const PassProgress& progress);
    void clearPassProgress();
    void showWorkingPictureIn(PictureView* view);
    std::optional<EncoderSettings> encoderSettings() const;
    // Runs a reaction whenever the option becomes selected, by a click or in code.
    void onSelected(QRadioButton* option, void (Form1::*reaction)());

    // Controls, named as in the station's design.
    QPushButton* Command1 = nullptr;  // "Encode"
    QPushButton* Command2 = nullptr;  // "Decode"
    QPushButton* Command3 = nullptr;  // "Res detect" (hidden)
    QPushButton* Command4 = nullptr;  // "STOP"
    QPushButton* Command5 = nullptr;  // "Reset" (XShift)
    QPushButton* Command6 = nullptr;  // "Reset" (YShift)
    QPushButton* Command7 = nullptr;  // "Record"
    QPushButton* Command8 = nullptr;  // "Play"
    QPushButton* transmitterButton = nullptr; // "Transmitter...": the rig keyed while playing
    QPushButton* Command9 = nullptr;  // "Save to file"
    QPushButton* Command10 = nullptr; // "Load from Clipboard"
    QPushButton* Command11 = nullptr; // "Load from file"
    QPushButton* Command12 = nullptr; // "Save to clipboard"
    QPushButton* Command13 = nullptr; // "Save Settings to selected mode"
    QPushButton* Command14 = nullptr; // "Change testcard directory"
    QPushButton* Command15 = nullptr; // "Reset selected Settings"
    QPushButton* Command16 = nullptr; // "-" beside Text4
    QPushButton* Command17 = nullptr; // "-" beside Text2
    QPushButton* Command18 = nullptr; // "-" beside Text3
    QPushButton* Command19 = nullptr; // "Digital Signing options"
    QPushButton* Command20 = nullptr; // "Digital Encode"
    QPushButton* Command21 = nullptr; // "Digital Decode"
    QPushButton* Command22 = nullptr; // "First - Time Guide"

    QLineEdit* Text2 = nullptr; // audio file name
    QLineEdit* Text3 = nullptr; // output picture file name
    QLineEdit* Text4 = nullptr; // input picture file name

    QRadioButton* Option1 = nullptr; // resolution 160 x 120
    QRadioButton* Option2 = nullptr; // resolution 320 x 240
    QRadioButton* Option3 = nullptr; // resolution 640 x 480
    QRadioButton* Option4 = nullptr; // NR Method "None" (hidden)
    QRadioButton* Option5 = nullptr; // NR Method "Active Norm" (hidden)
    QRadioButton* Option6 = nullptr; // "Level 2 (Tape)"
    QRadioButton* Option7 = nullptr; // "Level 3 (Direct)"
    QRadioButton* Option8 = nullptr; // Time Reduction "None" (hidden)
    QRadioButton* Option9 = nullptr; // Time Reduction "Mono Image" (hidden)
    QRadioButton* Option10 = nullptr; // Leader "Tonobild 1 (None)" (hidden)
    QRadioButton* Option11 = nullptr; // Leader "Tonobild 2/3" (hidden)
    QRadioButton* Option12 = nullptr; // Dynamic Sync "+32"
    QRadioButton* Option13 = nullptr; // Dynamic Sync "+8"
    QRadioButton* Option14 = nullptr; // Dynamic Sync "+16"
    QRadioButton* Option15 = nullptr; // FM mode
    QRadioButton* Option16 = nullptr; // CB mode
    QRadioButton* Option17 = nullptr; // LIC Inset "8 (Norm)"
    QRadioButton* Option18 = nullptr; // "7"
    QRadioButton* Option19 = nullptr; // "6"
    QRadioButton* Option20 = nullptr; // "9"
    QRadioButton* Option21 = nullptr; // "10"
    QRadioButton* Option22 = nullptr; // "1"
    QRadioButton* Option23 = nullptr; // "5"
    QRadioButton* Option24 = nullptr; // "4-lock"
    QRadioButton* Option25 = nullptr; // HAM mode
    QRadioButton* Option26 = nullptr; // TAPE mode
    QRadioButton* Option27 = nullptr; // HIRES mode

    QCheckBox* Check1 = nullptr;  // "HSync"
    QCheckBox* Check2 = nullptr;  // "Half X"
    QCheckBox* Check3 = nullptr;  // "Use LIC"
    QCheckBox* Check4 = nullptr;  // Dynamic Sync "Enabled"
    QCheckBox* Check5 = nullptr;  // "LIC Lock"
    QCheckBox* Check6 = nullptr;  // "Headerless (Encode only setting)" (hidden)
    QCheckBox* Check7 = nullptr;  // "R+B HalfX" (hidden)
    QCheckBox* Check8 = nullptr;  // "Idler"
    QCheckBox* Check9 = nullptr;  // "Compand"
    QCheckBox* Check10 = nullptr; // "Slow"
    QCheckBox* Check11 = nullptr; // "Third"

    QLabel* Label2 = nullptr;
    QLabel* Label3 = nullptr;
    QLabel* Label4 = nullptr;  // XShift
    QLabel* Label5 = nullptr;  // YShift
    QLabel* Label6 = nullptr;  // resolutions of the modes
    QLabel* Label7 = nullptr;  // reception help
    QLabel* Label8 = nullptr;  // how to use
    QLabel* Label9 = nullptr;  // progress counter
    QProgressBar* passProgress = nullptr; // "line y of H, pass blue/green/red" during Encode and Decode
    QLabel* Label10 = nullptr; // Sync Level read-out
    QLabel* Label11 = nullptr; // credits
    QLabel* Label12 = nullptr; // duration at 160 x 120
    QLabel* Label13 = nullptr; // duration at 320 x 240
    QLabel* Label14 = nullptr; // duration at 640 x 480
    QLabel* Label15 = nullptr; // signature read-out
    QPushButton* viewButton = nullptr; // "View": the working picture at full size
    ReceptionPanel* receptionPanel = nullptr; // "Detect settings", "Condition recording", "Mono reception"
    ListenPanel* listenPanel = nullptr;       // the Receive view: live reception into the gallery
    QTabWidget* views = nullptr;              // "Send", "Receive", "Decoder options"
    QRadioButton* ownSignal = nullptr;        // send in the station's own format
    QRadioButton* standardSignal = nullptr;   // send in the standard mode chosen
    QComboBox* standardModeBox = nullptr;
    QLabel* standardDuration = nullptr;
    QCheckBox* fskIdBox = nullptr;            // "Send FSK ID"
    QLineEdit* callsignBox = nullptr;
    std::array<QLineEdit*, 2> captionLines{};
    QComboBox* captionPlace = nullptr;
    QComboBox* captionColour = nullptr;
    QCheckBox* playerWavBox = nullptr; // Encode also writes the player WAV (not stored: off at every start)
    QLabel* signature = nullptr; // the signature text (hidden)
    QLabel* verno = nullptr;     // version

    QScrollBar* VScroll1 = nullptr; // Sync Level
    QScrollBar* VScroll2 = nullptr; // test-card thumbnail position

    PictureView* Picture1 = nullptr; // the working picture, shown while decoding
    PictureView* Picture2 = nullptr; // black card with a white cross
    PictureView* Picture3 = nullptr; // white card
    PictureView* Image1 = nullptr;   // preview of the working picture
    PictureView* Image2 = nullptr;   // test-card thumbnail

    QGroupBox* Frame2 = nullptr; // "Active Normalising"
    QGroupBox* Frame7 = nullptr; // "Working Panel"
    QGroupBox* Frame9 = nullptr; // "Thumbnails of test patterns"

    UserDialogs& dialogs_;
    SettingsStore& store_;
    WorkingPicture picture_;
    WorkingState state_;
    EncoderControls encoderControls_;
    DecoderControls decoderControls_;
    QPointer<SignatureDialog> form3_; // created at its first opening, gone when closed from its frame
    bool closing_ = false;
    bool busy_ = false; // Encode or Decode runs
    QElapsedTimer lastRepaint_;
    WorkingPicture sending_; // the working picture with the caption, as it is sent
    std::array<QRadioButton*, 28> options_{};
    std::array<QCheckBox*, 12> checks_{};
};

QString defaultAudioFileName();
QString defaultOutputPictureName();
QStringList testCardNames(const QString& folder);

} // namespace tonobild
