// velkor-count from the outside: the built binary run on small sessions, its outputs, exit
// statuses and messages, and its totals against stepping through the same recording.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <nlohmann/json.hpp>
#include <regex>
#include <set>

#include "count_cli.h"
#include "engine_fixture.h"
#include "io/file_names.h"

#ifndef _WIN32
#include <unistd.h>
#endif

namespace velkor::test {
namespace {

// The three-channel session of the engine tests, in a folder of its own.
struct CountedSession {
    TempDir dir;
    std::string blb = dir.file("tank.blb");
    CountedSession() {
        writeRecording(blb, threeChannelSession());
        writeReport(dir.file("tank.mse"), threeChannels);
    }
};

TEST(VelkorCount, SummaryEqualsSteppingFrameByFrame) {
    CountedSession session;
    const CliRun run = runCount("--frame-width 100 --json " + shellQuoted(session.blb));
    ASSERT_EQ(run.status, 0) << run.err;
    // The report writer records the session's totals (0 here) beside the replay's.
    EXPECT_EQ(run.out,
              "{\"summary\": {\"lines\": 3020, \"frames\": 31, \"frameWidth\": 100, \"totals\": "
              "[60, 30, 90], \"total\": 180, \"damagedLines\": 0, \"recorded\": {\"totals\": [0, "
              "0, 0], \"total\": 0}}}\n");

    Tsett settings;
    ReplayEngine engine(settings, nullptr);
    engine.setFrameWidth(100);
    ASSERT_TRUE(engine.OpenBlbFile(session.blb));
    for (int f = 2; f <= engine.frameCount(); ++f) engine.FarwardbtnClick();
    const auto summary = nlohmann::json::parse(run.out)["summary"];
    for (int c = 1; c <= 3; ++c) EXPECT_EQ(summary["totals"][c - 1], engine.channelTotal(c));

    const CliRun part =
        runCount("--frame-width 100 --from 5 --to 9 --json " + shellQuoted(session.blb));
    ASSERT_EQ(part.status, 0) << part.err;
    EXPECT_EQ(nlohmann::json::parse(part.out)["summary"]["totals"],
              nlohmann::json::parse("[10, 5, 15]"));
    // The first and the last of the 31 frames, and a range of one frame, are in range.
    for (const char* range : {"--from 1 --to 1", "--from 9 --to 9", "--from 1 --to 31"}) {
        const CliRun run = runCount(std::string("--frame-width 100 --json ") + range + " " +
                                    shellQuoted(session.blb));
        EXPECT_EQ(run.status, 0) << range << ": " << run.err;
    }
}

TEST(VelkorCount, TableAndTrace) {
    CountedSession session;
    const CliRun table = runCount("--frame-width 100 " + shellQuoted(session.blb));
    ASSERT_EQ(table.status, 0) << table.err;
    for (const char* text : {"tank.blb", "Left", "Middle", "Right", "Sum", "180", "3020 lines"})
        EXPECT_NE(table.out.find(text), std::string::npos) << text << "\n" << table.out;

    const CliRun trace =
        runCount("--frame-width 100 --counter-type 5 --trace " + shellQuoted(session.blb));
    ASSERT_EQ(trace.status, 0) << trace.err;
    const auto lines = linesOf(trace.out);
    int closed = 0, frames = 0;
    for (const auto& line : lines) {
        const auto j = nlohmann::json::parse(line);
        if (j.contains("closed")) {
            ++closed;
            EXPECT_EQ(j["closed"].size(), 19u);  // frame, line, channel and the 16 fields
            EXPECT_TRUE(j["closed"]["K_sami_fiskur"].is_boolean());
        } else if (j.contains("frame")) {
            EXPECT_EQ(j["frame"], ++frames);
            EXPECT_EQ(j["params"].size(), 3u);
            EXPECT_EQ(j["params"][0].size(), 12u);
            EXPECT_EQ(j["capacity"].size(), 3u);
        }
    }
    EXPECT_EQ(closed, 180);
    EXPECT_EQ(frames, 31);
    const auto summary = nlohmann::json::parse(lines.back());
    ASSERT_TRUE(summary.contains("summary"));
    EXPECT_EQ(summary["summary"]["total"], 180);
    // Real values carry 17 significant digits (the running means have moved off the class seed).
    EXPECT_TRUE(std::regex_search(trace.out, std::regex("\"avgArea\": [0-9]{3}\\.[0-9]{14}")));

    // Traces of more than one buffer each, counted side by side, come out whole and in order.
    const std::string one = shellQuoted(session.blb);
    const CliRun single = runCount("--frame-width 1 --trace " + one);
    const CliRun both = runCount("--frame-width 1 --trace " + one + " " + one);
    ASSERT_EQ(both.status, 0) << both.err;
    ASSERT_GT(single.out.size(), size_t{1} << 20);
    EXPECT_TRUE(both.out == single.out + single.out) << both.out.size() << " bytes";
}

TEST(VelkorCount, SeveralRecordingsInTheOrderGivenAndErrorsNamingTheFile) {
    CountedSession session;
    TempDir other;
    writeRecording(other.file("small.blb"), Scene().fish(2, 6, 100, 110).length(30));
    writeReport(other.file("small.mse"), {{0, 511, "One"}});
    writeRecording(other.file("noreport.blb"), Scene(30));

    const CliRun run = runCount(
        "--json " + shellQuoted(session.blb) + " " + shellQuoted(other.file("noreport.blb")) + " " +
        shellQuoted(other.file("missing.blb")) + " " + shellQuoted(other.file("small.blb")));
    EXPECT_EQ(run.status, 1);
    const auto lines = linesOf(run.out);
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(nlohmann::json::parse(lines[0])["summary"]["lines"], 3020);
    EXPECT_EQ(nlohmann::json::parse(lines[1])["summary"]["lines"], 30);
    const auto errors = linesOf(run.err);
    ASSERT_EQ(errors.size(), 2u) << run.err;
    EXPECT_EQ(errors[0],
              other.file("noreport.blb") + ": Cant find corresponding reportfile (.mse)");
    EXPECT_EQ(errors[1].rfind(other.file("missing.blb"), 0), 0u) << errors[1];

    const CliRun range = runCount("--frame-width 100 --from 5 --to 32 " + shellQuoted(session.blb));
    EXPECT_EQ(range.status, 1);
    EXPECT_NE(range.err.find("tank.blb"), std::string::npos);
    EXPECT_NE(range.err.find("1..31"), std::string::npos) << range.err;
}

TEST(VelkorCount, DamagedLinesAreReported) {
    TempDir dir;
    {
        RecordWriter writer(dir.file("cut.blb"), 0, 511);
        writer.writeLine({{100, 110}});
        writer.writeRawWords({3, 100, 110});  // a line cut off by the end of the file
        writer.finish();
    }
    writeReport(dir.file("cut.mse"), {{0, 511, "One"}});
    const CliRun run = runCount("--json " + shellQuoted(dir.file("cut.blb")));
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(nlohmann::json::parse(run.out)["summary"]["damagedLines"], 1);
    EXPECT_NE(run.err.find("cut.blb: 1 damaged lines, the first at line 2"), std::string::npos)
        << run.err;
}

// The shell's pipes and /dev/full are Linux's: this test has no Windows form.
#ifndef _WIN32
constexpr const char* closedPipe = "a pipe nobody reads";

// velkor-count run by the shell with its output sent to `sink` ("> /dev/full", or closedPipe: a
// pipe whose reading end is closed before velkor-count starts, so that its writes fail as they
// do once a reader such as `head -c 1` has gone, without waiting for that reader to go); the
// status is velkor-count's own, stderr is returned.
CliRun runWithOutputTo(const std::string& arguments, const std::string& sink) {
    TempDir dir;
    const std::string errFile = dir.file("stderr");
    int pipeEnds[2] = {-1, -1};
    std::string redirection = sink;
    if (sink == closedPipe) {
        EXPECT_EQ(pipe(pipeEnds), 0);
        close(pipeEnds[0]);
        redirection = ">&" + std::to_string(pipeEnds[1]);  // the shell inherits the writing end
    }
    const std::string command = "bash -o pipefail -c \"'" + std::string(VELKOR_COUNT_EXE) + "' " +
                                arguments + " 2>'" + errFile + "' " + redirection + "\"";
    CliRun run;
    const int status = std::system(command.c_str());
    if (pipeEnds[1] >= 0) close(pipeEnds[1]);
    run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    run.err = readBytes(errFile);
    return run;
}

TEST(VelkorCount, AFailedWriteIsAnErrorAndAClosedPipeEndsQuietly) {
    CountedSession session;
    const std::string one = "'" + session.blb + "'";
    const std::string two = one + " " + one;  // counted in parallel, printed in order
    const std::string full = "velkor-count: cannot write the output: No space left on device\n";
    struct Case {
        std::string arguments, sink, err;
    };
    // The short outputs fail only at the final flush; the long traces while counting.
    for (const Case& c :
         {Case{"--json " + one, "> /dev/full", full}, Case{one, "> /dev/full", full},
          Case{"--frame-width 1 --trace " + one, "> /dev/full", full},
          Case{"--frame-width 1 --trace " + two, "> /dev/full", full},
          Case{"--per-minute " + one, "> /dev/full", full},
          Case{"--csv " + one, "> /dev/full", full},
          Case{"--csv " + one + " " + two, closedPipe, ""},
          Case{"--frame-width 1 --trace " + one, closedPipe, ""},
          Case{"--frame-width 1 --trace " + two, closedPipe, ""}}) {
        const CliRun run = runWithOutputTo(c.arguments, c.sink);
        EXPECT_EQ(run.status, 1) << c.arguments << " " << c.sink;
        EXPECT_EQ(run.err, c.err) << c.arguments << " " << c.sink;
    }
    EXPECT_EQ(runWithOutputTo("--json " + one, "> /dev/null").status, 0);
}
#endif

TEST(VelkorCount, NamesOutsideAsciiOpenUnpackAndAppearInMessages) {
    TempDir dir;
    // A folder "Lax-ø 鮭" holding "fisch-ä.blc" and its report: only the compressed recording.
    const std::string folder = utf8FromPath(dir.path()) + "/Lax-\xc3\xb8 \xe9\xae\xad";
    std::filesystem::create_directory(pathFromUtf8(folder));
    const std::string base = folder + "/fisch-\xc3\xa4";
    writeRecording(base + ".blb", Scene().fish(2, 6, 100, 110).fish(20, 6, 300, 310).length(40));
    compressRecord(base + ".blb", base + ".blc");
    std::filesystem::remove(pathFromUtf8(base + ".blb"));
    writeReport(base + ".mse", {{0, 511, "One"}});

    const CliRun run = runCount("--json " + shellQuoted(base + ".blc"));
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(nlohmann::json::parse(run.out)["summary"]["total"], 2);
    std::set<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(pathFromUtf8(folder)))
        names.insert(utf8FromPath(entry.path().filename()));
    EXPECT_EQ(names, (std::set<std::string>{"fisch-\xc3\xa4.blb", "fisch-\xc3\xa4.blc",
                                            "fisch-\xc3\xa4.mse"}));

