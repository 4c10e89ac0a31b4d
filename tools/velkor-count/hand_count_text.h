// The line under a channel's hand count in the window: "hand count 630: replay 615 (-2.4 %)", the
// replay's difference in per cent of the hand count, rounded as velkor-count --reference rounds it.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace velkor {

// `replay` empty: the count is still being made. A hand count of 0 has no per cent: the
// difference is then given in fish ("hand count 0: replay 12 (+12)").
std::string handCountText(int64_t handCount, std::optional<int64_t> replay);

}  // namespace velkor
