#include "platform/DpiScale.h"

#include <gtest/gtest.h>

TEST(DpiScaleTest, SizesAt100150And200PercentRoundToTheNearestPixel) {
    EXPECT_EQ(ScaleBetweenDpi(17, 96, 96), 17);
    EXPECT_EQ(ScaleBetweenDpi(17, 96, 144), 26) << "25.5 rounds up";
    EXPECT_EQ(ScaleBetweenDpi(17, 96, 192), 34);
    EXPECT_EQ(ScaleBetweenDpi(3, 96, 120), 4) << "3.75";
    EXPECT_EQ(ScaleBetweenDpi(26, 144, 96), 17) << "17.33, back down";
    EXPECT_EQ(ScaleBetweenDpi(-17, 96, 144), -26) << "halves away from zero either way";
    EXPECT_EQ(ScaleBetweenDpi(0, 96, 192), 0);
    EXPECT_EQ(ScaleBetweenDpi(1 << 24, 96, 480), 5 << 24) << "no overflow on the way";
}

TEST(DpiScaleTest, AnUnknownResolutionCountsAs96) {
    EXPECT_EQ(ScaleBetweenDpi(40, 0, 144), 60);
    EXPECT_EQ(ScaleBetweenDpi(40, 144, 0), 27);
    EXPECT_EQ(ScaleBetweenDpi(40, -1, -1), 40);
}
