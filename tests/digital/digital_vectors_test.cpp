// Digital Encode and Digital Decode against reference pictures made independently.
#include <gtest/gtest.h>

#include "digital/digital_coding.h"
#include "picture/picture_files.h"
#include "support/test_data.h"

using namespace tonobild;

namespace {

WorkingPicture loadReference(const std::string& name)
{
    const LoadedPicture loaded = loadPictureFile(QString::fromStdString(testdata::dataPath(name)));
    EXPECT_FALSE(loaded.image.isNull()) << name << ": " << loaded.problem.toStdString();
    return fromImage(loaded.image);
}

void expectSamePixels(const WorkingPicture& actual, const WorkingPicture& expected)
{
    ASSERT_EQ(actual.width(), expected.width());
    ASSERT_EQ(actual.height(), expected.height());
    for (int y = 0; y < actual.height(); ++y)
        for (int x = 0; x < actual.width(); ++x)
            ASSERT_EQ(actual.colour(x, y), expected.colour(x, y)) << "column " << x << ", row " << y;
}

} // namespace

TEST(DigitalVectors, EncodeMatchesTheReference)
{
    WorkingPicture picture = loadReference("gradient160.bmp");
    digitalEncode(picture);
    expectSamePixels(picture, loadReference("gradient160.digital-encode.bmp"));
}

TEST(DigitalVectors, DecodeMatchesTheReference)
{
    WorkingPicture picture = loadReference("gradient160.digital-encode.bmp");
    digitalDecode(picture);
    expectSamePixels(picture, loadReference("gradient160.digital-encode.digital-decode.bmp"));
}
