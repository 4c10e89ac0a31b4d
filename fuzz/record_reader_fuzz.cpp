// Fuzz target: bytes as a recording (.blb). Counts the lines, reads every line in order, then
// seeks to lines in an order the input chooses; every line delivered must match a plain decoding
// of the same bytes. Now and then the input's tail is placed at the end of the first block, past
// a stretch of empty lines, so lines straddle the block boundary.
#include <fuzzer/FuzzedDataProvider.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <vector>

#include "fuzz/fuzz_support.h"
#include "io/errors.h"
#include "replay/record_reader.h"

using namespace velkor;

namespace {

// The recording as the reader should see it: words, and where each line begins.
struct Decoded {
    std::vector<int16_t> words;   // word p at index p - 1
    std::vector<int32_t> starts;  // count-word position of each line, line L at index L - 1
    int64_t damaged = 0;

    static int32_t lineWords(int16_t n) { return n > 0 ? 2 * n + 1 : 1; }

    void decode(const std::vector<uint8_t>& bytes) {
        words.resize(bytes.size() / 2);
        if (!words.empty())
            std::memcpy(words.data(), bytes.data(), 2 * words.size());  // little-endian machine
        starts.clear();
        damaged = 0;
        const int64_t total = static_cast<int64_t>(words.size());
        for (int64_t p = 3; p <= total;) {
            starts.push_back(static_cast<int32_t>(p));
            const int16_t n = words[p - 1];
            if (n < 0 || n > lineCapacity || p + lineWords(n) - 1 > total) ++damaged;
            p += lineWords(n);
        }
    }

    // Pairs the reader delivers for line L: the complete pairs present, at most the capacity.
    int32_t delivered(int32_t L) const {
        const int32_t p = starts[L - 1];
        const int16_t n = words[p - 1];
        if (n <= 0) return 0;
        const int64_t present = (static_cast<int64_t>(words.size()) - p) / 2;
        return static_cast<int32_t>(std::min<int64_t>({n, lineCapacity, present}));
    }
};

void checkLine(const RecordReader& reader, const LineArray& line, const Decoded& d, int32_t L) {
    const int32_t n = d.delivered(L);
    VELKOR_FUZZ_CHECK(reader.deliveredSegmentCount() == n);
    VELKOR_FUZZ_CHECK(reader.rawSegmentCount() == d.words[d.starts[L - 1] - 1]);
    const int32_t p = d.starts[L - 1];
    for (int32_t i = 1; i <= n; ++i) {
        VELKOR_FUZZ_CHECK(line[i].v == d.words[p + 2 * i - 2]);
        VELKOR_FUZZ_CHECK(line[i].h == d.words[p + 2 * i - 1]);
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* bytes, size_t size) {
    FuzzedDataProvider data(bytes, size);
    const uint8_t mode = data.ConsumeIntegral<uint8_t>();
    const uint8_t seekCount = data.ConsumeIntegralInRange<uint8_t>(0, 12);
    std::vector<int32_t> seeks;
    for (int k = 0; k < seekCount; ++k) seeks.push_back(data.ConsumeIntegral<int16_t>());
    std::vector<uint8_t> file = data.ConsumeRemainingBytes<uint8_t>();

    if ((mode & 7) == 7) {
        // Head of the input, a filler, then the tail ending near the first block's end or just
        // past it, so lines straddle the block boundary. The filler's words are all 32767: lines
        // of 65535 words, more pairs than a line holds, so a few lines span the whole block.
        const size_t half = file.size() / 2;
        std::vector<uint8_t> tail(file.begin() + static_cast<long>(half), file.end());
        file.resize(half + (half & 1));  // the filler starts on a word
        const size_t tailStart = blockBytes - tail.size() + (mode >> 3) % 8;
        const size_t fillStart = file.size();
        if (tailStart > fillStart + 1) {
            file.resize(tailStart);
            file[fillStart] = 0xff;
            file[fillStart + 1] = 0x7f;
            for (size_t done = 2; fillStart + done < tailStart; done *= 2) {
                std::memcpy(&file[fillStart + done], &file[fillStart],
                            std::min(done, tailStart - fillStart - done));
            }
        }
        file.insert(file.end(), tail.begin(), tail.end());
    }
    static Decoded d;
    d.decode(file);

    fuzz::clearScratch();
    const std::string name = fuzz::scratchFile("input.blb");
    fuzz::writeFile(name, file.data(), file.size());

    static RecordReader reader;
    static LineArray line{};
    reader.open(name);
    const int32_t lineCount = reader.fjoldilinaiskra();
    VELKOR_FUZZ_CHECK(lineCount == static_cast<int32_t>(d.starts.size()));
    VELKOR_FUZZ_CHECK(reader.endOfData());

    // Every line, in order.
    reader.restartbuffer();
    for (int32_t L = 1; L <= lineCount; ++L) {
        VELKOR_FUZZ_CHECK(!reader.endOfData());
        VELKOR_FUZZ_CHECK(reader.readLineNumber() == L);
        reader.readRecordLine(line);
        checkLine(reader, line, d, L);
    }
    reader.readRecordLine(line);
    VELKOR_FUZZ_CHECK(reader.endOfData());
    VELKOR_FUZZ_CHECK(reader.deliveredSegmentCount() == 0);
    VELKOR_FUZZ_CHECK(reader.damagedLines() == d.damaged);

    // Seeks in the input's order, each followed by a few lines.
    for (int32_t s : seeks) {
        const int32_t L = lineCount == 0 ? 1 : 1 + (s < 0 ? -(s + 1) : s) % (lineCount + 1);
        reader.seekLine(s < -30000 ? s : L);  // now and then a number outside the range
        if (s < -30000) continue;
        for (int32_t k = L; k <= lineCount && k < L + 3; ++k) {
            VELKOR_FUZZ_CHECK(reader.readLineNumber() == k);
            reader.readRecordLine(line);
            checkLine(reader, line, d, k);
        }
        if (L == lineCount + 1) {
            reader.readRecordLine(line);
            VELKOR_FUZZ_CHECK(reader.endOfData() && reader.deliveredSegmentCount() == 0);
        }
    }
    reader.close();
    return 0;
}
