// Reading a Go to target and finding the frame of a time of day.
#include "replay/go_to.h"

#include <algorithm>
#include <cctype>
#include <cmath>

#include "io/counter_constants.h"

namespace velkor {
namespace {

constexpr int64_t msPerDay = 86400000;
constexpr int64_t lineRate = linesPerSecond;

// Digits only, at most `most` of them; nothing for an empty or longer text.
std::optional<int64_t> digits(const std::string& text, size_t most) {
    if (text.empty() || text.size() > most) return std::nullopt;
    int64_t v = 0;
    for (char c : text) {
        if (!std::isdigit(static_cast<unsigned char>(c))) return std::nullopt;
        v = v * 10 + (c - '0');
    }
    return v;
}

// The second of the day a frame's time label shows when the frame begins at `line`: the same
// arithmetic as the label's, rounded to the nearest second.
int64_t shownSecondOfLine(double sessionStart, int64_t line) {
    const long double time = static_cast<long double>(sessionStart) +
                             line / static_cast<long double>(lineRate) / 3600 / 24;
    const double t = static_cast<double>(time);
    if (!std::isfinite(t)) return -1;
    int64_t seconds = std::llround(std::fabs(t - std::trunc(t)) * 86400);
    if (seconds >= 86400) seconds = 0;
    return seconds;
}

}  // namespace

std::optional<GoToTarget> parseGoToTarget(const std::string& text) {
    const size_t first = text.find_first_not_of(" \t");
    if (first == std::string::npos) return std::nullopt;
    const size_t last = text.find_last_not_of(" \t");
    const std::string t = text.substr(first, last - first + 1);

    if (t.find(':') == std::string::npos) {
        const auto frame = digits(t, 10);
        if (!frame || *frame < 1 || *frame > INT32_MAX) return std::nullopt;
        return GoToTarget{GoToTarget::Kind::frame, static_cast<int32_t>(*frame)};
    }
    int64_t parts[3] = {0, 0, 0};
    int count = 0;
    size_t from = 0;
    while (true) {
        const size_t colon = t.find(':', from);
        const std::string part = t.substr(from, colon == std::string::npos ? colon : colon - from);
        if (count == 3) return std::nullopt;
        const auto v = digits(part, 2);
        if (!v || (count > 0 && part.size() != 2)) return std::nullopt;
        parts[count++] = *v;
        if (colon == std::string::npos) break;
        from = colon + 1;
    }
    if (count < 2 || parts[0] > 23 || parts[1] > 59 || parts[2] > 59) return std::nullopt;
    return GoToTarget{GoToTarget::Kind::timeOfDay,
                      static_cast<int32_t>(parts[0] * 3600 + parts[1] * 60 + parts[2])};
}

double timeOfLine(double sessionStart, int64_t line) {
    return sessionStart + static_cast<double>(line) / lineRate / 3600 / 24;
}

int32_t frameOfLine(int64_t line, int32_t W) {
    if (W < 1) W = 1;
    if (line < 1) return 1;
    return static_cast<int32_t>((line - 1) / W + 1);
}

FrameAtTime frameAtTimeOfDay(double sessionStart, int32_t secondsOfDay, int32_t lineCount,
                             int32_t W) {
    if (W < 1) W = 1;
    if (lineCount < 0) lineCount = 0;
    const int32_t frameCount = lineCount / W + 1;
    // The start's time of day in milliseconds, as the time label shows it.
    double fraction = std::fabs(sessionStart - std::trunc(sessionStart));
    if (!std::isfinite(fraction)) fraction = 0;
    const int64_t startMs = std::llround(fraction * msPerDay) % msPerDay;
    // How long after the start the time of day next comes, within the 24 hours from the start.
    const int64_t targetMs =
        ((int64_t{secondsOfDay} * 1000 - startMs) % msPerDay + msPerDay) % msPerDay;
    // The second the start's time label shows lies inside, though the start may come later in it.
    if (msPerDay - targetMs < 1000 && startMs / 1000 == secondsOfDay)
        return {1, TimePlacement::inside};
    // The time label rounds to the second, so the frames that show the time begin from half a
    // second before it: Go to lands on the first frame that shows it, when one does (frames
    // longer than a second may pass over a second).
    const int64_t fromMs = msPerDay - targetMs <= 500 ? targetMs - 500 - msPerDay : targetMs - 500;
    const int64_t fromLine = fromMs <= 0 ? 1 : (fromMs * lineRate + 999) / 1000;
    const int64_t guess = fromLine <= 1 ? 1 : (fromLine - 1 + W - 1) / W + 1;
    for (int64_t frame = std::max<int64_t>(1, guess - 1); frame <= guess + 1 && frame <= frameCount;
         ++frame) {
        if (shownSecondOfLine(sessionStart, (frame - 1) * W + 1) == secondsOfDay)
            return {static_cast<int32_t>(frame), TimePlacement::inside};
    }
    // Line i lies i / 1116 s after the start: the first line at or after the time.
    const int64_t line = (targetMs * lineRate + 999) / 1000;
    if (line <= lineCount) {
        // The first frame whose first line (k-1)*W+1 is at or after that line.
        const int64_t frame = line <= 1 ? 1 : (line - 1 + W - 1) / W + 1;
        return {static_cast<int32_t>(frame > frameCount ? frameCount : frame),
                TimePlacement::inside};
    }
    const int64_t endMs = int64_t{lineCount} * 1000 / lineRate;
    const int64_t afterEnd = targetMs - endMs;
    const int64_t beforeStart = msPerDay - targetMs;
    if (beforeStart < afterEnd) return {1, TimePlacement::beforeStart};
    return {frameCount, TimePlacement::afterEnd};
}

}  // namespace velkor
