// The frames of each verdict, kept as ascending lists and searched by halving.
#include "replay/verdict_index.h"

#include <algorithm>

namespace velkor {

namespace {
bool inRange(int32_t channel) {
    return channel >= 1 && channel <= maxChannels;
}
}  // namespace

void VerdictIndex::add(int32_t frame, int32_t channel, EndingVerdict verdict) {
    if (!inRange(channel)) return;
    std::vector<int32_t>& list = frames_[channel][static_cast<int>(verdict)];
    if (list.empty() || list.back() < frame) list.push_back(frame);
}

void VerdictIndex::shrink() {
    for (auto& channel : frames_)
        for (auto& list : channel) list.shrink_to_fit();
}

const std::vector<int32_t>& VerdictIndex::frames(int32_t channel, EndingVerdict verdict) const {
    static const std::vector<int32_t> none;
    return inRange(channel) ? frames_[channel][static_cast<int>(verdict)] : none;
}

int32_t VerdictIndex::next(int32_t channel, EndingVerdict verdict, int32_t frame) const {
    const std::vector<int32_t>& list = frames(channel, verdict);
    if (list.empty()) return 0;
    const auto it = std::upper_bound(list.begin(), list.end(), frame);
    return it == list.end() ? list.front() : *it;
}

int32_t VerdictIndex::previous(int32_t channel, EndingVerdict verdict, int32_t frame) const {
    const std::vector<int32_t>& list = frames(channel, verdict);
    if (list.empty()) return 0;
    const auto it = std::lower_bound(list.begin(), list.end(), frame);
    return it == list.begin() ? list.back() : *(it - 1);
}

std::size_t VerdictIndex::memoryBytes() const {
    std::size_t bytes = sizeof(*this);
    for (const auto& channel : frames_)
        for (const auto& list : channel) bytes += list.capacity() * sizeof(int32_t);
    return bytes;
}

}  // namespace velkor
