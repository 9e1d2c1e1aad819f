#include "receiver/reception_panel.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QVBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

#include "widgets/user_dialogs.h"
#include "common/file_error.h"
#include "soundfile/recording.h"
#include "soundfile/sample_file.h"
#include "picture/picture_files.h"
#include "frontend/receiving_front_end.h"
#include "decoder/decode_option_table.h"
#include "detector/settings_detector.h"

namespace tonobild {

namespace {

const QString kDetectTitle = QStringLiteral("Detect settings");

// Conditioned samples, held for as long as the decoder reads them.
class ConditionedSamples final : public SampleSource {
public:
    explicit ConditionedSamples(std::vector<std::uint8_t> samples) : samples_(std::move(samples)), view_(samples_) {}
    std::span<const std::uint8_t> nextBlock() override { return view_.nextBlock(); }

private:
    std::vector<std::uint8_t> samples_;
    MemorySamples view_;
};

QString describeFound(const DetectedSettings& found)
{
    const std::string settings = senderSettingsCaption(found.pictureWidth, found.halfX, found.compand, found.mono);
    return QStringLiteral("Detected %1 (%2).")
        .arg(QString::fromStdString(settings), QString::fromStdString(certaintyText(found)));
}

} // namespace

ReceptionPanel::ReceptionPanel(UserDialogs& dialogs, WindowControls controls, QWidget* parent)
    : QWidget(parent), dialogs_(dialogs), controls_(controls)
{
    detectButton = new QPushButton(QStringLiteral("Detect settings"), this);
    detectButton->setObjectName(QStringLiteral("detectButton"));
    detectButton->setToolTip(QStringLiteral("Read the sender's resolution, Half X, Compand and Mono from the audio file"));
    detectButton->setAccessibleDescription(detectButton->toolTip());
    conditionBox = new QCheckBox(QStringLiteral("Condition recording"), this);
    conditionBox->setObjectName(QStringLiteral("conditionBox"));
    conditionBox->setToolTip(QStringLiteral(
        "Undo what a sound card, a player or a voice channel did: its rate, its clock, a bias, the samples it held, "
        "the top octave a resampler or a voice channel took (any recording: WAV, FLAC, OGG, MP3, ...)"));
    monoBox = new QCheckBox(QStringLiteral("Mono reception"), this);
    monoBox->setObjectName(QStringLiteral("monoBox"));
    monoBox->setToolTip(QStringLiteral("The sender left out the blue pass (\"Mono Image\"): rebuild it in grey"));
    for (QWidget* control : std::initializer_list<QWidget*>{conditionBox, monoBox})
        control->setAccessibleDescription(control->toolTip());

    auto* boxes = new QHBoxLayout;
    boxes->addWidget(conditionBox);
    boxes->addWidget(monoBox);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(detectButton);
    layout->addLayout(boxes);
    connect(detectButton, &QPushButton::clicked, this, &ReceptionPanel::detectSettings);
}

bool ReceptionPanel::conditionsRecording() const
{
    return conditionBox->isChecked();
}

bool ReceptionPanel::monoReception() const
{
    return monoBox->isChecked();
}

std::unique_ptr<SampleSource> ReceptionPanel::openRecording(const std::string& path) const
{
    // The window would wait for ever on a named pipe with no writer, and never
    // come to the end of a device.
    if (const QString kind = specialFileKind(QString::fromStdString(path)); !kind.isEmpty())
        throw FileError("cannot read", path, "it is " + kind.toStdString() + ", not a recording file");
    if (!conditionsRecording())
        return std::make_unique<SampleFile>(path);
    Recording recording(path);
    return std::make_unique<ConditionedSamples>(conditionRecording(recording));
}

void ReceptionPanel::detectSettings()
{
    const QString path = controls_.audioFile->text();
    DetectedSettings found;
    try {
        const std::unique_ptr<SampleSource> recording = openRecording(path.toStdString());
        found = tonobild::detectSettings(*recording);
    } catch (const FileError& error) {
        dialogs_.message(this, kDetectTitle,
                         QStringLiteral("The recording cannot be read: %1").arg(QString::fromStdString(error.what())));
        return;
    } catch (const std::exception& error) { // memory running out for a very long recording
        dialogs_.message(this, kDetectTitle,
                         QStringLiteral("%1 cannot be read: %2").arg(path, QString::fromUtf8(error.what())));
        return;
    }
    if (!found.found) {
        dialogs_.message(this, kDetectTitle,
                         QStringLiteral("No transmission found in %1: %2. Nothing was changed.")
                             .arg(path, QString::fromStdString(found.reason)));
        return;
    }
    applyDetected(found);
    dialogs_.message(this, kDetectTitle, describeFound(found));
}

// Through the controls themselves, so that their reactions run as after a click.
void ReceptionPanel::applyDetected(const DetectedSettings& found)
{
    QRadioButton* resolution = found.pictureWidth == 640   ? controls_.resolution640
                               : found.pictureWidth == 320 ? controls_.resolution320
                                                           : controls_.resolution160;
    resolution->setChecked(true);
    controls_.halfX->setCheckState(found.halfX ? Qt::Checked : Qt::Unchecked);
    controls_.compand->setCheckState(found.compand ? Qt::Checked : Qt::Unchecked);
    monoBox->setChecked(found.mono);
}

} // namespace tonobild
