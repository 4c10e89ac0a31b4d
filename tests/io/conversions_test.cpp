// The two conversions to 32-bit integers side by side: the same values, one policy each.
#include <gtest/gtest.h>

#include <limits>

#include "io/conversions.h"
#include "io/errors.h"

namespace velkor {
namespace {

constexpr int32_t intMin = std::numeric_limits<int32_t>::min();
constexpr int32_t intMax = std::numeric_limits<int32_t>::max();
constexpr long double nan = std::numeric_limits<long double>::quiet_NaN();
constexpr long double inf = std::numeric_limits<long double>::infinity();

TEST(Conversions, InRangeBothTruncateTowardZero) {
    for (const auto& [x, expected] :
         std::initializer_list<std::pair<long double, int32_t>>{{2.9L, 2},
                                                                {-2.9L, -2},
                                                                {0.0L, 0},
                                                                {-0.5L, 0},
                                                                {2147483647.9L, intMax},
                                                                {-2147483648.9L, intMin}}) {
        EXPECT_EQ(checkedTruncateToInt32(x, "test"), expected) << double(x);
        EXPECT_EQ(saturatingTruncateToInt32(x), expected) << double(x);
    }
}

TEST(Conversions, OutOfRangeRaisesOrSaturates) {
    struct Case {
        long double x;
        int32_t saturated;
    };
    for (const Case& c :
         {Case{2147483648.0L, intMax}, Case{1e30L, intMax}, Case{inf, intMax},
          Case{-2147483649.0L, intMin}, Case{-1e30L, intMin}, Case{-inf, intMin}, Case{nan, 0}}) {
        EXPECT_EQ(saturatingTruncateToInt32(c.x), c.saturated) << double(c.x);
        try {
            checkedTruncateToInt32(c.x, "pixel width");
            ADD_FAILURE() << double(c.x) << " passed the checked conversion";
        } catch (const OverflowError& e) {
            EXPECT_EQ(e.problem(), "arithmetic overflow in pixel width");
        }
    }
}

}  // namespace
}  // namespace velkor
