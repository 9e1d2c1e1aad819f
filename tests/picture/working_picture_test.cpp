// The working picture and the preview clicks on it.
#include <gtest/gtest.h>

#include <stdexcept>

#include "picture/preview.h"

using namespace tonobild;

TEST(WorkingPicture, OutsideReadsMinusOneAResizeKeepsTheTopLeftEmptySizesAreAcceptedAndNegativeOnesRefused)
{
    WorkingPicture picture(4, 3);
    for (const auto& [x, y] : {std::pair{-1, 0}, std::pair{0, -1}, std::pair{4, 2}, std::pair{0, 3}}) {
        picture.setColour(x, y, kWhite);
        EXPECT_EQ(picture.colour(x, y), kOutside) << x << "," << y;
    }
    EXPECT_EQ(std::count(picture.pixels().begin(), picture.pixels().end(), kBlack), 12);
    EXPECT_EQ(splitColour(kOutside), (ColourComponents{255, 255, -1}));

    // A resize keeps the top left and gains black.
    picture.resize(640, 480);
    picture.fillBox(0, 0, 639, 479, kWhite);
    picture.setColour(159, 119, 5);
    picture.resize(160, 120);
    EXPECT_EQ(picture.colour(160, 0), kOutside);
    picture.resize(640, 480);
    EXPECT_EQ((std::vector{picture.colour(159, 119), picture.colour(158, 118), picture.colour(159, 0),
                           picture.colour(160, 0), picture.colour(0, 120)}),
              (std::vector<ColourNumber>{5, kWhite, kWhite, kBlack, kBlack}));

    // A picture may have no columns or no rows, resized or placed (with no pixels); a negative
    // side is refused by both and leaves the size as it was. -1 x 0 and 0 x -1 would match an
    // empty pixel list: the sign alone refuses them.
    const auto size = [&] { return std::pair(picture.width(), picture.height()); };
    for (const auto& [width, height] : {std::pair{0, 3}, {4, 0}}) {
        picture.resize(width, height);
        EXPECT_EQ(size(), std::pair(width, height));
        picture.place(height, width, {});
        EXPECT_EQ(size(), std::pair(height, width));
    }
    for (const auto& [width, height] : {std::pair{-1, 0}, {0, -1}, {-1, 3}, {3, -1}}) {
        EXPECT_THROW(picture.resize(width, height), std::invalid_argument) << width << " x " << height;
        EXPECT_THROW(picture.place(width, height, {}), std::invalid_argument) << width << " x " << height;
    }
    EXPECT_EQ(size(), std::pair(0, 4));
}

// Both corners are included in either order and the box is clipped at every edge: column 0
// from x -3 and rows 1 to 4 of 1..9; columns 4 and 5, rows 0 to 2 from corners (5, 2) and (4, -4).
// Then column 2, rows 1 to 3; row 4, columns 3 to 5 (the right corner clipped at 5); a single pixel (0, 0).
TEST(WorkingPicture, FillBoxOneColumnOrOneRowWide)
{
    WorkingPicture picture(6, 5);
    picture.fillBox(-3, 9, 0, 1, 8);
    picture.fillBox(5, 2, 4, -4, 5);
    picture.fillBox(2, 3, 2, 1, kWhite);
    picture.fillBox(9, 4, 3, 4, 7);
    picture.fillBox(0, 0, 0, 0, 9);
    EXPECT_EQ(picture.pixels(), (std::vector<ColourNumber>{9, 0, 0, 0, 5, 5,
                                                           8, 0, kWhite, 0, 5, 5,
                                                           8, 0, kWhite, 0, 5, 5,
                                                           8, 0, kWhite, 0, 0, 0,
                                                           8, 0, 0, 7, 7, 7}));
}

// A click maps with the unrounded scale for wide pictures; blackening reaches column 0 and the top and bottom rows.
TEST(PreviewClick, MapsThePositionWithTheUnroundedScaleAndBlackensEveryColumnUpToTheClickedOneFromTopToBottom)
{
    for (const auto& [x, y, width, expected] :
         {std::tuple{100, 50, 160, PicturePosition{50, 25}}, {101, 51, 160, PicturePosition{50, 25}},
          {100, 50, 200, PicturePosition{100, 50}}, {100, 50, 400, PicturePosition{125, 62}},
          {319, 239, 640, PicturePosition{638, 478}}, {100, 50, 0, PicturePosition{100, 50}},
          {319, 50, 1, PicturePosition{0, 0}}})
        EXPECT_EQ(previewClickPosition(x, y, kPreviewWidth, width), expected) << x << "," << y << " on " << width;

    WorkingPicture picture(6, 4);
    picture.fillBox(0, 0, 5, 3, kWhite);
    blackenLeftColumns(picture, 2);
    for (const auto& [x, y, colour] : {std::tuple{0, 0, kBlack}, {2, 0, kBlack}, {0, 3, kBlack}, {2, 3, kBlack},
                                       {3, 0, kWhite}, {3, 3, kWhite}, {5, 2, kWhite}})
        EXPECT_EQ(picture.colour(x, y), colour) << x << "," << y;
}
