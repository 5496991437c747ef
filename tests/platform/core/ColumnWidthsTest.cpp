#include "platform/ColumnWidths.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <numeric>

using ::testing::ElementsAre;

namespace {

int Sum(const std::vector<int>& widths) { return std::accumulate(widths.begin(), widths.end(), 0); }

TEST(ColumnWidthsTest, EachColumnShowsItsHeadingAndTheColumnsFitTheListWhereTheyCan) {
    // Room enough: as designed, widened to the headings.
    EXPECT_THAT(FitColumnWidths({244, 133, 133, 133}, {110, 90, 110, 151}, 700), ElementsAre(244, 133, 133, 151));

    // Too wide: the excess comes from the room beyond the headings, the total fits exactly.
    const std::vector<int> needs = {110, 90, 110, 151};
    for (int room : {660, 633, 600, 471, 461}) {
        const std::vector<int> fitted = FitColumnWidths({244, 133, 133, 133}, needs, room);
        EXPECT_EQ(Sum(fitted), room) << room;
        for (std::size_t i = 0; i < needs.size(); ++i) EXPECT_GE(fitted[i], needs[i]) << room << " column " << i;
    }
    EXPECT_THAT(FitColumnWidths({244, 133, 133, 133}, needs, 633), ElementsAre(225, 126, 131, 151));

    // Not even the headings fit: each column keeps its heading, the list scrolls.
    EXPECT_THAT(FitColumnWidths({244, 133, 133, 133}, needs, 300), ElementsAre(110, 90, 110, 151));
    EXPECT_THAT(FitColumnWidths({}, {}, 100), ElementsAre());
}

}  // namespace
