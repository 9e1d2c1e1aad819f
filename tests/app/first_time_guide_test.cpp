#include <gtest/gtest.h>

#include <string>

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
