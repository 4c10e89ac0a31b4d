// Writes the files of a synthetic session. The recording is generated line by line straight into
// the record writer; it is then counted as the counter would have counted it live, which gives the
// report's figures, and the truth tells what the generator put in.
#include "tools/velkor-synth/session_writer.h"

#include <chrono>
#include <filesystem>

#include <nlohmann/json.hpp>

#include "core/fish_classes.h"
#include "io/errors.h"
#include "io/replacing_file.h"
#include "replay/record_writer.h"
#include "tools/velkor-synth/day_number.h"
#include "tools/velkor-synth/live_count.h"
#include "tools/velkor-synth/session_report_content.h"

#ifndef VELKOR_VERSION
#define VELKOR_VERSION "unknown"
#endif

namespace velkor::synth {

namespace {

constexpr const char* generatorName = "velkor-synth";

using Clock = std::chrono::steady_clock;

double secondsSince(Clock::time_point t0) {
    return std::chrono::duration<double>(Clock::now() - t0).count();
}

// True when the truth file names this tool as its writer: the session's files are then its own
// outputs and may be replaced.
bool writtenByThisTool(const std::string& truthFile) {
    const FileHandle in = openForReading(truthFile);
    if (!in) return false;
    nlohmann::json j = nlohmann::json::parse(in.get(), nullptr, /*allow_exceptions=*/false);
    return j.is_object() && j.value("generator", "") == generatorName;
}

void refuseForeignFiles(const SessionOptions& o) {
    if (o.force || writtenByThisTool(truthName(o.out))) return;
    for (const std::string& f :
         {recordingName(o.out), compressedName(o.out), reportName(o.out), truthName(o.out)}) {
        std::error_code ec;
        if (std::filesystem::exists(pathFromUtf8(f), ec))
            throw FileAccessError(f,
                                  "exists and was not written by velkor-synth; choose another "
                                  "--out or give --force to replace it");
    }
}

nlohmann::ordered_json truthJson(const SessionOptions& o, const SceneTruth* truth,
                                 const LiveCount* live) {
    const SceneOptions& s = o.scene;
    nlohmann::ordered_json channels = nlohmann::ordered_json::array();
    int64_t total = 0, recordedTotal = 0;
    for (size_t c = 0; c < s.channels.size(); ++c) {
        const SynthChannel& ch = s.channels[c];
        nlohmann::ordered_json jc = {{"left", ch.left},
                                     {"right", ch.right},
                                     {"sizeGroup", ch.sizeGroup},
                                     {"className", std::string(fishClassName(ch.sizeGroup))},
                                     {"fishClass", fishClassOf(ch)},
                                     {"fishClassName", std::string(fishClassName(fishClassOf(ch)))},
                                     {"widthMm", channelWidthMm(s, static_cast<int>(c))}};
        if (truth) {
            jc["fish"] = truth->fish[c];
            jc["touchingPairs"] = truth->touchingPairs[c];
            total += truth->fish[c];
        }
        if (live) {
            jc["recorded"] = live->totals[c];
            recordedTotal += live->totals[c];
        }
        channels.push_back(jc);
    }
    nlohmann::ordered_json j = {{"generator", generatorName},
                                {"version", VELKOR_VERSION},
                                {"complete", truth != nullptr},
                                {"lines", s.lines},
                                {"seconds", static_cast<double>(s.lines) / linesPerSecond},
                                {"scanLeftEdge", scanLeftEdge(s)},
                                {"scanRightEdge", scanRightEdge(s)},
                                {"channels", channels},
                                {"options",
                                 {{"seed", s.seed},
                                  {"lines", s.lines},
                                  {"counterWidthMm", s.counterWidthMm},
                                  {"density", s.density},
                                  {"touching", s.touching},
                                  {"noise", s.noise},
                                  {"start", o.start},
                                  {"tank", o.tank},
                                  {"decimalSeparator", std::string(1, o.decimalSeparator)},
                                  {"compressed", o.compressed}}}};
    if (truth) {
        j["totalFish"] = total;
        if (live) j["recordedTotal"] = recordedTotal;
        j["specks"] = truth->specks;
        j["cappedLines"] = truth->cappedLines;
    }
    return j;
}

void writeTruth(const std::string& name, const nlohmann::ordered_json& j) {
    replaceFileContent(name, j.dump(2) + "\n");
}

}  // namespace

std::string recordingName(const std::string& out) {
    return out + ".blb";
}
std::string compressedName(const std::string& out) {
    return out + ".blc";
}
std::string reportName(const std::string& out) {
    return out + ".mse";
}
std::string truthName(const std::string& out) {
    return out + ".truth.json";
}

SessionResult writeSession(const SessionOptions& o) {
    const auto t0 = Clock::now();
    checkOptions(o.scene);
    std::optional<double> start = parseDateTime(o.start);
    if (!start)
        throw OptionError("start must be a date and time \"YYYY-MM-DD HH:MM:SS\", not \"" +
                          o.start + "\"");
    if (o.decimalSeparator != '.' && o.decimalSeparator != ',')
        throw OptionError("decimal separator must be \".\" or \",\"");
    if (o.out.empty()) throw OptionError("an output name (--out) is needed");
    refuseForeignFiles(o);

    SessionResult result;
    // Claims the name first, so that a run stopped half-way can be repeated without --force.
    writeTruth(truthName(o.out), truthJson(o, nullptr, nullptr));

    SceneGenerator generator(o.scene);
    {
        RecordWriter writer(recordingName(o.out), scanLeftEdge(o.scene), scanRightEdge(o.scene));
        std::vector<PixelRun> runs;
        std::vector<SegmentPair> pairs;
        runs.reserve(maxRunsPerLine + 64);
        pairs.reserve(maxRunsPerLine);
        while (!generator.done()) {
            generator.nextLine(runs);
            pairs.clear();
            for (const PixelRun& r : runs) pairs.push_back(SegmentPair{r.left, r.right});
            writer.writeLine(pairs);
        }
        writer.finish();
        result.recordBytes = writer.bytesWritten();
    }
    result.files.push_back(recordingName(o.out));
    result.generateSeconds = secondsSince(t0);
    result.truth = generator.truth();

    if (o.compressed) {
        compressRecord(recordingName(o.out), compressedName(o.out), 1);
        result.files.push_back(compressedName(o.out));
    } else {
        // A compressed form left by an earlier run would no longer match the recording.
        removeQuietly(compressedName(o.out));
    }

    // The count reads the report's settings: a report without figures goes first, and is replaced
    // by the one with the live count's figures, or removed when the count fails, so no report is
    // left whose figures the counter would not have recorded.
    const auto countStart = Clock::now();
    writeSessionReport(reportName(o.out), o, *start, LiveCount{});
    try {
        result.live = countAsLive(recordingName(o.out),
                                  static_cast<int32_t>(o.scene.channels.size()), o.scene.lines);
        writeSessionReport(reportName(o.out), o, *start, result.live);
    } catch (...) {
        removeQuietly(reportName(o.out));
        throw;
    }
    result.countSeconds = secondsSince(countStart);
    result.files.push_back(reportName(o.out));

    writeTruth(truthName(o.out), truthJson(o, &result.truth, &result.live));
    result.files.push_back(truthName(o.out));
    result.totalSeconds = secondsSince(t0);
    return result;
}

}  // namespace velkor::synth
