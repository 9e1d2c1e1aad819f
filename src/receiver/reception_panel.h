// The receiving choices beside Decode: "Detect settings" reads the sender's
// resolution, "Half X", "Compand" and mono from the audio file and sets the
// window's controls as a user would; "Condition recording" runs a sound card's
// recording through the receiving front end before the decoder reads it;
// "Mono reception" rebuilds a stream sent without its blue pass in the right
// colours. None of them is stored: the window opens with all three off.
#pragma once

#include <QWidget>
#include <memory>

class QCheckBox;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace tonobild {

class SampleSource;
class UserDialogs;
struct DetectedSettings;

class ReceptionPanel : public QWidget {
    Q_OBJECT
public:
    // The window's controls that detection sets, and the audio file box it reads.
    struct WindowControls {
        QRadioButton* resolution160 = nullptr;
        QRadioButton* resolution320 = nullptr;
        QRadioButton* resolution640 = nullptr;
        QCheckBox* halfX = nullptr;
        QCheckBox* compand = nullptr;
        QLineEdit* audioFile = nullptr;
    };

    ReceptionPanel(UserDialogs& dialogs, WindowControls controls, QWidget* parent = nullptr);

    bool conditionsRecording() const;
    bool monoReception() const;

    // The recording as the decoder reads it: the file, or its conditioned
    // samples when "Condition recording" is ticked. Throws FileError.
    std::unique_ptr<SampleSource> openRecording(const std::string& path) const;

    // "Detect settings": sets the controls and says what was found.
    void detectSettings();

    QPushButton* detectButton = nullptr;
    QCheckBox* conditionBox = nullptr;
    QCheckBox* monoBox = nullptr;

private:
    void applyDetected(const DetectedSettings& found);

    UserDialogs& dialogs_;
    WindowControls controls_;
};

} // namespace tonobild
