#include "recorder/recorder_arguments.h"

namespace tonobild {

RecorderArguments parseRecorderArguments(const std::vector<std::string>& arguments)
{
    if (arguments.empty())
        return {std::nullopt, "No file named. Usage: tonobild-recorder [/play] [/close] FILE"};
    RecorderRequest request;
    request.file = arguments.back();
    for (std::size_t i = 0; i + 1 < arguments.size(); ++i) {
        if (arguments[i] == "/play")
            request.play = true;
        else if (arguments[i] == "/close")
            request.close = true;
        else
            return {std::nullopt, "Unknown argument \"" + arguments[i] +
                                      "\". Usage: tonobild-recorder [/play] [/close] FILE"};
    }
    if (request.file.empty())
        return {std::nullopt, "The file name is empty."};
    return {request, {}};
}

std::vector<std::string> recordArguments(const std::string& file)
{
    return {file};
}

std::vector<std::string> playArguments(const std::string& file)
{
    return {"/play", "/close", file};
}

} // namespace tonobild
