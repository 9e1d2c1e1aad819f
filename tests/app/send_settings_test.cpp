#include <gtest/gtest.h>

#include "app/send_settings.h"
#include "settings/memory_settings_store.h"

using namespace tonobild;

// Written and read back whole; a store without the section gives the own
// format, no FSK ID and an empty caption at the bottom in white.
TEST(SendSettings, ComeBackAsWrittenAndAnEmptyStoreGivesTheDefaults)
{
    MemorySettingsStore store;
    const StoredSend empty = readSendSettings(store);
    EXPECT_EQ(empty.settings, SendSettings{});
    EXPECT_TRUE(empty.problems.empty());
    const SendSettings written{"PD120", true, "DL1ABC",
                               {{"DL1ABC de G4XYZ", "59 Hamburg"}, CaptionPlace::Top, colourNumber(255, 255, 0)}};
    writeSendSettings(store, written);
    EXPECT_EQ(store.read("Send", "Caption Colour", ""), "Yellow");
    EXPECT_EQ(store.read("Send", "Caption Place", ""), "Top");
    const StoredSend read = readSendSettings(store);
    EXPECT_EQ(read.settings, written);
    EXPECT_TRUE(read.problems.empty());
}

// A mode written as users write it is taken by its short name; a value that
// is not one of its key's is named with the key, and the default kept.
TEST(SendSettings, AStoredValueThatIsNoneOfItsKeysIsNamedAndTheDefaultKept)
{
    const struct {
        const char* key;
        const char* value;
        const char* problem; // empty: taken
    } rows[] = {
        {"Standard Mode", "martin 1", ""},
        {"Standard Mode", "Martin 9", "Send/Standard Mode is \"Martin 9\", which is not a standard mode"},
        {"Send FSK ID", "yes", "Send/Send FSK ID is \"yes\", which is not 0 or 1"},
        {"Caption Place", "Middle", "Send/Caption Place is \"Middle\", which is not Top or Bottom"},
        {"Caption Colour", "Purple",
         "Send/Caption Colour is \"Purple\", which is not one of White, Yellow, Black, Red, Cyan"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.value);
        MemorySettingsStore store;
        store.write("Send", row.key, row.value);
        const StoredSend read = readSendSettings(store);
        if (*row.problem == '\0') {
            EXPECT_EQ(read.settings.standardMode, "M1");
            EXPECT_TRUE(read.problems.empty());
            continue;
        }
        ASSERT_EQ(read.problems.size(), 1u);
        EXPECT_EQ(read.problems[0].rfind(row.problem, 0), 0u) << read.problems[0];
        EXPECT_EQ(read.settings, SendSettings{});
    }
}
