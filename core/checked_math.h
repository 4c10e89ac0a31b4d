// Overflow-checked 32-bit integer arithmetic. The counter's values are signed 32-bit integers and
// an overflow must never pass silently (a permanent dark streak on the camera window makes one
// object's area grow for as long as the recording lasts): it raises an OverflowError instead.
#pragma once

#include <cstdint>

#include "io/conversions.h"
#include "io/errors.h"

namespace velkor {

inline int32_t checkedAdd(int32_t a, int32_t b, const char* what = "addition") {
    int32_t r;
    if (__builtin_add_overflow(a, b, &r)) raiseOverflow(what);
    return r;
}

inline int32_t checkedSub(int32_t a, int32_t b, const char* what = "subtraction") {
    int32_t r;
    if (__builtin_sub_overflow(a, b, &r)) raiseOverflow(what);
    return r;
}

inline int32_t checkedMul(int32_t a, int32_t b, const char* what = "multiplication") {
    int32_t r;
    if (__builtin_mul_overflow(a, b, &r)) raiseOverflow(what);
    return r;
}

// A result worked out before it is known whether it is needed; `overflow` says whether it
// overflowed. Code that then decides without a branch whether to use it raises the overflow only
// if it does.
inline int32_t tentativeAdd(int32_t a, int32_t b, bool& overflow) {
    int32_t r;
    overflow = __builtin_add_overflow(a, b, &r);
    return r;
}

inline int32_t tentativeSub(int32_t a, int32_t b, bool& overflow) {
    int32_t r;
    overflow = __builtin_sub_overflow(a, b, &r);
    return r;
}

inline int32_t tentativeMul(int32_t a, int32_t b, bool& overflow) {
    int32_t r;
    overflow = __builtin_mul_overflow(a, b, &r);
    return r;
}

}  // namespace velkor
