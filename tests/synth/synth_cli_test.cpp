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

// --help names every option with the words that say what it does.
TEST(SynthCommandLine, HelpDescribesEveryOption) {
    const ProgramRun help = runSynth("--help");
    ASSERT_EQ(help.exit, 0);
    const struct {
        const char* option;
        const char* description;
    } options[] = {
        {"--out", "Output path without extension"},
        {"--seed", "Seed: the same seed and options give the same files"},
        {"--lines", "Duration in scan lines (1116 per second)"},
        {"--minutes", "Duration in minutes (default 1)"},
        {"--channel", "Channel LEFT:RIGHT:CLASS[:WIDTHMM[:FISHCLASS]]"},
        {"--counter-width", "Counter width in mm: 500, 1000, 1400, 400, 1200 or 2100"},
        {"--density", "Mean fish per second per channel"},
        {"--touching", "Share of arrivals that bring a second fish touching the first (0..1)"},
        {"--noise", "Noise specks (1-2 px) per second per channel"},
        {"--start", "Session start \"YYYY-MM-DD HH:MM:SS\""},
        {"--tank", "Tank name of the report"},
        {"--decimal-separator", "Decimal separator of the report: . or ,"},
        {"--compressed", "Also write the compressed recording NAME.blc"},
        {"--force", "Replace files of that name that velkor-synth did not write"},
        {"--version", "Display program version information and exit"},
    };
    for (const auto& o : options) {
        const size_t at = help.out.find(std::string("  ") + o.option + " ");
        ASSERT_NE(at, std::string::npos) << o.option << "\n" << help.out;
        // On the option's line or the line after it.
        const size_t end = help.out.find('\n', help.out.find('\n', at) + 1);
        EXPECT_NE(help.out.substr(at, end - at).find(o.description), std::string::npos)
            << o.option << "\n"
            << help.out;
    }
}

// A duration or separator out of range is named word for word, at each end of its range; the
// shortest duration still writes a session.
TEST(SynthCommandLine, OutOfRangeValuesAreNamedWordForWord) {
    TempDir dir;
    const std::string out = " --out " + shellQuoted(dir.file("s"));
    const std::string minutes = "velkor-synth: --minutes must be above 0 and at most 28800\n";
    const struct {
        const char* args;
        std::string first;
    } cases[] = {
        {"--minutes 0", minutes},
        {"--minutes -1", minutes},
        {"--minutes 28800.01", minutes},
        {"--lines 0", "velkor-synth: duration must be from 1 to 2147483646 lines, not 0\n"},
        {"--lines 2147483647",
         "velkor-synth: duration must be from 1 to 2147483646 lines, not 2147483647\n"},
        {"--decimal-separator x", "velkor-synth: decimal separator must be \".\" or \",\"\n"},
        {"--decimal-separator ..",
         "velkor-synth: --decimal-separator must be \".\" or \",\", not \"..\"\n"},
    };
    for (const auto& c : cases) {
        const ProgramRun r = runSynth(std::string(c.args) + out);
        EXPECT_EQ(r.exit, 2) << c.args;
        EXPECT_EQ(r.err, c.first + "Run with --help for the options.\n") << c.args;
    }
    EXPECT_EQ(runSynth("--minutes 0.001" + out).exit, 0);
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

namespace velkor::synth::test {
namespace {

// Zero as a value: class 0 named by the report or drawn, no fish at all, no noise, no touching
// pairs. Each is taken and shown, never read as "not given".
TEST(SynthCommandLine, ZeroIsAValueLikeAnyOther) {
    const struct {
        std::string options;
        int sizeGroup, fishClass;
        std::string summary;  // a text of the summary printed
    } cases[] = {
        {"--channel 10:500:0", 0, 0, "channel 1 (10:500, 0.1 g): "},
        {"--channel 10:500:3::0", 3, 0, "channel 1 (10:500, 3 g, fish of 0.1 g): "},
        {"--channel 10:500:0::3", 0, 3, "channel 1 (10:500, 0.1 g, fish of 3 g): "},
        {"--density 0 --noise 0", 2, 2, ": 0 fish, 0 touching pairs; recorded 0\n"},
        {"--touching 0 --seed 0", 2, 2, " 0 touching pairs; recorded "},
    };
    for (const auto& c : cases) {
        TempDir dir;
        const std::string base = dir.file("z");
        const ProgramRun r = runSynth("--minutes 0.2 " + c.options + " --out " + shellQuoted(base));
        ASSERT_EQ(r.exit, 0) << c.options << "\n" << r.err;
        EXPECT_NE(r.out.find(c.summary), std::string::npos) << c.options << "\n" << r.out;
        const std::string truth = readBytes(base + ".truth.json");
        EXPECT_NE(truth.find("\"sizeGroup\": " + std::to_string(c.sizeGroup)), std::string::npos)
            << c.options << "\n"
            << truth;
        EXPECT_NE(truth.find("\"fishClass\": " + std::to_string(c.fishClass)), std::string::npos)
            << c.options << "\n"
            << truth;
    }
}

// Whichever one of the session's files exists from elsewhere is the one the message names, and
// nothing is written beside it.
TEST(SynthCommandLine, TheForeignFileIsNamedWordForWord) {
    for (const std::string extension : {".blb", ".blc", ".mse", ".truth.json"}) {
        TempDir dir;
        const std::string out = dir.file("pen");
        std::ofstream(out + extension) << "from the field";
        const ProgramRun r = runSynth("--lines 2000 --compressed --out " + shellQuoted(out));
        EXPECT_EQ(r.exit, 1) << extension;
        EXPECT_EQ(r.err, "velkor-synth: " + out + extension +
                             ": exists and was not written by velkor-synth; choose another --out "
                             "or give --force to replace it\n")
            << extension;
        EXPECT_EQ(readBytes(out + extension), "from the field");
        for (const std::string other : {".blb", ".blc", ".mse", ".truth.json"}) {
            if (other != extension) {
                EXPECT_FALSE(std::filesystem::exists(out + other)) << extension << " " << other;
            }
        }
    }
}

}  // namespace
}  // namespace velkor::synth::test
