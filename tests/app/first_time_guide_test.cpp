#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/first_time_guide.h"

namespace tonobild {
namespace {

std::size_t count(const std::string& text, const std::string& part)
{
    std::size_t found = 0;
    for (auto at = text.find(part); at != std::string::npos; at = text.find(part, at + 1))
        ++found;
    return found;
}

TEST(FirstTimeGuide, ConfigurationInItsOrder)
{
    const std::vector<std::string> expected = {"Check10=1", "Check3=1", "Check1=1",  "Check5=1", "Check2=1",
                                               "Check8=0",  "Check9=0", "Check11=0", "Option24", "Check4=1",
                                               "Option14",  "Option7",  "VScroll1=-32"};
    std::vector<std::string> steps;
    for (const GuideStep& step : kGuideSteps) {
        switch (step.kind) {
        case GuideControl::Check:
            steps.push_back("Check" + std::to_string(step.number) + "=" + std::to_string(step.value));
            break;
        case GuideControl::Option:
            EXPECT_EQ(step.value, 1);
            steps.push_back("Option" + std::to_string(step.number));
            break;
        case GuideControl::SyncLevel:
            steps.push_back("VScroll1=" + std::to_string(step.value));
            break;
        }
    }
    EXPECT_EQ(steps, expected);
}

TEST(FirstTimeGuide, InstructionsLineBreaksAndDoubledQuotes)
{
    const std::string text = guideInstructionsText();
    EXPECT_EQ(text.rfind("The configuration which just took place set the settings to the positions which will "
                         "get some sort of result\r\nNow, you must load a picture.",
                         0),
              0u);
    EXPECT_EQ(count(text, "\r\n"), 11u);
    EXPECT_EQ(count(text, "\n"), 11u); // no bare line feed
    EXPECT_EQ(count(text, "\r\n\r\n\r\n"), 1u);
    EXPECT_NE(text.find("You should then have the picture\r\n\r\n\r\nTroubleshooting:-\r\nTry setting"),
              std::string::npos);
    EXPECT_NE(text.find("through the soundcard\r\n\r\nTo recieve"), std::string::npos);
    EXPECT_EQ(count(text, "\r\n\r\n"), 3u); // the double break, and the triple one seen twice
    for (const char* quoted : {"\"\"load from file\"\"", "\"\"Load from Clipboard\"\"", "\"\"Play\"\"",
                               "\"\"Decode\"\"", "\"\"Adjust the Active Normalising\"\""})
        EXPECT_EQ(count(text, quoted), 1u) << quoted;
    EXPECT_EQ(count(text, "\""), 20u);
    const std::string ending = "to 2. This may help";
    EXPECT_EQ(text.substr(text.size() - ending.size()), ending);
}

} // namespace
} // namespace tonobild
