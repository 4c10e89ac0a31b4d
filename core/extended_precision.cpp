// x87 precision control for the calling thread (see extended_precision.h).
#include "core/extended_precision.h"

#include <cstdint>

namespace velkor {

#if defined(__i386__) || defined(__x86_64__)

namespace {

constexpr uint16_t precisionControlMask = 0x0300;  // bits 8-9 of the x87 control word
constexpr uint16_t precision64Bits = 0x0300;

uint16_t x87ControlWord() {
    uint16_t word;
    __asm__ volatile("fnstcw %0" : "=m"(word));
    return word;
}

}  // namespace

void useExtendedPrecision() {
    uint16_t word = x87ControlWord();
    if ((word & precisionControlMask) == precision64Bits) return;
    word = static_cast<uint16_t>((word & ~precisionControlMask) | precision64Bits);
    __asm__ volatile("fldcw %0" : : "m"(word));
}

bool extendedPrecisionActive() {
    return (x87ControlWord() & precisionControlMask) == precision64Bits;
}

#else

void useExtendedPrecision() {}

bool extendedPrecisionActive() {
    return true;
}

#endif

}  // namespace velkor
