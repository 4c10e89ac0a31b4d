// The session check PDF as a reader gets it: `velkor --check-pdf` run as a program without a
// display, its text read back with pdftotext and compared with velkor-count's own figures at the
// same frame width, its pages counted with pdfinfo and rendered with pdftoppm. Besides, the page
// model's arithmetic (the verdict row, the minutes that differ most) with tables.
#include <gtest/gtest.h>

#include <QColor>
#include <QImage>
#include <algorithm>
#include <cmath>
#include <filesystem>
#include <map>
#include <nlohmann/json.hpp>
#include <regex>
#include <sstream>

#include "tests/support/bytes.h"
#include "tests/support/run_program.h"
#include "tests/support/temp_dir.h"
#include "ui/check/session_check_content.h"

namespace velkor::test {
namespace {

using nlohmann::json;

ProgramRun run(const std::string& program, const std::string& arguments) {
    return runProgram(program, arguments, 300);
}

std::string q(const std::string& s) {
    return shellQuoted(s);
}

bool havePoppler() {
    return run("pdftotext", "-v").exit == 0 && run("pdfinfo", "-v").exit == 0;
}

std::vector<std::string> linesOf(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
}

std::vector<std::string> words(const std::string& text) {
    std::vector<std::string> out;
    std::istringstream in(text);
    for (std::string w; in >> w;) out.push_back(w);
    return out;
}

// Writes a session with velkor-synth and returns its recording.
std::string synthesize(const std::string& base, const std::string& arguments) {
    const ProgramRun r = run(VELKOR_SYNTH_EXE, "--out " + q(base) + " --seed 5 " + arguments);
    EXPECT_EQ(r.exit, 0) << r.err;
    return base + ".blb";
}

std::string writeCheck(const std::string& pdf, const std::string& input, int frameWidth) {
    const ProgramRun r = run(VELKOR_EXE, "--check-pdf " + q(pdf) + " --frame-width " +
                                             std::to_string(frameWidth) + " " + q(input));
    EXPECT_EQ(r.exit, 0) << r.err;
    return r.err;
}

// What velkor-count --explain says of a recording: its summary, and the frame where the most
// objects were rejected (the first of them) with its counted and rejected objects.
struct Explained {
    json summary;
    int worstFrame = 0;
    int worstRejected = 0;
    int worstCounted = 0;
};

Explained explain(const std::string& recording, int frameWidth) {
    const ProgramRun r = run(VELKOR_COUNT_EXE, "--explain --frame-width " +
                                                   std::to_string(frameWidth) + " " + q(recording));
    EXPECT_EQ(r.exit, 0) << r.err;
    Explained e;
    std::map<int, std::pair<int, int>> perFrame;  // frame: counted, rejected
    for (const std::string& line : linesOf(r.out)) {
        const json record = json::parse(line);
        if (record.contains("summary")) e.summary = record["summary"];
        if (!record.contains("ended")) continue;
        const json& ended = record["ended"];
        auto& [counted, rejected] = perFrame[ended["frame"].get<int>()];
        ++(ended["verdict"] == "counted" ? counted : rejected);
    }
    for (const auto& [frame, tally] : perFrame) {
        if (tally.second > e.worstRejected) {
            e.worstFrame = frame;
            e.worstRejected = tally.second;
            e.worstCounted = tally.first;
        }
    }
    return e;
}

std::string pdfText(const std::string& pdf, const std::string& mode = "-layout") {
    const ProgramRun r = run("pdftotext", mode + " " + q(pdf) + " -");
    EXPECT_EQ(r.exit, 0) << r.err;
    return r.out;
}

// The figures of a table row: recorded (-1: not recorded), replay, difference (NaN: none), the
// verdicts.
struct Row {
    long recorded = -1;
    long replay = 0;
    double difference = NAN;
    std::vector<long> verdicts;
};

// The row of the table that starts with `name`, read from its end: 8 verdicts, the difference
// ("-4.0 %" or "-"), the replay total and the recorded one ("-").
Row tableRow(const std::string& text, const std::string& name) {
    for (std::string line : linesOf(text)) {
        // The layout may indent the table by a column that text further down the page opens.
        line.erase(0, line.find_first_not_of(' '));
        if (line.rfind(name + " ", 0) != 0) continue;
        std::vector<std::string> w = words(line.substr(name.size()));
        Row row;
        if (w.size() < 11) break;
        for (size_t i = w.size() - 8; i < w.size(); ++i) row.verdicts.push_back(std::stol(w[i]));
        w.resize(w.size() - 8);
        if (w.back() == "%") {
            w.pop_back();
            row.difference = std::stod(w.back());
        }
        w.pop_back();
        row.replay = std::stol(w.back());
        w.pop_back();
        row.recorded = w.back() == "-" ? -1 : std::stol(w.back());
        return row;
    }
    ADD_FAILURE() << "no row \"" << name << "\" in\n" << text;
    return {};
}

std::vector<long> verdictsOf(const json& tally) {
    const char* whole[] = {"counted",  "too short", "too long", "too narrow",
                           "too wide", "too small", "too large"};
    std::vector<long> row;
    for (const char* v : whole) row.push_back(tally[v].get<long>());
    long pieces = 0;
    for (const auto& [key, value] : tally.items())
        if (key.rfind("piece", 0) == 0) pieces += value.get<long>();
    row.push_back(pieces);
    return row;
}

void expectDifference(double shown, const json& replay, const json& recorded) {
    if (recorded.is_null() || recorded.get<long>() == 0) {
        EXPECT_TRUE(std::isnan(shown));
        return;
    }
    const double expected =
        (replay.get<double>() - recorded.get<double>()) / recorded.get<double>() * 100;
    EXPECT_NEAR(shown, expected, 0.05);
}

struct Session {
    const char* name;
    const char* synth;
    int frameWidth;
    int channel1Class;  // >= 0: the report of a copy gives channel 1 this class instead
};

const Session sessions[] = {
    {"OneChannel", "--minutes 2 --channel 10:500:2 --density 3 --touching 0.3", 1473, -1},
    {"FourChannels",
     "--minutes 2 --channel 10:120:2 --channel 130:250:3 --channel 261:380:4 "
     "--channel 390:500:5 --density 4 --touching 0.4",
     1116, -1},
    {"PastMidnight",
     "--minutes 3 --channel 10:250:2 --channel 261:500:4 --density 3 "
     "--start '2026-05-14 23:58:30'",
     700, -1},
    {"WrongClass",
     "--minutes 2 --channel 10:120:2 --channel 130:250:3 --channel 261:380:4 "
     "--channel 390:500:5 --density 4 --touching 0.4",
     1116, 6},
};

void PrintTo(const Session& s, std::ostream* os) {
    *os << s.name;
}

class SessionCheckPdf : public testing::TestWithParam<Session> {};

TEST_P(SessionCheckPdf, EveryFigureIsVelkorCountsAtTheSameFrameWidth) {
    if (!havePoppler()) GTEST_SKIP() << "pdftotext and pdfinfo (poppler-utils) are not installed";
    const Session& s = GetParam();
    TempDir dir;
    std::string recording = synthesize(dir.file("session"), s.synth);
    if (s.channel1Class >= 0) {
        // The same recording with a report that gives channel 1 another size class.
        std::string report = readBytes(dir.file("session.mse"));
        const std::string key = "Size Group1=";
        const size_t at = report.find(key);
        ASSERT_NE(at, std::string::npos);
        report.replace(at + key.size(), 1, std::to_string(s.channel1Class));
        writeBytes(dir.file("wrong.mse"), report);
        std::filesystem::copy_file(recording, dir.file("wrong.blb"));
        recording = dir.file("wrong.blb");
    }
    const std::string pdf = dir.file("check.pdf");
    writeCheck(pdf, recording, s.frameWidth);
    const Explained e = explain(recording, s.frameWidth);
    const json& sum = e.summary;
    const std::string text = pdfText(pdf);

    // The header.
    for (const std::string& figure :
         {"Frames: " + std::to_string(sum["frames"].get<int>()),
          "Lines: " + std::to_string(sum["lines"].get<int>()),
          "Frame width: " + std::to_string(s.frameWidth) + " lines",
          "Damaged lines: " + std::to_string(sum["damagedLines"].get<int>())})
        EXPECT_NE(text.find(figure), std::string::npos) << figure << " not in\n" << text;

    // A row per channel and the sum.
    const size_t channels = sum["totals"].size();
    std::vector<long> sums(8, 0);
    for (size_t c = 0; c < channels; ++c) {
        const Row row = tableRow(text, "Counter " + std::to_string(c + 1));
        const json& recorded = sum["recorded"]["totals"][c];
        EXPECT_EQ(row.replay, sum["totals"][c].get<long>()) << "channel " << c + 1;
        EXPECT_EQ(row.recorded, recorded.is_null() ? -1 : recorded.get<long>());
        expectDifference(row.difference, sum["totals"][c], recorded);
        const std::vector<long> verdicts = verdictsOf(sum["verdicts"][c]);
        EXPECT_EQ(row.verdicts, verdicts) << "channel " << c + 1;
        for (size_t v = 0; v < verdicts.size(); ++v) sums[v] += verdicts[v];
    }
    const Row all = tableRow(text, "All channels");
    EXPECT_EQ(all.replay, sum["total"].get<long>());
    EXPECT_EQ(all.recorded, sum["recorded"]["total"].get<long>());
    expectDifference(all.difference, sum["total"], sum["recorded"]["total"]);
    EXPECT_EQ(all.verdicts, sums);

    // The frame with the most rejected objects.
    std::smatch m;
    ASSERT_TRUE(std::regex_search(text, m,
                                  std::regex(R"(Frame (\d+) of (\d+) at \d\d:\d\d:\d\d \(lines )"
                                             R"((\d+) to (\d+)\): Counted (\d+), rejected (\d+))")))
        << text;
    EXPECT_EQ(std::stoi(m[1]), e.worstFrame);
    EXPECT_EQ(std::stoi(m[2]), sum["frames"].get<int>());
    EXPECT_EQ(std::stol(m[3]), long(e.worstFrame - 1) * s.frameWidth + 1);
    EXPECT_EQ(std::stoi(m[5]), e.worstCounted);
    EXPECT_EQ(std::stoi(m[6]), e.worstRejected);

    // The minutes that differ most are rows of velkor-count --per-minute.
    const ProgramRun perMinute =
        run(VELKOR_COUNT_EXE,
            "--per-minute --frame-width " + std::to_string(s.frameWidth) + " " + q(recording));
    ASSERT_EQ(perMinute.exit, 0) << perMinute.err;
    std::string raw = pdfText(pdf, "-raw");
    std::replace(raw.begin(), raw.end(), '\n', ' ');
    const std::regex minute(R"((\d\d:\d\d:\d\d) replay (\d+), recorded (\d+\.\d))");
    int minutes = 0;
    for (auto it = std::sregex_iterator(raw.begin(), raw.end(), minute);
         it != std::sregex_iterator(); ++it, ++minutes) {
        const std::string time = (*it)[1], replay = (*it)[2], recordedMean = (*it)[3];
        bool found = false;
        for (const std::string& line : linesOf(perMinute.out)) {
            std::vector<std::string> cells;
            std::stringstream in(line);
            for (std::string cell; std::getline(in, cell, ',');) cells.push_back(cell);
            if (cells.size() != 1 + 2 * channels || cells[0].find(" " + time) == std::string::npos)
                continue;
            for (size_t c = 0; c < channels; ++c)
                found =
                    found || (cells[1 + c] == replay && cells[1 + channels + c] == recordedMean);
        }
        EXPECT_TRUE(found) << (*it)[0] << " is no row of\n" << perMinute.out;
    }
    EXPECT_GT(minutes, 0) << raw;

    if (s.channel1Class >= 0) {
        // The class the report gives is the one named and counted with.
        EXPECT_NE(text.find("Counter 1 (100 g)"), std::string::npos) << text;
        EXPECT_NE(text.find("Settings: the session report's size classes"), std::string::npos);
    }
}

INSTANTIATE_TEST_SUITE_P(Sessions, SessionCheckPdf, testing::ValuesIn(sessions),
                         [](const testing::TestParamInfo<Session>& info) {
                             return std::string(info.param.name);
                         });

TEST(SessionCheckFolder, HasAPagePerRecordingSortedByName) {
    if (!havePoppler()) GTEST_SKIP() << "pdftotext and pdfinfo (poppler-utils) are not installed";
    TempDir dir;
    std::filesystem::create_directory(dir.path() / "sessions");
    for (const char* name : {"b-noon", "a-morning", "c-evening"})
        synthesize(dir.file("sessions/") + name, "--minutes 0.5 --channel 10:500:2");
    const std::string pdf = dir.file("all.pdf");
    writeCheck(pdf, dir.file("sessions"), 1116);
    const ProgramRun info = run("pdfinfo", q(pdf));
    EXPECT_NE(info.out.find("Pages:           3"), std::string::npos) << info.out;
    EXPECT_NE(info.out.find("595 x 842 pts (A4)"), std::string::npos) << info.out;
    const char* order[] = {"a-morning.blb", "b-noon.blb", "c-evening.blb"};
    for (int page = 1; page <= 3; ++page) {
        const ProgramRun text = run("pdftotext", "-layout -f " + std::to_string(page) + " -l " +
                                                     std::to_string(page) + " " + q(pdf) + " -");
        EXPECT_NE(text.out.find(std::string("Session check: ") + order[page - 1]),
                  std::string::npos)
            << "page " << page << ":\n"
            << text.out;
    }
}

// Share of the pixels of `image` within rows `top`..`bottom` (fractions of its height) that
// `wanted` accepts.
double share(const QImage& image, double top, double bottom,
             const std::function<bool(QColor)>& wanted) {
    const int y0 = int(top * image.height()), y1 = int(bottom * image.height());
    long hits = 0, all = 0;
    for (int y = y0; y < y1; ++y)
        for (int x = 0; x < image.width(); ++x, ++all) hits += wanted(image.pixelColor(x, y));
    return all == 0 ? 0 : double(hits) / all;
}

TEST(SessionCheckPicture, RendersAnA4PageWithItsTableChartsAndFrame) {
    if (!havePoppler() || run("pdftoppm", "-v").exit != 0) GTEST_SKIP() << "no pdftoppm";
    TempDir dir;
    const std::string recording =
        synthesize(dir.file("session"),
                   "--minutes 2 --channel 10:250:2 --channel 261:500:4 --density 4 --touching 0.4");
    const std::string pdf = dir.file("check.pdf");
    writeCheck(pdf, recording, 1116);
    const ProgramRun r =
        run("pdftoppm", "-r 50 -png -singlefile " + q(pdf) + " " + q(dir.file("page")));
    ASSERT_EQ(r.exit, 0) << r.err;
    const QImage page(QString::fromStdString(dir.file("page.png")));
    ASSERT_FALSE(page.isNull());
    // A4 at 50 dots per inch: 8.27 x 11.69 inches.
    EXPECT_NEAR(page.width(), 413, 1);
    EXPECT_NEAR(page.height(), 585, 1);
    const auto dark = [](QColor c) { return c.lightness() < 110; };
    const auto orange = [](QColor c) { return c.red() > 170 && c.green() < 140 && c.blue() < 90; };
    const auto navy = [](QColor c) { return c.blue() > 80 && c.red() < 60 && c.green() < 60; };
    EXPECT_GT(share(page, 0.16, 0.27, dark), 0.02) << "the table";
    EXPECT_GT(share(page, 0.30, 0.72, orange), 0.002) << "the replay curves";
    EXPECT_GT(share(page, 0.30, 0.72,
                    [](QColor c) {
                        return c.saturation() < 20 && c.lightness() > 100 && c.lightness() < 160;
                    }),
              0.02)
        << "the recorded curves";
    EXPECT_GT(share(page, 0.78, 0.95, navy), 0.002) << "the frame's strokes";
}

struct Failure {
    const char* name;
    std::function<std::string(const TempDir&)> input;  // makes the input, returns its name
    const char* problem;
};

// The live counter's stored counter type does not reach the session check: the page says no
// overload correction and counts as velkor-count does by default.
TEST(SessionCheckCounterType, AStoredCounterTypeIsNotUsed) {
    if (!havePoppler()) GTEST_SKIP() << "poppler-utils are not installed";
    TempDir dir;
    const std::string recording = synthesize(dir.file("crowded"), "--lines 16740 --density 40");
    std::filesystem::create_directories(dir.file("config"));
    writeBytes(dir.file("config/Kest Registry.ini"), "[Kest]\nCountertype=5\n");
    const std::string pdf = dir.file("check.pdf");
    const ProgramRun r =
        run("env", "XDG_CONFIG_HOME=" + q(dir.file("config")) + " " + q(VELKOR_EXE) +
                       " --check-pdf " + q(pdf) + " --frame-width 100 " + q(recording));
    ASSERT_EQ(r.exit, 0) << r.err;
    const std::string text = pdfText(pdf);
    EXPECT_NE(text.find("no overload correction"), std::string::npos) << text;
    EXPECT_EQ(text.find("overload correction on"), std::string::npos);
    auto total = [&](const std::string& options) {
        const ProgramRun cli =
            run(VELKOR_COUNT_EXE, "--json --frame-width 100" + options + " " + q(recording));
        EXPECT_EQ(cli.exit, 0) << cli.err;
        return json::parse(cli.out)["summary"]["total"].get<long>();
    };
    ASSERT_NE(total(""), total(" --counter-type 5"));
    const std::vector<std::string> w = words(text);
    EXPECT_NE(std::find(w.begin(), w.end(), std::to_string(total(""))), w.end()) << text;
    EXPECT_EQ(std::find(w.begin(), w.end(), std::to_string(total(" --counter-type 5"))), w.end());
}

TEST(SessionCheckErrors, NameTheFileAndLeaveAGoodFileAlone) {
    const Failure failures[] = {
        {"missing recording", [](const TempDir& d) { return d.file("none.blb"); }, "cannot open"},
        {"no report",
         [](const TempDir& d) {
             const std::string r = synthesize(d.file("lonely"), "--minutes 0.2");
             std::filesystem::remove(d.file("lonely.mse"));
             return r;
         },
         ".mse"},
        {"empty folder",
         [](const TempDir& d) {
             std::filesystem::create_directory(d.path() / "empty");
             return d.file("empty");
         },
         "holds no recording"},
    };
    for (const Failure& f : failures) {
        SCOPED_TRACE(f.name);
        TempDir dir;
        const std::string input = f.input(dir);
        const std::string pdf = dir.file("good.pdf");
        writeBytes(pdf, "a good file");
        const ProgramRun r = run(VELKOR_EXE, "--check-pdf " + q(pdf) + " " + q(input));
        EXPECT_EQ(r.exit, 1);
        EXPECT_NE(r.err.find(input), std::string::npos) << r.err;
        EXPECT_NE(r.err.find(f.problem), std::string::npos) << r.err;
        EXPECT_EQ(readBytes(pdf), "a good file");
    }
    TempDir dir;
    const std::string recording = synthesize(dir.file("fine"), "--minutes 0.2");
    const std::string unwritable = dir.file("no-such-folder/check.pdf");
    const ProgramRun r = run(VELKOR_EXE, "--check-pdf " + q(unwritable) + " " + q(recording));
    EXPECT_EQ(r.exit, 1);
    EXPECT_NE(r.err.find(unwritable), std::string::npos) << r.err;
    EXPECT_EQ(run(VELKOR_EXE, "--check-pdf " + q(dir.file("x.pdf"))).exit, 2);
}

TEST(SessionCheckContent, VerdictRowSumsThePiecesOfSplits) {
    VerdictTally tally{};
    const std::pair<EndingVerdict, int> ended[] = {
        {EndingVerdict::counted, 7},       {EndingVerdict::tooShort, 3},
        {EndingVerdict::tooLarge, 2},      {EndingVerdict::pieceOfSameFish, 4},
        {EndingVerdict::pieceTooShort, 1}, {EndingVerdict::pieceTooSmallOnItsOwn, 5},
    };
    for (const auto& [verdict, n] : ended) tally[2][static_cast<int>(verdict)] = n;
    const std::array<int64_t, verdictColumns> expected{7, 3, 0, 0, 0, 0, 2, 10};
    EXPECT_EQ(verdictRow(tally, 2), expected);
    EXPECT_EQ(verdictRow(tally, 1), (std::array<int64_t, verdictColumns>{}));
    EXPECT_STREQ(verdictColumnName(0), "counted");
    EXPECT_STREQ(verdictColumnName(6), "too large");
    EXPECT_STREQ(verdictColumnName(7), "pieces");
}

TEST(SessionCheckContent, MostDifferentMinutesAreTheLargestGapsFirst) {
    // Three minutes and a half; the recorded curve runs at 10 fish a minute throughout.
    const int64_t lines = 3 * linesPerMinute + linesPerMinute / 2;
    const double start = 46000.5;  // 12:00:00
    const ThroughputCurve flat{{0.5, 10}, {0.5 + 4.0 / 1440, 10}, {0.5 + 4.0 / 1440, 0}};
    struct Case {
        std::vector<int> perMinute;  // objects counted in minutes 0..3
        std::vector<int64_t> expected;
    };
    const Case cases[] = {
        {{10, 10, 10, 5}, {}},        // no gap; the half minute's 5 is its rate of 10
        {{10, 14, 3, 5}, {2, 1}},     // 7 before 4
        {{12, 8, 10, 9}, {3, 0, 1}},  // the half minute at 18 a minute first; ties by time
        {{20, 0, 30, 0}, {2, 0, 1}},  // at most three
    };
    for (const Case& c : cases) {
        ThroughputTally tally(linesPerMinute);
        for (size_t m = 0; m < c.perMinute.size(); ++m)
            for (int k = 0; k < c.perMinute[m]; ++k)
                tally.count(static_cast<int32_t>(m * linesPerMinute + 1 + k), 1);
        std::vector<int64_t> got;
        for (const MinuteDifference& d : mostDifferentMinutes(tally, 1, lines, start, flat, 3)) {
            got.push_back(d.minute);
            // The page says of the short last minute that its count is scaled.
            EXPECT_EQ(d.share, d.minute == 3 ? 0.5 : 1.0) << d.minute;
        }
        EXPECT_EQ(got, c.expected) << testing::PrintToString(c.perMinute);
    }
}

}  // namespace
}  // namespace velkor::test
