// A generated session's report beside velkor-count: its recorded totals and curve are what the
// counter counts at one frame a second, channel by channel, so the comparison agrees; and a
// channel whose fish are of another class than the report names counts as a wrong-class session.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <sstream>

#include <nlohmann/json.hpp>

#include "core/fish_classes.h"
#include "settings/profile_ini.h"
#include "settings/report_writer.h"
#include "settings/session_report.h"
#include "synth_fixture.h"
#include "tests/support/run_program.h"

namespace velkor::synth::test {
namespace {

using velkor::test::ProgramRun;
using velkor::test::runProgram;
using velkor::test::shellQuoted;

ProgramRun runSynth(const std::string& args) {
    return runProgram(VELKOR_SYNTH_EXE, args);
}

ProgramRun runCount(const std::string& args) {
    return runProgram(VELKOR_COUNT_EXE, args);
}

// The summary record of velkor-count's JSON output: its last line.
nlohmann::json summaryOf(const ProgramRun& run) {
    std::string out = run.out;
    while (!out.empty() && out.back() == '\n') out.pop_back();
    return nlohmann::json::parse(out.substr(out.rfind('\n') + 1))["summary"];
}

SessionReport reportOf(const std::string& base) {
    SessionReport report;
    std::string message;
    EXPECT_TRUE(nyjarstillingar(base + ".blb", report, &message)) << message;
    return report;
}

struct RecordedCase {
    const char* what;
    std::string options;
    const char* counted;  // the file velkor-count is given
    int channels;
};

TEST(SynthRecordedFigures, AreTheReplayAtOneFramePerSecondTotalsAndCurve) {
    const RecordedCase cases[] = {
        {"one channel", "--minutes 3 --seed 5", ".blb", 1},
        {"four channels",
         "--minutes 2 --seed 6 --channel 10:127:1 --channel 138:255:3 --channel 266:383:5 "
         "--channel 394:500:2",
         ".blb", 4},
        {"dense, touching", "--minutes 2 --seed 7 --density 20 --touching 0.4", ".blb", 1},
        // 55 minutes: 330 points, so only every second one is written.
        {"past midnight, thinned curve, decimal comma",
         "--minutes 55 --seed 8 --start \"2026-03-01 23:40:00\" --decimal-separator , "
         "--channel 10:250:2 --channel 261:500:4",
         ".blb", 2},
        {"compressed recording", "--minutes 2 --seed 9 --compressed --channel 10:250:3::6", ".blc",
         1},
    };
    for (const RecordedCase& c : cases) {
        SCOPED_TRACE(c.what);
        TempDir dir;
        const std::string base = dir.file("s");
        const ProgramRun made = runSynth(c.options + " --out " + shellQuoted(base));
        ASSERT_EQ(made.exit, 0) << made.err;
        const SessionReport report = reportOf(base);
        ASSERT_EQ(report.channelCount, c.channels);

        // The totals: velkor-count's replay at 1116 lines per frame and the report's record.
        const std::string counted = shellQuoted(base + c.counted);
        const ProgramRun json = runCount("--frame-width 1116 --json " + counted);
        ASSERT_EQ(json.exit, 0) << json.err;
        const nlohmann::json summary = summaryOf(json);
        ASSERT_TRUE(summary.contains("recorded")) << json.out;
        EXPECT_EQ(summary["recorded"]["totals"], summary["totals"]);
        EXPECT_EQ(summary["recorded"]["total"], summary["total"]);
        // The readable table's comparison: no difference on any row, the sum's included.
        const ProgramRun table = runCount(counted);
        int agreeing = 0;
        for (size_t at = table.out.find(" 0.0 %\n"); at != std::string::npos;
             at = table.out.find(" 0.0 %\n", at + 1))
            ++agreeing;
        EXPECT_EQ(agreeing, c.channels + 1) << table.out;

        // The truth keeps the fish drawn and says what the report records.
        const auto truth = nlohmann::json::parse(readBytes(base + ".truth.json"));
        for (int ch = 0; ch < c.channels; ++ch) {
            EXPECT_EQ(truth["channels"][ch]["recorded"], summary["totals"][ch]);
            EXPECT_GT(truth["channels"][ch]["fish"].get<int64_t>(), 0);
        }
        EXPECT_EQ(truth["recordedTotal"], summary["total"]);

        // The curve: each point the replay's objects of its 10 seconds, by the line on which each
        // closed, as fish per minute; read as the report reader reads it.
        const ProgramRun trace = runCount("--frame-width 1116 --trace " + counted);
        ASSERT_EQ(trace.exit, 0) << trace.err;
        const int64_t lines = summary["lines"].get<int64_t>();
        const size_t intervals = static_cast<size_t>((lines + 11159) / 11160);
        std::vector<std::vector<int>> perInterval(c.channels, std::vector<int>(intervals, 0));
        std::istringstream records(trace.out);
        for (std::string line; std::getline(records, line);) {
            const auto record = nlohmann::json::parse(line);
            if (!record.contains("closed")) continue;
            const int64_t closedOn = record["closed"]["line"].get<int64_t>();
            ++perInterval[record["closed"]["channel"].get<int>() - 1][(closedOn - 1) / 11160];
        }
        const auto positions = throughputSamplePositions(intervals);
        for (int ch = 1; ch <= c.channels; ++ch) {
            const auto& curve = report.curves[ch];
            ASSERT_EQ(curve.size(), positions.size() + 1) << "channel " << ch;
            for (size_t j = 1; j < positions.size(); ++j)
                ASSERT_EQ(curve[j].second, 6.0 * perInterval[ch - 1][positions[j]])
                    << "channel " << ch << " sample " << j;
        }
    }
}

// Minute by minute: the report's points of a minute add up to the replay's count of the minute
// in velkor-count --per-minute (a curve of one point per 10 seconds, none thinned away). The
// counter never writes its last point, so the session runs a little past its sixth minute.
TEST(SynthRecordedFigures, CurveAddsUpToTheReplayPerMinute) {
    TempDir dir;
    const std::string base = dir.file("m");
    const int64_t lines = 6 * 60 * 1116 + 500;
    ASSERT_EQ(runSynth("--lines " + std::to_string(lines) +
                       " --seed 4 --density 4 --start \"2026-03-01 23:57:00\" "
                       "--channel 10:250:2 --channel 261:500:5 --out " +
                       shellQuoted(base))
                  .exit,
              0);
    const ProfileIni ini = ProfileIni::load(base + ".mse");
    const ProgramRun perMinute = runCount("--per-minute " + shellQuoted(base + ".blb"));
    ASSERT_EQ(perMinute.exit, 0) << perMinute.err;
    std::istringstream rows(perMinute.out);
    std::string row;
    std::getline(rows, row);  // the heading
    int minutes = 0;
    for (int m = 0; std::getline(rows, row) && m < 6; ++m, ++minutes) {
        std::vector<std::string> cells;
        std::istringstream cellText(row);
        for (std::string cell; std::getline(cellText, cell, ',');) cells.push_back(cell);
        ASSERT_GE(cells.size(), 3u) << row;
        for (int ch = 1; ch <= 2; ++ch) {
            double fish = 0;
            const std::string section = "ThroughputChart" + std::to_string(ch);
            for (int j = 6 * m; j < 6 * m + 6; ++j) {
                std::string key = std::to_string(j);
                key.insert(key.begin(), 'Y');
                fish += std::stod(ini.readString(section, key, "0")) / 6.0;
            }
            EXPECT_EQ(fish, std::stod(cells[static_cast<size_t>(ch)])) << "minute " << m;
        }
    }
    EXPECT_EQ(minutes, 6);
}

struct WrongClassCase {
    const char* what;
    std::string channels;
    std::vector<int> named, drawn;
};

TEST(SynthWrongClass, FishOfAnotherClassCountAsTheirClassNotAsTheReports) {
    const WrongClassCase cases[] = {
        {"class 3 named, fish of class 7", "--channel 10:500:3::7", {3}, {7}},
        {"a width and a class each, and both ways",
         "--channel 10:250:7:250:3 --channel 261:500:2::5",
         {7, 2},
         {3, 5}},
    };
    for (const WrongClassCase& c : cases) {
        SCOPED_TRACE(c.what);
        TempDir dir;
        const std::string base = dir.file("w");
        const ProgramRun made = runSynth("--minutes 3 --seed 3 --touching 0 " + c.channels +
                                         " --out " + shellQuoted(base));
        ASSERT_EQ(made.exit, 0) << made.err;
        const SessionReport report = reportOf(base);
        const auto truth = nlohmann::json::parse(readBytes(base + ".truth.json"));
        std::string drawnClasses, namedClasses;
        for (size_t ch = 0; ch < c.named.size(); ++ch) {
            const int32_t n = static_cast<int32_t>(ch + 1);
            EXPECT_EQ(report.sizeGroup[n], c.named[ch]);
            EXPECT_EQ(truth["channels"][ch]["sizeGroup"], c.named[ch]);
            EXPECT_EQ(truth["channels"][ch]["fishClass"], c.drawn[ch]);
            EXPECT_EQ(truth["channels"][ch]["fishClassName"],
                      std::string(fishClassName(c.drawn[ch])));
            drawnClasses += " --class " + std::to_string(n) + "=" + std::to_string(c.drawn[ch]);
            namedClasses += " --class " + std::to_string(n) + "=" + std::to_string(c.named[ch]);
        }
        EXPECT_NE(made.out.find("fish of " + std::string(fishClassName(c.drawn[0]))),
                  std::string::npos)
            << made.out;

        const std::string recording = shellQuoted(base + ".blb");
        const nlohmann::json asDrawn =
            summaryOf(runCount("--frame-width 1116 --json" + drawnClasses + " " + recording));
        const nlohmann::json asNamed =
            summaryOf(runCount("--frame-width 1116 --json " + recording));
        // The report's own class (also when named explicitly) is what the report records.
        EXPECT_EQ(asNamed["totals"], asNamed["recorded"]["totals"]);
        EXPECT_EQ(summaryOf(runCount("--frame-width 1116 --json" + namedClasses + " " +
                                     recording))["totals"],
                  asNamed["totals"]);
        for (size_t ch = 0; ch < c.named.size(); ++ch) {
            SCOPED_TRACE("channel " + std::to_string(ch + 1));
            const double fish = truth["channels"][ch]["fish"].get<double>();
            ASSERT_GT(fish, 100);
            EXPECT_NEAR(asDrawn["totals"][ch].get<double>(), fish, 0.03 * fish);
            EXPECT_GT(std::abs(asNamed["totals"][ch].get<double>() - fish), 0.2 * fish);
        }

        // The objects counted with the fish's class are that class's length (lines).
        const ProgramRun trace =
            runCount("--frame-width 1116 --trace" + drawnClasses + " " + recording);
        std::vector<std::vector<int>> lengths(c.named.size());
        std::istringstream records(trace.out);
        for (std::string line; std::getline(records, line);) {
            const auto record = nlohmann::json::parse(line);
            if (record.contains("closed"))
                lengths[record["closed"]["channel"].get<size_t>() - 1].push_back(
                    record["closed"]["lengd"].get<int>());
        }
        for (size_t ch = 0; ch < c.named.size(); ++ch) {
            std::vector<int>& l = lengths[ch];
            ASSERT_FALSE(l.empty());
            std::nth_element(l.begin(), l.begin() + l.size() / 2, l.end());
            const double nominal = fishClassTable[c.drawn[ch]].nominalLength;
            EXPECT_NEAR(l[l.size() / 2], nominal, 0.2 * nominal) << "channel " << ch + 1;
        }
    }
}

}  // namespace
}  // namespace velkor::synth::test
