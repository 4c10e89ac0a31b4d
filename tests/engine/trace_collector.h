// The records of a count as velkor-count --trace (or --explain) writes them, each with the frame
// it belongs to, for the tests that compare a count read on from a checkpoint with the continuous
// count.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "replay/replay_engine.h"
#include "tools/velkor-count/trace_records.h"

namespace velkor::test {

struct TraceRecord {
    int32_t frame;
    std::string text;
};

struct TraceCollector {
    LineBuilder line;
    std::vector<TraceRecord> records;
    void hook(ReplayEngine& engine, bool explain) {
        hookTrace(engine, explain, line, [this](int32_t frame) {
            records.push_back({frame, line.str()});
        });
    }
    // The records of frames first..last, one text.
    std::string frames(int32_t first, int32_t last) const {
        std::string text;
        for (const TraceRecord& r : records)
            if (r.frame >= first && r.frame <= last) text += r.text;
        return text;
    }
};

}  // namespace velkor::test
