// The counter's arithmetic needs long double with at least 64 mantissa bits (the x87 extended
// format): a narrower long double moves some class widths by one millimetre step and silently
// changes counts. This header refuses such a compiler and holds the function every counting
// thread calls at its start, because a thread can begin with its x87 unit rounding to 53 bits.
#pragma once

#include <limits>

static_assert(std::numeric_limits<long double>::digits >= 64,
              "Velkor counts in long double and needs at least 64 mantissa bits; this compiler's "
              "long double has fewer and would silently change counts. Build with GCC or Clang "
              "and the GNU ABI (on Windows: MinGW-w64 GCC, or clang with a *-w64-mingw32 "
              "target); MSVC and clang-cl give long double only 53 bits.");

namespace velkor {

// Sets the calling thread's x87 precision control to 64 mantissa bits, leaving rounding and
// exception masks alone. Threads that Windows starts directly (CreateThread, _beginthreadex, thread
// pools) begin with 53 bits, unlike the main thread; any thread that counts calls this first.
// Does nothing where long double arithmetic does not go through the x87 unit.
void useExtendedPrecision();

// True when long double arithmetic on the calling thread carries 64 mantissa bits.
bool extendedPrecisionActive();

}  // namespace velkor
