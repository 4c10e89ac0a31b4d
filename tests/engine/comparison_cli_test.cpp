// velkor-count beside the counter's own record: the recorded totals in the JSON summary and the
// table, the per-minute table of one recording and the CSV table of many.
#include <gtest/gtest.h>

#include <filesystem>
#include <nlohmann/json.hpp>
#include <sstream>

#include "count_cli.h"
#include "csv_reading.h"
#include "engine_fixture.h"
#include "tests/support/bytes.h"

namespace velkor::test {
namespace {

// A report written by the report writer, ending at 12:00 on 19 Sep 2016, whose recorded figures
// are the test's own: its "Total", "Lasting" and end counters are taken out, `program` and `kest`
// lines go into [Program] and [Kest] (as text, so that a figure may be missing or garbled), and
// `tail` after everything.
std::string reportWith(const std::vector<Channel>& channels, const std::string& program,
                       const std::string& kest, const std::string& lasting = "0",
                       const std::string& tail = "") {
    TempDir dir;
    writeReport(dir.file("r.mse"), channels, 42632.5);
    std::istringstream written(readBytes(dir.file("r.mse")));
    std::string text;
    for (std::string line; std::getline(written, line);) {
        if (line.rfind("Total=", 0) == 0 || line.rfind("Lasting=", 0) == 0 ||
            line.rfind("Counters", 0) == 0)
            continue;
        text += line + "\n";
        if (line == "[Program]\r") text += "Lasting=" + lasting + "\r\n" + program;
        if (line == "[Kest]\r") text += kest;
    }
    return text + tail;
}

void writeText(const std::string& path, const std::string& text) {
    writeBytes(path, text);
}

const std::vector<Channel> twoChannels{{0, 255, "One"}, {256, 511, "Two"}};

// Twelve fish in channel 1 and six in channel 2 over 2000 lines.
Scene smallScene() {
    Scene scene(2000);
    for (int k = 0; k < 12; ++k) scene.fish(20 + k * 150, 10, 20, 30);
    for (int k = 0; k < 6; ++k) scene.fish(60 + k * 300, 10, 300, 310);
    return scene;
}

std::string quoted(const std::string& path) {
    return shellQuoted(path);
}

TEST(VelkorCountRecorded, SummaryAndTableShowTheRecordedTotals) {
    TempDir dir;
    writeRecording(dir.file("s.blb"), smallScene());
    const struct {
        std::string program, kest;
        std::string recorded;                // the summary's "recorded" member
        std::vector<std::string> tableRows;  // rows the table must hold, blanks squeezed
    } cases[] = {
        {"Total=20\r\n",
         "CountersT1=12\r\nCountersT2=5\r\nCounters1=3\r\n",
         ", \"recorded\": {\"totals\": [12, 5], \"total\": 20}",
         {"Replay Recorded Difference", "One 12 12 0.0 %", "Two 6 5 +20.0 %", "Sum 18 20 -10.0 %"}},
        {"",
         "CountersT2=$8\r\nCountersT1=lots\r\n",
         ", \"recorded\": {\"totals\": [null, 8], \"total\": null}",
         {"One 12 -", "Two 6 8 -25.0 %", "Sum 18 -"}},
        {"Total=0\r\n",
         "",
         ", \"recorded\": {\"totals\": [null, null], \"total\": 0}",
         {"Sum 18 0"}},
        // Nothing recorded (end counters alone are no session totals): the outputs as they were.
        {"Total=x\r\n", "Counters1=4\r\n", "", {"One 12", "Two 6", "Sum 18"}},
    };
    for (const auto& c : cases) {
        writeText(dir.file("s.mse"), reportWith(twoChannels, c.program, c.kest));
        const CliRun json = runCount("--json " + quoted(dir.file("s.blb")));
        ASSERT_EQ(json.status, 0) << json.err;
        EXPECT_EQ(json.out,
                  "{\"summary\": {\"lines\": 2000, \"frames\": 2, \"frameWidth\": 1116, "
                  "\"totals\": [12, 6], \"total\": 18, \"damagedLines\": 0" +
                      c.recorded + "}}\n");
        EXPECT_TRUE(nlohmann::json::accept(json.out));

        const CliRun table = runCount(quoted(dir.file("s.blb")));
        ASSERT_EQ(table.status, 0) << table.err;
        std::vector<std::string> squeezed;
        for (const std::string& line : linesOf(table.out)) {
            std::istringstream words(line);
            std::string row, word;
            while (words >> word) row += (row.empty() ? "" : " ") + word;
            squeezed.push_back(row);
        }
        for (const std::string& row : c.tableRows)
            EXPECT_NE(std::find(squeezed.begin(), squeezed.end(), row), squeezed.end())
                << row << "\n"
                << table.out;
        EXPECT_EQ(table.out.find("Recorded") != std::string::npos, !c.recorded.empty());
    }
}

TEST(VelkorCountRecorded, PerMinuteCountsAddUpToTheTotals) {
    TempDir dir;
    // 150000 lines: three started minutes. The recording starts at 11:57:00 (ends 12:00 after
    // three minutes); channel 1's curve holds 90 fish per minute from 11:57:30 to 11:59:30.
    Scene scene(150000);
    scene.fish(10, 10, 20, 30);
    scene.fish(66950, 10, 20, 30);    // its last line is 66959: closes on 66960, the first minute
    scene.fish(66951, 10, 120, 130);  // closes on 66961, the second minute's first line
    scene.fish(140000, 10, 20, 30);
    for (int k = 0; k < 14; ++k) scene.fish(500 + k * 10000, 10, 300, 310);
    writeRecording(dir.file("m.blb"), scene);
    writeText(dir.file("m.mse"),
              reportWith(twoChannels, "", "", "0.0020833333",
                         "[ThroughputChart1]\r\nY0=0\r\nX0=0.49792\r\nY1=90\r\nX1=0.49826\r\n"
                         "Y2=90\r\nX2=0.49965\r\n"));

    const CliRun run = runCount("--per-minute " + quoted(dir.file("m.blb")));
    ASSERT_EQ(run.status, 0) << run.err;
    const auto rows = readCsv(run.out);
    ASSERT_EQ(rows.size(), 4u) << run.out;
    EXPECT_EQ(rows[0],
              (CsvRow{"minute", "One replay", "Two replay", "One recorded", "Two recorded"}));
    EXPECT_EQ(rows[1][0], "2016-09-19 11:57:00");
    EXPECT_EQ(rows[2][0], "2016-09-19 11:58:00");
    EXPECT_EQ(rows[3][0], "2016-09-19 11:59:00");
    EXPECT_EQ(rows[1][1], "2");
    EXPECT_EQ(rows[2][1], "1");
    EXPECT_EQ(rows[3][1], "1");
    // The recorded curve over each minute alone: rising from 0 at the start to 90 at 11:57:29.7,
    // then 90, so (45 * 29.664 s + 90 * 30.336 s) / 60 s in the first minute; no curve for two.
    EXPECT_EQ(rows[1][3], "67.8");
    EXPECT_EQ(rows[2][3], "90.0");
    EXPECT_EQ(rows[3][3], "90.0");
    for (size_t r = 1; r < rows.size(); ++r) EXPECT_EQ(rows[r][4], "") << r;

    // Without the overload correction, at any frame width, against the summary's totals.
    for (const std::string counterType : {"", "--counter-type 3 ", "--frame-width 700 "}) {
        const CliRun minutes = runCount(counterType + "--per-minute " + quoted(dir.file("m.blb")));
        const CliRun json = runCount(counterType + "--json " + quoted(dir.file("m.blb")));
        ASSERT_EQ(json.status, 0) << json.err;
        const auto totals = nlohmann::json::parse(json.out)["summary"]["totals"];
        const auto table = readCsv(minutes.out);
        for (int c = 1; c <= 2; ++c) {
            int sum = 0;
            for (size_t r = 1; r < table.size(); ++r) sum += std::stoi(table[r][size_t(c)]);
            EXPECT_EQ(sum, totals[c - 1]) << counterType << " channel " << c;
        }
    }

    // A recording that cannot be counted: its error, and exit status 1.
    const CliRun missing = runCount("--per-minute " + quoted(dir.file("none.blb")));
    EXPECT_EQ(missing.status, 1);
    EXPECT_NE(missing.err.find("none.blb"), std::string::npos) << missing.err;
}

TEST(VelkorCountRecorded, CsvOfRecordingsAndFolders) {
    TempDir dir;
    namespace fs = std::filesystem;
    fs::create_directories(dir.path() / "season" / "june");
    auto session = [&](const std::string& name, const std::string& program) {
        writeRecording(dir.file(name + ".blb"), smallScene());
        writeText(
            dir.file(name + ".mse"),
            reportWith(twoChannels, program, "CountersT1=10\r\nCountersT2=6\r\n", "0.0416666667"));
    };
    session("season/a", "Tank=Cage 4, \"north\"\r\nTotal=16\r\n");
    session("season/c", "Tank=plain\r\n");
    compressRecord(dir.file("season/c.blb"), dir.file("season/c.blc"));  // counted as c.blb
    session("season/june/b", "");
    compressRecord(dir.file("season/june/b.blb"), dir.file("season/june/b.blc"));
    fs::remove(dir.file("season/june/b.blb"));               // only the .blc is left
    writeRecording(dir.file("season/d.blb"), smallScene());  // no report
    writeText(dir.file("season/notes.txt"), "not a recording");

    const CliRun run =
        runCount("--csv " + quoted(dir.file("season")) + " " + quoted(dir.file("missing.blb")) +
                 " " + quoted(dir.file("season/a.blb")));
    EXPECT_EQ(run.status, 1);
    const auto rows = readCsv(run.out);
    ASSERT_EQ(rows.size(), 7u) << run.out;
    const CsvRow& header = rows[0];
    for (const CsvRow& row : rows) EXPECT_EQ(row.size(), header.size()) << row[0];
    auto column = [&](const CsvRow& row, const std::string& name) {
        const auto at = std::find(header.begin(), header.end(), name);
        EXPECT_NE(at, header.end()) << name;
        return at == header.end() ? std::string() : row[size_t(at - header.begin())];
    };
    const std::vector<std::string> files{dir.file("season/a.blb"), dir.file("season/c.blb"),
                                         dir.file("season/d.blb"), dir.file("season/june/b.blc"),
                                         dir.file("missing.blb"),  dir.file("season/a.blb")};
    for (size_t i = 0; i < files.size(); ++i) EXPECT_EQ(rows[i + 1][0], files[i]);

    const CsvRow& a = rows[1];
    EXPECT_EQ(column(a, "tank"), "Cage 4, \"north\"");
    EXPECT_EQ(column(a, "start"), "2016-09-19 11:00:00");
    EXPECT_EQ(column(a, "duration"), "0:00:01");
    EXPECT_EQ(column(a, "channels"), "2");
    EXPECT_EQ(column(a, "class 1"), "1 g");
    EXPECT_EQ(column(a, "class 3"), "");
    EXPECT_EQ(column(a, "replay 1"), "12");
    EXPECT_EQ(column(a, "replay 2"), "6");
    EXPECT_EQ(column(a, "replay 3"), "");
    EXPECT_EQ(column(a, "replay total"), "18");
    EXPECT_EQ(column(a, "recorded 1"), "10");
    EXPECT_EQ(column(a, "recorded total"), "16");
    EXPECT_EQ(column(a, "difference % 1"), "20.0");
    EXPECT_EQ(column(a, "difference % 2"), "0.0");
    EXPECT_EQ(column(a, "difference % total"), "12.5");
    EXPECT_EQ(column(a, "damaged lines"), "0");
    EXPECT_EQ(column(a, "status"), "ok");
    EXPECT_EQ(rows[6], a);
    EXPECT_EQ(column(rows[2], "recorded total"), "");
    EXPECT_EQ(column(rows[2], "difference % total"), "");
    EXPECT_EQ(column(rows[4], "replay total"), "18");  // unpacked from the .blc
    EXPECT_EQ(column(rows[4], "status"), "ok");

    // The failing ones: their name and the reason, the others go on.
    EXPECT_EQ(column(rows[3], "status"), "Cant find corresponding reportfile (.mse)");
    EXPECT_EQ(column(rows[3], "replay total"), "");
    EXPECT_NE(column(rows[5], "status").find("missing.blb"), std::string::npos) << rows[5].back();
    // Stderr is no terminal here: no progress, only the closing note.
    EXPECT_EQ(run.err, "velkor-count: 2 recordings could not be counted (see the status column)\n");

    const CliRun oneFailed = runCount("--csv " + quoted(dir.file("season/a.blb")) + " " +
                                      quoted(dir.file("missing.blb")));
    EXPECT_EQ(oneFailed.status, 1);
    EXPECT_EQ(oneFailed.err,
              "velkor-count: 1 recording could not be counted (see the status column)\n");

    const CliRun good = runCount("--csv " + quoted(dir.file("season/a.blb")));
    EXPECT_EQ(good.status, 0) << good.err;
    EXPECT_EQ(good.err, "");
    EXPECT_EQ(readCsv(good.out).size(), 2u);
}

}  // namespace
}  // namespace velkor::test
