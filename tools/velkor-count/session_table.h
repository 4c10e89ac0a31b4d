// velkor-count --csv: one CSV row per recording, found in the files and folders given, with the
// session's tank, start, length, channels and classes, the replay's and the recorded totals per
// channel, their difference in per cent, the damaged lines and whether the count succeeded.
#pragma once

#include <cstdio>
#include <string>
#include <vector>

#include "tools/velkor-count/count_recording.h"

namespace velkor {

// A recording to count, or an input that could not be searched (`problem` then says why).
struct TableInput {
    std::string recording;
    std::string problem;
};

// The recordings named by `inputs`, in order: a file as given; a folder searched recursively for
// .blb files and for .blc files with no .blb beside them (extensions in any case), sorted by path.
std::vector<TableInput> findRecordings(const std::vector<std::string>& inputs);

// With --class or --counter-type the table says what it counted with, in columns after the
// status: "class used 1".."class used 4" and "counter type". Without them the columns are as they
// always were, so that programs reading the table find what they know.
bool settingsColumnsShown(const CountOptions& options);
std::string sessionTableHeader(bool settingsColumns = false);
// Counts one recording (as stepping forward to the end) and returns its row; `ok` tells whether it
// was counted, `usageError` (when given) whether that was because --class names a channel the
// recording does not have. Never raises: a failure is the row's status.
std::string sessionTableRow(const TableInput& input, const CountOptions& options, bool& ok,
                            bool* usageError = nullptr);

struct SessionTableResult {
    size_t failed = 0;       // recordings that could not be counted
    size_t usageErrors = 0;  // of those, the ones an option did not fit
    int outputError = 0;     // the system's error number of the first write to `out` that failed
};

// Writes the header and one row per recording to `out`, counting on `workers` threads with the rows
// in the order of the inputs; progress goes to `progress` when it is not null. Every write is
// checked: the first that fails ends the table (the recordings not yet counted are not counted).
SessionTableResult writeSessionTable(const std::vector<std::string>& inputs,
                                     const CountOptions& options, size_t workers, std::FILE* out,
                                     std::FILE* progress);

}  // namespace velkor
