// velkor-count: counts recordings without a window, exactly as stepping through them in the
// viewer would, and prints a table, a JSON summary or a full JSON-lines trace per recording.
#include <CLI/CLI.hpp>
#include <algorithm>
#include <atomic>
#include <cerrno>
#include <condition_variable>
#include <csignal>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "io/file_names.h"
#include "io/program_start.h"
#include "replay/counting_thread.h"
#include "settings/Tsett.h"
#include "tools/velkor-count/channel_values.h"
#include "tools/velkor-count/count_recording.h"
#include "tools/velkor-count/per_minute.h"
#include "tools/velkor-count/session_table.h"
#include "tools/velkor-count/sweep_run.h"
#include "tools/velkor-count/terminal.h"

using namespace velkor;

namespace {

// One recording's outcome, handed from a worker to the printing thread.
struct Job {
    std::string recording;
    std::FILE* file = nullptr;  // temporary file holding the output of a parallel count
    std::unique_ptr<OutputSink> out;
    CountResult result;
    bool done = false;
};

// The output could not be written (error number `err`): exit status 1.
int outputFailed(int err) {
    // Whoever closed the pipe wanted no more; anything else is a result lost.
    if (err != EPIPE)
        std::fprintf(stderr, "velkor-count: cannot write the output: %s\n", std::strerror(err));
    return 1;
}

}  // namespace

