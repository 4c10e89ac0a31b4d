// Values given per channel on velkor-count's command line, "CH=N" (--class, --reference): reading
// them, and checking them against the channels of a recording once it is open, since only the
// recording's report says how many channels there are.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/core_state.h"

namespace velkor {

// Per channel 1..4 a value given on the command line, or -1 for none.
using GivenPerChannel = ChannelArray<int64_t>;
inline constexpr GivenPerChannel nothingGiven{-1, -1, -1, -1, -1};

struct ChannelValue {
    int32_t channel = 0;  // 1..4
    int64_t value = 0;    // 0..the largest value allowed
};

// "CH=N" with CH one digit 1..4 and N decimal digits only, at most `largest`; anything else
// (a sign, blanks, a fraction, no N) is empty.
std::optional<ChannelValue> parseChannelValue(std::string_view text, int64_t largest);

// Reads every value given to `option` into `given`. Returns the usage error for the first that is
// not "CH=N" with N 0..`largest` ("--class 1=12: expected CH=N with channel 1..4 and size class
// 0..9", `expected` naming what N is), or names a channel given before; empty when all are good.
std::string readChannelValues(const char* option, const std::vector<std::string>& values,
                              int64_t largest, const char* expected, GivenPerChannel& given);

// "--OPTION CH=N" as the user would write it, for messages.
std::string channelValueText(const char* option, int32_t channel, int64_t value);

// The usage error for the first value in `given` whose channel the recording does not have:
// "--class 4=3: REC has 2 channels"; empty when every channel given is the recording's.
std::string missingChannelProblem(const char* option, const GivenPerChannel& given,
                                  const std::string& recording, int32_t channels);
inline std::string missingChannelProblem(const char* option, const ChannelArray<int32_t>& given,
                                         const std::string& recording, int32_t channels) {
    GivenPerChannel wide{};
    for (size_t c = 0; c < given.size(); ++c) wide[c] = given[c];
    return missingChannelProblem(option, wide, recording, channels);
}

}  // namespace velkor
