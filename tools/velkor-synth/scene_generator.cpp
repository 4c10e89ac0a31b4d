// Scene generation: arrivals of fish per channel at a rate that rises and falls over the session,
// placement with room around each fish unless it is meant to touch a neighbour, and the union of
// the fishes' cross-sections and a few noise specks on every scan line.
#include "tools/velkor-synth/scene_generator.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <numbers>

#include "core/fish_classes.h"

namespace velkor::synth {

namespace {

// Lines and pixels that fish not meant to touch keep between them, so the counter sees them as
// separate objects whatever its merge gap.
constexpr int32_t clearLines = 3;
constexpr int32_t minClearPixels = 12;
// Arrivals that found no room wait; beyond this many the channel is saturated and they are dropped.
constexpr int32_t maxWaiting = 64;
constexpr int placementTries = 8;
constexpr int64_t retryLines = 4;      // a crowded channel is looked at again after this many lines
constexpr double lengthSpread = 0.35;  // speed differs from fish to fish
constexpr double widthSpread = 0.20;
constexpr double maxDrift = 0.2;  // pixels per line
constexpr double maxBend = 0.10;  // of the fish's width

// Throughput over the session, relative to the mean: a denser stretch around 30 % of the session
// and a quieter one around 70 %.
constexpr double denseHeight = 1.2, denseAt = 0.30, denseSpread = 0.08;
constexpr double quietDepth = 0.8, quietAt = 0.70, quietSpread = 0.07;
constexpr double shapeMax = 1.0 + denseHeight;

double bump(double t, double at, double spread) {
    double z = (t - at) / spread;
    return std::exp(-z * z);
}

std::string channelText(size_t c) {
    return "channel " + std::to_string(c + 1);
}

}  // namespace

void checkOptions(const SceneOptions& o) {
    if (o.lines < 1 || o.lines > std::numeric_limits<int32_t>::max() - 1)
        throw OptionError("duration must be from 1 to 2147483646 lines, not " +
                          std::to_string(o.lines));
    if (o.channels.empty() || o.channels.size() > 4)
        throw OptionError("1 to 4 channels are needed, not " + std::to_string(o.channels.size()));
    for (size_t c = 0; c < o.channels.size(); ++c) {
        const SynthChannel& ch = o.channels[c];
        if (ch.left < 0 || ch.right > maxPixel || ch.left >= ch.right)
            throw OptionError(channelText(c) + ": edges " + std::to_string(ch.left) + ":" +
                              std::to_string(ch.right) +
                              " must satisfy 0 <= LEFT < RIGHT <= " + std::to_string(maxPixel));
        if (c > 0 && ch.left <= o.channels[c - 1].right)
            throw OptionError(channelText(c) + " must lie right of " + channelText(c - 1) +
                              " (left edge above " + std::to_string(o.channels[c - 1].right) + ")");
        if (ch.sizeGroup < 0 || ch.sizeGroup >= fishClassCount)
            throw OptionError(channelText(c) + ": size class must be 0..9, not " +
                              std::to_string(ch.sizeGroup));
        if (ch.fishClass < -1 || ch.fishClass >= fishClassCount)
            throw OptionError(channelText(c) + ": class of the fish must be 0..9, not " +
                              std::to_string(ch.fishClass));
        if (ch.widthMm < 0 || ch.widthMm > 100000)
            throw OptionError(channelText(c) + ": width in mm must be 1..100000 (or left out)");
    }
    if (std::find(counterWidthsMm.begin(), counterWidthsMm.end(), o.counterWidthMm) ==
        counterWidthsMm.end())
        throw OptionError("counter width must be 500, 1000, 1400, 400, 1200 or 2100 mm, not " +
                          std::to_string(o.counterWidthMm));
    if (!(o.density >= 0 && o.density <= 100))
        throw OptionError("density must be 0..100 fish per second per channel");
    if (!(o.touching >= 0 && o.touching <= 1)) throw OptionError("touching fraction must be 0..1");
    if (!(o.noise >= 0 && o.noise <= 1000))
        throw OptionError("noise must be 0..1000 specks per second per channel");
}

int32_t scanLeftEdge(const SceneOptions& o) {
    return o.channels.front().left;
}
int32_t scanRightEdge(const SceneOptions& o) {
    return o.channels.back().right;
}

int32_t channelWidthMm(const SceneOptions& o, int c) {
    const SynthChannel& ch = o.channels[c];
    if (ch.widthMm > 0) return ch.widthMm;
    double share = static_cast<double>(ch.right - ch.left) /
                   static_cast<double>(scanRightEdge(o) - scanLeftEdge(o));
    return std::max<int32_t>(1, static_cast<int32_t>(std::lround(o.counterWidthMm * share)));
}

SceneGenerator::SceneGenerator(SceneOptions options)
    : options_(std::move(options)), random_(options_.seed) {
    checkOptions(options_);
    size_t n = options_.channels.size();
    int64_t intervals = (options_.lines + linesPerInterval - 1) / linesPerInterval;
    truth_.fish.assign(n, 0);
    truth_.touchingPairs.assign(n, 0);
    truth_.fishStartsPerInterval.assign(n, std::vector<int32_t>(intervals, 0));
    // Mean of the rate shape over the session, so that the mean density is the one asked for.
    shapeNorm_ =
        1.0 + (denseHeight * denseSpread - quietDepth * quietSpread) * std::sqrt(std::numbers::pi);
    // Arrivals come at the peak rate; each may bring a touching partner, so fewer arrive.
    double arrivalsPerSecond = options_.density / (1.0 + options_.touching);
    meanArrivalGap_ = arrivalsPerSecond > 0
                          ? linesPerSecond * shapeNorm_ / (arrivalsPerSecond * shapeMax)
                          : std::numeric_limits<double>::infinity();
    channels_.resize(n);
    active_.reserve(256);
    for (size_t c = 0; c < n; ++c) {
        const SynthChannel& ch = options_.channels[c];
        const FishClass& cls = fishClassTable[fishClassOf(ch)];
        ChannelState& s = channels_[c];
        s.nominalLength = cls.nominalLength;
        s.nominalWidth = pixelWidth(ch.right - ch.left, cls.nominalWidthMm,
                                    channelWidthMm(options_, static_cast<int>(c)));
        s.nextArrival = 1 + firstGap();
        if (options_.noise > 0)
            s.nextSpeck = 1 + random_.exponential(linesPerSecond / options_.noise);
        else
            s.nextSpeck = std::numeric_limits<double>::infinity();
    }
}

double SceneGenerator::rateShape(double line) const {
    double t = line / static_cast<double>(options_.lines);
    double shape = 1.0 + denseHeight * bump(t, denseAt, denseSpread) -
                   quietDepth * bump(t, quietAt, quietSpread);
    return std::max(shape, 0.0) / shapeNorm_;
}

// Moves the channel's next arrival past the current line, queueing the arrivals that fall on it.
// Arrivals come at the peak rate and are kept with the rate shape's share (thinning), which gives
// a varying rate from a steady one.
void SceneGenerator::scheduleArrivals(int c) {
    ChannelState& s = channels_[c];
    while (s.nextArrival <= static_cast<double>(line_)) {
        if (random_.uniform() * shapeMax / shapeNorm_ < rateShape(s.nextArrival) &&
            s.waiting < maxWaiting)
            ++s.waiting;
        s.nextArrival += random_.exponential(meanArrivalGap_);
    }
}

// Gap before the first arrival of a channel (infinite when no fish are asked for).
double SceneGenerator::firstGap() {
    if (!std::isfinite(meanArrivalGap_)) return meanArrivalGap_;
    return random_.exponential(meanArrivalGap_);
}

Fish SceneGenerator::sampleFish(int c) {
    const ChannelState& s = channels_[c];
    Fish f;
    f.channel = c;
    f.firstLine = line_;
    f.length = std::max<int32_t>(
        3, static_cast<int32_t>(std::lround(random_.vary(s.nominalLength, lengthSpread))));
    f.width = std::max(2.0, random_.vary(s.nominalWidth, widthSpread));
    f.drift = random_.uniform(-maxDrift, maxDrift);
    f.bend = random_.uniform(-maxBend, maxBend) * f.width;
    return f;
}

void SceneGenerator::measure(Placed& p) const {
    p.boxLeft = std::numeric_limits<int32_t>::max();
    p.boxRight = std::numeric_limits<int32_t>::min();
    for (int64_t l = p.fish.firstLine; l <= p.fish.lastLine(); ++l) {
        PixelRun r = crossSection(outline_, p.fish, l);
        p.boxLeft = std::min(p.boxLeft, r.left);
        p.boxRight = std::max(p.boxRight, r.right);
    }
    p.clearance = std::max<int32_t>(minClearPixels, static_cast<int32_t>(0.3 * p.fish.width));
}

bool SceneGenerator::fitsChannel(const Placed& p) const {
    const SynthChannel& ch = options_.channels[p.fish.channel];
    return p.boxLeft >= ch.left && p.boxRight <= ch.right &&
           p.fish.lastLine() + clearLines <= options_.lines;
}

bool SceneGenerator::clearOfOthers(const Placed& p, const Fish* partner) const {
    for (const Placed& q : active_) {
        if (q.fish.channel != p.fish.channel || &q.fish == partner) continue;
        bool linesMeet = p.fish.firstLine - clearLines <= q.fish.lastLine() &&
                         q.fish.firstLine - clearLines <= p.fish.lastLine();
        if (!linesMeet) continue;
        int32_t gap = std::max(p.clearance, q.clearance);
        if (p.boxLeft <= q.boxRight + gap && q.boxLeft <= p.boxRight + gap) return false;
    }
    return true;
}

void SceneGenerator::accept(Placed p) {
    int c = p.fish.channel;
    ++truth_.fish[c];
    ++truth_.fishStartsPerInterval[c][(p.fish.firstLine - 1) / linesPerInterval];
    active_.push_back(p);
}

// Places a fish that arrived on the current line somewhere with room around it. Returns false
// when there is no room yet; true when the arrival is dealt with (placed, or dropped because it
// would not end within the recording).
bool SceneGenerator::tryPlace(int c, Fish fish) {
    const SynthChannel& ch = options_.channels[c];
    if (fish.lastLine() + clearLines > options_.lines) return true;
    Placed atZero{fish};
    atZero.fish.centre = 0;
    measure(atZero);
    double lo = ch.left - atZero.boxLeft + 1.0;
    double hi = ch.right - atZero.boxRight - 1.0;
    bool tooWide = lo > hi;
    for (int attempt = 0; attempt < (tooWide ? 1 : placementTries); ++attempt) {
        Placed p = atZero;
        p.fish.centre = tooWide ? 0.5 * (ch.left + ch.right) : random_.uniform(lo, hi);
        // Moving the centre by c moves every run by floor(c) or one pixel more.
        const auto shift = static_cast<int32_t>(std::floor(p.fish.centre));
        p.boxLeft += shift;
        p.boxRight += shift + 1;
        if (!clearOfOthers(p, nullptr)) continue;
        accept(p);
        if (options_.touching > 0 && random_.chance(options_.touching)) {
            Placed first = active_.back();
            if (addPartner(first)) ++truth_.touchingPairs[c];
        }
        return true;
    }
    return false;
}

// Adds a fish that touches `first`: side by side, or head to tail (its head on the line of the
// first one's tail fin). Returns false when neither fits.
bool SceneGenerator::addPartner(const Placed& first) {
    const Fish& a = first.fish;
    // The partner is excluded from the clearance test by identity: find its copy in the list.
    const Fish* partner = &active_.back().fish;
    bool sideBySide = random_.chance(0.5);
    for (int mode = 0; mode < 2; ++mode, sideBySide = !sideBySide) {
        Placed p{sampleFish(a.channel)};
        if (sideBySide) {
            p.fish.firstLine = a.firstLine + random_.integer(0, 2);
            p.fish.drift = a.drift;
            p.fish.bend = a.bend * p.fish.width / a.width;
            // The widest parts overlap a little, so the two bodies meet in one dark run.
            double distance = 0.46 * (a.width + p.fish.width);
            double side = random_.chance(0.5) ? 1.0 : -1.0;
            for (double s : {side, -side}) {
                p.fish.centre = a.centre + s * distance;
                measure(p);
                if (fitsChannel(p) && clearOfOthers(p, partner)) {
                    accept(p);
                    return true;
                }
            }
        } else {
            p.fish.firstLine = a.lastLine();
            p.fish.centre = a.centre + a.drift * (a.length - 1);
            measure(p);
            if (fitsChannel(p) && clearOfOthers(p, partner)) {
                accept(p);
                return true;
            }
        }
    }
    return false;
}

void SceneGenerator::admitWaiting(int c) {
    ChannelState& s = channels_[c];
    if (line_ < s.retryLine) return;
    while (s.waiting > 0) {
        if (!tryPlace(c, sampleFish(c))) {
            s.retryLine = line_ + retryLines;
            return;
        }
        --s.waiting;
    }
}

void SceneGenerator::nextLine(std::vector<PixelRun>& runs) {
    runs.clear();
    if (done()) return;
    const int64_t n = line_;
    for (size_t c = 0; c < channels_.size(); ++c) {
        scheduleArrivals(static_cast<int>(c));
        admitWaiting(static_cast<int>(c));
    }

    for (const Placed& p : active_) {
        if (n < p.fish.firstLine || n > p.fish.lastLine()) continue;
        const SynthChannel& ch = options_.channels[p.fish.channel];
        PixelRun r = crossSection(outline_, p.fish, n);
        r.left = std::max(r.left, ch.left);
        r.right = std::min(r.right, ch.right);
        if (r.left <= r.right) runs.push_back(r);
    }
    for (size_t c = 0; c < channels_.size(); ++c) {
        ChannelState& s = channels_[c];
        const SynthChannel& ch = options_.channels[c];
        while (s.nextSpeck <= static_cast<double>(n)) {
            int32_t pixels = random_.chance(0.5) ? 1 : 2;
            int32_t left = static_cast<int32_t>(random_.integer(ch.left, ch.right - pixels + 1));
            runs.push_back(PixelRun{left, left + pixels - 1});
            ++truth_.specks;
            s.nextSpeck += random_.exponential(linesPerSecond / options_.noise);
        }
    }

    // Union of the runs: overlapping or adjacent runs are one dark run on the line.
    std::sort(runs.begin(), runs.end(),
              [](const PixelRun& x, const PixelRun& y) { return x.left < y.left; });
    size_t out = 0;
    for (size_t i = 0; i < runs.size(); ++i) {
        if (out > 0 && runs[i].left <= runs[out - 1].right + 1)
            runs[out - 1].right = std::max(runs[out - 1].right, runs[i].right);
        else
            runs[out++] = runs[i];
    }
    if (out > static_cast<size_t>(maxRunsPerLine)) {
        out = maxRunsPerLine;
        ++truth_.cappedLines;
    }
    runs.resize(out);

    // Fish whose body and clearance lie behind this line are done.
    for (size_t i = 0; i < active_.size();) {
        if (active_[i].fish.lastLine() + clearLines < n) {
            active_[i] = active_.back();
            active_.pop_back();
        } else {
            ++i;
        }
    }
    ++line_;
}

}  // namespace velkor::synth
