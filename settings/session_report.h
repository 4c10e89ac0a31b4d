// The session report (.mse) read when a recording is opened: channel layout, scan edges, size
// classes, counter names, session start and throughput curves, returned as data for the engine
// and the window to apply.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "core/core_state.h"
#include "settings/recorded_figures.h"

namespace velkor {

// A report value that is not a whole number, and the default counted in its place.
struct ReplacedReportValue {
    std::string section, key, text;
    int32_t usedValue = 0;
};

struct SessionReport {
    std::string reportFile;                      // the .mse that was read
    int32_t channelCount = 1;                    // clamped to 1..4
    ChannelArray<ChannelBounds> channelTable{};  // entries 1..channelCount
    int32_t scanLeftEdge = 0;
    int32_t scanRightEdge = 511;
    int32_t channelwidthIndex = -1;  // the Channelwidth choice 0..5 after the rules
    int32_t counterWidthMm = 500;
    // Core constants a recording's opening sets.
    int32_t lengthDivisor = 4;
    int32_t edgeAngleThreshold = 10;
    int32_t runAreaFactor = 2;
    ChannelArray<int32_t> sizeGroup{};            // entries 1..4, clamped to 0..9
    double sessionStart = 0;                      // day number: days since 30 Dec 1899
    double endTime = 0;                           // "DateTime" as read (E)
    ChannelArray<std::string> counterNames{};     // entries 1..4, UTF-8
    ChannelArray<std::string> counterCaptions{};  // "Counter 1   1 g", entries 1..4
    std::string windowTitle;                      // "Tank: " ...
    std::string tank;                             // "Tank" as read, UTF-8
    std::string generation;  // "Generation" (older reports' description), UTF-8
    // Throughput curve of each channel 1..channelCount: (time of day as a day fraction, fish/min).
    ChannelArray<std::vector<std::pair<double, double>>> curves{};
    // What the counter itself recorded about the session, for comparison with the replay.
    RecordedFigures recorded;
    // Integer values that could not be read, in the order they were read.
    std::vector<ReplacedReportValue> replacedValues;
};

// Puts a report's analysis values into the core: channels, channel table, scan edges, counter
// width, size classes and the core constants. The class parameters are loaded afterwards, by
// stillafiskiflokk for each channel.
void applySessionReport(const SessionReport& report, CoreState& core);

// Report name of a recording: the extension (text after the last "." of the file name part)
// replaced by ".mse", or ".mse" appended when there is none.
std::string reportFileName(const std::string& recording);

// Reads the report beside recording `skrainn`. Returns false, with *message (when given) set to
// "Cant find corresponding reportfile (.mse)", when there is no report; `out` is then unchanged.
// Raises ReportValueError (naming key, section and file) for a real value that does not convert
// or a "DateTime" outside the years 1..9999, FileAccessError when the report exists but cannot
// be read. On an error the fields assigned before the failing step keep their new values.
// `Enablemulti` is not part of the report: the caller reads it from the settings store.
bool nyjarstillingar(const std::string& skrainn, SessionReport& out, std::string* message);

// Real values of report files: "." or "," as the decimal separator whatever the locale (the
// first "." if any, else the first ","). Optional leading "+" or "-" (the sign applies to the
// whole value: "-1.5" is -1.5), then digits, then optionally the separator and digits. Empty text
// is 0. Raises ReportValueError (problem text only; the caller adds key and file) when the text is
// not such a number, has nothing before or after its separator, or exceeds the range of a double.
double stringtofloat(const std::string& st);

// "dd MMM yyyy" and "hh:mm:ss" of a day number (day 0 is 30 Dec 1899; the integer part is the
// date, the fraction's magnitude the time), with English month abbreviations. Empty for a value
// outside the years 1..9999.
std::string formatDayNumberDate(double dayNumber);
std::string formatTimeOfDay(double dayNumber);
// "yyyy-mm-dd hh:mm:ss" of a day number, to the nearest second as formatTimeOfDay takes it. Empty
// for a value outside the years 1..9999.
std::string formatDayNumberDateTime(double dayNumber);

}  // namespace velkor
