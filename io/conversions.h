// Extended-precision results turned into the counter's signed 32-bit integers. There is one
// function per policy for a value that does not fit, and its name says the policy.
#pragma once

#include <cstdint>
#include <limits>

namespace velkor {

// Raises OverflowError for `what` (no file name; the caller that knows the file adds it).
[[noreturn]] void raiseOverflow(const char* what);

// Truncates toward zero. NaN and values outside the 32-bit range (a zero divisor, a runaway mean)
// raise OverflowError naming `what`: the counting core never goes on with a wrong value.
inline int32_t checkedTruncateToInt32(long double x, const char* what) {
    if (!(x > -2147483649.0L && x < 2147483648.0L)) raiseOverflow(what);
    return static_cast<int32_t>(x);
}

// Truncates toward zero. Values outside the 32-bit range become the nearer limit and NaN becomes
// 0: for positions and captions shown to the user, where a limit is better than an error.
inline int32_t saturatingTruncateToInt32(long double x) {
    if (x != x) return 0;
    constexpr long double lo = std::numeric_limits<int32_t>::min();
    constexpr long double hi = std::numeric_limits<int32_t>::max();
    if (x <= lo) return std::numeric_limits<int32_t>::min();
    if (x >= hi) return std::numeric_limits<int32_t>::max();
    return static_cast<int32_t>(x);
}

}  // namespace velkor
