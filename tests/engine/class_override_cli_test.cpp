// velkor-count --class: a channel counted with another size class counts exactly as a copy of the
// session whose report names that class, and bad values are usage errors naming the value.
#include <gtest/gtest.h>

#include <fstream>
#include <regex>
#include <sstream>

#include "count_cli.h"
#include "engine_fixture.h"

namespace velkor::test {
namespace {

std::string readText(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

void writeText(const std::string& path, const std::string& text) {
    std::ofstream(path, std::ios::binary) << text;
}

TEST(VelkorCountClass, OverrideEqualsAReportNamingThatClass) {
    TempDir dir;
    const std::string blb = dir.file("tank.blb"), copy = dir.file("copy.blb");
    writeRecording(blb, threeChannelSession());
    writeRecording(copy, threeChannelSession());
    writeReport(dir.file("tank.mse"), threeChannels);
    const std::string report = readText(dir.file("tank.mse"));

    const CliRun plain = runCount("--frame-width 100 --trace " + shellQuoted(blb));
    int changed = 0;  // cases whose class changes the count: the override is not a no-op
    struct Case {
        int channel, sizeClass;
    };
    for (const Case& c : {Case{1, 0}, Case{1, 9}, Case{2, 5}, Case{3, 7}, Case{3, 2}}) {
        const std::regex line("Size Group" + std::to_string(c.channel) + "=[0-9]+");
        const std::string edited = std::regex_replace(
            report, line,
            "Size Group" + std::to_string(c.channel) + "=" + std::to_string(c.sizeClass));
        ASSERT_NE(edited.find("Size Group" + std::to_string(c.channel) + "=" +
                              std::to_string(c.sizeClass)),
                  std::string::npos);
        writeText(dir.file("copy.mse"), edited);

        const std::string label = std::to_string(c.channel) + "=" + std::to_string(c.sizeClass);
        const CliRun overridden =
            runCount("--frame-width 100 --trace --class " + label + " " + shellQuoted(blb));
        const CliRun named = runCount("--frame-width 100 --trace " + shellQuoted(copy));
        ASSERT_EQ(overridden.status, 0) << label << overridden.err;
        ASSERT_EQ(named.status, 0) << label << named.err;
        // Every record alike; only the summary adds which classes were used.
        const std::string withoutClasses =
            std::regex_replace(overridden.out, std::regex(", \"classes\": \\[[^\\]]*\\]"), "");
        EXPECT_EQ(std::regex_replace(withoutClasses, std::regex("tank\\.blb"), "X"),
                  std::regex_replace(named.out, std::regex("copy\\.blb"), "X"))
            << label;
        changed += overridden.out != plain.out;
    }
    EXPECT_GT(changed, 0);
}

TEST(VelkorCountClass, SummarySaysWhichClassesWereUsed) {
    TempDir dir;
    const std::string blb = dir.file("tank.blb");
    writeRecording(blb, threeChannelSession());
    writeReport(dir.file("tank.mse"), threeChannels);
    const CliRun overridden = runCount("--json --class 2=7 " + shellQuoted(blb));
    ASSERT_EQ(overridden.status, 0) << overridden.err;
    EXPECT_NE(overridden.out.find("\"classes\": [{\"used\": 2, \"report\": 2}, {\"used\": 7, "
                                  "\"report\": 2}, {\"used\": 2, \"report\": 2}]"),
              std::string::npos)
        << overridden.out;
    // Without --class the summary has no such member.
    EXPECT_EQ(runCount("--json " + shellQuoted(blb)).out.find("classes"), std::string::npos);
}

// Each end of either range is taken, one past it is a usage error: a taken value gets as far as
// the recording, whose absence is then the error.
TEST(VelkorCountClass, ChannelAndClassRangesEndExactlyAtTheirLimits) {
    const struct {
        const char* value;
        int status;
    } cases[] = {
        {"1=0", 1}, {"4=9", 1}, {"4=0", 1}, {"1=9", 1},  // the ends of both ranges
        {"0=0", 2}, {"5=9", 2}, {"1=:", 2}, {"1=/", 2},  // one past each end
    };
    TempDir dir;
    const std::string missing = dir.file("missing.blb");
    for (const auto& c : cases) {
        const CliRun run = runCount(std::string("--class ") + c.value + " " + shellQuoted(missing));
        EXPECT_EQ(run.status, c.status) << c.value << "\n" << run.err;
        if (c.status == 1) {
            EXPECT_EQ(run.err, missing + ": cannot open the recording: No such file or directory\n")
                << c.value;
        }
    }
}

TEST(VelkorCountClass, BadValuesAreUsageErrorsNamingTheValue) {
    for (const char* value : {"1=12", "5=3", "0=1", "x=2", "1=", "12", "1=-1"}) {
        const CliRun run = runCount(std::string("--class ") + value + " x.blb");
        EXPECT_EQ(run.status, 2) << value;
        EXPECT_NE(run.err.find(std::string("--class ") + value), std::string::npos) << value << "\n"
                                                                                    << run.err;
    }
}

}  // namespace
}  // namespace velkor::test
