// File → Export per-minute table: the file holds exactly what velkor-count --per-minute writes with
// the same frame width, counter type and classes, and a good file is never replaced by a table
// that could not be made, nor is the recording itself.
#include <gtest/gtest.h>

#include <filesystem>

#ifdef __linux__
#include <sys/resource.h>
#include <unistd.h>
#endif

#include "count_cli.h"
#include "io/file_names.h"
#include "tests/support/temp_dir.h"
#include "tools/velkor-count/per_minute_export.h"
#include "tools/velkor-synth/session_writer.h"

namespace velkor::test {
namespace {

// Three minutes and a few seconds of two channels, the second's report class 3 for fish of class 1.
std::string twoChannelSession(const TempDir& dir) {
    synth::SessionOptions o;
    o.out = dir.file("Kví 2");
    o.scene.seed = 5;
    o.scene.lines = 190 * linesPerSecond;
    o.scene.channels = {{10, 250, 2, 0, 2}, {261, 500, 3, 0, 1}};
    o.scene.density = 2;
    o.tank = "Cage 4, \"north\"";
    synth::writeSession(o);
    return synth::recordingName(o.out);
}

TEST(PerMinuteExport, TheFileHoldsTheBytesOfTheTool) {
    TempDir dir;
    const std::string recording = twoChannelSession(dir);
    const struct {
        int32_t frameWidth;
        int32_t counterType;
        ChannelArray<int32_t> classes;
        std::string options;
    } cases[] = {
        {1116, -1, {-1, -1, -1, -1, -1}, ""},
        {557, -1, {-1, -1, 1, -1, -1}, "--class 2=1"},
        {2001, 5, {-1, 0, 9, -1, -1}, "--class 1=0 --class 2=9 --counter-type 5"},
    };
    const std::string output = dir.file("Minuten je Kanal.csv");
    for (const auto& c : cases) {
        const CountResult result =
            exportPerMinuteTable(recording, c.frameWidth, c.counterType, c.classes, output);
        ASSERT_TRUE(result.ok) << result.errors;
        EXPECT_EQ(result.errors, "");
        const CliRun run = runCount("--per-minute --frame-width " + std::to_string(c.frameWidth) +
                                    " " + c.options + " " + shellQuoted(recording));
        ASSERT_EQ(run.status, 0) << run.err;
        EXPECT_EQ(readBytes(pathFromUtf8(output)), run.out) << c.options;
        EXPECT_EQ(linesOf(run.out).size(), 5u);  // the header and four started minutes
    }
}

TEST(PerMinuteExport, AGoodFileIsNeverReplacedByATableThatCouldNotBeMade) {
    TempDir dir;
    const std::string recording = twoChannelSession(dir);
    const std::string output = dir.file("table.csv");
    writeBytes(output, "a good table\n");
    const ChannelArray<int32_t> report{-1, -1, -1, -1, -1};

    // A recording without its report.
    std::filesystem::copy_file(pathFromUtf8(recording), pathFromUtf8(dir.file("alone.blb")));
    CountResult result = exportPerMinuteTable(dir.file("alone.blb"), 1116, -1, report, output);
    EXPECT_FALSE(result.ok);
    EXPECT_EQ(result.errors,
              dir.file("alone.blb") + ": Cant find corresponding reportfile (.mse)\n");
    // A class for a channel the recording does not have.
    result = exportPerMinuteTable(recording, 1116, -1, {-1, -1, -1, 4, -1}, output);
    EXPECT_FALSE(result.ok);
    EXPECT_TRUE(result.usageError);
    EXPECT_EQ(result.errors, "velkor-count: --class 3=4: " + recording + " has 2 channels\n");
    // The recording itself, or its report, chosen as the table's name.
    const std::string report_ = synth::reportName(dir.file("Kví 2"));
    for (const std::string& part : {recording, report_}) {
        const std::string before = readBytes(pathFromUtf8(part));
        result = exportPerMinuteTable(recording, 1116, -1, report, part);
        EXPECT_FALSE(result.ok);
        EXPECT_EQ(result.errors, part + ": is a file of the recording " + recording + "\n");
        EXPECT_EQ(readBytes(pathFromUtf8(part)), before);
    }
    // A folder that does not exist.
    const std::string nowhere = dir.file("no folder/table.csv");
    result = exportPerMinuteTable(recording, 1116, -1, report, nowhere);
    EXPECT_FALSE(result.ok);
    EXPECT_EQ(result.errors.rfind(nowhere + ": cannot create a file in the folder ", 0), 0u)
        << result.errors;
    EXPECT_EQ(readBytes(pathFromUtf8(output)), "a good table\n");
    // And nothing was left beside it.
    size_t files = 0;
    for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(dir.path()))
        ++files;
    EXPECT_EQ(files, 5u);  // the recording, its report, its truth file, alone.blb, table.csv
}

// Every name of the recording's files, with its extension in either case, is refused as the
// table's name, and the file of that name is left as it was; also when the recording is given by
// its compressed form.
TEST(PerMinuteExport, NoFileOfTheRecordingIsTakenForTheTable) {
    TempDir dir;
    synth::SessionOptions o;
    o.out = dir.file("packed");
    o.scene.lines = 20 * linesPerSecond;
    o.compressed = true;
    synth::writeSession(o);
    std::filesystem::remove(pathFromUtf8(synth::recordingName(o.out)));
    const ChannelArray<int32_t> report{-1, -1, -1, -1, -1};
    for (const std::string& recording : {twoChannelSession(dir), synth::compressedName(o.out)}) {
        for (const char* extension : {".blb", ".blc", ".mse", ".BLB", ".BLC", ".MSE"}) {
            const std::string part = utf8FromPath(
                std::filesystem::path(pathFromUtf8(recording)).replace_extension(extension));
            if (!std::filesystem::exists(pathFromUtf8(part)))
                writeBytes(pathFromUtf8(part), std::string("part of the recording ") + extension);
            const std::string before = readBytes(pathFromUtf8(part));
            const CountResult result = exportPerMinuteTable(recording, 1116, -1, report, part);
            EXPECT_FALSE(result.ok) << part;
            EXPECT_EQ(result.errors, part + ": is a file of the recording " + recording + "\n");
            EXPECT_EQ(readBytes(pathFromUtf8(part)), before) << part;
        }
    }
}

#ifdef __linux__
// With no file handle left for the table's temporary file: the reason, naming the table.
TEST(PerMinuteExport, NoTemporaryFileIsAClearErrorNamingTheTable) {
    TempDir dir;
    const std::string recording = twoChannelSession(dir);
    const std::string output = dir.file("table.csv");
    writeBytes(output, "a good table\n");
    // The lowest free handle becomes the limit: the next file opened finds none.
    const int lowestFree = dup(0);
    ASSERT_GE(lowestFree, 0);
    close(lowestFree);
    rlimit before{};
    ASSERT_EQ(getrlimit(RLIMIT_NOFILE, &before), 0);
    rlimit none = before;
    none.rlim_cur = static_cast<rlim_t>(lowestFree);
    ASSERT_EQ(setrlimit(RLIMIT_NOFILE, &none), 0);
    const CountResult result =
        exportPerMinuteTable(recording, 1116, -1, {-1, -1, -1, -1, -1}, output);
    ASSERT_EQ(setrlimit(RLIMIT_NOFILE, &before), 0);
    EXPECT_FALSE(result.ok);
    EXPECT_EQ(result.errors, output + ": cannot make a temporary file: Too many open files\n");
    EXPECT_EQ(readBytes(pathFromUtf8(output)), "a good table\n");
}
#endif

}  // namespace
}  // namespace velkor::test
