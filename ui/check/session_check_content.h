// What the session check shows of one recording, gathered from one whole count: the session's
// header, per channel the recorded and the replay total with the verdicts of every object that
// ended, both throughput curves with the minutes where they differ most, and the frame with the
// most rejected objects, kept as the count read it so that its picture and marks can be drawn.
// The count is the one velkor-count makes at the same frame width, counter type and size classes,
// so every figure of the page is one that velkor-count prints.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "core/core_state.h"
#include "io/counter_constants.h"
#include "replay/frame_endings.h"
#include "replay/frame_store.h"
#include "replay/throughput.h"

namespace velkor {

// The columns of a channel's verdict row: the whole-object verdicts one by one, then the pieces of
// splits summed.
inline constexpr int verdictColumns = 8;
// "counted", "too short", ..., "too large", "pieces".
const char* verdictColumnName(int column);
// A channel's row of verdicts from its tally.
std::array<int64_t, verdictColumns> verdictRow(const VerdictTally& tally, int32_t channel);

// A minute of the session where the replay and the recorded throughput differ.
struct MinuteDifference {
    int64_t minute = 0;   // from 0: lines minute * 66960 + 1 ...
    double start = 0;     // day number of its first line
    int32_t replay = 0;   // objects counted in it
    double recorded = 0;  // the recorded curve's mean over it, fish per minute
    double share = 1;     // of a whole minute: less for the session's last, partial minute
};

struct ChannelCheck {
    std::string name;
    int32_t reportClass = 0;  // the size class the report gives
    int32_t usedClass = 0;    // the size class counted with
    std::optional<int32_t> recorded;
    int32_t replay = 0;
    std::optional<double> difference;  // per cent of the recorded total
    std::array<int64_t, verdictColumns> verdicts{};
    // Time of day in days, fish per minute; past midnight beyond 1 (as the report's curves are).
    ThroughputCurve recordedCurve;
    ThroughputCurve replayCurve;
    // The minutes where |replay - recorded| is largest, largest first (at most mostDifferentCount).
    std::vector<MinuteDifference> mostDifferent;
};

// The frame that ended with the most objects not counted, as the count read it.
struct RejectedFrame {
    int32_t frame = 0;  // 0: no object was rejected in the session
    int64_t rejected = 0;
    int32_t firstLine = 0;
    int32_t columns = 0;  // lines of the frame
    double time = 0;      // day number of its first line
    // The frame store's columns as the frame left them, kept compact (a folder's pages are held
    // at once): column k's objects are objects[firstObject[k] .. firstObject[k + 1]).
    std::vector<int32_t> firstObject;
    std::vector<FrameStoreEntry> objects;
    std::vector<EndedObject> endings;  // the objects that ended in it, in the order they ended
    ChannelArray<ChannelBounds> channelTable{};
    int32_t scanLeftEdge = 0;
    int32_t scanRightEdge = 511;
};

struct SessionCheckContent {
    std::string recording;  // as given
    std::string fileName;   // without its folder
    std::string tank;
    std::string generation;
    double start = 0;  // day numbers of the first and the last line
    double end = 0;
    int32_t lines = 0;
    int32_t frames = 0;
    int32_t frameWidth = 0;
    int32_t counterWidthMm = 0;
    int32_t counterType = -1;
    int32_t channelCount = 1;
    int64_t damagedLines = 0;
    int64_t replayTotal = 0;
    std::optional<int32_t> recordedTotal;
    std::optional<double> totalDifference;
    ChannelArray<ChannelCheck> channels{};  // entries 1..channelCount
    RejectedFrame strip;
    std::string version;  // of the program that made the page

    // Some channel was counted with a class other than the report's.
    bool classesOverridden() const;
};

struct SessionCheckOptions {
    int32_t frameWidth = linesPerSecond;
    int32_t counterType = -1;
    // Per channel 1..4 a size class 0..9 counted in place of the report's, -1 keeps the report's.
    ChannelArray<int32_t> classes{-1, -1, -1, -1, -1};
    std::string version;
};

inline constexpr int mostDifferentCount = 3;

// The strip's frame store and ended objects in the form the picture is drawn from.
void restoreFrameStore(const RejectedFrame& strip, FrameStore& store);
void restoreEndings(const RejectedFrame& strip, FrameEndings& endings);

// The minutes of `channel` where the replay per minute and the recorded curve's mean differ most,
// largest difference first, ties by the earlier minute; minutes without a recorded mean are left
// out. `tally` holds the replay's counts in bins of a minute.
std::vector<MinuteDifference> mostDifferentMinutes(const ThroughputTally& tally, int32_t channel,
                                                   int64_t lines, double sessionStart,
                                                   const ThroughputCurve& recordedCurve, int count);

// Counts `recording` from its first frame to its last and gathers the page's figures. `progress`,
// if set, is called after every frame with (frames read, frame count) and stops the count by
// returning false (nothing is returned then). Raises the reader's errors; a recording without
// its report raises FileAccessError naming it.
std::optional<SessionCheckContent> gatherSessionCheck(
    const std::string& recording, const SessionCheckOptions& options,
    const std::function<bool(int32_t, int32_t)>& progress = {});

}  // namespace velkor
