// A folder with recordings that cannot be counted among good ones: each is tried, the good ones
// are counted, and every other is named with its reason as velkor-count names it.
#include "tools/velkor-count/recordings_checked.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "count_cli.h"
#include "io/file_names.h"
#include "replay/whole_count.h"
#include "tests/support/temp_dir.h"
#include "tools/velkor-synth/session_writer.h"

namespace velkor::test {
namespace {

namespace fs = std::filesystem;

std::string shortSession(const std::string& out) {
    synth::SessionOptions o;
    o.out = out;
    o.scene.lines = 5 * linesPerSecond;
    synth::writeSession(o);
    return synth::recordingName(o.out);
}

// The whole count, as the session check counts each recording.
std::string countWhole(const std::string& recording) {
    HeadlessEngine headless(1116, -1);
    return countWholeRecording(headless.engine, recording) ? "" : headless.engine.message();
}

TEST(RecordingsChecked, EveryRecordingIsTriedAndTheOnesNotCountedSayWhy) {
    TempDir dir;
    for (const char* sub : {"a", "b", "c", "d"}) fs::create_directory(dir.path() / sub);
    const std::string good = shortSession(dir.file("a/Kví gut"));
    const std::string alone = dir.file("b/ohne Bericht.blb");
    fs::copy_file(pathFromUtf8(good), pathFromUtf8(alone));
    const std::string damaged = dir.file("c/kaputt.blc");
    writeBytes(damaged, "not a zlib stream at all");
    writeBytes(dir.file("c/kaputt.mse"), "[Program]\n");
    const std::string second = shortSession(dir.file("d/zwei"));

    const CheckedRecordings checked = checkEachRecording(utf8FromPath(dir.path()), countWhole);
    EXPECT_EQ(checked.problem, "");
    ASSERT_EQ(checked.recordings.size(), 4u);
    EXPECT_EQ(checked.failed(), 2u);
    const std::string expected[][2] = {
        {good, ""},
        {alone, alone + ": Cant find corresponding reportfile (.mse)"},
        {damaged, ""},  // the tool's own line, below
        {second, ""},
    };
    for (size_t i = 0; i < 4; ++i) {
        EXPECT_EQ(checked.recordings[i].recording, expected[i][0]);
        // Each reason is the line velkor-count gives for that recording.
        const CliRun run = runCount(shellQuoted(checked.recordings[i].recording));
        const std::string toolsLine = run.status == 0 ? "" : linesOf(run.err).at(0);
        EXPECT_EQ(checked.recordings[i].reason, toolsLine) << expected[i][0];
        if (!expected[i][1].empty()) {
            EXPECT_EQ(checked.recordings[i].reason, expected[i][1]);
        }
    }
    EXPECT_NE(checked.recordings[2].reason, "");
    EXPECT_EQ(notCountedLines(checked),
              checked.recordings[1].reason + "\n" + checked.recordings[2].reason + "\n");
}

TEST(RecordingsChecked, AnInputWithNothingToCountIsAProblemOfItsOwn) {
    TempDir dir;
    fs::create_directory(dir.path() / "leer");
    writeBytes(dir.file("leer/notes.txt"), "no recording here");
    const CheckedRecordings empty = checkEachRecording(dir.file("leer"), countWhole);
    EXPECT_EQ(empty.problem, "holds no recording (.blb or .blc)");
    EXPECT_TRUE(empty.recordings.empty());

    // A file is taken as given, and one that is not there says so as the tool says it.
    const std::string missing = dir.file("fehlt.blb");
    const CheckedRecordings one = checkEachRecording(missing, countWhole);
    EXPECT_EQ(one.problem, "");
    ASSERT_EQ(one.recordings.size(), 1u);
    EXPECT_EQ(one.recordings[0].reason, linesOf(runCount(shellQuoted(missing)).err).at(0));
    EXPECT_EQ(one.failed(), 1u);
}

}  // namespace
}  // namespace velkor::test
