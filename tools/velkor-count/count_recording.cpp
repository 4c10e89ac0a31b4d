// Counting one recording for velkor-count, with its kinds of output.
#include "tools/velkor-count/count_recording.h"

#include <algorithm>
#include <cinttypes>
#include <cstdio>
#include <exception>

#include "io/errors.h"
#include "replay/replay_engine.h"
#include "replay/whole_count.h"
#include "tools/velkor-count/channel_values.h"
#include "tools/velkor-count/explain_records.h"
#include "tools/velkor-count/json_line.h"
#include "tools/velkor-count/recorded_output.h"
#include "tools/velkor-count/trace_records.h"

namespace velkor {

namespace {

std::string summaryLine(const ReplayEngine& engine, int64_t total, bool verdicts,
                        int32_t counterType) {
    LineBuilder b;
    b.text("{\"summary\": {\"lines\": ");
    b.number(engine.lineCount());
    b.text(", \"frames\": ");
    b.number(engine.frameCount());
    b.text(", \"frameWidth\": ");
    b.number(engine.frameWidth());
    b.text(", \"totals\": [");
    for (int32_t c = 1; c <= engine.core().channelCount; ++c) {
        if (c > 1) b.text(", ");
        b.number(engine.channelTotal(c));
    }
    b.text("], \"total\": ");
    b.number(total);
    b.text(", \"damagedLines\": ");
    b.number(engine.damagedLines());
    if (verdicts) verdictsField(b, engine.verdictTally(), engine.core().channelCount);
    // With --class, per channel the class counted with and the report's, so a reader of the
    // summary never takes a what-if count for the report's own; without it the line is unchanged.
    bool overridden = false;
    for (int32_t c = 1; c <= engine.core().channelCount; ++c)
        overridden = overridden || engine.classOverrides()[c] >= 0;
    if (overridden) {
        b.text(", \"classes\": [");
        for (int32_t c = 1; c <= engine.core().channelCount; ++c) {
            if (c > 1) b.text(", ");
            b.text("{\"used\": ");
            const int32_t chosen = engine.classOverrides()[c];
            b.number(chosen >= 0 ? chosen : engine.report().sizeGroup[c]);
            b.text(", \"report\": ");
            b.number(engine.report().sizeGroup[c]);
            b.text("}");
        }
        b.text("]");
    }
    b.text(recordedSummaryMember(engine.report().recorded, engine.core().channelCount).c_str());
    // The counter type given (the report records none, so it is always the option's), last:
    // summaries of counts with --counter-type keep every member where it always was.
    if (counterType != -1) b.field("counterType", counterType);
    b.text("}}\n");
    return b.str();
}

std::string table(const std::string& recording, const ReplayEngine& engine) {
    const int32_t channels = engine.core().channelCount;
    ChannelArray<int32_t> totals{};
    for (int32_t c = 1; c <= channels; ++c) totals[c] = engine.channelTotal(c);
    std::string t =
        recording + "\n" +
        countTableRows(engine.report().counterNames, totals, channels, engine.report().recorded);
    char row[512];
    std::snprintf(row, sizeof row,
                  "  %" PRId32 " lines, %s, %" PRId32 " frames of %" PRId32 " lines\n",
                  engine.lineCount(), recordingDuration(engine.lineCount()).c_str(),
                  engine.frameCount(), engine.frameWidth());
    t += row;
    return t;
}

}  // namespace

std::string countingError(const std::string& recording, const std::exception& e) {
    const auto* error = dynamic_cast<const VelkorError*>(&e);
    if (error != nullptr && !error->file().empty()) return e.what();
    return recording + ": " + e.what();
}

std::string damagedLinesNote(const std::string& recording, const ReplayEngine& engine) {
    if (engine.damagedLines() <= 0) return {};
    return recording + ": " + std::to_string(engine.damagedLines()) +
           " damaged lines, the first at line " + std::to_string(engine.firstDamagedLine()) + "\n";
}

bool classesFitChannels(const ReplayEngine& engine, const std::string& recording,
                        const CountOptions& options, CountResult& result) {
    const std::string problem =
        missingChannelProblem("--class", options.classes, recording, engine.core().channelCount);
    if (problem.empty()) return true;
    result.errors = "velkor-count: " + problem + "\n";
    result.usageError = true;
    return false;
}

std::string recordingDuration(int64_t lines) {
    const int64_t seconds = lines / linesPerSecond;
    char text[64];
    std::snprintf(text, sizeof text, "%" PRId64 ":%02d:%02d", seconds / 3600,
                  static_cast<int>(seconds / 60 % 60), static_cast<int>(seconds % 60));
    return text;
}

CountResult runCount(const std::string& recording, const CountOptions& options,
                     const std::function<bool(ReplayEngine&, CountResult&)>& body) {
    CountResult result;
    try {
        HeadlessEngine headless(options.frameWidth, options.counterType);
        headless.engine.setClassOverrides(options.classes);
        if (!body(headless.engine, result)) return result;
        result.errors += damagedLinesNote(recording, headless.engine);
        result.ok = true;
    } catch (const std::exception& e) {
        result.errors += countingError(recording, e) + "\n";
    }
    return result;
}

CountResult countRecording(const std::string& recording, const CountOptions& options,
                           OutputSink& out) {
    return runCount(recording, options, [&](ReplayEngine& engine, CountResult& result) {
        LineBuilder line;
        const bool explain = options.output == CountOutput::explain;
        // As counted, the frames before A are counted without a record.
        const int32_t firstWritten = options.asCounted ? options.from : 0;
        if (options.output == CountOutput::trace || explain) {
            hookTrace(engine, explain, line, [&line, &out, firstWritten](int32_t frame) {
                if (frame >= firstWritten) line.writeTo(out);
            });
        }

        if (!engine.OpenBlbFile(recording)) {
            result.errors = recording + ": " + engine.message() + "\n";
            return false;
        }
        if (!classesFitChannels(engine, recording, options, result)) return false;
        if (options.from == 0) {
            for (int32_t f = 2; f <= engine.frameCount(); ++f) {
                if (out.failed() || (options.stop != nullptr && *options.stop)) return false;
                engine.FarwardbtnClick();
            }
        } else {
            const int32_t a = options.from, b = options.to;
            if (!(1 <= a && a <= b && b <= engine.frameCount())) {
                result.errors = recording + ": --from " + std::to_string(a) + " --to " +
                                std::to_string(b) + " is outside the frames 1.." +
                                std::to_string(engine.frameCount()) + "\n";
                return false;
            }
            if (options.asCounted) {
                // The session's own count: every frame from 1 in order, up to B.
                for (int32_t f = 2; f <= b; ++f) {
                    if (out.failed() || (options.stop != nullptr && *options.stop)) return false;
                    engine.FarwardbtnClick();
                }
            } else {
                // Moving to frame B, then the automatic count marked at A and run at B.
                engine.setCurrentFrame(b);
                engine.lesaramma(b);
                engine.setCurrentFrame(a);
                engine.AutocountbtnClick();
                engine.setCurrentFrame(b);
                engine.AutocountbtnClick();
            }
        }

        if (out.failed()) return false;
        int64_t total = 0;
        for (int32_t c = 1; c <= engine.core().channelCount; ++c) total += engine.channelTotal(c);
        if (options.output == CountOutput::table)
            out.write(table(recording, engine));
        else
            out.write(summaryLine(engine, total, explain, options.counterType));
        return true;
    });
}

}  // namespace velkor
