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

std::string sessionTableHeader();
// Counts one recording (as stepping forward to the end) and returns its row; `ok` tells whether it
// was counted. Never raises: a failure is the row's status.
std::string sessionTableRow(const TableInput& input, const CountOptions& options, bool& ok);

struct SessionTableResult {
    size_t failed = 0;    // recordings that could not be counted
    int outputError = 0;  // the system's error number of the first write to `out` that failed
};

// Writes the header and one row per recording to `out`, counting on `workers` threads with the rows
// in the order of the inputs; progress goes to `progress` when it is not null. Every write is
// checked: the first that fails ends the table (the recordings not yet counted are not counted).
SessionTableResult writeSessionTable(const std::vector<std::string>& inputs,
                                     const CountOptions& options, size_t workers, std::FILE* out,
                                     std::FILE* progress);

}  // namespace velkor
