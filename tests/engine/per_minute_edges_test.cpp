// The per-minute table at the edges of its minutes: a recording of no lines, of one line, of
// exactly a minute and of a minute and one line, where the last minute holds a single line and the
// one fish that closes on it (a fish closes on the line after its last).
#include <gtest/gtest.h>

#include <string>

#include "count_cli.h"
#include "csv_reading.h"
#include "engine_fixture.h"

namespace velkor::test {
namespace {

TEST(PerMinuteEdges, RowsForEveryStartedMinuteToTheLastLine) {
    constexpr int minute = 66960;
    const struct {
        const char* what;
        Scene scene;
        std::vector<std::vector<std::string>> rows;  // time, replay count of channel 1
    } cases[] = {
        {"no lines", Scene(0), {}},
        {"one line", Scene(1), {{"2016-09-19 12:00:00", "0"}}},
        {"a fish closing on the last line",
         Scene(11).fish(1, 10, 20, 30),
         {{"2016-09-19 12:00:00", "1"}}},
        {"exactly a minute",
         Scene(minute).fish(minute - 10, 10, 20, 30),
         {{"2016-09-19 12:00:00", "1"}}},
        {"a minute and one line",
         Scene(minute + 1).fish(minute - 9, 10, 20, 30),
         {{"2016-09-19 12:00:00", "0"}, {"2016-09-19 12:01:00", "1"}}},
    };
    for (const auto& c : cases) {
        TempDir dir;
        writeRecording(dir.file("m.blb"), c.scene);
        // Recorded as starting and ending at 12:00.
        writeReport(dir.file("m.mse"), {{0, 511, "One"}}, 42632.5);
        const CliRun run = runCount("--per-minute " + shellQuoted(dir.file("m.blb")));
        ASSERT_EQ(run.status, 0) << c.what << ": " << run.err;
        const auto rows = readCsv(run.out);
        ASSERT_EQ(rows.size(), c.rows.size() + 1) << c.what << "\n" << run.out;
        for (size_t r = 0; r < c.rows.size(); ++r) {
            EXPECT_EQ(rows[r + 1].at(0), c.rows[r][0]) << c.what << " row " << r;
            EXPECT_EQ(rows[r + 1].at(1), c.rows[r][1]) << c.what << " row " << r;
        }
    }
}

}  // namespace
}  // namespace velkor::test
