// Gathering the session check's figures from one whole count.
#include "ui/check/session_check_content.h"

#include <algorithm>
#include <cmath>

#include "io/errors.h"
#include "replay/background_count.h"
#include "replay/go_to.h"
#include "replay/replay_engine.h"
#include "replay/whole_count.h"
#include "settings/recorded_figures.h"

namespace velkor {

namespace {

// The replay's curve is made as the window's background count makes it: ten-second bins.
constexpr int32_t curveBinLines = 10 * linesPerSecond;

int64_t rejectedIn(const FrameEndings& endings) {
    int64_t rejected = 0;
    for (int c = 1; c <= maxChannels; ++c)
        for (int v = 1; v < endingVerdictCount; ++v) rejected += endings.tally()[c][v];
    return rejected;
}

std::string fileNameOf(const std::string& path) {
    const size_t slash = path.find_last_of("/\\");
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

}  // namespace

const char* verdictColumnName(int column) {
    if (column >= 0 && column < verdictColumns - 1)
        return verdictText(static_cast<EndingVerdict>(column));
    return "pieces";
}

std::array<int64_t, verdictColumns> verdictRow(const VerdictTally& tally, int32_t channel) {
    std::array<int64_t, verdictColumns> row{};
    if (channel < 1 || channel > maxChannels) return row;
    for (int v = 0; v < endingVerdictCount; ++v)
        row[std::min(v, verdictColumns - 1)] += tally[channel][v];
    return row;
}

void restoreFrameStore(const RejectedFrame& strip, FrameStore& store) {
    for (int32_t col = 0; col < strip.columns && col + 1 < int32_t(strip.firstObject.size());
         ++col) {
        const int32_t first = strip.firstObject[size_t(col)];
        const int32_t objects = strip.firstObject[size_t(col) + 1] - first;
        store[col][0].left = static_cast<int16_t>(objects);
        std::copy_n(strip.objects.begin() + first, objects, store[col].begin() + 1);
    }
}

void restoreEndings(const RejectedFrame& strip, FrameEndings& endings) {
    endings.allocate();
    endings.clear();
    for (const EndedObject& e : strip.endings) endings.add(e);
}

bool SessionCheckContent::classesOverridden() const {
    for (int32_t c = 1; c <= channelCount; ++c)
        if (channels[c].usedClass != channels[c].reportClass) return true;
    return false;
}

std::vector<MinuteDifference> mostDifferentMinutes(const ThroughputTally& tally, int32_t channel,
                                                   int64_t lines, double sessionStart,
                                                   const ThroughputCurve& recordedCurve,
                                                   int count) {
    struct Ranked {
        MinuteDifference minute;
        double gap;
    };
    std::vector<Ranked> ranked;
    const double startOfDay = sessionStart - std::trunc(sessionStart);
    for (int64_t m = 0; m < binCount(lines, tally.linesPerBin()); ++m) {
        const int64_t firstLine = m * tally.linesPerBin() + 1;
        const int64_t endLine = std::min(lines, (m + 1) * tally.linesPerBin());
        // The recorded mean over the minute, as velkor-count --per-minute takes it.
        const std::optional<double> recorded =
            curveMean(recordedCurve, startOfDay + (firstLine - 1) / linesPerDay,
                      startOfDay + endLine / linesPerDay);
        if (!recorded) continue;
        MinuteDifference d;
        d.minute = m;
        d.start =
            static_cast<double>(static_cast<long double>(sessionStart) +
                                firstLine / static_cast<long double>(linesPerSecond) / 3600 / 24);
        d.replay = tally.at(m, channel);
        d.recorded = *recorded;
        // A short last minute is weighed by its rate, not by its count.
        const double share = static_cast<double>(endLine - firstLine + 1) / tally.linesPerBin();
        d.share = share;
        ranked.push_back({d, std::abs(d.replay / share - d.recorded)});
    }
    std::stable_sort(ranked.begin(), ranked.end(),
                     [](const Ranked& a, const Ranked& b) { return a.gap > b.gap; });
    std::vector<MinuteDifference> out;
    for (const Ranked& r : ranked) {
        if (static_cast<int>(out.size()) >= count || r.gap <= 0) break;
        out.push_back(r.minute);
    }
    return out;
}

std::optional<SessionCheckContent> gatherSessionCheck(
    const std::string& recording, const SessionCheckOptions& options,
    const std::function<bool(int32_t, int32_t)>& progress) {
    HeadlessEngine headless(options.frameWidth, options.counterType);
    ReplayEngine& engine = headless.engine;
    engine.setClassOverrides(options.classes);
    // The frame store keeps the lines of the frame read last, for the picture of the strip.
    engine.setKeepFrameStore(true);
    engine.setExplaining(true);

    ThroughputTally curveTally(curveBinLines);
    ThroughputTally minuteTally(linesPerMinute);
    engine.onObjectCounted = [&](int32_t, int32_t line, int32_t channel, const tskepna&) {
        curveTally.count(line, channel);
        minuteTally.count(line, channel);
    };

    SessionCheckContent content;
    engine.onFrameRead = [&](int32_t frame) {
        const FrameEndings& now = engine.frameEndings();
        const int64_t rejected = rejectedIn(now);
        if (rejected <= content.strip.rejected) return;
        RejectedFrame& strip = content.strip;
        strip.frame = frame;
        strip.rejected = rejected;
        strip.firstLine = engine.frameFirstLine();
        strip.columns = std::min(engine.frameColumn(), maxFrameWidth);
        const FrameStore& from = engine.frameStore();
        strip.firstObject.clear();
        strip.objects.clear();
        for (int32_t col = 0; col < strip.columns; ++col) {
            strip.firstObject.push_back(static_cast<int32_t>(strip.objects.size()));
            const int objects = std::clamp<int>(from[col][0].left, 0, lineCapacity);
            strip.objects.insert(strip.objects.end(), from[col].begin() + 1,
                                 from[col].begin() + 1 + objects);
        }
        strip.firstObject.push_back(static_cast<int32_t>(strip.objects.size()));
        strip.endings.assign(now.begin(), now.end());
    };

    if (!countWholeRecording(engine, recording, progress)) {
        if (!engine.isOpen()) throw FileAccessError(recording, engine.message());
        return std::nullopt;
    }

    const SessionReport& report = engine.report();
    content.recording = recording;
    content.fileName = fileNameOf(recording);
    content.tank = report.tank;
    content.generation = report.generation;
    content.start = engine.sessionStart();
    content.end = timeOfLine(content.start, engine.lineCount());
    content.lines = engine.lineCount();
    content.frames = engine.frameCount();
    content.frameWidth = engine.frameWidth();
    content.counterWidthMm = report.counterWidthMm;
    content.counterType = options.counterType;
    content.channelCount = engine.core().channelCount;
    content.damagedLines = engine.damagedLines();
    content.version = options.version;
    content.recordedTotal = report.recorded.total;
    for (int32_t c = 1; c <= content.channelCount; ++c) {
        ChannelCheck& ch = content.channels[c];
        ch.name = report.counterNames[c];
        ch.reportClass = report.sizeGroup[c];
        ch.usedClass = options.classes[c] >= 0 ? options.classes[c] : report.sizeGroup[c];
        ch.recorded = report.recorded.sessionTotals[c];
        ch.replay = engine.channelTotal(c);
        ch.difference = differencePercent(ch.replay, ch.recorded);
        ch.verdicts = verdictRow(engine.verdictTally(), c);
        ch.recordedCurve = report.curves[c];
        ch.replayCurve = replayCurve(curveTally, c, engine.lineCount(), report.sessionStart,
                                     BackgroundCount::curvePoints);
        ch.mostDifferent =
            mostDifferentMinutes(minuteTally, c, engine.lineCount(), report.sessionStart,
                                 report.curves[c], mostDifferentCount);
        content.replayTotal += ch.replay;
    }
    content.totalDifference = differencePercent(content.replayTotal, content.recordedTotal);
    if (content.strip.frame > 0) {
        RejectedFrame& strip = content.strip;
        strip.time = static_cast<double>(static_cast<long double>(report.sessionStart) +
                                         strip.firstLine /
                                             static_cast<long double>(linesPerSecond) / 3600 / 24);
        strip.channelTable = engine.core().channelTable;
        strip.scanLeftEdge = engine.core().scanLeftEdge;
        strip.scanRightEdge = engine.core().scanRightEdge;
    }
    return content;
}

}  // namespace velkor
