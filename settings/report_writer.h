// Writing a whole session report (.mse) from plain data, in the counter's key order: what the
// demo-session generator and the tests use to make real reports.
//
// Usage:
//     velkor::ReportContent report;
//     report.tank = "Cage 7";
//     report.dateTime = 45292.75;            // end of the session, day number
//     report.lasting = 1.0 / 24;             // one hour, in days
//     report.channels.resize(2);             // NrChannels follows the channels unless set
//     report.channels[0].throughput = {...}; // fish per minute, one point per 10 s
//     velkor::saveSessionReport(report, velkor::newReportFileName("C:\\Reports\\", 45292, "Cage
//     7"));
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "settings/ini_builder.h"

namespace velkor {

// Weight distribution of one channel ([Distribution<n>]).
struct ReportDistribution {
    int32_t classWidth = 0;             // "G0", tenths of a gram
    std::array<int32_t, 11> percent{};  // "G1" .. "G11"
    int32_t meanWeight = 0;             // "AW", tenths of a gram
    int32_t standardDeviation = 0;      // "Std", tenths of a gram
    int32_t weighed = 0;                // "DNr"
};

struct ReportChannel {
    int32_t widthMm = 500;     // "%width<n>"
    int32_t leftEdge = 0;      // "Multib<n>"
    int32_t rightEdge = 511;   // "Multie<n>"
    int64_t counter = 0;       // "Counters<n>": count since the counter was last cleared
    int64_t sessionCount = 0;  // "CountersT<n>": count for the whole session
    // K, the sum of the overload corrections of the session; "EEDTO<n>" is written from it when
    // sessionCount is not 0.
    double overloadCorrections = 0;
    // Throughput in fish per minute, one point per 10 seconds from `curveStart` on.
    std::vector<double> throughput;
    std::optional<ReportDistribution> distribution;
};

struct ReportContent {
    // [Program]
    int64_t total = 0;    // "Total"
    double overload = 0;  // "Overload", days
    double lasting = 0;   // "Lasting", days
    double dateTime = 0;  // "DateTime", day number of the end
    double maximum = 0;   // "Maximum", fish per minute
    std::vector<std::string> comments;
    std::string operatorName, personInCharge, origin, destination, logoImage, tank;
    std::string cameraSerial, cameraMacAddress, pcMacAddress, counterName;
    std::string dropboxComputerNumber, counterType;
    std::array<std::string, 4> estimatedSize{};  // "EstimatedSize1" .. "EstimatedSize4"
    // [Settings]
    bool autoSense = true;
    bool forcedClamping = false;
    std::string version = "402";
    int32_t ledge = 0;
    int32_t redge = 511;
    std::string scanRate, amplification;
    std::optional<int32_t> nrChannels;  // "NrChannels"; the number of channels when not set
    bool enableMulti = false;
    // [Kest]
    std::array<int32_t, 4> sizeGroup{2, 2, 2, 2};  // "Size Group1" .. "Size Group4"
    std::vector<ReportChannel> channels;           // channel 1 first; at most 4 are written
    std::array<std::string, 4> countName{"Counter 1", "Counter 2", "Counter 3", "Counter 4"};
    int32_t channelwidth = 0;  // item index 0..5: 500, 1000, 1400, 400, 1200, 2100 mm
    // [StoredValues]
    std::vector<std::string> storedValues;
    // Day number of the first throughput point (its time of day is what "X<j>" holds).
    double curveStart = 0;
    char decimalSeparator = '.';
};

// Positions of the throughput points written for a curve of `pointCount` points: with
// s = (pointCount - 1) div 300, the positions 0, s + 1, 2 (s + 1), ... below pointCount - s - 1.
std::vector<size_t> throughputSamplePositions(size_t pointCount);

// Builds the report text in `ini` (ini_newfile first). [Program] "Group" is the class name of
// channel 1's size group; "Average" is Total per minute of "Lasting" (" " below 0.000115 day).
// A channel whose curve is shorter than channel 1's writes 0 for the missing points.
void buildSessionReport(const ReportContent& report, Tini_files& ini);

// Builds and saves the report (Windows-1252, CR LF). Raises FileAccessError naming the file.
void saveSessionReport(const ReportContent& report, const std::string& fileName);

// A new report name: `reportFolder` + "yyyymmdd" of `dayNumber` + "_" + the first 15 characters
// of the tank name without , . / : < > \ (when any remain) + "_" + the smallest n >= 0 whose
// report does not exist yet + ".mse". The recording takes the same name with ".blb".
std::string newReportFileName(const std::string& reportFolder, double dayNumber,
                              const std::string& tank);

}  // namespace velkor
