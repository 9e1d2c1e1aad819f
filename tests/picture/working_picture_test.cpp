#include <gtest/gtest.h>

#include "picture/working_picture.h"

using namespace tonobild;

TEST(Colour, SplitsWithFloorDivision)
{
    EXPECT_EQ(splitColour(colourNumber(200, 100, 0)), (ColourComponents{200, 100, 0}));
    EXPECT_EQ(splitColour(colourNumber(1, 2, 3)), (ColourComponents{1, 2, 3}));
    EXPECT_EQ(splitColour(kOutside), (ColourComponents{255, 255, -1}));
    EXPECT_EQ(colourNumber(200, 100, 0), 200 + 256 * 100);
}

TEST(WorkingPicture, OutsideReadsMinusOneAndIgnoresWrites)
{
    WorkingPicture picture(4, 3);
    picture.setColour(-1, 0, kWhite);
    picture.setColour(4, 0, kWhite);
    picture.setColour(0, 3, kWhite);
    EXPECT_EQ(picture.colour(-1, 0), kOutside);
    EXPECT_EQ(picture.colour(0, -1), kOutside);
    EXPECT_EQ(picture.colour(4, 2), kOutside);
    EXPECT_EQ(picture.colour(3, 2), kBlack);
    EXPECT_EQ(std::count(picture.pixels().begin(), picture.pixels().end(), kWhite), 0);
}

TEST(WorkingPicture, FillBoxIncludesBothCornersInAnyOrderAndClips)
{
    WorkingPicture picture(6, 5);
    picture.fillBox(4, 3, 1, 1, kWhite);
    for (int y = 0; y < 5; ++y)
        for (int x = 0; x < 6; ++x)
            EXPECT_EQ(picture.colour(x, y), (x >= 1 && x <= 4 && y >= 1 && y <= 3) ? kWhite : kBlack) << x << "," << y;
    picture.fillBox(-10, -10, 100, 0, 7);
    EXPECT_EQ(picture.colour(5, 0), 7);
    EXPECT_EQ(picture.colour(5, 1), kBlack);
}

TEST(WorkingPicture, ResizeKeepsTheTopLeftAndGainsBlack)
{
    WorkingPicture picture(640, 480);
    for (int y = 0; y < 480; ++y)
        for (int x = 0; x < 640; ++x)
            picture.setColour(x, y, colourNumber(x % 256, y % 256, 9));
    picture.resize(160, 120);
    EXPECT_EQ(picture.width(), 160);
    EXPECT_EQ(picture.placedWidth(), 160);
    EXPECT_EQ(picture.colour(159, 119), colourNumber(159, 119, 9));
    picture.resize(640, 480);
    EXPECT_EQ(picture.colour(159, 119), colourNumber(159, 119, 9));
    EXPECT_EQ(picture.colour(160, 0), kBlack);
    EXPECT_EQ(picture.colour(0, 120), kBlack);
    EXPECT_EQ(picture.placedHeight(), 480);
}

TEST(WorkingPicture, PlaceTakesThePicturesOwnSize)
{
    WorkingPicture picture;
    picture.place(2, 1, {5, 6});
    EXPECT_EQ(picture.width(), 2);
    EXPECT_EQ(picture.placedWidth(), 2);
    EXPECT_EQ(picture.colour(1, 0), 6);
    EXPECT_THROW(picture.place(3, 3, {1}), std::invalid_argument);
}
