// velkor-count's messages word for word, each run given recordings whose names all differ (a good
// one first or last, a compressed one named as given, not as unpacked), so that a message naming
// the wrong one of them shows.
#include <gtest/gtest.h>

#include <filesystem>
#include <nlohmann/json.hpp>

#include "count_cli.h"
#include "csv_reading.h"
#include "recorded_session.h"
#include "replay/record_writer.h"
#include "tests/support/bytes.h"

namespace velkor::test {
namespace {

struct Named {
    TempDir dir;
    std::string good = dir.file("alpha.blb");       // 600 lines
    std::string lonely = dir.file("gamma.blb");     // no report beside it
    std::string packed = dir.file("delta.blc");     // compressed, no report beside it
    std::string damaged = dir.file("epsilon.blb");  // not a recording: one damaged line
    std::string longer = dir.file("beta.blb");      // 1200 lines
    Named() {
        writeRecordedSession(good, {{"A", 2, 2, 2}}, 2);
        writeRecordedSession(longer, {{"A", 19, 2, 2}}, 2);
        std::filesystem::copy_file(good, lonely);
        compressRecord(good, packed);
        writeBytes(damaged, "not a recording");
        std::filesystem::copy_file(dir.file("alpha.mse"), dir.file("epsilon.mse"));
    }
};

TEST(VelkorCountMessages, EachNamesTheRecordingItIsAbout) {
    const Named n;
    const std::string good = shellQuoted(n.good), lonely = shellQuoted(n.lonely),
                      packed = shellQuoted(n.packed), damaged = shellQuoted(n.damaged),
                      longer = shellQuoted(n.longer);
    const std::string noReport = ": Cant find corresponding reportfile (.mse)\n";
    const int frames = nlohmann::json::parse(
        runCount("--json --frame-width 100 " + good).out)["summary"]["frames"];
    struct Case {
        std::string arguments;
        int status;
        std::string err;
    };
    const Case cases[] = {
        {good + " " + lonely, 1, n.lonely + noReport},
        {lonely + " " + good, 1, n.lonely + noReport},
        {"--json " + packed + " " + good, 1, n.packed + noReport},
        {"--class-sweep --json " + good + " " + packed, 1, n.packed + noReport},
        {"--class-sweep --json " + lonely + " " + good, 1, n.lonely + noReport},
        {"--per-minute " + lonely, 1, n.lonely + noReport},
        {"--per-minute " + damaged, 0, n.damaged + ": 1 damaged lines, the first at line 1\n"},
        {"--json " + good + " " + damaged, 0,
         n.damaged + ": 1 damaged lines, the first at line 1\n"},
        {"--json " + damaged + " " + good, 0,
         n.damaged + ": 1 damaged lines, the first at line 1\n"},
        {"--class-sweep --json " + good + " " + damaged, 0,
         n.damaged + ": 1 damaged lines, the first at line 1\n"},
        {"--json --frame-width 100 --from 1 --to " + std::to_string(frames + 1) + " " + longer +
             " " + good,
         1,
         n.good + ": --from 1 --to " + std::to_string(frames + 1) + " is outside the frames 1.." +
             std::to_string(frames) + "\n"},
        {"--json --class 2=1 " + longer + " " + good, 2,
         "velkor-count: --class 2=1: " + n.longer + " has 1 channel\n" +
             "velkor-count: --class "
             "2=1: " +
             n.good + " has 1 channel\n"},
    };
    for (const Case& c : cases) {
        const CliRun run = runCount(c.arguments);
        EXPECT_EQ(run.status, c.status) << c.arguments;
        EXPECT_EQ(run.err, c.err) << c.arguments;
    }
}

// In the table the file column names the recording and the status says what is wrong with it.
TEST(VelkorCountMessages, CsvStatusStandsInTheRowOfItsRecording) {
    const Named n;
    const CliRun run = runCount("--csv " + shellQuoted(n.lonely) + " " + shellQuoted(n.good) + " " +
                                shellQuoted(n.packed));
    EXPECT_EQ(run.status, 1);
    const auto rows = readCsv(run.out);
    ASSERT_EQ(rows.size(), 4u) << run.out;
    const std::string status[] = {"Cant find corresponding reportfile (.mse)", "ok",
                                  "Cant find corresponding reportfile (.mse)"};
    const std::string files[] = {n.lonely, n.good, n.packed};
    for (size_t r = 0; r < 3; ++r) {
        EXPECT_EQ(rows[r + 1].front(), files[r]);
        EXPECT_EQ(rows[r + 1].back(), status[r]) << files[r];
    }
}

// --help describes every option on the line under it, and the footer tells the exit statuses.
TEST(VelkorCountMessages, HelpDescribesEveryOption) {
    const CliRun run = runCount("--help");
    ASSERT_EQ(run.status, 0);
    const std::vector<std::string> lines = linesOf(run.out);
    const struct {
        const char* option;
        const char* description;
    } cases[] = {
        {"--frame-width", "Lines per frame, 1..2001 (1116: one second of recording)"},
        {"--counter-type", "Counter type item index, -1..15; 5 adds the overload correction"},
        {"--class ",
         "CH=N: count channel CH (1..4) with size class N (0..9) in place of the "
         "report's; repeatable"},
        {"--class-sweep", "Count each recording with every size class 0..9 on every channel"},
        {"--reference", "CH=N with --class-sweep: a count of channel CH that you trust"},
        {"--from", "First frame of an automatic count (needs --to)"},
        {"--to", "Last frame of an automatic count (needs --from)"},
        {"--trace", "JSON lines: every counted object, every frame read, and a summary last"},
        {"--explain", "The trace with an \"ended\" record for every object that ends"},
        {"--json", "Only the JSON summary line per recording"},
        {"--per-minute",
         "CSV of one recording: per started minute, each channel's count and the "
         "recorded throughput (fish per minute, the recorded curve's mean over "
         "the minute)"},
        {"--csv",
         "CSV, one row per recording: tank, start, length, classes, replay and recorded "
         "totals, difference in %, damaged lines, status. A folder is searched for "
         "recordings"},
    };
    for (const auto& c : cases) {
        const auto at = std::find_if(lines.begin(), lines.end(), [&](const std::string& l) {
            return l.rfind(std::string("  ") + c.option, 0) == 0;
        });
        ASSERT_NE(at, lines.end()) << c.option;
        ASSERT_NE(at + 1, lines.end()) << c.option;
        EXPECT_NE((at + 1)->find(c.description), std::string::npos) << c.option << "\n"
                                                                    << *(at + 1);
    }
    EXPECT_NE(run.out.find("Exit status: 0 all counted, 1 a recording could not be counted or the "
                           "output could not be written, 2 usage error"),
              std::string::npos);
}

}  // namespace
}  // namespace velkor::test
