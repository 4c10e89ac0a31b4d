// Reading and checking the per-channel values of velkor-count's command line.
#include "tools/velkor-count/channel_values.h"

namespace velkor {

std::optional<ChannelValue> parseChannelValue(std::string_view text, int64_t largest) {
    if (text.size() < 3 || text[1] != '=' || text[0] < '1' || text[0] > '0' + maxChannels)
        return std::nullopt;
    ChannelValue v;
    v.channel = text[0] - '0';
    for (const char c : text.substr(2)) {
        if (c < '0' || c > '9') return std::nullopt;
        v.value = v.value * 10 + (c - '0');
        if (v.value > largest) return std::nullopt;  // also keeps the sum from overflowing
    }
    return v;
}

std::string readChannelValues(const char* option, const std::vector<std::string>& values,
                              int64_t largest, const char* expected, GivenPerChannel& given) {
    for (const std::string& text : values) {
        const std::optional<ChannelValue> v = parseChannelValue(text, largest);
        if (!v)
            return std::string(option) + " " + text + ": expected CH=N with channel 1.." +
                   std::to_string(maxChannels) + " and " + expected + " 0.." +
                   std::to_string(largest);
        if (given[v->channel] >= 0)
            return std::string(option) + " " + text + ": channel " + std::to_string(v->channel) +
                   " is given twice";
        given[v->channel] = v->value;
    }
    return {};
}

std::string channelValueText(const char* option, int32_t channel, int64_t value) {
    return std::string(option) + " " + std::to_string(channel) + "=" + std::to_string(value);
}

std::string missingChannelProblem(const char* option, const GivenPerChannel& given,
                                  const std::string& recording, int32_t channels) {
    for (int32_t c = channels + 1; c <= maxChannels; ++c) {
        if (given[c] < 0) continue;
        return channelValueText(option, c, given[c]) + ": " + recording + " has " +
               std::to_string(channels) + (channels == 1 ? " channel" : " channels");
    }
    return {};
}

}  // namespace velkor
