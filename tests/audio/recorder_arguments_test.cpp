// The recorder's command line: the last argument is always the file.
#include <gtest/gtest.h>

#include "audio/recorder_arguments.h"

using namespace tonobild;

TEST(RecorderArguments, SwitchesBeforeTheFileAndTheLastArgumentAlwaysTheFile)
{
    struct Case {
        std::vector<std::string> arguments;
        std::string file;
        bool play;
        bool close;
    };
    for (const Case& c : std::vector<Case>{{{"/tmp/TONOBILD.WAV"}, "/tmp/TONOBILD.WAV", false, false},
                                           {{"/play", "/close", "/home/a b/x.wav"}, "/home/a b/x.wav", true, true},
                                           {{"/play", "/close"}, "/close", true, false},
                                           {{"/play"}, "/play", false, false},
                                           {playArguments("/play"), "/play", true, true}}) {
        const auto parsed = parseRecorderArguments(c.arguments);
        ASSERT_TRUE(parsed.request) << c.file;
        EXPECT_EQ(parsed.request->file, c.file);
        EXPECT_EQ(parsed.request->play, c.play) << c.file;
        EXPECT_EQ(parsed.request->close, c.close) << c.file;
    }
    EXPECT_EQ(recordArguments("/tmp/my file.wav"), (std::vector<std::string>{"/tmp/my file.wav"}));
}

TEST(RecorderArguments, OnlyTheExactSwitchWordsAreSwitches)
{
    EXPECT_FALSE(parseRecorderArguments({}).request);
    EXPECT_FALSE(parseRecorderArguments({""}).request);
    for (const char* wrong : {"/PLAY", "/play ", "-play", "/c", "C:\\My"}) {
        const auto parsed = parseRecorderArguments({wrong, "file.wav"});
        EXPECT_FALSE(parsed.request) << wrong;
        EXPECT_NE(parsed.problem.find(wrong), std::string::npos) << parsed.problem;
    }
}
