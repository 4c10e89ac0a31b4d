// Turns fuzz bytes into a stream of valid scan lines: runs in increasing order, disjoint and
// separated by at least one light pixel, within the 16-bit positions a recording holds. A
// repeat op replays the line before many times, so few bytes make long objects (and long dark
// streaks) that test the core's arithmetic.
#pragma once

#include <fuzzer/FuzzedDataProvider.h>

#include <cstdint>
#include <vector>

namespace velkor::fuzz {

struct Run {
    int32_t v = 0;
    int32_t h = 0;
};

class LineStream {
public:
    // `leftEdge`: where the first run of a line may begin; `maxRuns`: runs a line may hold.
    LineStream(FuzzedDataProvider& data, int32_t leftEdge, int32_t maxRuns)
        : data_(data), leftEdge_(leftEdge), maxRuns_(maxRuns) {}

    // The next line's runs; false when the bytes are used up or `lineLimit` lines were made.
    bool next(std::vector<Run>& runs, int64_t lineLimit) {
        if (made_ >= lineLimit) return false;
        if (repeatLeft_ > 0) {
            --repeatLeft_;
            ++made_;
            runs = last_;
            return true;
        }
        if (data_.remaining_bytes() == 0) return false;
        const uint8_t op = data_.ConsumeIntegral<uint8_t>();
        if (op >= 240) {
            // Repeat the line before 1..4096 times (this one included).
            repeatLeft_ = static_cast<int32_t>(data_.ConsumeIntegralInRange<uint16_t>(1, 4096)) - 1;
            ++made_;
            runs = last_;
            return true;
        }
        // Mostly few runs; now and then a crowded line up to the line capacity.
        const int32_t n = op >= 224 ? data_.ConsumeIntegralInRange<int32_t>(0, maxRuns_)
                                    : (op & 15) % (maxRuns_ + 1);
        runs.clear();
        int32_t x = leftEdge_ + (op >> 4) * 3;
        for (int32_t k = 0; k < n && data_.remaining_bytes() > 0; ++k) {
            const int32_t gap = data_.ConsumeIntegral<uint8_t>();
            const int32_t width = data_.ConsumeIntegral<uint8_t>();
            const int32_t v = x + (k == 0 ? gap : gap + 1);
            const int32_t h = v + width;
            if (h > 32767) break;
            runs.push_back({v, h});
            x = h + 1;
        }
        last_ = runs;
        ++made_;
        return true;
    }

private:
    FuzzedDataProvider& data_;
    int32_t leftEdge_;
    int32_t maxRuns_;
    int32_t repeatLeft_ = 0;
    int64_t made_ = 0;
    std::vector<Run> last_;
};

}  // namespace velkor::fuzz
