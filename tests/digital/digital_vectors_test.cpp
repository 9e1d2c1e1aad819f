// Digital Encode and Digital Decode against reference pictures made independently.
#include <gtest/gtest.h>

#include "digital/digital_coding.h"
#include "picture/picture_files.h"
#include "support/test_data.h"

using namespace tonobild;

TEST(DigitalVectors, EncodeAndDecodeMatchTheReferences)
{
    const auto load = [](const std::string& name) {
        const LoadedPicture loaded = loadPictureFile(QString::fromStdString(testdata::dataPath(name + ".bmp")));
        EXPECT_FALSE(loaded.image.isNull()) << name << ": " << loaded.problem.toStdString();
        return fromImage(loaded.image);
    };
    WorkingPicture picture = load("gradient160");
    digitalEncode(picture);
    EXPECT_TRUE(picture == load("gradient160.digital-encode"));
    picture = load("gradient160.digital-encode");
    digitalDecode(picture);
    EXPECT_TRUE(picture == load("gradient160.digital-encode.digital-decode"));
    EXPECT_EQ(picture.width(), 160);
}
