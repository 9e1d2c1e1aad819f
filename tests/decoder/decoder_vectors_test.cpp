// Decodes of the signed gradient's stream against reference pictures and
// read-outs computed independently.
#include <gtest/gtest.h>

#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>

#include "decode_support.h"
#include "picture/picture_files.h"
#include "signature/signature_codec.h"
#include "support/test_data.h"

using namespace tonobild;
using namespace tonobild::decodetest;

TEST(DecoderVectors, SignedGradientAtLevel3IdentifiedBufferedAndDirectAndAtLevel2StartUp)
{
    const auto stream = testdata::readBytes(testdata::dataPath("gradient160-signed.RAW"));
    ASSERT_EQ(stream.size(), 286168u);
    QFile file(QString::fromStdString(testdata::dataPath("expected.json")));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QJsonObject expected = QJsonDocument::fromJson(file.readAll()).object();
    const struct { const char* key; DecodeSettings settings; DecoderControls controls; } cases[] = {
        {"decode-level3", {.normlevel = 3}, {}},
        {"decode-level3-buffered", {.normlevel = 3}, {.useLic = false}},
        {"decode-level2-startup", {.normlevel = 2}, {}},
        {"decode-level3-direct-x21-y86", {.normlevel = 3, .xshift = 21, .yshift = 86}, {.hsync = false, .useLic = false}}};
    for (const auto& c : cases) {
        DecodeResult result = decodeStream(stream, c.settings, c.controls);
        const std::string bmp = testdata::dataPath(std::string("gradient160-signed.") + c.key + ".bmp");
        const LoadedPicture loaded = loadPictureFile(QString::fromStdString(bmp));
        ASSERT_FALSE(loaded.image.isNull()) << bmp << ": " << loaded.problem.toStdString();
        const WorkingPicture reference = fromImage(loaded.image);
        ASSERT_EQ(result.picture.width(), reference.width());
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
