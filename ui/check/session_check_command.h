// `velkor --check-pdf OUT.pdf RECORDING|FOLDER`: the session check of a recording, or of every
// recording in a folder (a page each, sorted by name), written as one PDF without a window.
#pragma once

#include <QString>
#include <cstdio>
#include <string>
#include <vector>

#include "ui/check/session_check_content.h"

namespace velkor {

// The recordings the command makes pages of: `input` itself, or the recordings found in the folder
// `input` (sorted). `problem` is set when there is none to be found.
std::vector<std::string> sessionCheckRecordings(const std::string& input, std::string& problem);

// Counts the recordings of `input`, writes their pages to `output` (replacing it only once the
// whole document is made) and returns the exit status: 0 written, 1 a recording could not be
// counted or the file could not be written (nothing is written then; every problem is a line on
// `errors` naming its file).
int writeSessionCheck(const std::string& output, const std::string& input,
                      const SessionCheckOptions& options, std::FILE* errors);

}  // namespace velkor
