#include <gtest/gtest.h>

#include "picture/preparation.h"
#include "signature/signature_codec.h"

using namespace tonobild;

namespace {

const std::string kCaption = "Class of transmitter: Amateur\r\nIdentification: KLM456";

WorkingState signedState()
{
    WorkingState state;
    state.sigscale = 1;
    state.signature = " AKLM456";
    return state;
}

WorkingPicture placedPicture(int width, int height, ColourNumber colour)
{
    WorkingPicture picture;
    picture.place(width, height,
                  std::vector<ColourNumber>(static_cast<std::size_t>(width) * static_cast<std::size_t>(height), colour));
    return picture;
}

} // namespace

TEST(Preparation, ResolutionFollowsThePlacedWidth)
{
    EXPECT_EQ(resolutionForWidth(160), Resolution::R160x120);
    EXPECT_EQ(resolutionForWidth(250), Resolution::R160x120);
    EXPECT_EQ(resolutionForWidth(251), Resolution::R320x240);
    EXPECT_EQ(resolutionForWidth(500), Resolution::R320x240);
    EXPECT_EQ(resolutionForWidth(501), Resolution::R640x480);
}

TEST(Preparation, ResizesOnlyWhenTheChosenOptionWasNotSelected)
{
    WorkingState state = signedState();
    Resolution selected = Resolution::R160x120;

    WorkingPicture wide = placedPicture(251, 12, kWhite);
    p1updat(wide, state, selected, false);
    EXPECT_EQ(selected, Resolution::R320x240);
    EXPECT_EQ(wide.width(), 320);
    EXPECT_EQ(wide.height(), 240);
    EXPECT_EQ(wide.colour(250, 11), kWhite); // the content stays at the top-left
    EXPECT_EQ(wide.colour(250, 12), kBlack); // gained pixels are black
    EXPECT_EQ(wide.colour(251, 11), kBlack);

    WorkingPicture wider = placedPicture(501, 3, kWhite);
    p1updat(wider, state, selected, false);
    EXPECT_EQ(selected, Resolution::R640x480);
    EXPECT_EQ(wider.width(), 640);

    // 200 x 150 while 160 x 120 is already selected keeps its own size.
    selected = Resolution::R160x120;
    WorkingPicture odd = placedPicture(200, 150, kWhite);
    p1updat(odd, state, selected, false);
    EXPECT_EQ(selected, Resolution::R160x120);
    EXPECT_EQ(odd.width(), 200);
    EXPECT_EQ(odd.height(), 150);
}

TEST(Preparation, StampsAndReadsTheSignature)
{
    WorkingState state = signedState();
    Resolution selected = Resolution::R160x120;
    WorkingPicture picture = placedPicture(160, 120, kWhite);

    EXPECT_EQ(p1updat(picture, state, selected, false), kCaption);
    EXPECT_EQ(state.sigfound, 1);
    for (int x = 0; x < 160; ++x)
        EXPECT_EQ(picture.colour(x, 0), kBlack);
    EXPECT_EQ(picture.colour(159, 9), kBlack);
    EXPECT_EQ(picture.colour(159, 10), kWhite);
}

TEST(Preparation, RunningTwiceStampsOnce)
{
    WorkingState state = signedState();
    Resolution selected = Resolution::R160x120;
    WorkingPicture picture = placedPicture(160, 120, kWhite);
    p1updat(picture, state, selected, false);
    const WorkingPicture once = picture;

    state.signature = " AOTHER";
    EXPECT_EQ(p1updat(picture, state, selected, false), kCaption);
    EXPECT_EQ(picture, once);
}

TEST(PreviewClick, ScaleIsRoundedDownUnlessThatWouldBeZero)
{
    EXPECT_EQ(previewScale(kPreviewWidth, 160), 2.0);
    EXPECT_EQ(previewScale(kPreviewWidth, 200), 1.0);
    EXPECT_EQ(previewScale(kPreviewWidth, 320), 1.0);
    EXPECT_EQ(previewScale(kPreviewWidth, 640), 0.5);
    EXPECT_EQ(previewScale(kPreviewWidth, 400), 0.8);
}

TEST(PreviewClick, LeftClickGivesThePicturePositionUnderTheMouse)
{
    EXPECT_EQ(previewClickPosition(100, 50, kPreviewWidth, 160), (PicturePosition{50, 25}));
    EXPECT_EQ(previewClickPosition(101, 51, kPreviewWidth, 160), (PicturePosition{50, 25}));
    EXPECT_EQ(previewClickPosition(100, 50, kPreviewWidth, 320), (PicturePosition{100, 50}));
    EXPECT_EQ(previewClickPosition(100, 50, kPreviewWidth, 640), (PicturePosition{200, 100}));
    EXPECT_EQ(previewClickPosition(319, 239, kPreviewWidth, 640), (PicturePosition{638, 478}));
}

TEST(PreviewClick, OtherClickBlackensTheLeftColumnsAndPreparesAgain)
{
    WorkingState state = signedState();
    Resolution selected = Resolution::R160x120;
    WorkingPicture picture = placedPicture(160, 120, kWhite);
    p1updat(picture, state, selected, false);

    const int column = previewClickColumn(100, kPreviewWidth, 160);
    EXPECT_EQ(column, 50);
    blackenLeftColumns(picture, column);
    EXPECT_EQ(picture.colour(50, 119), kBlack);
    EXPECT_EQ(picture.colour(51, 119), kWhite);
    EXPECT_EQ(getcode(picture, state, false), ""); // the start marker went black

    EXPECT_EQ(p1updat(picture, state, selected, false), kCaption);
    EXPECT_EQ(picture.colour(50, 119), kBlack);
}
