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
        {"decode-level3", {.normlevel = 3}, {}},
        {"decode-level3-buffered", {.normlevel = 3}, {.useLic = false}},
        {"decode-level2-startup", {.normlevel = 2}, {}},
        {"decode-level3-direct-x21-y86", {.normlevel = 3, .xshift = 21, .yshift = 86}, {.hsync = false, .useLic = false}}};
    for (const auto& c : cases) {
        DecodeResult result = decodeStream(stream, c.settings, c.controls);
        const WorkingPicture reference = testdata::reference((std::string("gradient160-signed.") + c.key + ".bmp").c_str());
        ASSERT_EQ(result.picture.width(), reference.width()) << c.key;
        ASSERT_EQ(result.picture.height(), reference.height());
        int differing = 0;
        for (int y = 0; y < reference.height(); ++y)
            for (int x = 0; x < reference.width(); ++x)
                if (result.picture.colour(x, y) != reference.colour(x, y) && ++differing <= 5)
                    ADD_FAILURE() << c.key << ": pixel (" << x << ", " << y << ") is " << result.picture.colour(x, y)
                                  << ", expected " << reference.colour(x, y);
        EXPECT_EQ(differing, 0) << c.key;
        result.state.sigscale = 1; // as the window sets it at start-up
        const QJsonValue caption = expected.value(QLatin1String(c.key)).toObject().value(QLatin1String("caption"));
        ASSERT_TRUE(caption.isString()) << c.key;
        EXPECT_EQ(readSignatureCaption(result.picture, result.state, c.controls.compand), caption.toString().toStdString())
            << c.key;
    }
}
