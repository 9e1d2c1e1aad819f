// "Record" and "Play" of the main window: the recording file is prepared, then
// the recorder program is started with an argument list and left to the user.
// The station does not wait for it.
//
// The recorder is the settings store's "Settings"/"Recorder" when set, else
// tonobild-recorder beside the running program, else tonobild-recorder on the
// search path.
#pragma once

#include <QString>
#include <QStringList>

namespace tonobild {

class SettingsStore;

inline constexpr const char* kRecorderKey = "Recorder"; // in section "Settings"

// The program to start: the stored name, the one beside the running program,
// or the bare name for the search path.
QString recorderProgram(const SettingsStore& store);

// Prepares the file (the 58-byte recording header and nothing else) and starts
// the recorder with the file as its one argument. Answers an empty text when the
// recorder was started, else the message for the user naming the file or the
// program and the reason; then an old recording in the file is left as it was.
QString startRecording(const QString& audioFile, const SettingsStore& store);

// Starts the recorder with "/play", "/close" and the file. The file is neither
// checked nor changed. Answers an empty text, or the message for the user.
QString startPlaying(const QString& audioFile, const SettingsStore& store);

} // namespace tonobild
