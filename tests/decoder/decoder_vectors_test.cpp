// Decodes of the signed gradient's stream against reference pictures and
// read-outs computed independently.
#include <gtest/gtest.h>

#include "decode_support.h"
#include "signature/signature_codec.h"
#include "support/picture_data.h"

using namespace tonobild;
using namespace tonobild::decodetest;

TEST(DecoderVectors, SignedGradientAtLevel3IdentifiedBufferedAndDirectAndAtLevel2StartUp)
{
    const auto stream = testdata::readBytes(testdata::dataPath("gradient160-signed.RAW"));
    ASSERT_EQ(stream.size(), 286168u);
    const QJsonObject expected = testdata::expectedValues();
    const struct { const char* key; DecodeSettings settings; DecoderControls controls; } cases[] = {
        {"decode-level3", {.normlevel = 3}, {}}, {"decode-level2-startup", {.normlevel = 2}, {}},
        {"decode-level3-buffered", {.normlevel = 3}, {.useLic = false}},
        {"decode-level3-direct-x21-y86", {.normlevel = 3, .xshift = 21, .yshift = 86}, {.hsync = false, .useLic = false}}};
    for (const auto& c : cases) {
        const auto result = decodeStream(stream, c.settings, c.controls);
        const WorkingPicture reference = testdata::reference((std::string("gradient160-signed.") + c.key + ".bmp").c_str());
        EXPECT_TRUE(result->picture == reference) << c.key;
        result->state.sigscale = 1; // as the window sets it at start-up
        const QJsonValue caption = expected.value(QLatin1String(c.key)).toObject().value(QLatin1String("caption"));
        ASSERT_TRUE(caption.isString()) << c.key;
        EXPECT_EQ(readSignatureCaption(result->picture, result->state, c.controls.compand), caption.toString().toStdString())
            << c.key;
    }
}
