// velkor-count given names that are not the plain case: a folder where a recording is expected, a
// bare name with no folder, blanks at the ends of a name, a name longer than the system allows.
// Each gets its own message, compared as the line the user reads.
#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>
#include <filesystem>

#include "count_cli.h"
#include "csv_reading.h"
#include "engine_fixture.h"
#include "io/file_names.h"
#include "tests/support/bytes.h"

namespace velkor::test {
namespace {

namespace fs = std::filesystem;

// A small counted session "s" and two folders named like recordings, in a folder of their own.
struct Folder {
    TempDir dir;
    Folder() {
        writeRecording(dir.file("s.blb"), threeChannelSession());
        writeReport(dir.file("s.mse"), threeChannels);
        fs::create_directory(pathFromUtf8(dir.file("d.blb")));
        fs::create_directory(pathFromUtf8(dir.file("e.blc")));
        writeReport(dir.file("d.mse"), threeChannels);
    }
};

std::string reason(int err) {
    return std::strerror(err);
}

TEST(VelkorCountUnusualInputs, AFolderWhereARecordingIsExpected) {
    Folder f;
    const std::string d = f.dir.file("d.blb"), e = f.dir.file("e.blc");
    const std::string notOpened = d + ": cannot open the recording: " + reason(EISDIR) + "\n";
    const struct {
        std::string arguments;
        std::string err;
    } cases[] = {
        {shellQuoted(d), notOpened},
        {"--json " + shellQuoted(d), notOpened},
        {"--trace " + shellQuoted(d), notOpened},
        {"--per-minute " + shellQuoted(d), notOpened},
        {shellQuoted(e), e + ": cannot open the compressed recording: " + reason(EISDIR) + "\n"},
    };
    for (const auto& c : cases) {
        const CliRun run = runCount(c.arguments);
        EXPECT_EQ(run.status, 1) << c.arguments;
        EXPECT_EQ(run.err, c.err) << c.arguments;
        EXPECT_EQ(run.out, "") << c.arguments;
    }
    // The table of many recordings searches a folder, whatever its name: nothing found in it.
    const CliRun table = runCount("--csv " + shellQuoted(d));
    EXPECT_EQ(table.status, 0) << table.err;
    EXPECT_EQ(table.err, "");
    EXPECT_EQ(readCsv(table.out).size(), 1u) << table.out;
}

TEST(VelkorCountUnusualInputs, ARangePastTheLastFrameIsNamedWithTheFrames) {
    Folder f;
    const std::string s = f.dir.file("s.blb");
    for (const char* range : {"--from 1 --to 32", "--from 32 --to 32", "--from 31 --to 40"}) {
        const CliRun run =
            runCount(std::string("--frame-width 100 --json ") + range + " " + shellQuoted(s));
        EXPECT_EQ(run.status, 1) << range;
        EXPECT_EQ(run.err, s + ": " + range + " is outside the frames 1..31\n");
        EXPECT_EQ(run.out, "") << range;
    }
}

// A report whose counting area spans more pixels than a number holds: the count stops at the
// first frame and says where.
TEST(VelkorCountUnusualInputs, AnOverwideCountingAreaIsNamedAtItsFrame) {
    Folder f;
    std::string report = readBytes(f.dir.file("s.mse"));
    for (const auto& [from, to] :
         {std::pair<std::string, std::string>{"Ledge=0\r", "Ledge=-2000000000\r"},
          {"Redge=511\r", "Redge=2000000000\r"}}) {
        const size_t at = report.find(from);
        ASSERT_NE(at, std::string::npos) << from;
        report.replace(at, from.size(), to);
    }
    writeBytes(f.dir.file("s.mse"), report);
    const std::string s = f.dir.file("s.blb");
    const CliRun run = runCount("--json " + shellQuoted(s));
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.err, s + ": frame 1: arithmetic overflow in scan span\n");
    EXPECT_EQ(run.out, "");
}

// Runs with the session's folder as the current folder, as a user who typed only the file's name.
class VelkorCountInTheFolder : public testing::Test {
protected:
    void SetUp() override {
        previous_ = fs::current_path();
        fs::current_path(f_.dir.path());
    }
    void TearDown() override { fs::current_path(previous_); }
    Folder f_;

private:
    fs::path previous_;
};

TEST_F(VelkorCountInTheFolder, ABareNameIsCountedAndNamedAsTyped) {
    const CliRun table = runCount("s.blb");
    ASSERT_EQ(table.status, 0) << table.err;
    EXPECT_EQ(linesOf(table.out).at(0), "s.blb");
    const CliRun csv = runCount("--csv s.blb");
    ASSERT_EQ(csv.status, 0) << csv.err;
    const auto rows = readCsv(csv.out);
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[1].front(), "s.blb");
    EXPECT_EQ(rows[1].back(), "ok");

    const struct {
        std::string name;  // as typed
        int err;
    } cases[] = {
        {"none.blb", ENOENT},
        {" s.blb", ENOENT},  // a blank before the name is part of it
        {"d.blb", EISDIR},
#ifndef _WIN32
        // Windows drops blanks at the end of a name and words its own reason for a long one.
        {"s.blb ", ENOENT},
        {std::string(300, 'n') + ".blb", ENAMETOOLONG},
#endif
    };
    for (const auto& c : cases) {
        const CliRun run = runCount(shellQuoted(c.name));
        EXPECT_EQ(run.status, 1) << c.name;
        EXPECT_EQ(run.err, c.name + ": cannot open the recording: " + reason(c.err) + "\n");
        EXPECT_EQ(run.out, "") << c.name;
    }
}

}  // namespace
}  // namespace velkor::test
