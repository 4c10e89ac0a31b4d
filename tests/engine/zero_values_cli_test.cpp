// Zero as a value velkor-count is given or reads, never as "not given": class 0, counter type 0,
// a reference count of 0, frame 0, and recorded totals and counts of 0 are shown and acted on,
// and an option given twice is told by its presence whatever its value.
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>
#include <sstream>

#include "count_cli.h"
#include "csv_reading.h"
#include "recorded_session.h"
#include "tools/velkor-count/channel_values.h"
#include "tools/velkor-count/sweep_findings.h"

namespace velkor::test {
namespace {

using nlohmann::json;

std::string column(const std::vector<CsvRow>& rows, size_t row, const std::string& name) {
    const auto at = std::find(rows[0].begin(), rows[0].end(), name);
    EXPECT_NE(at, rows[0].end()) << name;
    return at == rows[0].end() ? "" : rows[row][static_cast<size_t>(at - rows[0].begin())];
}

// Channel 1 holds no fish and records 0, channel 2 holds 3 fish and records 0, "Total" is 0.
struct ZeroSession {
    TempDir dir;
    std::string blb = dir.file("zero.blb");
    ZeroSession() { writeRecordedSession(blb, {{"Empty", 0, 0, 0}, {"Three", 3, 0, 0}}, 0); }
};

TEST(VelkorCountZero, ClassAndCounterTypeZeroAreGivenAndShown) {
    const ZeroSession s;
    const std::string blb = shellQuoted(s.blb);
    const struct {
        std::string options;
        std::string summaryEnd;  // the summary line's end
        std::string classUsed1, counterType;
    } cases[] = {
        {"--class 1=0",
         ", \"classes\": [{\"used\": 0, \"report\": 2}, {\"used\": 2, \"report\": 2}]" +
             std::string(", \"recorded\": {\"totals\": [0, 0], \"total\": 0}}}\n"),
         "0.1 g", "-1"},
        {"--class 2=0",
         ", \"classes\": [{\"used\": 2, \"report\": 2}, {\"used\": 0, \"report\": 2}]" +
             std::string(", \"recorded\": {\"totals\": [0, 0], \"total\": 0}}}\n"),
         "1 g", "-1"},
        {"--counter-type 0",
         ", \"recorded\": {\"totals\": [0, 0], \"total\": 0}, \"counterType\": 0}}\n", "1 g", "0"},
    };
    for (const auto& c : cases) {
        const CliRun json = runCount("--json " + c.options + " " + blb);
        ASSERT_EQ(json.status, 0) << c.options << "\n" << json.err;
        ASSERT_GE(json.out.size(), c.summaryEnd.size());
        EXPECT_EQ(json.out.substr(json.out.size() - c.summaryEnd.size()), c.summaryEnd)
            << c.options << "\n"
            << json.out;
        const CliRun csv = runCount("--csv " + c.options + " " + blb);
        ASSERT_EQ(csv.status, 0) << c.options << "\n" << csv.err;
        const auto rows = readCsv(csv.out);
        ASSERT_EQ(rows.size(), 2u) << csv.out;
        EXPECT_EQ(column(rows, 1, "class used 1"), c.classUsed1) << c.options;
        EXPECT_EQ(column(rows, 1, "counter type"), c.counterType) << c.options;
    }
    // The class sweep says what it counted with.
    const CliRun table = runCount("--class-sweep --counter-type 0 " + blb);
    ASSERT_EQ(table.status, 0) << table.err;
    EXPECT_NE(table.out.find(" frames of 1116 lines, counter type 0\n"), std::string::npos)
        << table.out;
    const CliRun sweep = runCount("--class-sweep --json --counter-type 0 " + blb);
    ASSERT_EQ(sweep.status, 0) << sweep.err;
    EXPECT_EQ(json::parse(sweep.out)["sweep"]["counterType"], 0);
}

TEST(VelkorCountZero, RecordedZerosAreFiguresNotGaps) {
    const ZeroSession s;
    const CliRun table = runCount(shellQuoted(s.blb));
    ASSERT_EQ(table.status, 0) << table.err;
    const std::vector<std::string> lines = linesOf(table.out);
    ASSERT_EQ(lines.size(), 6u) << table.out;
    // 0 of 0 is no difference; 3 of 0 has no per cent.
    EXPECT_EQ(squeezed(lines[2]), "Empty 0 0 0.0 %");
    EXPECT_EQ(squeezed(lines[3]), "Three 3 0");
    EXPECT_EQ(squeezed(lines[4]), "Sum 3 0");

    const auto rows = readCsv(runCount("--csv " + shellQuoted(s.blb)).out);
    ASSERT_EQ(rows.size(), 2u);
    const struct {
        const char* column;
        const char* value;
    } cells[] = {{"replay 1", "0"},      {"replay 2", "3"},          {"recorded 1", "0"},
                 {"recorded 2", "0"},    {"recorded total", "0"},    {"difference % 1", "0.0"},
                 {"difference % 2", ""}, {"difference % total", ""}, {"damaged lines", "0"}};
    for (const auto& c : cells) EXPECT_EQ(column(rows, 1, c.column), c.value) << c.column;
}

TEST(VelkorCountZero, AReferenceOfNoFishPointsToTheClassThatCountsFewest) {
    const ZeroSession s;
    const CliRun run =
        runCount("--class-sweep --json --reference 1=0 --reference 2=0 " + shellQuoted(s.blb));
    ASSERT_EQ(run.status, 0) << run.err;
    const json channels = json::parse(run.out)["sweep"]["channels"];
    const CliRun table =
        runCount("--class-sweep --reference 1=0 --reference 2=0 " + shellQuoted(s.blb));
    ASSERT_EQ(table.status, 0) << table.err;
    for (size_t c = 0; c < 2; ++c) {
        std::array<int32_t, fishClassCount> totals{};
        for (int k = 0; k < fishClassCount; ++k) totals[k] = channels[c]["classes"][k]["total"];
        const int32_t nearest = nearestClass(totals, 0, 2);
        const json& ref = channels[c]["reference"];
        EXPECT_EQ(ref["count"], 0) << c;
        EXPECT_EQ(ref["nearest"], nearest) << c;
        EXPECT_EQ(ref["total"], totals[nearest]) << c;
        EXPECT_EQ(ref["difference"], totals[nearest]) << c;
        if (totals[nearest] == 0)
            EXPECT_EQ(ref["differencePercent"], 0.0) << c;
        else
            EXPECT_TRUE(ref["differencePercent"].is_null()) << c;
        const std::string name = channels[c]["name"];
        const std::string difference =
            totals[nearest] == 0 ? "(0, 0.0 %)" : "(+" + std::to_string(totals[nearest]) + ")";
        EXPECT_NE(table.out.find("  " + name + ": reference 0, nearest " +
                                 std::string(fishClassName(nearest)) + " with " +
                                 std::to_string(totals[nearest]) + " " + difference + "\n"),
                  std::string::npos)
            << table.out;
    }
    EXPECT_NE(table.out.find("* the report's class, < nearest to the reference"),
              std::string::npos);
}

TEST(VelkorCountZero, FrameZeroIsOutsideTheRecording) {
    const ZeroSession s;
    for (const char* range : {"--from 0 --to 0", "--from 0 --to 1", "--from 1 --to 0"}) {
        const CliRun run = runCount(std::string(range) + " --json " + shellQuoted(s.blb));
        EXPECT_EQ(run.status, 2) << range << "\n" << run.out;
        EXPECT_EQ(run.err.rfind("velkor-count: --from A --to B needs 1 <= A <= B\n", 0), 0u)
            << range << "\n"
            << run.err;
        EXPECT_EQ(run.out, "") << range;
    }
}

TEST(VelkorCountZero, AValueOfZeroGivenTwiceIsGivenTwice) {
    const struct {
        std::vector<std::string> values;
        const char* option;
        int64_t largest;
        std::string problem;
    } cases[] = {
        {{"1=0", "1=0"}, "--class", 9, "--class 1=0: channel 1 is given twice"},
        {{"4=0", "4=9"}, "--class", 9, "--class 4=9: channel 4 is given twice"},
        {{"2=0", "2=5"}, "--reference", 2147483647, "--reference 2=5: channel 2 is given twice"},
        {{"2=0", "3=0"}, "--reference", 2147483647, ""},
    };
    for (const auto& c : cases) {
        GivenPerChannel given = nothingGiven;
        const std::string what = c.values[0] + " " + c.values[1];
        EXPECT_EQ(readChannelValues(c.option, c.values, c.largest, "a value", given), c.problem)
            << what;
        if (c.problem.empty()) {
            EXPECT_EQ(given, (GivenPerChannel{-1, -1, 0, 0, -1})) << what;
        }
    }
    const ZeroSession s;
    const CliRun run = runCount("--class 2=0 --class 2=0 " + shellQuoted(s.blb));
    EXPECT_EQ(run.status, 2);
    EXPECT_EQ(run.err.rfind("velkor-count: --class 2=0: channel 2 is given twice\n", 0), 0u)
        << run.err;
}

}  // namespace
}  // namespace velkor::test
