// The command line of tonobild-recorder: "FILE" to record, "/play /close FILE"
// to play and close at the end. The last argument is always the file, even
// when it starts with "/"; only the exact words "/play" and "/close" before it
// are switches.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace tonobild {

struct RecorderRequest {
    std::string file;
    bool play = false;
    bool close = false;
};

struct RecorderArguments {
    std::optional<RecorderRequest> request; // empty when the arguments are wrong
    std::string problem;                    // why, for the user
};

// `arguments` are the words after the program name.
RecorderArguments parseRecorderArguments(const std::vector<std::string>& arguments);

// The arguments the station hands the recorder.
std::vector<std::string> recordArguments(const std::string& file);
std::vector<std::string> playArguments(const std::string& file);

} // namespace tonobild
