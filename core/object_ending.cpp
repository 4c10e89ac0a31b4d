// The texts of the ending verdicts.
#include "core/object_ending.h"

namespace velkor {

namespace {

struct VerdictTexts {
    const char* full;
    const char* brief;
};

// In the order of EndingVerdict.
constexpr VerdictTexts texts[endingVerdictCount] = {
    {"counted", "counted"},
    {"too short", "short"},
    {"too long", "long"},
    {"too narrow", "narrow"},
    {"too wide", "wide"},
    {"too small", "small"},
    {"too large", "large"},
    {"piece of the same fish", "piece"},
    {"piece too short", "piece short"},
    {"piece too long", "piece long"},
    {"piece too narrow", "piece narrow"},
    {"piece too wide", "piece wide"},
    {"piece too small", "piece small"},
    {"piece too large", "piece large"},
    {"piece too short on its own", "piece short"},
    {"piece too small on its own", "piece small"},
};

const VerdictTexts& textsOf(EndingVerdict verdict) {
    const int k = static_cast<int>(verdict);
    return texts[k >= 0 && k < endingVerdictCount ? k : 0];
}

}  // namespace

const char* verdictText(EndingVerdict verdict) {
    return textsOf(verdict).full;
}

const char* verdictShortText(EndingVerdict verdict) {
    return textsOf(verdict).brief;
}

}  // namespace velkor
