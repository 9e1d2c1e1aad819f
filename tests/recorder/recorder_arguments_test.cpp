// The recorder's command line, whose last argument is always the file.
#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <vector>

#include "recorder/recorder_arguments.h"

using namespace tonobild;

TEST(RecorderArguments, ExactSwitchWordsBeforeTheFileAndTheLastArgumentAlwaysTheFile)
{
    // arguments -> file, play, close
    const std::tuple<std::vector<std::string>, std::string, bool, bool> cases[] = {
        {{"/tmp/TONOBILD.WAV"}, "/tmp/TONOBILD.WAV", false, false},
        {{"/play", "/close", "/home/a b/x.wav"}, "/home/a b/x.wav", true, true},
        {{"/play", "/close"}, "/close", true, false}, {{"/play"}, "/play", false, false}};
    for (const auto& [arguments, file, play, close] : cases) {
        const auto request = parseRecorderArguments(arguments).request;
        ASSERT_TRUE(request) << file;
        EXPECT_EQ(std::tuple(request->file, request->play, request->close), std::tuple(file, play, close));
    }
    // Only the exact switch words are switches.
    EXPECT_FALSE(parseRecorderArguments({}).request || parseRecorderArguments({""}).request);
    for (const char* wrong : {"/PLAY", "/play ", "-play", "/c", "C:\\My"}) {
        const auto p = parseRecorderArguments({wrong, "file.wav"});
        EXPECT_TRUE(!p.request && p.problem.find(wrong) != std::string::npos) << wrong << ": " << p.problem;
    }
}
