// Counting one recording as velkor-count does: open it (which reads frame 1), then either every
// following frame in order, as pressing Forward to the end, or frame B and the automatic count
// from A to B. Writes the trace (or the explained trace), the summary line or the readable table
// to an OutputSink.
#pragma once

#include <atomic>
#include <cstdint>
#include <exception>
#include <functional>
#include <string>

#include "io/counter_constants.h"
#include "replay/replay_engine.h"
#include "tools/velkor-count/output_sink.h"

namespace velkor {

// explain: the trace with an "ended" record before each object's "closed" one (if it has one)
// and the verdicts per channel in the summary.
enum class CountOutput { table, json, trace, explain };

struct CountOptions {
    int32_t frameWidth = linesPerSecond;
    int32_t counterType = -1;
    // --class: per channel 1..4 a size class 0..9 in place of the report's, -1 keeps the report's.
    ChannelArray<int32_t> classes{-1, -1, -1, -1, -1};
    int32_t from = 0;  // 0: the whole recording
    int32_t to = 0;
    // With from/to: every frame from 1 is counted in order, and frames from..to are written as
    // that count had them (the totals are those of frames 1..to) instead of counted afresh.
    bool asCounted = false;
    CountOutput output = CountOutput::table;
    // Set from outside to end the count early (the output can no longer be written).
    const std::atomic<bool>* stop = nullptr;
};

// A count that ends because its output failed is not ok and has no error text: the caller reports
// the output failure once.
struct CountResult {
    bool ok = false;
    std::string errors;  // one line per problem, each naming the file
    // An option does not fit the recording (--class for a channel it does not have): exit
    // status 2, as for any other usage error.
    bool usageError = false;
};

// Once `recording` is open in `engine`: false, with the usage error in `result`, when --class
// names a channel that the recording does not have.
bool classesFitChannels(const ReplayEngine& engine, const std::string& recording,
                        const CountOptions& options, CountResult& result);

// One line (without its end) for an error raised while `recording` was counted: the error's own
// text when it names its file, else the recording's name before it.
std::string countingError(const std::string& recording, const std::exception& e);
// "NAME: N damaged lines, the first at line L" and a line end, or nothing when none is damaged.
std::string damagedLinesNote(const std::string& recording, const ReplayEngine& engine);

// Counts `recording` with a headless engine through `body`, which writes the output and returns
// false when the recording was not counted, having put the reason into result.errors. A count
// that went through gets the damaged lines note; a raised error becomes the recording's error.
CountResult runCount(const std::string& recording, const CountOptions& options,
                     const std::function<bool(ReplayEngine&, CountResult&)>& body);

// A recording's length from its line count, as h:mm:ss (hours may pass 24).
std::string recordingDuration(int64_t lines);

CountResult countRecording(const std::string& recording, const CountOptions& options,
                           OutputSink& out);

}  // namespace velkor
