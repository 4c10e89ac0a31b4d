// velkor-synth run from the outside: its exit status and messages for usage and file errors,
// and that it never replaces a file it did not write.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

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

TEST(SynthCommandLine, UsageErrorsExitWithTwo) {
    TempDir dir;
    const std::string out = " --out " + shellQuoted(dir.file("s"));
    const char* bad[] = {
        "",  // no --out
        "--lines 100 --minutes 1",
        "--lines 0",
        "--channel 10:500",
        "--channel 10:500:2:0",
        "--channel 10:x:2",
        "--channel 300:500:2 --channel 10:200:2",
        "--counter-width 600",
        "--start \"2026-02-30 10:00:00\"",
        "--decimal-separator ';'",
        "--touching 2",
        "--unknown",
    };
    for (const char* args : bad) {
        const ProgramRun r = runSynth(std::string(args) + (*args ? out : ""));
        EXPECT_EQ(r.exit, 2) << args << "\n" << r.err;
        EXPECT_FALSE(r.err.empty()) << args;
        EXPECT_FALSE(std::filesystem::exists(dir.file("s.blb"))) << args;
    }
    EXPECT_EQ(runSynth("--help").exit, 0);
    EXPECT_EQ(runSynth("--version").exit, 0);
}

// A bad --channel value is named in the message, the text as given and what is wrong with it.
TEST(SynthCommandLine, ChannelErrorsNameTheBadValue) {
    TempDir dir;
    const struct {
        const char* channel;
        const char* message;
    } cases[] = {
        {"10:500:3::12", "\"10:500:3::12\": FISHCLASS must be 0..9, not 12"},
        {"10:500:3:200:-1", "\"10:500:3:200:-1\": FISHCLASS must be 0..9, not -1"},
        {"10:500:3:0:7", "\"10:500:3:0:7\": WIDTHMM must be at least 1, not 0"},
        {"10:500:3::x", "\"10:500:3::x\": expected LEFT:RIGHT:CLASS[:WIDTHMM[:FISHCLASS]]"},
        {"10:500:3::", "\"10:500:3::\": expected LEFT:RIGHT:CLASS[:WIDTHMM[:FISHCLASS]]"},
        {"10:500:3:", "\"10:500:3:\": expected LEFT:RIGHT:CLASS[:WIDTHMM[:FISHCLASS]]"},
        {"10:500:3:200:7:1", "\"10:500:3:200:7:1\": expected LEFT:RIGHT:CLASS"},
        {"10:500:12::3", "channel 1: size class must be 0..9, not 12"},
    };
    for (const auto& c : cases) {
        const ProgramRun r = runSynth(std::string("--channel ") + c.channel + " --out " +
                                      shellQuoted(dir.file("s")));
        EXPECT_EQ(r.exit, 2) << c.channel;
        EXPECT_NE(r.err.find(c.message), std::string::npos) << c.channel << "\n" << r.err;
        EXPECT_FALSE(std::filesystem::exists(dir.file("s.truth.json"))) << c.channel;
    }
}

TEST(SynthCommandLine, WritesItsOwnFilesAgainButNoOtherFile) {
    TempDir dir;
    const std::string out = dir.file("s");
    ASSERT_EQ(runSynth("--lines 2000 --out " + shellQuoted(out)).exit, 0);
    const std::string first = readBytes(out + ".blb");
    // Its own outputs are replaced by a second run.
    ASSERT_EQ(runSynth("--lines 3000 --seed 2 --out " + shellQuoted(out)).exit, 0);
    EXPECT_NE(readBytes(out + ".blb"), first);

    // A recording of that name that it did not write stays as it is.
    const std::string foreign = dir.file("field");
    std::ofstream(foreign + ".blb") << "a recording from the field";
    const ProgramRun r = runSynth("--lines 2000 --out " + shellQuoted(foreign));
    EXPECT_EQ(r.exit, 1);
    EXPECT_NE(r.err.find(foreign + ".blb"), std::string::npos) << r.err;
    EXPECT_EQ(readBytes(foreign + ".blb"), "a recording from the field");
    EXPECT_FALSE(std::filesystem::exists(foreign + ".mse"));
    EXPECT_EQ(runSynth("--lines 2000 --force --out " + shellQuoted(foreign)).exit, 0);
    EXPECT_NE(readBytes(foreign + ".blb"), "a recording from the field");
}

TEST(SynthCommandLine, UnwritableOutputExitsWithOneNamingTheFile) {
    TempDir dir;
    const std::string out = dir.file("no-such-folder/s");
    const ProgramRun r = runSynth("--lines 2000 --out " + shellQuoted(out));
    EXPECT_EQ(r.exit, 1);
    EXPECT_NE(r.err.find(out), std::string::npos) << r.err;
}

}  // namespace
}  // namespace velkor::synth::test
