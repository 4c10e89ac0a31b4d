// velkor-count --class-sweep over the recordings and folders given: each recording swept with
// every core, its table (or JSON line) printed before the next one starts.
#pragma once

#include <cstdio>
#include <string>
#include <vector>

#include "tools/velkor-count/channel_values.h"
#include "tools/velkor-count/count_recording.h"

namespace velkor {

struct SweepRunResult {
    bool failed = false;      // a recording could not be swept
    bool usageError = false;  // a --reference named a channel a recording does not have
    int outputError = 0;      // the system's error number of the first failed write to `out`
};

// Sweeps every recording named by `inputs` (folders searched as --csv searches them), writing
// the tables (or with `json` the JSON lines) to `out` and the problems to `errors`.
SweepRunResult runClassSweeps(const std::vector<std::string>& inputs, const CountOptions& options,
                              const GivenPerChannel& references, bool json, size_t workers,
                              std::FILE* out, std::FILE* errors);

}  // namespace velkor
