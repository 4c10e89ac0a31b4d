// Recorded totals in velkor-count's summary and table.
#include "tools/velkor-count/recorded_output.h"

#include <algorithm>
#include <cinttypes>
#include <cstdio>

#include "tools/velkor-count/display_width.h"

namespace velkor {
namespace {

std::string jsonNumber(const std::optional<int32_t>& value) {
    return value ? std::to_string(*value) : "null";
}

}  // namespace

std::string recordedSummaryMember(const RecordedFigures& recorded, int32_t channels) {
    if (!recorded.hasTotals(channels)) return {};
    std::string member = ", \"recorded\": {\"totals\": [";
    for (int32_t c = 1; c <= channels; ++c) {
        if (c > 1) member += ", ";
        member += jsonNumber(recorded.sessionTotals[c]);
    }
    return member + "], \"total\": " + jsonNumber(recorded.total) + "}";
}

std::string countTableRows(const ChannelArray<std::string>& names,
                           const ChannelArray<int32_t>& totals, int32_t channels,
                           const RecordedFigures& recorded) {
    const bool compared = recorded.hasTotals(channels);
    // The names' column in characters as shown, so that "Kví" or "µ-seiði" keeps the figures
    // after it in their columns; at least 24 wide, as the table always was.
    size_t nameWidth = 24;
    for (int32_t c = 1; c <= channels; ++c) nameWidth = std::max(nameWidth, displayWidth(names[c]));
    std::string rows;
    char figures[128];
    auto add = [&](const std::string& name, int64_t replay, const std::optional<int32_t>& mark) {
        if (!compared) {
            std::snprintf(figures, sizeof figures, " %12" PRId64 "\n", replay);
        } else {
            const std::string shown = mark ? std::to_string(*mark) : "-";
            std::snprintf(figures, sizeof figures, " %12" PRId64 " %12s %11s\n", replay,
                          shown.c_str(), formatDifference(differencePercent(replay, mark)).c_str());
        }
        rows += "  " + padRight(name, nameWidth) + figures;
    };
    if (compared) {
        std::snprintf(figures, sizeof figures, " %12s %12s %11s\n", "Replay", "Recorded",
                      "Difference");
        rows += "  " + std::string(nameWidth, ' ') + figures;
    }
    int64_t sum = 0;
    for (int32_t c = 1; c <= channels; ++c) {
        add(names[c], totals[c], recorded.sessionTotals[c]);
        sum += totals[c];
    }
    add("Sum", sum, recorded.total);
    return rows;
}

}  // namespace velkor
