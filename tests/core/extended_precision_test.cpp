// Counting threads and the x87 precision: a thread rounding to 53 bits gets some pixel widths one
// pixel wrong; after useExtendedPrecision it gets them right, also on a thread Windows started.
#include <gtest/gtest.h>

#include <cstdint>
#include <thread>

#include "core/extended_precision.h"
#include "core/fish_classes.h"

#ifdef _WIN32
#include <process.h>
#define NOMINMAX
#include <windows.h>
#endif

namespace velkor {
namespace {

// 219 px * 119 mm / 100 mm * 500 / 511 is just below 255 in 64-bit precision; rounded to 53 bits
// after each step it comes out at 255.
struct WidthCase {
    int32_t span, mm, counterWidth, pixels;
};
constexpr WidthCase precisionSensitive = {219, 119, 100, 254};

int32_t sensitiveWidth() {
    volatile int32_t span = precisionSensitive.span;  // computed at run time, on this thread
    return pixelWidth(span, precisionSensitive.mm, precisionSensitive.counterWidth);
}

struct ThreadView {
    bool activeAtStart = false, activeAfter = false;
    int32_t widthAtStart = 0, widthAfter = 0;
};

void lookAndFix(ThreadView& v) {
    v.activeAtStart = extendedPrecisionActive();
    v.widthAtStart = sensitiveWidth();
    useExtendedPrecision();
    v.activeAfter = extendedPrecisionActive();
    v.widthAfter = sensitiveWidth();
}

#if defined(__i386__) || defined(__x86_64__)
// What Windows gives a thread that it starts itself: x87 rounding to 53 bits.
void roundTo53Bits() {
    uint16_t word;
    __asm__ volatile("fnstcw %0" : "=m"(word));
    word = static_cast<uint16_t>((word & ~0x0300) | 0x0200);
    __asm__ volatile("fldcw %0" : : "m"(word));
}

TEST(ExtendedPrecision, AThreadAt53BitsIsOnePixelOffUntilItSetsThePrecision) {
    EXPECT_TRUE(extendedPrecisionActive());
    EXPECT_EQ(sensitiveWidth(), precisionSensitive.pixels);
    ThreadView v;
    std::thread([&v] {
        roundTo53Bits();
        lookAndFix(v);
    }).join();
    EXPECT_FALSE(v.activeAtStart);
    EXPECT_EQ(v.widthAtStart, precisionSensitive.pixels + 1);
    EXPECT_TRUE(v.activeAfter);
    EXPECT_EQ(v.widthAfter, precisionSensitive.pixels);
}
#endif

#ifdef _WIN32
unsigned __stdcall lookAndFixOnWindowsThread(void* view) {
    lookAndFix(*static_cast<ThreadView*>(view));
    return 0;
}

TEST(ExtendedPrecision, AThreadStartedByWindowsGetsThePrecisionItNeeds) {
    ThreadView v;
    const uintptr_t thread = _beginthreadex(nullptr, 0, lookAndFixOnWindowsThread, &v, 0, nullptr);
    ASSERT_NE(thread, 0u);
    WaitForSingleObject(reinterpret_cast<HANDLE>(thread), INFINITE);
    CloseHandle(reinterpret_cast<HANDLE>(thread));
    // Such a thread starts at 53 bits on Windows; whatever it starts with, it ends right.
    if (!v.activeAtStart) EXPECT_EQ(v.widthAtStart, precisionSensitive.pixels + 1);
    EXPECT_TRUE(v.activeAfter);
    EXPECT_EQ(v.widthAfter, precisionSensitive.pixels);
}
#endif

}  // namespace
}  // namespace velkor
