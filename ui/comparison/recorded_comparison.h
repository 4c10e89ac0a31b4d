// The texts that set the replay beside the counter's own record in the window: the recorded total
// under a counter field and the comparison line under the chart.
#pragma once

#include <QString>
#include <optional>

#include "core/core_state.h"
#include "settings/recorded_figures.h"

namespace velkor {

// "recorded 224" under a counter field, or nothing when the total is not recorded.
QString recordedTotalText(const std::optional<int32_t>& recorded);

// Per channel, "NAME: replay R, recorded N (+D %)"; "NAME: replay R, not recorded" when the
// report has no total for it; the channels separated by wide gaps.
QString comparisonText(const ChannelArray<std::string>& names, const ChannelArray<int32_t>& totals,
                       int32_t channels, const RecordedFigures& recorded);

// The comparison for a spreadsheet, tab-separated, a header line and a line per channel:
// "channel, recorded, replay, difference %"; a figure the report does not hold is left empty.
QString comparisonTable(const ChannelArray<std::string>& names, const ChannelArray<int32_t>& totals,
                        int32_t channels, const RecordedFigures& recorded);

// What Ctrl+C copies: "recording", "frame width" and "classes" lines naming the count, the
// comparisonTable, and last a "sum" line of the channels (its recorded figure only when every
// channel's is recorded). `classes` holds the class 0..9 each channel was counted with.
QString comparisonClipboardText(const QString& recording, int32_t frameWidth,
                                const ChannelArray<int32_t>& classes,
                                const ChannelArray<std::string>& names,
                                const ChannelArray<int32_t>& totals, int32_t channels,
                                const RecordedFigures& recorded);

}  // namespace velkor
