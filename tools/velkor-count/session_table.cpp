// The table of many sessions: finding the recordings, counting each, and its rows.
#include "tools/velkor-count/session_table.h"

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cinttypes>
#include <cmath>
#include <filesystem>
#include <set>

#include "core/fish_classes.h"
#include "io/file_names.h"
#include "replay/whole_count.h"
#include "tools/velkor-count/csv_writer.h"
#include "tools/velkor-count/ordered_work.h"

namespace velkor {
namespace {

namespace fs = std::filesystem;

std::string lowerExtension(const fs::path& path) {
    std::string ext = path.extension().string();
    for (char& c : ext) c = static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
    return ext;
}

// The recordings of one folder and everything below it, sorted by path.
std::vector<std::string> recordingsIn(const fs::path& folder, std::string& problem) {
    std::vector<fs::path> blb, blc;
    std::error_code ec;
    fs::recursive_directory_iterator it(folder, fs::directory_options::skip_permission_denied, ec);
    for (; !ec && it != fs::recursive_directory_iterator(); it.increment(ec)) {
        if (!it->is_regular_file(ec)) continue;
        const std::string ext = lowerExtension(it->path());
        if (ext == ".blb") blb.push_back(it->path());
        if (ext == ".blc") blc.push_back(it->path());
    }
    if (ec) {
        problem = "cannot search the folder: " + ec.message();
        return {};
    }
    // A compressed recording is counted only when its .blb is not there to be counted instead.
    std::set<std::string> unpacked;
    for (const fs::path& p : blb) {
        fs::path stem = p;
        unpacked.insert(utf8FromPath(stem.replace_extension()));
    }
    std::vector<std::string> found;
    for (const fs::path& p : blb) found.push_back(utf8FromPath(p));
    for (const fs::path& p : blc) {
        fs::path stem = p;
        if (!unpacked.count(utf8FromPath(stem.replace_extension())))
            found.push_back(utf8FromPath(p));
    }
    std::sort(found.begin(), found.end());
    return found;
}

constexpr int32_t columnsPerFigure = 4;  // one per channel, whatever the session's channel count

}  // namespace

std::vector<TableInput> findRecordings(const std::vector<std::string>& inputs) {
    std::vector<TableInput> found;
    for (const std::string& input : inputs) {
        std::error_code ec;
        if (!fs::is_directory(pathFromUtf8(input), ec)) {
            found.push_back({input, {}});
            continue;
        }
        std::string problem;
        const std::vector<std::string> recordings = recordingsIn(pathFromUtf8(input), problem);
        if (!problem.empty()) found.push_back({input, problem});
        for (const std::string& r : recordings) found.push_back({r, {}});
    }
    return found;
}

std::string sessionTableHeader() {
    CsvRecord header;
    header.text("file").text("tank").text("start").text("duration").text("channels");
    for (const char* figure : {"class", "replay", "recorded", "difference %"}) {
        for (int32_t c = 1; c <= columnsPerFigure; ++c)
            header.text(std::string(figure) + " " + std::to_string(c));
        if (std::string(figure) != "class") header.text(std::string(figure) + " total");
    }
    header.text("damaged lines").text("status");
    return header.line();
}

std::string sessionTableRow(const TableInput& input, const CountOptions& options, bool& ok) {
    ok = false;
    CsvRecord row;
    row.text(input.recording);
    std::string status = input.problem;
    if (status.empty()) {
        try {
            HeadlessEngine headless(options.frameWidth, options.counterType);
            headless.engine.setClassOverrides(options.classes);
            ReplayEngine& engine = headless.engine;
            if (!countWholeRecording(engine, input.recording)) {
                status = engine.message();
            } else {
                const SessionReport& report = engine.report();
                const RecordedFigures& recorded = report.recorded;
                const int32_t channels = report.channelCount;
                row.text(recorded.tank.value_or(""));
                row.text(recorded.dateTime ? formatDayNumberDateTime(report.sessionStart) : "");
                row.text(recordingDuration(engine.lineCount()));
                row.number(channels);
                for (int32_t c = 1; c <= columnsPerFigure; ++c) {
                    if (c <= channels)
                        row.text(fishClassName(report.sizeGroup[c]));
                    else
                        row.empty();
                }
                int64_t sum = 0;
                for (int32_t c = 1; c <= columnsPerFigure; ++c) {
                    if (c > channels) {
                        row.empty();
                        continue;
                    }
                    row.number(engine.channelTotal(c));
                    sum += engine.channelTotal(c);
                }
                row.number(sum);
                for (int32_t c = 1; c <= columnsPerFigure; ++c) {
                    if (c <= channels && recorded.sessionTotals[c])
                        row.number(*recorded.sessionTotals[c]);
                    else
                        row.empty();
                }
                if (recorded.total)
                    row.number(*recorded.total);
                else
                    row.empty();
                for (int32_t c = 1; c <= columnsPerFigure; ++c) {
                    row.text(c <= channels ? formatPerCentNumber(differencePercent(
                                                 engine.channelTotal(c), recorded.sessionTotals[c]))
                                           : "");
                }
                row.text(formatPerCentNumber(differencePercent(sum, recorded.total)));
                row.number(engine.damagedLines());
                ok = true;
                return row.text("ok").line();
            }
        } catch (const std::exception& e) {
            status = countingError(input.recording, e);
        }
    }
    // A recording that could not be counted: its name and the reason, nothing in between.
    // tank, start, duration, channels; the classes; replay, recorded and difference with their
    // totals; the damaged lines.
    for (int32_t i = 0; i < 4 + columnsPerFigure + 3 * (columnsPerFigure + 1) + 1; ++i) row.empty();
    return row.text(status).line();
}

SessionTableResult writeSessionTable(const std::vector<std::string>& inputs,
                                     const CountOptions& options, size_t workers, std::FILE* out,
                                     std::FILE* progress) {
    const std::vector<TableInput> recordings = findRecordings(inputs);
    std::vector<std::string> rows(recordings.size());
    std::vector<char> counted(recordings.size(), 0);
    SessionTableResult result;
    std::atomic<bool> stop{false};
    auto write = [&](const std::string& text) {
        errno = 0;
        if (std::fwrite(text.data(), 1, text.size(), out) != text.size() || std::fflush(out) != 0) {
            result.outputError = errno != 0 ? errno : EIO;
            stop = true;
        }
    };
    write(sessionTableHeader());
    runInOrder(
        recordings.size(), workers,
        [&](size_t i) {
            if (stop) return;
            bool ok = false;
            rows[i] = sessionTableRow(recordings[i], options, ok);
            counted[i] = ok ? 1 : 0;
        },
        [&](size_t i) {
            if (stop) return;
            write(rows[i]);
            rows[i].clear();
            if (!counted[i]) ++result.failed;
            if (progress != nullptr) {
                std::fprintf(progress, "\r%zu of %zu recordings counted", i + 1, recordings.size());
                if (i + 1 == recordings.size()) std::fputc('\n', progress);
                std::fflush(progress);
            }
        });
    return result;
}

}  // namespace velkor
