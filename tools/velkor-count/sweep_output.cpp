// Writing a class sweep.
#include "tools/velkor-count/sweep_output.h"

#include <algorithm>
#include <optional>
#include <vector>

#include "tools/velkor-count/display_width.h"
#include "tools/velkor-count/json_text.h"
#include "tools/velkor-count/sweep_findings.h"

namespace velkor {
namespace {

constexpr size_t movesShown = 2;

std::array<int32_t, fishClassCount> totalsOf(const ClassSweep& sweep, int32_t c) {
    std::array<int32_t, fishClassCount> totals{};
    for (int32_t k = 0; k < fishClassCount; ++k) totals[k] = sweep.cells[c][k].total;
    return totals;
}

int32_t nearestOf(const ClassSweep& sweep, const GivenPerChannel& references, int32_t c) {
    return references[c] < 0
               ? -1
               : nearestClass(totalsOf(sweep, c), references[c], sweep.reportClass[c]);
}

std::vector<VerdictMove> movesOf(const ClassSweep& sweep, int32_t c, int32_t k) {
    return movedMost(sweep.cells[c][sweep.reportClass[c]].verdicts, sweep.cells[c][k].verdicts,
                     movesShown);
}

std::string movesText(const std::vector<VerdictMove>& moves) {
    std::string text;
    for (const VerdictMove& m : moves) {
        if (!text.empty()) text += ", ";
        text += std::string(verdictText(m.verdict)) + " " + std::to_string(m.from) + " → " +
                std::to_string(m.to);
    }
    return text;
}

std::string trimmedLine(std::string line) {
    while (!line.empty() && line.back() == ' ') line.pop_back();
    return line + "\n";
}

std::string channelClassText(int32_t k) {
    return std::string(fishClassName(k));
}

// The reference compared with its nearest class: "(-17, -5.7 %)".
std::string referenceDifference(int32_t total, int64_t reference) {
    const int64_t d = total - reference;
    std::string text = (d > 0 ? "+" : "") + std::to_string(d);
    const std::string percent =
        formatDifference(differencePercent(total, static_cast<int32_t>(reference)));
    return "(" + text + (percent.empty() ? "" : ", " + percent) + ")";
}

}  // namespace

std::string sweepTable(const ClassSweep& sweep, const GivenPerChannel& references) {
    const int32_t channels = sweep.channels;
    struct Column {
        std::array<std::string, fishClassCount> count, difference, moved;
        size_t countWidth = 9, differenceWidth = 10, movedWidth = 10;
    };
    ChannelArray<Column> columns{};
    bool anyReference = false;
    for (int32_t c = 1; c <= channels; ++c) {
        Column& col = columns[c];
        const int32_t nearest = nearestOf(sweep, references, c);
        anyReference = anyReference || nearest >= 0;
        for (int32_t k = 0; k < fishClassCount; ++k) {
            const int32_t total = sweep.cells[c][k].total;
            std::string marks = k == sweep.reportClass[c] ? "*" : "";
            if (k == nearest) marks += "<";
            col.count[k] = std::to_string(total) + " " + padRight(marks, 2);
            const std::string difference =
                formatDifference(differencePercent(total, sweep.recorded.sessionTotals[c]));
            col.difference[k] = difference.empty() ? "-" : difference;
            col.moved[k] = movesText(movesOf(sweep, c, k));
            col.countWidth = std::max(col.countWidth, displayWidth(col.count[k]));
            col.differenceWidth = std::max(col.differenceWidth, displayWidth(col.difference[k]));
            col.movedWidth = std::max(col.movedWidth, displayWidth(col.moved[k]));
        }
    }
    const size_t classWidth = 6;
    std::string names = "  " + padRight("Class", classWidth);
    std::string heading = "  " + std::string(classWidth, ' ');
    for (int32_t c = 1; c <= channels; ++c) {
        Column& col = columns[c];
        // A name wider than its channel's columns widens the last of them, so that the next
        // channel's name still stands over its own columns.
        const size_t name = displayWidth(sweep.names[c]);
        size_t width = col.countWidth + 2 + col.differenceWidth + 2 + col.movedWidth;
        if (name > width) {
            col.movedWidth += name - width;
            width = name;
        }
        names += "  " + padRight(sweep.names[c], width);
        heading += "  " + padLeft("Replay   ", col.countWidth) + "  " +
                   padLeft("Difference", col.differenceWidth) + "  " +
                   padRight("Moved most", col.movedWidth);
    }
    std::string table = sweep.recording + "\n" + trimmedLine(names) + trimmedLine(heading);
    for (int32_t k = 0; k < fishClassCount; ++k) {
        std::string row = "  " + padRight(channelClassText(k), classWidth);
        for (int32_t c = 1; c <= channels; ++c) {
            const Column& col = columns[c];
            row += "  " + padLeft(col.count[k], col.countWidth) + "  " +
                   padLeft(col.difference[k], col.differenceWidth) + "  " +
                   padRight(col.moved[k], col.movedWidth);
        }
        table += trimmedLine(row);
    }
    table += anyReference ? "  * the report's class, < nearest to the reference\n"
                          : "  * the report's class\n";
    for (int32_t c = 1; c <= channels; ++c) {
        const int32_t nearest = nearestOf(sweep, references, c);
        if (nearest < 0) continue;
        const int32_t total = sweep.cells[c][nearest].total;
        table += "  " + sweep.names[c] + ": reference " + std::to_string(references[c]) +
                 ", nearest " + channelClassText(nearest) + " with " + std::to_string(total) + " " +
                 referenceDifference(total, references[c]) + "\n";
    }
    table += "  " + std::to_string(sweep.lines) + " lines, " + recordingDuration(sweep.lines) +
             ", " + std::to_string(sweep.frames) + " frames of " +
             std::to_string(sweep.frameWidth) + " lines";
    if (sweep.counterType != -1) table += ", counter type " + std::to_string(sweep.counterType);
    return table + "\n";
}

std::string sweepJson(const ClassSweep& sweep, const GivenPerChannel& references) {
    auto optionalNumber = [](const std::optional<int32_t>& v) {
        return v ? std::to_string(*v) : std::string("null");
    };
    auto percent = [](const std::optional<double>& p) {
        return p ? formatPerCentNumber(p) : std::string("null");
    };
    std::string j = "{\"sweep\": {\"recording\": " + jsonQuoted(sweep.recording) +
                    ", \"lines\": " + std::to_string(sweep.lines) +
                    ", \"frames\": " + std::to_string(sweep.frames) +
                    ", \"frameWidth\": " + std::to_string(sweep.frameWidth) +
                    ", \"counterType\": " + std::to_string(sweep.counterType) +
                    ", \"damagedLines\": " + std::to_string(sweep.damagedLines) +
                    ", \"channels\": [";
    for (int32_t c = 1; c <= sweep.channels; ++c) {
        const std::optional<int32_t> recorded = sweep.recorded.sessionTotals[c];
        j += (c > 1 ? ", " : "");
        j += "{\"channel\": " + std::to_string(c) + ", \"name\": " + jsonQuoted(sweep.names[c]) +
             ", \"reportClass\": " + std::to_string(sweep.reportClass[c]) +
             ", \"recorded\": " + optionalNumber(recorded) + ", \"classes\": [";
        for (int32_t k = 0; k < fishClassCount; ++k) {
            const SweepCell& cell = sweep.cells[c][k];
            j += (k > 0 ? ", " : "");
            j += "{\"class\": " + std::to_string(k) +
                 ", \"name\": " + jsonQuoted(fishClassName(k)) +
                 ", \"total\": " + std::to_string(cell.total) +
                 ", \"difference\": " + percent(differencePercent(cell.total, recorded)) +
                 ", \"verdicts\": {";
            for (int v = 0; v < endingVerdictCount; ++v) {
                j += (v > 0 ? ", " : "");
                j += jsonQuoted(verdictText(static_cast<EndingVerdict>(v))) + ": " +
                     std::to_string(cell.verdicts[v]);
            }
            j += "}, \"moved\": [";
            const std::vector<VerdictMove> moves = movesOf(sweep, c, k);
            for (size_t m = 0; m < moves.size(); ++m) {
                j += (m > 0 ? ", " : "");
                j += "{\"verdict\": " + jsonQuoted(verdictText(moves[m].verdict)) +
                     ", \"from\": " + std::to_string(moves[m].from) +
                     ", \"to\": " + std::to_string(moves[m].to) + "}";
            }
            j += "]}";
        }
        j += "]";
        const int32_t nearest = nearestOf(sweep, references, c);
        if (nearest >= 0) {
            const int32_t total = sweep.cells[c][nearest].total;
            j += ", \"reference\": {\"count\": " + std::to_string(references[c]) +
                 ", \"nearest\": " + std::to_string(nearest) +
                 ", \"total\": " + std::to_string(total) +
                 ", \"difference\": " + std::to_string(total - references[c]) +
                 ", \"differencePercent\": " +
                 percent(differencePercent(total, static_cast<int32_t>(references[c]))) + "}";
        }
        j += "}";
    }
    return j + "]}}\n";
}

}  // namespace velkor
