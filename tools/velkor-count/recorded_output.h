// The counter's own recorded totals beside velkor-count's: the "recorded" member of the JSON
// summary and the Recorded and Difference columns of the readable table.
#pragma once

#include <cstdint>
#include <string>

#include "core/core_state.h"
#include "settings/recorded_figures.h"

namespace velkor {

// `, "recorded": {"totals": [..], "total": N}` with null for a figure not recorded, or nothing
// when the report records no total at all.
std::string recordedSummaryMember(const RecordedFigures& recorded, int32_t channels);

// The readable table's rows: one per channel (name, replay total, and the recorded total with the
// difference in per cent when the report records any total), then the sum, the names in a column
// as wide in characters as the widest of them (24 at least). A heading names the
// columns when the recorded ones are shown.
std::string countTableRows(const ChannelArray<std::string>& names,
                           const ChannelArray<int32_t>& totals, int32_t channels,
                           const RecordedFigures& recorded);

}  // namespace velkor
