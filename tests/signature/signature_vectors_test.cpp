// The stamp against reference pictures made independently.
#include <gtest/gtest.h>

#include "picture/picture_files.h"
#include "signature/signature_codec.h"
#include "support/test_data.h"

using namespace tonobild;

TEST(SignatureVectors, PutcodeReproducesTheSignedGradient)
{
    const auto load = [](const char* name) {
        const LoadedPicture loaded = loadPictureFile(QString::fromStdString(testdata::dataPath(name)));
        EXPECT_FALSE(loaded.image.isNull()) << name << ": " << loaded.problem.toStdString();
        return fromImage(loaded.image);
    };
    WorkingPicture picture = load("gradient160.bmp");
    const WorkingPicture expected = load("gradient160-signed.bmp");
    WorkingState state;
    state.sigscale = 1;
    state.signature = " AKLM456";
    putcode(picture, state, false);
    ASSERT_EQ(picture.width(), 160);
    EXPECT_TRUE(picture == expected);
}
