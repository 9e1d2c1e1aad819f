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

namespace {

WorkingPicture referencePicture(const std::string& name)
{
    const LoadedPicture loaded = loadPictureFile(QString::fromStdString(testdata::dataPath(name)));
    EXPECT_FALSE(loaded.image.isNull()) << name << ": " << loaded.problem.toStdString();
    return fromImage(loaded.image);
}

std::string expectedCaption(const char* key)
{
    QFile file(QString::fromStdString(testdata::dataPath("expected.json")));
    EXPECT_TRUE(file.open(QIODevice::ReadOnly));
    const QJsonObject entry = QJsonDocument::fromJson(file.readAll()).object().value(QLatin1String(key)).toObject();
    EXPECT_TRUE(entry.contains(QLatin1String("caption"))) << key;
    return entry.value(QLatin1String("caption")).toString().toStdString();
}

void expectDecodesTo(const DecodeSettings& settings, const DecoderControls& controls, const char* key)
{
    const auto stream = testdata::readBytes(testdata::dataPath("gradient160-signed.RAW"));
    ASSERT_EQ(stream.size(), 286168u);
    DecodeResult result = decodeStream(stream, settings, controls);
    const WorkingPicture expected = referencePicture(std::string("gradient160-signed.") + key + ".bmp");
    ASSERT_EQ(result.picture.width(), expected.width());
    ASSERT_EQ(result.picture.height(), expected.height());
    int differing = 0;
    for (int y = 0; y < expected.height(); ++y)
        for (int x = 0; x < expected.width(); ++x)
            if (result.picture.colour(x, y) != expected.colour(x, y) && ++differing <= 5)
                ADD_FAILURE() << key << ": pixel (" << x << ", " << y << ") is " << result.picture.colour(x, y)
                              << ", expected " << expected.colour(x, y);
    EXPECT_EQ(differing, 0) << key;
    result.state.sigscale = 1; // as the window sets it at start-up
    EXPECT_EQ(readSignatureCaption(result.picture, result.state, controls.compand), expectedCaption(key)) << key;
}

DecodeSettings atLevel(int normlevel)
{
    DecodeSettings settings;
    settings.normlevel = normlevel;
    return settings;
}

} // namespace

TEST(DecoderVectors, Level3IdentifiedLines)
{
    expectDecodesTo(atLevel(3), DecoderControls{}, "decode-level3");
}

TEST(DecoderVectors, Level3BufferedLines)
{
    DecoderControls controls;
    controls.useLic = false;
    expectDecodesTo(atLevel(3), controls, "decode-level3-buffered");
}

TEST(DecoderVectors, Level2WithStartUpControlsIsBlack)
{
    expectDecodesTo(atLevel(2), DecoderControls{}, "decode-level2-startup");
}

TEST(DecoderVectors, Level3DirectPaintingShifted)
{
    DecodeSettings settings = atLevel(3);
    settings.xshift = 21;
    settings.yshift = 86;
    DecoderControls controls;
    controls.hsync = false;
    controls.useLic = false;
    expectDecodesTo(settings, controls, "decode-level3-direct-x21-y86");
}
