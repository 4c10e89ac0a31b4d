// Go to: what the user typed (a clock time or a frame number) and the frame of a time of day, as
// plain functions that the window and the engine share. A time of day is found counting from the
// session's start, so in a session that passes midnight "00:10:00" is the ten minutes after it.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace velkor {

struct GoToTarget {
    enum class Kind { timeOfDay, frame };
    Kind kind = Kind::frame;
    int32_t value = 0;  // seconds since midnight (0..86399), or a frame number (1 or more)
    bool operator==(const GoToTarget&) const = default;
};

// "hh:mm:ss" or "hh:mm" (hours 0..23) is a time of day; a whole number from 1 on is a frame.
// Blanks around the text are ignored; anything else gives nothing.
std::optional<GoToTarget> parseGoToTarget(const std::string& text);

// Where a time of day lies relative to the recording.
enum class TimePlacement { inside, beforeStart, afterEnd };

struct FrameAtTime {
    int32_t frame = 1;
    TimePlacement placement = TimePlacement::inside;
    bool operator==(const FrameAtTime&) const = default;
};

// The first frame of W lines whose time label (its first line's time, to the nearest second)
// shows `secondsOfDay`; when no frame shows it, the first frame whose first line lies at or after
// it, counting from the session start `sessionStart` (a day number) through the next 24 hours, or
// the last frame when the time falls inside it. A time the recording of `lineCount` lines does not
// reach gives the end nearer to it: the first frame for a time shortly before the start, the last
// for one after the end.
FrameAtTime frameAtTimeOfDay(double sessionStart, int32_t secondsOfDay, int32_t lineCount,
                             int32_t W);

// The date and time (a day number) of line `line`, 1116 lines a second after `sessionStart`.
double timeOfLine(double sessionStart, int64_t line);

// The frame of W lines that holds line `line` (1-based): frame k holds lines (k-1)*W+1 .. k*W.
int32_t frameOfLine(int64_t line, int32_t W);

}  // namespace velkor
