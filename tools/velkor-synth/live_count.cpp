// The live count of a generated session: the headless whole count with a throughput tally.
#include "tools/velkor-synth/live_count.h"

#include "io/counter_constants.h"
#include "io/errors.h"
#include "replay/throughput.h"
#include "replay/whole_count.h"
#include "tools/velkor-synth/scene_generator.h"

namespace velkor::synth {

namespace {

// No counter type chosen: no overload correction, as velkor-count counts unless told otherwise.
constexpr int32_t noCounterType = -1;

}  // namespace

LiveCount countAsLive(const std::string& recording, int32_t channels, int64_t lines) {
    HeadlessEngine headless(linesPerSecond, noCounterType);
    ThroughputTally tally(linesPerInterval);
    headless.engine.onObjectCounted = [&tally](int32_t, int32_t line, int32_t channel,
                                               const tskepna&) { tally.count(line, channel); };
    if (!countWholeRecording(headless.engine, recording))
        throw FileAccessError(recording, "could not be counted: " + headless.engine.message());

    LiveCount live;
    const int64_t intervals = binCount(lines, linesPerInterval);
    for (int32_t c = 1; c <= channels; ++c) {
        live.totals.push_back(headless.engine.channelTotal(c));
        std::vector<int32_t> counts(static_cast<size_t>(intervals));
        for (int64_t i = 0; i < intervals; ++i) counts[static_cast<size_t>(i)] = tally.at(i, c);
        live.perInterval.push_back(std::move(counts));
    }
    return live;
}

}  // namespace velkor::synth
