// A small session for velkor-count's command-line tests whose report records figures of the test's
// own: per channel a name, a class, the session total ("CountersT") and the end counter
// ("Counters"), and the "Total" and tank of the session, so that a fixture can make every figure
// differ from every other that could stand in for it.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "engine_fixture.h"
#include "settings/report_writer.h"

namespace velkor::test {

struct RecordedChannel {
    std::string name;
    int fish = 0;              // drawn into the channel, each counted once
    int64_t sessionTotal = 0;  // "CountersT"
    int64_t endCounter = 0;    // "Counters"
    int32_t sizeClass = 2;
};

// `channels` side by side over the scan line 0..511, each fish 10 lines long and 11 pixels wide
// in the middle of its channel, one every 60 lines; 600 lines at least.
inline void writeRecordedSession(const std::string& blb,
                                 const std::vector<RecordedChannel>& channels, int64_t total,
                                 const std::string& tank = "Tank") {
    const int count = static_cast<int>(channels.size());
    const int span = 512 / count;
    Scene scene(600);
    ReportContent r;
    r.dateTime = 42632.5;
    r.lasting = 600.0 / 1116 / 86400;
    r.redge = 511;
    r.channelwidth = 0;
    r.total = total;
    r.tank = tank;
    for (int c = 0; c < count; ++c) {
        const RecordedChannel& ch = channels[static_cast<size_t>(c)];
        const int left = c * span, right = c + 1 == count ? 511 : (c + 1) * span - 1;
        for (int k = 0; k < ch.fish; ++k)
            scene.fish(5 + k * 60, 10, left + span / 2 - 5, left + span / 2 + 5);
        ReportChannel& rc = r.channels.emplace_back();
        rc.widthMm = 500 / count;
        rc.leftEdge = left;
        rc.rightEdge = right;
        rc.sessionCount = ch.sessionTotal;
        rc.counter = ch.endCounter;
        r.countName[static_cast<size_t>(c)] = ch.name;
        r.sizeGroup[static_cast<size_t>(c)] = ch.sizeClass;
    }
    writeRecording(blb, scene);
    std::string mse = blb;
    mse.replace(mse.size() - 4, 4, ".mse");
    saveSessionReport(r, mse);
}

}  // namespace velkor::test
