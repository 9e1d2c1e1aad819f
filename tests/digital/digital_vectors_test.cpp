// Digital Encode and Digital Decode against reference pictures made independently.
#include <gtest/gtest.h>

#include "digital/digital_coding.h"
#include "support/picture_data.h"

using namespace tonobild;
using testdata::reference;

TEST(DigitalVectors, EncodeAndDecodeMatchTheReferences)
{
    WorkingPicture picture = reference("gradient160.bmp");
    ASSERT_EQ(picture.width(), 160);
    digitalEncode(picture);
    EXPECT_TRUE(picture == reference("gradient160.digital-encode.bmp"));
    picture = reference("gradient160.digital-encode.bmp");
    digitalDecode(picture);
    EXPECT_TRUE(picture == reference("gradient160.digital-encode.digital-decode.bmp"));
}