    const CliRun missing = runCount(shellQuoted(base + "-\xc3\xb0.blb"));
    EXPECT_EQ(missing.status, 1);
    EXPECT_EQ(missing.err.rfind(base + "-\xc3\xb0.blb: ", 0), 0u) << missing.err;
}

TEST(VelkorCount, UsageHelpAndVersion) {
    struct Case {
        const char* arguments;
        int status;
        const char* text;  // in stdout for 0, in stderr otherwise
    };
    for (const Case& c :
         {Case{"", 2, "RECORDING"}, Case{"--frame-width 0 x.blb", 2, "Usage"},
          Case{"--frame-width 2002 x.blb", 2, "Usage"}, Case{"--from 3 x.blb", 2, "--to"},
          Case{"--from 4 --to 3 x.blb", 2, ""}, Case{"--bogus x.blb", 2, "bogus"},
          Case{"--help", 0, "--frame-width"}, Case{"--version", 0, "velkor-count"}}) {
        const CliRun run = runCount(c.arguments);
        EXPECT_EQ(run.status, c.status) << c.arguments;
        EXPECT_NE((c.status == 0 ? run.out : run.err).find(c.text), std::string::npos)
            << c.arguments << "\n"
            << run.out << run.err;
    }
}

}  // namespace
}  // namespace velkor::test
