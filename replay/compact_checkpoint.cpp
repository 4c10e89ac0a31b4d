// The compact form: a sequence of runs, each a header word (zero words to skip in the high half,
// literal words that follow in the low half) and its literal words. A literal run goes on over a
// single zero word, since ending it there would cost as much as the zero.
#include "replay/compact_checkpoint.h"

#include <cstring>

namespace velkor {

namespace {

uint32_t wordAt(const unsigned char* bytes, size_t i) {
    uint32_t w;
    std::memcpy(&w, bytes + i * sizeof(uint32_t), sizeof w);
    return w;
}

}  // namespace

size_t compactCheckpoint(const EngineCheckpoint& checkpoint, uint32_t* out) {
    const auto* bytes = reinterpret_cast<const unsigned char*>(&checkpoint);
    constexpr size_t n = checkpointWords;
    size_t i = 0;
    size_t o = 0;
    while (i < n) {
        const size_t zerosFrom = i;
        while (i < n && wordAt(bytes, i) == 0) ++i;
        const size_t zeros = i - zerosFrom;
        const size_t literalsFrom = i;
        while (i < n && (wordAt(bytes, i) != 0 || (i + 1 < n && wordAt(bytes, i + 1) != 0))) ++i;
        const size_t literals = i - literalsFrom;
        out[o++] = static_cast<uint32_t>(zeros << 16 | literals);
        std::memcpy(out + o, bytes + literalsFrom * sizeof(uint32_t), literals * sizeof(uint32_t));
        o += literals;
    }
    return o;
}

bool expandCheckpoint(const uint32_t* compact, size_t words, EngineCheckpoint& into) {
    auto* bytes = reinterpret_cast<unsigned char*>(&into);
    std::memset(bytes, 0, sizeof into);
    size_t pos = 0;
    size_t i = 0;
    while (i < words) {
        const size_t zeros = compact[i] >> 16;
        const size_t literals = compact[i] & 0xffff;
        ++i;
        if (literals > words - i || zeros + literals > checkpointWords - pos) return false;
        pos += zeros;
        std::memcpy(bytes + pos * sizeof(uint32_t), compact + i, literals * sizeof(uint32_t));
        pos += literals;
        i += literals;
    }
    return pos == checkpointWords;
}

}  // namespace velkor
