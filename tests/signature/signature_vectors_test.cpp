// The stamp against reference pictures made independently.
#include <gtest/gtest.h>

#include "signature/signature_codec.h"
#include "support/picture_data.h"

using namespace tonobild;

TEST(SignatureVectors, PutcodeReproducesTheSignedGradient)
{
    WorkingPicture picture = testdata::reference("gradient160.bmp");
    ASSERT_EQ(picture.width(), 160);
    WorkingState state;
    state.sigscale = 1;
    state.signature = " AKLM456";
    putcode(picture, state, false);
    EXPECT_TRUE(picture == testdata::reference("gradient160-signed.bmp"));
}
