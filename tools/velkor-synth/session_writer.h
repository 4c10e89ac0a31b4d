// Writing a synthetic session: the recording (NAME.blb), optionally its compressed form
// (NAME.blc), the session report (NAME.mse), whose figures are the recording's replay at one
// frame a second, and NAME.truth.json, which tells how many fish of which class were put into
// each channel and with which options.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "tools/velkor-synth/live_count.h"
#include "tools/velkor-synth/scene_generator.h"

namespace velkor::synth {

struct SessionOptions {
    SceneOptions scene;
    std::string start = "2026-01-05 08:00:00";  // "YYYY-MM-DD HH:MM:SS"
    std::string tank = "Synthetic tank";
    char decimalSeparator = '.';
    bool compressed = false;
    std::string out;     // path without extension
    bool force = false;  // replace files that this tool did not write
};

struct SessionResult {
    SceneTruth truth;
    LiveCount live;                  // what the report records
    std::vector<std::string> files;  // written, in order
    int64_t recordBytes = 0;
    double generateSeconds = 0;  // generating and writing the recording
    double countSeconds = 0;     // counting it for the report
    double totalSeconds = 0;
};

// The output names of a session.
std::string recordingName(const std::string& out);
std::string compressedName(const std::string& out);
std::string reportName(const std::string& out);
std::string truthName(const std::string& out);

// Raises OptionError for unusable options (including the start time and separator), and
// FileAccessError naming the file when an output exists that this tool did not write (unless
// force) or a file cannot be written.
SessionResult writeSession(const SessionOptions& options);

}  // namespace velkor::synth
