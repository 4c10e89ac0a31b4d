// velkor-count --class-sweep and --reference from the outside: the sweep's figures against plain
// counts with the same classes, the class a reference points to, the JSON form, folders, and the
// usage errors of the per-channel options.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <nlohmann/json.hpp>
#include <regex>
#include <sstream>

#include "count_cli.h"
#include "tests/support/temp_dir.h"
#include "tools/velkor-synth/session_writer.h"

namespace velkor::test {
namespace {

using nlohmann::json;

// A generated session whose report names other classes than the fish were made with: fish of
// classes 2 and 4, the report saying 5 and 1 (as a technician who set the classes wrongly).
std::string wrongClassSession(const TempDir& dir, const std::string& name, bool compressed,
                              uint64_t seed = 3) {
    synth::SessionOptions o;
    o.out = dir.file(name);
    o.scene.seed = seed;
    o.scene.lines = 40 * linesPerSecond;
    o.scene.channels = {{10, 250, 2, 0}, {261, 500, 4, 0}};
    o.scene.density = 3;
    o.compressed = compressed;
    synth::writeSession(o);
    const std::string mse = synth::reportName(o.out);
    std::ifstream in(mse, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    std::string report =
        std::regex_replace(text.str(), std::regex("Size Group1=2"), "Size Group1=5");
    report = std::regex_replace(report, std::regex("Size Group2=4"), "Size Group2=1");
    in.close();
    std::ofstream(mse, std::ios::binary) << report;
    if (compressed) std::filesystem::remove(synth::recordingName(o.out));
    return compressed ? synth::compressedName(o.out) : synth::recordingName(o.out);
}

json sweepOf(const std::string& arguments) {
    const CliRun run = runCount("--class-sweep --json " + arguments);
    EXPECT_EQ(run.status, 0) << arguments << "\n" << run.err;
    return json::parse(run.out)["sweep"];
}

json summaryOf(const std::string& arguments) {
    const CliRun run = runCount(arguments);
    EXPECT_EQ(run.status, 0) << arguments << "\n" << run.err;
    return json::parse(linesOf(run.out).back())["summary"];
}

TEST(VelkorCountSweep, EveryFigureIsTheCountWithThoseClasses) {
    TempDir dir;
    const std::string recording = shellQuoted(wrongClassSession(dir, "wrong", false));
    for (const std::string options : {"", "--frame-width 333 --counter-type 5 "}) {
        const json sweep = sweepOf(options + recording);
        const json& channels = sweep["channels"];
        ASSERT_EQ(channels.size(), 2u);
        const int report[] = {channels[0]["reportClass"], channels[1]["reportClass"]};
        EXPECT_EQ(report[0], 5);
        EXPECT_EQ(report[1], 1);
        // Count k has every channel k classes above the report's; its summary with --explain
        // gives the same totals and verdicts as the sweep's figures for those classes.
        for (int k = 0; k < 10; ++k) {
            const int classes[] = {(report[0] + k) % 10, (report[1] + k) % 10};
            std::string given = options;
            if (k > 0) {
                for (int c = 0; c < 2; ++c)
                    given +=
                        "--class " + std::to_string(c + 1) + "=" + std::to_string(classes[c]) + " ";
            }
            const json summary = summaryOf("--explain " + given + recording);
            for (int c = 0; c < 2; ++c) {
                const json& cell = channels[c]["classes"][classes[c]];
                EXPECT_EQ(cell["class"], classes[c]);
                EXPECT_EQ(cell["total"], summary["totals"][c]) << options << given << c;
                EXPECT_EQ(cell["verdicts"], summary["verdicts"][c]) << options << given << c;
            }
        }
        // The report's class: the plain count itself.
        const json plain = summaryOf("--json " + options + recording);
        for (int c = 0; c < 2; ++c)
            EXPECT_EQ(channels[c]["classes"][report[c]]["total"], plain["totals"][c]) << options;
        EXPECT_EQ(sweep["frameWidth"], plain["frameWidth"]);
        EXPECT_EQ(sweep["lines"], plain["lines"]);
    }
}

TEST(VelkorCountSweep, JsonHoldsEveryClassWithItsComparisons) {
    TempDir dir;
    const std::string recording = wrongClassSession(dir, "wrong", true);
    const json sweep = sweepOf(shellQuoted(recording));
    EXPECT_EQ(sweep["recording"], recording);
    EXPECT_EQ(sweep["counterType"], -1);
    EXPECT_EQ(sweep["damagedLines"], 0);
    for (const json& channel : sweep["channels"]) {
        ASSERT_EQ(channel["classes"].size(), 10u);
        EXPECT_FALSE(channel.contains("reference"));
        const json& reportCell = channel["classes"][channel["reportClass"].get<int>()];
        const int recorded = channel["recorded"];
        bool moved = false;
        for (const json& cell : channel["classes"]) {
            const int total = cell["total"];
            // Without the overload correction every counted object is a "counted" verdict.
            EXPECT_EQ(cell["verdicts"]["counted"], total);
            const double expected = std::round((total - recorded) * 1000.0 / recorded) / 10;
            EXPECT_NEAR(cell["difference"].get<double>(), expected, 1e-9);
            EXPECT_LE(cell["moved"].size(), 2u);
            for (const json& m : cell["moved"]) {
                EXPECT_NE(m["verdict"], "counted");
                EXPECT_EQ(m["from"], reportCell["verdicts"][m["verdict"].get<std::string>()]);
                EXPECT_EQ(m["to"], cell["verdicts"][m["verdict"].get<std::string>()]);
                EXPECT_NE(m["from"], m["to"]);
            }
            moved = moved || !cell["moved"].empty();
        }
        EXPECT_TRUE(reportCell["moved"].empty());
        EXPECT_TRUE(moved);
    }
}

TEST(VelkorCountSweep, ReferencePointsToTheNearestClass) {
    TempDir dir;
    const std::string recording = shellQuoted(wrongClassSession(dir, "wrong", false));
    const json plain = sweepOf(recording);
    auto totalOf = [&](int channel, int sizeClass) {
        return plain["channels"][channel - 1]["classes"][sizeClass]["total"].get<int>();
    };
    // The fish were made with classes 2 and 4: references a little off those counts.
    struct Case {
        int channel, sizeClass, off;
    };
    const Case cases[] = {{1, 2, +1}, {2, 4, +1}};
    std::string references;
    for (const Case& c : cases)
        references += "--reference " + std::to_string(c.channel) + "=" +
                      std::to_string(totalOf(c.channel, c.sizeClass) + c.off) + " ";
    const json sweep = sweepOf(references + recording);
    const CliRun table = runCount("--class-sweep " + references + recording);
    ASSERT_EQ(table.status, 0) << table.err;
    for (const Case& c : cases) {
        const json& ref = sweep["channels"][c.channel - 1]["reference"];
        const int total = totalOf(c.channel, c.sizeClass);
        EXPECT_EQ(ref["count"], total + c.off);
        EXPECT_EQ(ref["nearest"], c.sizeClass);
        EXPECT_EQ(ref["total"], total);
        EXPECT_EQ(ref["difference"], -c.off);
        // The table marks it and says by how much.
        const std::string name = c.sizeClass == 2 ? "1 g" : "10 g";
        const std::string line = "Counter " + std::to_string(c.channel) + ": reference " +
                                 std::to_string(total + c.off) + ", nearest " + name + " with " +
                                 std::to_string(total) + " (" + (c.off > 0 ? "-1" : "+1");
        EXPECT_NE(table.out.find(line), std::string::npos) << line << "\n" << table.out;
    }
    // The report's class and the nearest are marked in their rows.
    EXPECT_TRUE(std::regex_search(table.out, std::regex("\n  1 g +[0-9]+ < ")));
    EXPECT_TRUE(std::regex_search(table.out, std::regex("\n  30 g +[0-9]+ \\* ")));
    EXPECT_NE(table.out.find("* the report's class, < nearest to the reference"),
              std::string::npos);
}

// Fish of one class, counted by the report with another on every channel: with the number of fish
// put in as the reference, the sweep points to the class they were made with. (Without touching
// pairs: the counter counts two touching fish as one at their own class, so a hand count of a
// session with many of them lies nearer a smaller class, which cuts some of them apart.)
TEST(VelkorCountSweep, TheFishPutInPointToTheClassTheyWereMadeWith) {
    TempDir dir;
    synth::SessionOptions o;
    o.out = dir.file("wrong");
    o.scene.seed = 5;
    o.scene.lines = 180 * linesPerSecond;
    o.scene.touching = 0;
    // Left, right, the report's class, width, the fish's class.
    o.scene.channels = {{10, 200, 2, 0, 5}, {210, 400, 7, 0, 3}, {410, 600, 4, 0, 8}};
    const synth::SessionResult made = synth::writeSession(o);
    std::string references;
    for (int c = 0; c < 3; ++c)
        references +=
            "--reference " + std::to_string(c + 1) + "=" + std::to_string(made.truth.fish[c]) + " ";
    const json sweep = sweepOf(references + shellQuoted(synth::recordingName(o.out)));
    for (int c = 0; c < 3; ++c)
        EXPECT_EQ(sweep["channels"][c]["reference"]["nearest"], o.scene.channels[c].fishClass)
            << "channel " << c + 1 << "\n"
            << sweep.dump(1);
}

TEST(VelkorCountSweep, FolderGivesOneSweepPerRecording) {
    TempDir dir;
    std::filesystem::create_directory(dir.path() / "sub");
    const std::string a = wrongClassSession(dir, "a", false, 3);
    const std::string b = wrongClassSession(dir, "sub/b", true, 5);
    const CliRun json = runCount("--class-sweep --json " + shellQuoted(dir.path().string()));
    ASSERT_EQ(json.status, 0) << json.err;
    const std::vector<std::string> lines = linesOf(json.out);
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(json::parse(lines[0])["sweep"]["recording"], a);
    EXPECT_EQ(json::parse(lines[1])["sweep"]["recording"], b);
    EXPECT_EQ(json::parse(lines[0])["sweep"], sweepOf(shellQuoted(a)));

    const CliRun tables = runCount("--class-sweep " + shellQuoted(dir.path().string()));
    ASSERT_EQ(tables.status, 0) << tables.err;
    EXPECT_NE(tables.out.find(a + "\n  Class"), std::string::npos) << tables.out;
    // The first sweep unpacked b.blc beside it; the folder's b is now that .blb.
    const std::string unpacked = synth::recordingName(dir.file("sub/b"));
    EXPECT_NE(tables.out.find(unpacked + "\n  Class"), std::string::npos) << tables.out;
}

TEST(VelkorCountSweep, ARecordingThatCannotBeCountedIsNamedAndTheOthersAreSwept) {
    TempDir dir;
    const std::string good = wrongClassSession(dir, "good", false);
    const std::string lonely = dir.file("lonely.blb");  // no report beside it
    std::filesystem::copy_file(good, lonely);
    const CliRun run = runCount("--class-sweep --json " + shellQuoted(lonely) + " " +
                                shellQuoted(good) + " " + shellQuoted(dir.file("none.blb")));
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.err.find(lonely + ": Cant find corresponding reportfile (.mse)"),
              std::string::npos)
        << run.err;
    EXPECT_NE(run.err.find(dir.file("none.blb") + ": "), std::string::npos) << run.err;
    EXPECT_EQ(linesOf(run.err).size(), 2u) << run.err;
    ASSERT_EQ(linesOf(run.out).size(), 1u) << run.out;
    EXPECT_EQ(json::parse(run.out)["sweep"]["recording"], good);
}

TEST(VelkorCountSweep, BadValuesAreUsageErrorsNamingThem) {
    TempDir dir;
    const std::string twoName = wrongClassSession(dir, "two", false);
    const std::string two = shellQuoted(twoName);
    synth::SessionOptions o;
    o.out = dir.file("one");
    o.scene.lines = 5 * linesPerSecond;
    synth::writeSession(o);
    const std::string one = shellQuoted(synth::recordingName(o.out));
    struct Case {
        std::string arguments;
        std::string named;  // in the message
    };
    const Case cases[] = {
        {"--class-sweep --reference 1=x " + two, "--reference 1=x"},
        {"--class-sweep --reference 1=-3 " + two, "--reference 1=-3"},
        {"--class-sweep --reference 1=2.5 " + two, "--reference 1=2.5"},
        {"--class-sweep --reference 1= " + two, "--reference 1="},
        {"--class-sweep --reference 5=10 " + two, "--reference 5=10"},
        {"--class-sweep --reference 1=3000000000 " + two, "--reference 1=3000000000"},
        {"--class-sweep --reference 1=5 --reference 1=6 " + two, "--reference 1=6"},
        {"--class 1=3 --class 1=4 " + two, "--class 1=4"},
        {"--reference 1=5 " + two, "--class-sweep"},
        {"--class-sweep --class 1=2 " + two, "--class"},
        {"--class-sweep --trace " + two, "--trace"},
        {"--class-sweep --csv " + two, "--csv"},
        {"--class-sweep --from 1 --to 2 " + two, "--from"},
        {"--counter-type 16 " + two, "16"},
        {"--counter-type -2 " + two, "-2"},
        {"--counter-type x " + two, "x"},
        // A channel the recording does not have: named with the recording.
        {"--class-sweep --reference 3=100 " + two,
         "--reference 3=100: " + twoName + " has 2 channels"},
        {"--class 3=1 " + two, "--class 3=1: "},
        {"--json --class 4=2 " + two, "--class 4=2: "},
        {"--trace --class 3=0 " + two, "--class 3=0: "},
        {"--per-minute --class 3=0 " + two, "--class 3=0: "},
        {"--json --class 2=1 " + one, "has 1 channel"},
    };
    for (const Case& c : cases) {
        const CliRun run = runCount(c.arguments);
        EXPECT_EQ(run.status, 2) << c.arguments << "\n" << run.err;
        EXPECT_NE(run.err.find(c.named), std::string::npos) << c.arguments << "\n" << run.err;
    }
    // Of several recordings only the one without the channel is left out.
    const CliRun both = runCount("--json --class 2=1 " + one + " " + two);
    EXPECT_EQ(both.status, 2);
    EXPECT_EQ(linesOf(both.out).size(), 1u) << both.out;
    EXPECT_EQ(json::parse(both.out)["summary"]["classes"][1]["used"], 1);
    const CliRun csv = runCount("--csv --class 2=1 " + one + " " + two);
    EXPECT_EQ(csv.status, 2);
    ASSERT_EQ(linesOf(csv.out).size(), 3u) << csv.out;
    EXPECT_NE(linesOf(csv.out)[1].find("--class 2=1: "), std::string::npos) << csv.out;
    EXPECT_NE(linesOf(csv.out)[2].find(",ok,30 g,0.3 g,,,-1"), std::string::npos) << csv.out;
}

TEST(VelkorCountSweep, SettingsUsedAreAddedAfterwardsOnlyWhenGiven) {
    TempDir dir;
    const std::string recording = shellQuoted(wrongClassSession(dir, "wrong", false));
    const std::string plainJson = runCount("--json " + recording).out;
    const std::string plainCsv = runCount("--csv " + recording).out;
    ASSERT_EQ(plainJson.find("counterType"), std::string::npos);
    ASSERT_EQ(plainCsv.find("class used"), std::string::npos);
    struct Case {
        std::string options, jsonAdded, csvHeaderAdded, csvRowAdded;
    };
    const Case cases[] = {
        {"--counter-type 5", ", \"counterType\": 5",
         ",class used 1,class used 2,class used 3,class used 4,counter type", ",30 g,0.3 g,,,5"},
        {"--class 1=2", "", ",class used 1,class used 2,class used 3,class used 4,counter type",
         ",1 g,0.3 g,,,-1"},
    };
    for (const Case& c : cases) {
        // The member goes last in the summary, the columns after the status: what was there
        // before stays where it was.
        const std::string json = runCount("--json " + c.options + " " + recording).out;
        if (!c.jsonAdded.empty()) {
            EXPECT_EQ(json.substr(0, plainJson.size() - 3),
                      plainJson.substr(0, plainJson.size() - 3))
                << c.options;
            EXPECT_EQ(json.substr(json.size() - 3 - c.jsonAdded.size()), c.jsonAdded + "}}\n");
        }
        const std::vector<std::string> csv =
            linesOf(runCount("--csv " + c.options + " " + recording).out);
        const std::vector<std::string> plain = linesOf(plainCsv);
        ASSERT_EQ(csv.size(), 2u);
        EXPECT_EQ(csv[0], plain[0] + c.csvHeaderAdded);
        EXPECT_EQ(csv[1].substr(csv[1].size() - c.csvRowAdded.size()), c.csvRowAdded) << c.options;
    }
}

}  // namespace
}  // namespace velkor::test
