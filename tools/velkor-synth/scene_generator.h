// The synthetic scene: fish fry of each channel's size class crossing the line-scan camera,
// produced scan line by scan line as the runs of dark pixels the camera would report. Pure
// computation (no files): the session writer, the tests, the benchmarks and the fuzz seeds all
// generate recordings of any length in-process from the same options and seed.
#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>
#include <vector>

#include "io/counter_constants.h"
#include "tools/velkor-synth/fish_shape.h"
#include "tools/velkor-synth/random_source.h"

namespace velkor::synth {

// The counter keeps one throughput point per 10 seconds.
inline constexpr int32_t linesPerInterval = 10 * linesPerSecond;
// Runs one scan line can hold.
inline constexpr int32_t maxRunsPerLine = 500;
// Largest pixel position a recording's 16-bit words hold.
inline constexpr int32_t maxPixel = 32767;

struct SynthChannel {
    int32_t left = 10;      // first pixel
    int32_t right = 500;    // last pixel
    int32_t sizeGroup = 2;  // class index 0..9 that the report names
    int32_t widthMm = 0;    // physical width; 0: its share of the counter width
    // Class 0..9 whose fish cross the channel; -1: the class the report names. Another class
    // makes a session counted with the wrong size class.
    int32_t fishClass = -1;
};

// The class whose fish are drawn in the channel.
inline int32_t fishClassOf(const SynthChannel& channel) {
    return channel.fishClass >= 0 ? channel.fishClass : channel.sizeGroup;
}

struct SceneOptions {
    uint64_t seed = 1;
    int64_t lines = 60 * linesPerSecond;
    std::vector<SynthChannel> channels = std::vector<SynthChannel>(1);  // one default channel
    int32_t counterWidthMm = 500;  // one of the counter's widths: 500, 1000, 1400, 400, 1200, 2100
    double density = 1.0;          // mean fish per second per channel
    double touching = 0.15;        // share of arrivals that bring a second fish touching the first
    double noise = 0.5;            // specks of 1-2 pixels per second per channel
};

// The options are not usable; the text says which and why.
class OptionError : public std::invalid_argument {
    using std::invalid_argument::invalid_argument;
};

// Raises OptionError naming the first problem of the options.
void checkOptions(const SceneOptions& options);

// The counting area the channels span, and a channel's width in mm (its own, or its share of the
// counter width in proportion to its pixels).
int32_t scanLeftEdge(const SceneOptions& options);
int32_t scanRightEdge(const SceneOptions& options);
int32_t channelWidthMm(const SceneOptions& options, int channel);

// What the generator put in, channel by channel (index 0 is the first channel).
struct SceneTruth {
    std::vector<int64_t> fish;           // fish drawn whole within the recording
    std::vector<int64_t> touchingPairs;  // of which pairs made to touch
    std::vector<std::vector<int32_t>> fishStartsPerInterval;  // heads per 10-second interval
    int64_t specks = 0;                                       // noise runs drawn
    int64_t cappedLines = 0;  // lines that held more than maxRunsPerLine runs
};

class SceneGenerator {
public:
    // Raises OptionError for unusable options.
    explicit SceneGenerator(SceneOptions options);

    const SceneOptions& options() const { return options_; }
    int64_t lineCount() const { return options_.lines; }
    // Number of the line nextLine produces next (from 1); past lineCount when done.
    int64_t nextLineNumber() const { return line_; }
    bool done() const { return line_ > options_.lines; }

    // Replaces `runs` with the next line's runs: sorted, disjoint and separated by at least one
    // light pixel, each within its channel, at most maxRunsPerLine. Reuses the vector's storage.
    void nextLine(std::vector<PixelRun>& runs);

    // Complete once done(); the counts of fish are final from the start (no fish is begun that
    // would not end within the recording).
    const SceneTruth& truth() const { return truth_; }

private:
    struct Placed {
        Fish fish;
        int32_t boxLeft = 0;  // extent of the whole body over its lines
        int32_t boxRight = 0;
        int32_t clearance = 0;  // pixels other fish keep away from it
    };
    struct ChannelState {
        double nominalLength = 0;  // lines
        double nominalWidth = 0;   // pixels
        double nextArrival = 0;    // line of the next arrival
        double nextSpeck = 0;
        int32_t waiting = 0;    // arrivals that found no room yet
        int64_t retryLine = 0;  // when to look for room again after a failed placement
    };

    double rateShape(double line) const;
    void scheduleArrivals(int c);
    double firstGap();
    void admitWaiting(int c);
    Fish sampleFish(int c);
    void measure(Placed& p) const;
    bool fitsChannel(const Placed& p) const;
    bool clearOfOthers(const Placed& p, const Fish* partner) const;
    bool tryPlace(int c, Fish fish);
    bool addPartner(const Placed& first);
    void accept(Placed p);

    SceneOptions options_;
    RandomSource random_;
    BodyOutline outline_;
    std::vector<ChannelState> channels_;
    std::vector<Placed> active_;
    SceneTruth truth_;
    int64_t line_ = 1;
    double shapeNorm_ = 1.0;
    double meanArrivalGap_ = 0;  // lines between arrivals at the peak rate
};

}  // namespace velkor::synth
