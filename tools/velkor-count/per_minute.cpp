// The per-minute table of one recording.
#include "tools/velkor-count/per_minute.h"

#include <cmath>
#include <cstdio>
#include <exception>

#include "replay/replay_engine.h"
#include "replay/throughput.h"
#include "replay/whole_count.h"
#include "tools/velkor-count/csv_writer.h"

namespace velkor {
namespace {

std::string oneDecimal(double value) {
    char text[64];
    std::snprintf(text, sizeof text, "%.1f", value);
    return text;
}

}  // namespace

CountResult countPerMinute(const std::string& recording, const CountOptions& options,
                           OutputSink& out) {
    return runCount(recording, options, [&](ReplayEngine& engine, CountResult& result) {
        ThroughputTally tally(linesPerMinute);
        engine.onObjectCounted = [&tally](int32_t, int32_t line, int32_t channel, const tskepna&) {
            tally.count(line, channel);
        };
        bool fits = true;
        const bool counted = countWholeRecording(engine, recording, [&](int32_t done, int32_t) {
            fits = done > 1 || classesFitChannels(engine, recording, options, result);
            return fits;
        });
        if (!fits) return false;
        if (!counted) {
            result.errors = recording + ": " + engine.message() + "\n";
            return false;
        }

        const SessionReport& report = engine.report();
        const int32_t channels = report.channelCount;
        CsvRecord header;
        header.text("minute");
        for (int32_t c = 1; c <= channels; ++c) header.text(report.counterNames[c] + " replay");
        for (int32_t c = 1; c <= channels; ++c) header.text(report.counterNames[c] + " recorded");
        out.write(header.line());

        const int64_t lines = engine.lineCount();
        const long double start = report.sessionStart;
        const double startOfDay = report.sessionStart - std::trunc(report.sessionStart);
        for (int64_t m = 0; m < binCount(lines, linesPerMinute); ++m) {
            const int64_t firstLine = m * linesPerMinute + 1;
            const int64_t endLine = std::min(lines, (m + 1) * linesPerMinute);
            CsvRecord row;
            // The wall-clock time of the minute's first line, reckoned as the frame times are.
            row.text(formatDayNumberDateTime(static_cast<double>(
                start + firstLine / static_cast<long double>(linesPerSecond) / 3600 / 24)));
            for (int32_t c = 1; c <= channels; ++c) row.number(tally.at(m, c));
            for (int32_t c = 1; c <= channels; ++c) {
                const std::optional<double> recorded =
                    curveMean(report.curves[c], startOfDay + (firstLine - 1) / linesPerDay,
                              startOfDay + endLine / linesPerDay);
                if (recorded)
                    row.text(oneDecimal(*recorded));
                else
                    row.empty();
            }
            out.write(row.line());
        }
        return true;
    });
}

}  // namespace velkor
