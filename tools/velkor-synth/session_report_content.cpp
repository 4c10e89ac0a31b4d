// The report of a synthetic session: what the counter would have written at its end, with the
// counts and throughput it would have counted live.
#include "tools/velkor-synth/session_report_content.h"

#include <algorithm>
#include <cmath>

#include "settings/report_writer.h"
#include "tools/velkor-synth/session_writer.h"

namespace velkor::synth {

namespace {

constexpr double secondsPerDay = 86400.0;

int32_t channelwidthIndex(int32_t counterWidthMm) {
    const auto it = std::find(counterWidthsMm.begin(), counterWidthsMm.end(), counterWidthMm);
    return it == counterWidthsMm.end() ? 0 : static_cast<int32_t>(it - counterWidthsMm.begin());
}

std::string formatNumber(double value) {
    char text[32];
    std::snprintf(text, sizeof text, "%g", value);
    return text;
}

}  // namespace

void writeSessionReport(const std::string& name, const SessionOptions& o, double startDayNumber,
                        const LiveCount& live) {
    const SceneOptions& s = o.scene;
    ReportContent r;
    r.decimalSeparator = o.decimalSeparator;
    r.lasting = static_cast<double>(s.lines) / linesPerSecond / secondsPerDay;
    r.dateTime = startDayNumber + r.lasting;
    r.tank = o.tank;
    r.comments = {"Synthetic session written by velkor-synth",
                  "seed " + std::to_string(s.seed) + ", " + formatNumber(s.density) +
                      " fish per second per channel, touching " + formatNumber(s.touching) +
                      ", noise " + formatNumber(s.noise)};
    r.operatorName = "velkor-synth";
    r.counterName = "Synthetic counter";
    r.scanRate = std::to_string(linesPerSecond);
    r.ledge = scanLeftEdge(s);
    r.redge = scanRightEdge(s);
    r.enableMulti = s.channels.size() > 1;
    r.channelwidth = channelwidthIndex(s.counterWidthMm);
    // The counter takes a throughput point at the end of every 10-second interval.
    r.curveStart =
        startDayNumber + static_cast<double>(linesPerInterval) / linesPerSecond / secondsPerDay;
    double highest = 0;
    for (size_t c = 0; c < s.channels.size(); ++c) {
        const SynthChannel& ch = s.channels[c];
        ReportChannel rc;
        rc.widthMm = channelWidthMm(s, static_cast<int>(c));
        rc.leftEdge = ch.left;
        rc.rightEdge = ch.right;
        if (c < live.totals.size()) {
            rc.counter = live.totals[c];
            rc.sessionCount = live.totals[c];
            // The count of each 10-second interval as fish per minute.
            for (int32_t objects : live.perInterval[c]) {
                rc.throughput.push_back(6.0 * objects);
                highest = std::max(highest, 6.0 * objects);
            }
            r.total += live.totals[c];
        }
        r.sizeGroup[c] = ch.sizeGroup;
        r.channels.push_back(std::move(rc));
    }
    r.maximum = std::max(10.0, std::ceil(highest * 1.1 / 10.0) * 10.0);
    saveSessionReport(r, name);
}

}  // namespace velkor::synth
