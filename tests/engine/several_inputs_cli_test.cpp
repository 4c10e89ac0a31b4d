// velkor-count given several recordings, some of which cannot be counted or do not fit an option:
// the exit status and the messages tell what the worst of them found, in every order, whatever
// the last one did; the recordings that could be counted are counted.
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>
#include <set>

#include "tests/support/bytes.h"

#include "count_cli.h"
#include "csv_reading.h"
#include "recorded_session.h"

namespace velkor::test {
namespace {

// The inputs of a run: a recording counted as usual (G), one that does not exist (M) and one of
// two channels where the option names channel 3 (U, a usage error).
struct Inputs {
    TempDir dir;
    std::string good = dir.file("good.blb"), narrow = dir.file("narrow.blb");
    Inputs() {
        writeRecordedSession(good, {{"A", 2, 3, 4}, {"B", 1, 5, 6}, {"C", 3, 7, 8}}, 20);
        writeRecordedSession(narrow, {{"A", 1, 3, 4}, {"B", 2, 5, 6}}, 20);
    }
    std::string path(char kind) const {
        return kind == 'G' ? good : kind == 'U' ? narrow : dir.file("missing.blb");
    }
    std::string arguments(const std::string& kinds) const {
        std::string a;
        for (const char k : kinds) {
            a += ' ';
            a += shellQuoted(path(k));
        }
        return a;
    }
};

struct Case {
    std::string kinds;
    int status;
};

// Any usage error: 2; else any recording not counted: 1; else 0.
const Case orders[] = {
    {"GG", 0}, {"MG", 1}, {"GM", 1}, {"MM", 1}, {"MGG", 1}, {"GMG", 1},
    {"UG", 2}, {"GU", 2}, {"UM", 2}, {"MU", 2}, {"UU", 2},
};

size_t countOf(const std::string& kinds, char kind) {
    return static_cast<size_t>(std::count(kinds.begin(), kinds.end(), kind));
}

TEST(VelkorCountSeveralInputs, PlainAndJsonCountsTellTheWorstOfThemAll) {
    const Inputs in;
    for (const std::string mode : {"", "--json "}) {
        for (const Case& c : orders) {
            const std::string what = mode + c.kinds;
            const CliRun run = runCount(mode + "--class 3=0" + in.arguments(c.kinds));
            EXPECT_EQ(run.status, c.status) << what << "\n" << run.err;
            // One message per recording left out, in the order given, each naming its own.
            const std::vector<std::string> errors = linesOf(run.err);
            ASSERT_EQ(errors.size(), countOf(c.kinds, 'M') + countOf(c.kinds, 'U')) << what << "\n"
                                                                                    << run.err;
            size_t e = 0;
            for (const char k : c.kinds) {
                if (k == 'G') continue;
                const std::string& message = errors[e++];
                if (k == 'U')
                    EXPECT_EQ(message,
                              "velkor-count: --class 3=0: " + in.narrow + " has 2 channels")
                        << what;
                else
                    EXPECT_EQ(message.rfind(in.path('M') + ": ", 0), 0u) << what << "\n" << message;
            }
            // The good ones are counted all the same.
            const size_t counted = countOf(c.kinds, 'G');
            if (mode.empty())
                EXPECT_EQ(static_cast<size_t>(std::count(run.out.begin(), run.out.end(), '\n')),
                          counted * 7)
                    << what << "\n"
                    << run.out;
            else
                EXPECT_EQ(linesOf(run.out).size(), counted) << what << "\n" << run.out;
        }
    }
}

TEST(VelkorCountSeveralInputs, CsvRowsAndItsClosingNoteCountEveryFailure) {
    const Inputs in;
    for (const Case& c : orders) {
        const CliRun run = runCount("--csv --class 3=0" + in.arguments(c.kinds));
        EXPECT_EQ(run.status, c.status) << c.kinds << "\n" << run.err;
        const auto rows = readCsv(run.out);
        ASSERT_EQ(rows.size(), c.kinds.size() + 1) << c.kinds << "\n" << run.out;
        for (size_t i = 0; i < c.kinds.size(); ++i) {
            EXPECT_EQ(rows[i + 1][0], in.path(c.kinds[i])) << c.kinds;
            const std::string& status = rows[i + 1][rows[0].size() - 6];
            if (c.kinds[i] == 'G')
                EXPECT_EQ(status, "ok") << c.kinds;
            else if (c.kinds[i] == 'U')
                EXPECT_EQ(status, "--class 3=0: " + in.narrow + " has 2 channels") << c.kinds;
            else
                EXPECT_NE(status.find(in.path('M')), std::string::npos) << c.kinds << status;
        }
        const size_t failed = c.kinds.size() - countOf(c.kinds, 'G');
        std::string note;
        if (failed > 0) {
            note = "velkor-count: " + std::to_string(failed);
            note += failed == 1 ? " recording" : " recordings";
            note += " could not be counted (see the status column)\n";
        }
        EXPECT_EQ(run.err, note) << c.kinds;
    }
}

TEST(VelkorCountSeveralInputs, SweepsTellTheWorstOfThemAll) {
    const Inputs in;
    for (const Case& c : orders) {
        const CliRun run = runCount("--class-sweep --json --reference 3=0" + in.arguments(c.kinds));
        EXPECT_EQ(run.status, c.status) << c.kinds << "\n" << run.err;
        const std::vector<std::string> errors = linesOf(run.err);
        ASSERT_EQ(errors.size(), c.kinds.size() - countOf(c.kinds, 'G')) << c.kinds << run.err;
        size_t e = 0;
        for (const char k : c.kinds) {
            if (k == 'G') continue;
            if (k == 'U')
                EXPECT_EQ(errors[e],
                          "velkor-count: --reference 3=0: " + in.narrow + " has 2 channels")
                    << c.kinds;
            else
                EXPECT_EQ(errors[e].rfind(in.path('M') + ": ", 0), 0u) << c.kinds << errors[e];
            ++e;
        }
        const std::vector<std::string> sweeps = linesOf(run.out);
        ASSERT_EQ(sweeps.size(), countOf(c.kinds, 'G')) << c.kinds;
        for (const std::string& s : sweeps)
            EXPECT_EQ(nlohmann::json::parse(s)["sweep"]["recording"], in.good);
    }
}

// A counting area so wide that the largest classes cannot be counted, while the report's class
// can: the sweep of that recording fails with each reason told once, whichever recording comes
// after it.
TEST(VelkorCountSeveralInputs, ASweepWhoseOtherClassesCannotBeCountedFails) {
    const Inputs in;
    const std::string wide = in.dir.file("wide.blb");
    writeRecordedSession(wide, {{"A", 2, 3, 4}}, 3);
    std::string report = readBytes(in.dir.file("wide.mse"));
    const size_t at = report.find("Redge=511\r");
    ASSERT_NE(at, std::string::npos);
    report.replace(at, 10, "Redge=20000000\r");
    writeBytes(in.dir.file("wide.mse"), report);
    ASSERT_EQ(runCount("--json " + shellQuoted(wide)).status, 0);  // the report's class counts

    for (const bool wideFirst : {true, false}) {
        const std::string order = wideFirst ? shellQuoted(wide) + " " + shellQuoted(in.good)
                                            : shellQuoted(in.good) + " " + shellQuoted(wide);
        const CliRun run = runCount("--class-sweep --json " + order);
        EXPECT_EQ(run.status, 1) << run.err;
        const std::vector<std::string> errors = linesOf(run.err);
        ASSERT_FALSE(errors.empty());
        EXPECT_EQ(std::set<std::string>(errors.begin(), errors.end()).size(), errors.size())
            << run.err;
        for (const std::string& e : errors)
            EXPECT_EQ(e.rfind(wide + ": frame 1: arithmetic overflow in ", 0), 0u) << e;
        const std::vector<std::string> sweeps = linesOf(run.out);
        ASSERT_EQ(sweeps.size(), 1u) << run.out;
        EXPECT_EQ(nlohmann::json::parse(sweeps[0])["sweep"]["recording"], in.good);
    }
}

}  // namespace
}  // namespace velkor::test
