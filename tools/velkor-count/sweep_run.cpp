// Sweeping the recordings one after another.
#include "tools/velkor-count/sweep_run.h"

#include "tools/velkor-count/class_sweep.h"
#include "tools/velkor-count/output_sink.h"
#include "tools/velkor-count/session_table.h"
#include "tools/velkor-count/sweep_output.h"

namespace velkor {

SweepRunResult runClassSweeps(const std::vector<std::string>& inputs, const CountOptions& options,
                              const GivenPerChannel& references, bool json, size_t workers,
                              std::FILE* out, std::FILE* errors) {
    SweepRunResult run;
    OutputSink sink(out);
    for (const TableInput& input : findRecordings(inputs)) {
        if (!input.problem.empty()) {
            std::fprintf(errors, "%s: %s\n", input.recording.c_str(), input.problem.c_str());
            run.failed = true;
            continue;
        }
        ClassSweep sweep;
        const CountResult result =
            countClassSweep(input.recording, options, references, workers, sweep);
        if (result.ok) {
            sink.write(json ? sweepJson(sweep, references) : sweepTable(sweep, references));
            sink.flush();
        }
        std::fputs(result.errors.c_str(), errors);
        run.failed = run.failed || !result.ok;
        run.usageError = run.usageError || result.usageError;
        if (sink.failed()) {
            run.outputError = sink.error();
            break;
        }
    }
    return run;
}

}  // namespace velkor
