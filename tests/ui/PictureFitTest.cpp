#include "PictureFit.h"

#include <gtest/gtest.h>

namespace kavelto {
namespace {

// The reduced size rounds up, as the JPEG decoder's does: 2401 / 8 gives 301.
TEST(PictureFit, TakesTheLargestReductionThatStillFillsTheFit) {
    const struct {
        QSize stored, upright;
        int reduction;
    } rows[] = {
        {{2400, 1600}, {300, 200}, 8},  {{2400, 1600}, {301, 200}, 4},
        {{2400, 1600}, {300, 201}, 4},  {{2400, 1600}, {600, 400}, 4},
        {{2400, 1600}, {601, 400}, 2},  {{2400, 1600}, {1200, 800}, 2},
        {{2400, 1600}, {1201, 800}, 1}, {{2401, 1601}, {301, 201}, 8},
    };
    for (const auto& row : rows)
        EXPECT_EQ(Reduction(row.stored, row.upright), row.reduction)
            << row.upright.width() << " x " << row.upright.height() << " of " << row.stored.width()
            << " x " << row.stored.height();
}

} // namespace
} // namespace kavelto