int main(int argc, char** argv) {
    writeStandardStreamsAsBytes();
    Utf8Arguments arguments(argc, argv);
    CLI::App app{
        "Counts fish in recordings (.blb, or .blc unpacked first) with the session report (.mse) "
        "beside each, as stepping through them frame by frame in the viewer would."};
    // "/name" is a file name on every system, never an option written the Windows way.
    app.allow_windows_style_options(false);
    app.set_version_flag("--version", std::string("velkor-count ") + VELKOR_VERSION);

    CountOptions options;
    std::vector<std::string> recordings;
    bool trace = false, json = false, explain = false, perMinute = false, csv = false;
    app.add_option("--frame-width", options.frameWidth,
                   "Lines per frame, 1.." + std::to_string(maxFrameWidth) + " (" +
                       std::to_string(linesPerSecond) + ": one second of recording)")
        ->check(CLI::Range(1, maxFrameWidth))
        ->capture_default_str();
    app.add_option("--counter-type", options.counterType,
                   "Counter type item index, -1.." + std::to_string(countertypeItemCount - 1) +
                       "; 5 adds the overload correction (-1: none selected)")
        ->check(CLI::Range(-1, countertypeItemCount - 1))
        ->capture_default_str();
    std::vector<std::string> classOverrides, referenceCounts;
    auto* classOption = app.add_option(
        "--class", classOverrides,
        "CH=N: count channel CH (1..4) with size class N (0..9) in place of the report's; "
        "repeatable");
    // One value for each time an option is given: "--class 2=1 a.blb b.blb" counts both.
    classOption->allow_extra_args(false);
    bool sweep = false;
    auto* sweepFlag = app.add_flag(
        "--class-sweep", sweep,
        "Count each recording with every size class 0..9 on every channel and print per class "
        "each channel's count, its difference to the recorded total and the verdicts that moved "
        "most (with --json as JSON). A folder is searched for recordings");
    auto* referenceOption = app.add_option(
        "--reference", referenceCounts,
        "CH=N with --class-sweep: a count of channel CH that you trust (N fish); the sweep "
        "marks the class whose count is nearest to it; repeatable");
    referenceOption->allow_extra_args(false)->needs(sweepFlag);
    sweepFlag->excludes(classOption);
    auto* from =
        app.add_option("--from", options.from, "First frame of an automatic count (needs --to)");
    auto* to =
        app.add_option("--to", options.to, "Last frame of an automatic count (needs --from)");
    from->needs(to);
    to->needs(from);
    auto* asCounted = app.add_flag(
        "--as-counted", options.asCounted,
        "With --from A --to B: count every frame from 1 in order and write frames A..B as that "
        "count had them (a trace's records of frames A..B are those of the whole --trace; the "
        "totals are those of frames 1..B) instead of counting afresh from A");
    asCounted->needs(from);
    app.add_flag("--trace", trace,
                 "JSON lines: every counted object, every frame read, and a summary last");
    auto* explainFlag =
        app.add_flag("--explain", explain,
                     "The trace with an \"ended\" record for every object that ends (its verdict, "
                     "sizes and the channel's limits) right before its \"closed\" record if it is "
                     "counted, and the verdicts per channel in the summary");
    auto* jsonFlag = app.add_flag("--json", json, "Only the JSON summary line per recording");
    auto* perMinuteFlag = app.add_flag(
        "--per-minute", perMinute,
        "CSV of one recording: per started minute, each channel's count and the recorded "
        "throughput (fish per minute, the recorded curve's mean over the minute)");
    auto* csvFlag = app.add_flag(
        "--csv", csv,
        "CSV, one row per recording: tank, start, length, classes, replay and recorded totals, "
        "difference in %, damaged lines, status. A folder is searched for recordings");
    app.add_option("RECORDING", recordings, "Recordings to count (with --csv also folders)")
        ->required();
    for (auto* mode : {perMinuteFlag, csvFlag}) {
        mode->excludes(jsonFlag)
            ->excludes("--trace")
            ->excludes(explainFlag)
            ->excludes(from)
            ->excludes(to);
    }
    perMinuteFlag->excludes(csvFlag);
    for (auto* mode : {perMinuteFlag, csvFlag, explainFlag, from, to}) sweepFlag->excludes(mode);
    sweepFlag->excludes("--trace");
    app.footer(
        "Without --from/--to every frame is read in order; with --from A --to B frame B is read "
        "and the automatic count runs from A to B (the totals are those of frames A..B; with "
        "--as-counted those of the continuous count, frames 1..B). The "
        "summary's lines and frames are those of the recording. --per-minute and --csv count "
        "every frame in order.\n"
        "Exit status: 0 all counted, 1 a recording could not be counted or the output could "
        "not be written, 2 usage error (also a --class or --reference for a channel that a "
        "recording does not have: that recording is not counted, the others are).");

    try {
        app.parse(arguments.argc(), arguments.argv());
    } catch (const CLI::CallForHelp& e) {
        return app.exit(e);
    } catch (const CLI::CallForVersion& e) {
        return app.exit(e);
    } catch (const CLI::ParseError& e) {
        std::fprintf(stderr, "velkor-count: %s\n\n%s", e.what(), app.help().c_str());
        return 2;
    }
    // Given is given, 0 included: "--from 0 --to 0" is no whole count but a range outside it.
    if (*from) {
        if (options.from < 1 || options.to < options.from) {
            std::fprintf(stderr, "velkor-count: --from A --to B needs 1 <= A <= B\n\n%s",
                         app.help().c_str());
            return 2;
        }
    }
    // CH=N, digits only, so that "1=12", "5=3" or "1=2.5" is named as it stands.
    GivenPerChannel classes = nothingGiven, references = nothingGiven;
    for (const std::string& problem :
         {readChannelValues("--class", classOverrides, 9, "size class", classes),
          readChannelValues("--reference", referenceCounts, INT32_MAX, "a count", references)}) {
        if (!problem.empty()) {
            std::fprintf(stderr, "velkor-count: %s\n\n%s", problem.c_str(), app.help().c_str());
            return 2;
        }
    }
    for (int32_t c = 1; c <= maxChannels; ++c)
        options.classes[c] = static_cast<int32_t>(classes[c]);
    if (perMinute && recordings.size() != 1) {
        std::fprintf(stderr, "velkor-count: --per-minute takes one recording\n\n%s",
                     app.help().c_str());
        return 2;
    }
    options.output = explain ? CountOutput::explain
                     : trace ? CountOutput::trace
                             : (json ? CountOutput::json : CountOutput::table);
#ifdef SIGPIPE
    // A closed pipe then shows as a failed write (EPIPE), so that the counting stops cleanly.
    std::signal(SIGPIPE, SIG_IGN);
#endif
    std::atomic<bool> stop{false};
    options.stop = &stop;

    const size_t cores = std::max(1u, std::thread::hardware_concurrency());
    if (sweep) {
        const SweepRunResult run =
            runClassSweeps(recordings, options, references, json, cores, stdout, stderr);
        if (run.outputError != 0) return outputFailed(run.outputError);
        return run.usageError ? 2 : (run.failed ? 1 : 0);
    }
    if (perMinute) {
        OutputSink out(stdout);
        const CountResult result = countPerMinute(recordings.front(), options, out);
        out.flush();
        std::fputs(result.errors.c_str(), stderr);
        if (out.failed()) return outputFailed(out.error());
        return result.usageError ? 2 : (result.ok ? 0 : 1);
    }
    if (csv) {
        const SessionTableResult table = writeSessionTable(recordings, options, cores, stdout,
                                                           isTerminal(stderr) ? stderr : nullptr);
        if (table.outputError != 0) return outputFailed(table.outputError);
        if (table.failed > 0)
            std::fprintf(stderr,
                         "velkor-count: %zu recording%s could not be counted (see the "
                         "status column)\n",
                         table.failed, table.failed == 1 ? "" : "s");
        return table.usageErrors > 0 ? 2 : (table.failed > 0 ? 1 : 0);
    }
    const size_t workers = std::min(cores, recordings.size());
    bool parallel = workers > 1;

    std::vector<Job> jobs(recordings.size());
    // In parallel each recording writes to a temporary file, printed in order afterwards. When
    // the temporary files cannot be made, the recordings are counted one after another instead.
    for (size_t i = 0; i < jobs.size() && parallel; ++i) {
        jobs[i].file = createTemporaryFile().release();
        parallel = jobs[i].file != nullptr;
    }
    for (size_t i = 0; i < jobs.size(); ++i) {
        jobs[i].recording = recordings[i];
        if (!parallel) {
            if (jobs[i].file != nullptr) std::fclose(jobs[i].file);
            jobs[i].file = stdout;
        }
        jobs[i].out = std::make_unique<OutputSink>(jobs[i].file);
    }

    std::mutex mutex;
    std::condition_variable finished;
    std::atomic<size_t> next{0};
    auto work = [&] {
        prepareCountingThread();
        for (size_t i; !stop && (i = next++) < jobs.size();) {
            CountResult result = countRecording(jobs[i].recording, options, *jobs[i].out);
            std::lock_guard lock(mutex);
            jobs[i].result = std::move(result);
            jobs[i].done = true;
            finished.notify_all();
        }
    };

    bool failed = false, usageError = false;
    int outputError = 0;  // the first failed write to the output; it ends the run
    auto print = [&](Job& job) {
        int err = 0;
        if (parallel) {
            err = job.out->copyTo(stdout);
            if (job.file != nullptr) std::fclose(job.file);
        } else {
            job.out->flush();
            err = job.out->error();
        }
        std::fputs(job.result.errors.c_str(), stderr);
        failed = failed || !job.result.ok;
        usageError = usageError || job.result.usageError;
        if (err != 0) {
            outputError = err;
            stop = true;
        }
    };

    if (!parallel) {
        for (Job& job : jobs) {
            job.result = countRecording(job.recording, options, *job.out);
            print(job);
            if (stop) break;
        }
    } else {
        std::vector<std::thread> threads;
        for (size_t t = 0; t < workers; ++t) threads.emplace_back(work);
        for (Job& job : jobs) {
            {
                std::unique_lock lock(mutex);
                finished.wait(lock, [&] { return job.done; });
            }
            print(job);
            if (stop) break;
        }
        for (auto& t : threads) t.join();
    }
    errno = 0;
    if (outputError == 0 && std::fflush(stdout) != 0) outputError = errno != 0 ? errno : EIO;
    if (outputError != 0) return outputFailed(outputError);
    return usageError ? 2 : (failed ? 1 : 0);
}
