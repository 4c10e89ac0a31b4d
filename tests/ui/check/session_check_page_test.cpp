// The session check's page as a reader sees it: a page with extreme figures (eight-digit totals,
// five-digit percentages, long names with accents) is written as PDF, rendered with pdftoppm at
// 200 dpi, and every word the text layer places is checked against the pixels: its ink is there
// at both of its ends (nothing clipped), and no word runs into its neighbour. Besides, the
// table's layout itself with tables of content: no cells overlap and every text fits its cell.
#include <gtest/gtest.h>

#include <QFontMetricsF>
#include <QImage>
#include <QString>
#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <regex>

#include "settings/recorded_figures.h"
#include "tests/support/run_program.h"
#include "tests/support/temp_dir.h"
#include "ui/check/session_check_page.h"
#include "ui/check/session_check_table.h"

namespace velkor::test {
namespace {

bool havePdftoppm() {
    return runProgram("pdftoppm", "-v", 30).exit == 0 &&
           runProgram("pdftotext", "-v", 30).exit == 0;
}

// Figures of a long session, the channel's name and class left to the caller.
struct Figures {
    std::optional<int32_t> recorded;
    int32_t replay;
    std::array<int64_t, verdictColumns> verdicts;
};

const Figures extreme[] = {
    {48000, 9840000, {99999999, 150611, 619696, 12345678, 23456789, 1, 0, 98765432}},
    {12345678, 23456789, {23456789, 98765432, 0, 150611, 7, 619696, 16913577, 12345678}},
    {98765432, 150611, {150611, 619696, 98765432, 1, 23456789, 0, 12345678, 99999999}},
    {16913577, 619696, {619696, 0, 1, 2, 3, 4, 5, 6}},
};

// A session of twelve hours with `channels` channels and the figures above.
SessionCheckContent extremeContent(int channels, bool longNames) {
    SessionCheckContent c;
    c.fileName = "zwölf-stunden-é-µ.blb";
    c.recording = c.fileName;
    c.tank = "Bassin é µ";
    c.generation = "G…7";
    c.start = 46000.25;
    c.end = c.start + 0.5;
    c.lines = (12 * 3600 - 30) * linesPerSecond;
    c.frames = c.lines / linesPerSecond;
    c.frameWidth = linesPerSecond;
    c.counterWidthMm = 500;
    c.channelCount = channels;
    c.damagedLines = 1234567;
    c.version = "test";
    int64_t recorded = 0;
    for (int ch = 1; ch <= channels; ++ch) {
        const Figures& f = extreme[ch - 1];
        ChannelCheck& k = c.channels[ch];
        k.name = longNames ? "Becken Süd – Zählkanal é µ … Nummer " + std::to_string(ch)
                           : "Counter " + std::to_string(ch);
        k.reportClass = k.usedClass = ch + 4;
        k.recorded = f.recorded;
        k.replay = f.replay;
        k.difference = differencePercent(f.replay, f.recorded);
        k.verdicts = f.verdicts;
        recorded += f.recorded.value_or(0);
        c.replayTotal += f.replay;
        // The recorded curve high and flat, the replay's low, the minutes that differ most
        // under the recorded curve's top.
        for (int m = 0; m <= 720; m += 10) {
            k.recordedCurve.emplace_back(0.25 + m / 1440.0, 9000);
            k.replayCurve.emplace_back(0.25 + m / 1440.0, 2000 + 300 * ch);
        }
        // The last of them the session's last half minute.
        for (int m : {100, 400, 719})
            k.mostDifferent.push_back({m, c.start + m / 1440.0, 2000, 9000, m == 719 ? 0.5 : 1});
    }
    c.recordedTotal = static_cast<int32_t>(std::min<int64_t>(recorded, 99999999));
    c.totalDifference = differencePercent(c.replayTotal, c.recordedTotal);
    return c;
}

// A word of the text layer, in points.
struct Word {
    std::string text;
    double xMin, yMin, xMax, yMax;
};

std::vector<Word> wordsOf(const std::string& pdf) {
    const ProgramRun r = runProgram("pdftotext", "-bbox " + shellQuoted(pdf) + " -", 60);
    EXPECT_EQ(r.exit, 0) << r.err;
    std::vector<Word> words;
    const std::regex word(
        R"re(<word xMin="([\d.]+)" yMin="([\d.]+)" xMax="([\d.]+)" yMax="([\d.]+)">([^<]*)</word>)re");
    for (auto it = std::sregex_iterator(r.out.begin(), r.out.end(), word);
         it != std::sregex_iterator(); ++it)
        words.push_back({(*it)[5], std::stod((*it)[1]), std::stod((*it)[2]), std::stod((*it)[3]),
                         std::stod((*it)[4])});
    return words;
}

// Whether the pixels of `page` in the rectangle (points, scaled by `scale`) hold ink.
bool inked(const QImage& page, double scale, double x0, double y0, double x1, double y1) {
    const int left = std::max(0, int(std::floor(x0 * scale)));
    const int right = std::min(page.width() - 1, int(std::ceil(x1 * scale)));
    const int top = std::max(0, int(std::floor(y0 * scale)));
    const int bottom = std::min(page.height() - 1, int(std::ceil(y1 * scale)));
    for (int y = top; y <= bottom; ++y)
        for (int x = left; x <= right; ++x)
            if (page.pixelColor(x, y).lightness() < 150) return true;
    return false;
}

// Renders `pdf` at 200 dpi and checks each word of its text layer against the pixels.
void expectEveryWordReadable(const std::string& pdf, const TempDir& dir) {
    const ProgramRun r = runProgram(
        "pdftoppm",
        "-r 200 -png -singlefile " + shellQuoted(pdf) + " " + shellQuoted(dir.file("page")), 120);
    ASSERT_EQ(r.exit, 0) << r.err;
    const QImage page(QString::fromStdString(dir.file("page.png")));
    ASSERT_FALSE(page.isNull());
    const double scale = 200.0 / 72;
    const std::vector<Word> words = wordsOf(pdf);
    ASSERT_GT(words.size(), 50u);
    for (const Word& w : words) {
        const QString text = QString::fromStdString(w.text);
        if (text.trimmed().isEmpty()) continue;
        // A word written upwards (an axis's unit): its letters run from the bottom to the top.
        if (w.yMax - w.yMin > 2 * (w.xMax - w.xMin)) {
            const double letter = (w.yMax - w.yMin) / text.size();
            const double left = w.xMin + 0.25 * (w.xMax - w.xMin),
                         right = w.xMax - 0.25 * (w.xMax - w.xMin);
            EXPECT_TRUE(
                inked(page, scale, left, w.yMax - 2 * letter / 3, right, w.yMax - letter / 3))
                << "\"" << w.text << "\" at " << w.xMin << "," << w.yMin
                << " lost its first letter";
            EXPECT_TRUE(
                inked(page, scale, left, w.yMin + letter / 3, right, w.yMin + 2 * letter / 3))
                << "\"" << w.text << "\" at " << w.xMin << "," << w.yMin << " lost its last letter";
            continue;
        }
        // The first and the last letter's middle third: ink there, so nothing is clipped away.
        const double letter = (w.xMax - w.xMin) / text.size();
        const double top = w.yMin + 0.25 * (w.yMax - w.yMin),
                     bottom = w.yMax - 0.25 * (w.yMax - w.yMin);
        EXPECT_TRUE(inked(page, scale, w.xMin + letter / 3, top, w.xMin + 2 * letter / 3, bottom))
            << "\"" << w.text << "\" at " << w.xMin << "," << w.yMin << " lost its first letter";
        EXPECT_TRUE(inked(page, scale, w.xMax - 2 * letter / 3, top, w.xMax - letter / 3, bottom))
            << "\"" << w.text << "\" at " << w.xMin << "," << w.yMin << " lost its last letter";
    }
    // Words on one line keep apart.
    for (size_t i = 0; i < words.size(); ++i)
        for (size_t j = i + 1; j < words.size(); ++j) {
            const Word &a = words[i], &b = words[j];
            // A word written upwards has its ink checked above; its box is no line of text.
            const auto upwards = [](const Word& w) {
                return w.yMax - w.yMin > 2 * (w.xMax - w.xMin);
            };
            if (upwards(a) || upwards(b)) continue;
            // Lines of text may share their leading, not their letters' height.
            const double common = std::min(a.yMax, b.yMax) - std::max(a.yMin, b.yMin);
            const bool sameLine = common > 0.5 * std::min(a.yMax - a.yMin, b.yMax - b.yMin);
            const bool apart = a.xMax + 1 < b.xMin || b.xMax + 1 < a.xMin;
            EXPECT_TRUE(!sameLine || apart)
                << "\"" << a.text << "\" and \"" << b.text << "\" run into each other at " << a.xMin
                << "," << a.yMin;
        }
}

struct PageCase {
    const char* name;
    int channels;
    bool longNames;
};

void PrintTo(const PageCase& c, std::ostream* os) {
    *os << c.name;
}

class SessionCheckPageReadable : public testing::TestWithParam<PageCase> {};

TEST_P(SessionCheckPageReadable, EveryFigureReadsWholeAt200Dpi) {
    if (!havePdftoppm()) GTEST_SKIP() << "pdftoppm and pdftotext (poppler-utils) are not installed";
    TempDir dir;
    const QByteArray pdf =
        sessionCheckPdf({extremeContent(GetParam().channels, GetParam().longNames)});
    ASSERT_FALSE(pdf.isEmpty());
    std::ofstream(dir.file("check.pdf"), std::ios::binary).write(pdf.data(), pdf.size());
    // To look at the pages: VELKOR_KEEP_PAGES=folder.
    if (const char* keep = std::getenv("VELKOR_KEEP_PAGES"))
        std::filesystem::copy_file(
            dir.file("check.pdf"),
            std::filesystem::path(keep) / (std::string(GetParam().name) + ".pdf"),
            std::filesystem::copy_options::overwrite_existing);
    expectEveryWordReadable(dir.file("check.pdf"), dir);
}

// The ranks of the minutes that differ most stand in black on white, above the recorded curve
// that reaches the top of the plot; the short last minute says that its count is scaled.
TEST(SessionCheckReadBack, RanksStandClearOfTheCurvesAndAShortMinuteSaysItIsScaled) {
    if (!havePdftoppm()) GTEST_SKIP() << "pdftoppm and pdftotext (poppler-utils) are not installed";
    TempDir dir;
    const QByteArray pdf = sessionCheckPdf({extremeContent(1, false)});
    std::ofstream(dir.file("check.pdf"), std::ios::binary).write(pdf.data(), pdf.size());
    ASSERT_EQ(runProgram("pdftoppm",
                         "-r 200 -png -singlefile " + shellQuoted(dir.file("check.pdf")) + " " +
                             shellQuoted(dir.file("page")),
                         120)
                  .exit,
              0);
    const QImage page(QString::fromStdString(dir.file("page.png")));
    const double scale = 200.0 / 72;
    int ranks = 0;
    const std::vector<Word> words = wordsOf(dir.file("check.pdf"));
    double chartsTop = 0;  // below the charts' heading
    for (const Word& w : words)
        if (w.text == "Throughput") chartsTop = w.yMax;
    ASSERT_GT(chartsTop, 0);
    for (const Word& w : words) {
        if (w.yMin < chartsTop || (w.text != "1" && w.text != "2" && w.text != "3")) continue;
        ++ranks;
        int black = 0, white = 0, all = 0;
        for (int y = int(w.yMin * scale); y <= int(w.yMax * scale); ++y)
            for (int x = int(w.xMin * scale); x <= int(w.xMax * scale); ++x, ++all) {
                const QColor c = page.pixelColor(x, y);
                black += c.lightness() < 60;
                white += c.lightness() > 240;
            }
        EXPECT_GT(black, 10) << "rank " << w.text << " at " << w.xMin << "," << w.yMin;
        EXPECT_GT(white, all / 2) << "rank " << w.text << " at " << w.xMin << "," << w.yMin;
    }
    EXPECT_GE(ranks, 3);  // and the channel's number in its title
    std::string text =
        runProgram("pdftotext", "-raw " + shellQuoted(dir.file("check.pdf")) + " -", 60).out;
    std::replace(text.begin(), text.end(), '\n', ' ');
    EXPECT_NE(text.find("17:59:00 replay 2000, recorded 9000.0 (last 30 s only, replay scaled to "
                        "4000.0 a minute)"),
              std::string::npos)
        << text;
    EXPECT_EQ(text.find("12:40:00 replay 2000, recorded 9000.0 (last"), std::string::npos);
}

const PageCase pageCases[] = {
    {"OneChannel", 1, false},   {"TwoChannels", 2, false},  {"ThreeChannels", 3, true},
    {"FourChannels", 4, false}, {"FourLongNames", 4, true},
};

INSTANTIATE_TEST_SUITE_P(Extremes, SessionCheckPageReadable, testing::ValuesIn(pageCases),
                         [](const testing::TestParamInfo<PageCase>& info) {
                             return std::string(info.param.name);
                         });

// A page as velkor --check-pdf writes it for a crowded session of four channels: every word whole
// and apart, and nothing shortened to an ellipsis (the frame's caption wraps instead).
TEST(SessionCheckReadBack, FourChannelSessionFromTheProgramReadsWhole) {
    if (!havePdftoppm()) GTEST_SKIP() << "pdftoppm and pdftotext (poppler-utils) are not installed";
    TempDir dir;
    const ProgramRun synth =
        runProgram(VELKOR_SYNTH_EXE,
                   "--out " + shellQuoted(dir.file("session")) +
                       " --seed 7 --minutes 2 --density 6 --touching 0.5 --noise 3"
                       " --channel 10:120:2::6 --channel 130:250:3 --channel 261:380:6::1"
                       " --channel 390:500:5::8 --tank 'Bassin Süd é µ'",
                   120);
    ASSERT_EQ(synth.exit, 0) << synth.err;
    const std::string pdf = dir.file("check.pdf");
    const ProgramRun r = runProgram(VELKOR_EXE,
                                    "--check-pdf " + shellQuoted(pdf) + " --frame-width 2001 " +
                                        shellQuoted(dir.file("session.blb")),
                                    300);
    ASSERT_EQ(r.exit, 0) << r.err;
    expectEveryWordReadable(pdf, dir);
    const std::string text = runProgram("pdftotext", "-raw " + shellQuoted(pdf) + " -", 60).out;
    EXPECT_EQ(text.find("…"), std::string::npos) << text;
    EXPECT_NE(text.find("Bassin Süd é µ"), std::string::npos) << text;
}

// The table's layout: every cell apart from every other, every line of text within its cell by
// the page's own measure, every figure in exactly one cell and the names in every table.
struct LayoutCase {
    const char* name;
    int channels;
    bool longNames;
    double width;   // of the page's text
    size_t tables;  // how many the table takes
};

TEST(SessionCheckTableLayout, CellsKeepApartAndHoldTheirTexts) {
    const LayoutCase cases[] = {
        {"one channel on A4", 1, false, 527.28, 2},
        {"four channels on A4", 4, false, 527.28, 2},
        {"four long names on A4", 4, true, 527.28, 2},
        {"four long names, narrow", 4, true, 300, 3},
        {"two channels, very narrow", 2, true, 150, 12},
    };
    for (const LayoutCase& lc : cases) {
        SCOPED_TRACE(lc.name);
        CheckTableTexts texts = checkTableTexts(extremeContent(lc.channels, lc.longNames));
        // Class names of other languages.
        for (size_t r = 0; r + 1 < texts.rows.size(); ++r) texts.rows[r][1] = "µ-Klasse é…";
        const double left = 34, width = lc.width;
        const CheckTableLayout layout = layOutCheckTable(texts, left, 100, width);
        EXPECT_EQ(layout.tables.size(), lc.tables);
        EXPECT_GE(layout.cellPixels, 7);
        std::vector<const CheckTableCell*> cells;
        std::map<std::pair<int, int>, int> shown;  // (row, column): how often a figure is shown
        for (const CheckTable& t : layout.tables) {
            EXPECT_GE(t.bounds.left(), left - 1e-9);
            EXPECT_LE(t.bounds.right(), left + width + 1e-9);
            for (const CheckTableCell& c : t.cells) cells.push_back(&c);
        }
        for (const CheckTableCell* c : cells) {
            EXPECT_TRUE(c->column.contains(c->text));
            const double line = QFontMetricsF(c->font).height();
            EXPECT_LE(c->lines.size() * line, c->text.height() + 1e-9)
                << c->lines.join('|').toStdString();
            for (const QString& l : c->lines)
                EXPECT_LE(pageTextWidth(l, c->font), c->text.width())
                    << l.toStdString() << " in " << c->text.width();
            for (const CheckTableCell* d : cells)
                if (c != d) {
                    const QRectF both = c->column.intersected(d->column);
                    EXPECT_TRUE(both.width() < 1e-9 || both.height() < 1e-9)
                        << c->lines.join(' ').toStdString() << " overlaps "
                        << d->lines.join(' ').toStdString();
                }
        }
        // Every figure once, read back from the cells' lines.
        for (const CheckTable& t : layout.tables)
            for (const CheckTableCell& c : t.cells) {
                if (c.heading) continue;
                const QString text = c.lines.join(' ');
                for (size_t r = 0; r < texts.rows.size(); ++r)
                    for (int col = 1; col < texts.header.size(); ++col)
                        if (texts.rows[r][col] == text && !text.isEmpty() &&
                            c.alignment & Qt::AlignRight)
                            ++shown[std::make_pair(int(r), col)];
            }
        for (size_t r = 0; r < texts.rows.size(); ++r)
            for (int col = 1; col < texts.header.size(); ++col)
                if (!texts.rows[r][col].isEmpty()) {
                    EXPECT_GE(shown[std::make_pair(int(r), col)], 1)
                        << texts.rows[r][col].toStdString();
                }
    }
}

TEST(SessionCheckTableLayout, AnOrdinarySessionTakesOneTableAtTheLargestFont) {
    SessionCheckContent c = extremeContent(4, false);
    for (int ch = 1; ch <= 4; ++ch) {
        c.channels[ch].recorded = 1200;
        c.channels[ch].replay = 1180;
        c.channels[ch].difference = differencePercent(1180, 1200);
        c.channels[ch].verdicts = {1180, 40, 3, 0, 12, 5, 1, 22};
    }
    c.recordedTotal = 4800;
    c.replayTotal = 4720;
    c.totalDifference = differencePercent(4720, 4800);
    const CheckTableLayout layout = layOutCheckTable(checkTableTexts(c), 34, 100, 527.28);
    EXPECT_EQ(layout.tables.size(), 1u);
    EXPECT_EQ(layout.cellPixels, 9);
}

TEST(SessionCheckTableLayout, WrappingKeepsEveryLetter) {
    const QFont font = checkPageFont(9);
    const double narrow = pageTextWidth("narrow", font) + 1;
    struct Case {
        QString text;
        double width;
        QStringList expected;  // empty: only every letter kept and every line fitting
    };
    const Case cases[] = {
        {"too narrow", narrow, {"too", "narrow"}},
        {"too narrow", 2 * narrow + 20, {"too narrow"}},
        {"", 50, {""}},
        {"Zählkanal-é-µ-…-Nummer-eins-und-zwanzig", 40, {}},
        {"Frame 12 of 43170 at 17:59:00 (lines 1 to 1116): Counted 3, rejected 9 on its own",
         120,
         {}},
    };
    for (const Case& c : cases) {
        const QStringList lines = wrapToWidth(c.text, font, c.width);
        if (!c.expected.isEmpty()) {
            EXPECT_EQ(lines, c.expected) << c.text.toStdString();
        }
        QString back = lines.join("");
        QString original = c.text;
        EXPECT_EQ(back.remove(' '), original.remove(' ')) << c.text.toStdString();
        for (const QString& l : lines) EXPECT_LE(pageTextWidth(l, font) + 1, c.width + 1e-9);
    }
}

}  // namespace
}  // namespace velkor::test
