// The INI builder and the session report writer, checked byte for byte and by reading what they
// write back with nyjarstillingar.
#include <gtest/gtest.h>

#include <cmath>
#include <memory>

#include "io/errors.h"
#include "io/file_names.h"
#include "settings/ini_builder.h"
#include "settings/profile_ini.h"
#include "settings/report_writer.h"
#include "settings/session_report.h"
#include "test_files.h"

namespace velkor {
namespace {

using testing::readBytes;
using testing::TempDir;
using testing::writeBytes;

TEST(IniBuilder, ReturningToASectionRepeatsItsHeader) {
    Tini_files ini;
    ini.writestring("Program", "a", "1");
    ini.writestring("Settings", "b", "2");
    ini.writestring("Program", "c", "3");
    EXPECT_EQ(ini.lines(), (std::vector<std::string>{"[Program]", "a=1", "[Settings]", "b=2",
                                                     "[Program]", "c=3"}));
    ini.ini_newfile();
    ini.writeinteger("Program", "d", -42);
    ini.writebool("program", "e", true);  // section names compare case-sensitively
    EXPECT_EQ(ini.lines(), (std::vector<std::string>{"[Program]", "d=-42", "[program]", "e=1"}));
}

TEST(IniBuilder, RealsWithSevenDecimals) {
    const struct {
        double value;
        char separator;
        const char* text;
    } cases[] = {
        {0.005, '.', "0.0050000"},
        {-1.5, ',', "-1,5000000"},
        {42632.58347222, '.', "42632.5834722"},
        {0.99999999, '.', "1.0000000"},
        {1e-9, '.', "0.0000000"},
        {-1e-9, ',', "0,0000000"},  // rounds to zero: no sign
        {123456789.0, ',', "123456789,0000000"},
    };
    for (const auto& c : cases) EXPECT_EQ(formatReal7(c.value, c.separator), c.text) << c.value;
    Tini_files ini;
    ini.setDecimalSeparator(',');
    ini.writefloat("P", "x", 2.25);
    EXPECT_EQ(ini.lines().back(), "x=2,2500000");
}

TEST(IniBuilder, SavesWindows1252WithCrLfAndReplacesTheFile) {
    TempDir folder;
    const std::string file = folder.file("out.mse");
    writeBytes(file, "old content that is longer than the new one\r\n");
    Tini_files ini;
    ini.writestring("Program", "Tank", "Fj\xC3\xB6r\xC3\xB0ur \xE2\x82\xAC \xE4\xB8\xAD");
    ini.ini_savefile(file);
    EXPECT_EQ(readBytes(file), "[Program]\r\nTank=Fj\xF6r\xF0ur \x80 ?\r\n");
    EXPECT_EQ(ini.lines().size(), 2u);  // saving keeps the lines
    EXPECT_FALSE(std::filesystem::exists(file + ".writing"));

    EXPECT_THROW(ini.ini_savefile(folder.file("no such folder/out.mse")), FileAccessError);
}

TEST(ReportWriter, ThroughputThinning) {
    const struct {
        size_t points, written, step;
    } cases[] = {
        {0, 0, 0}, {1, 0, 0}, {2, 1, 1}, {3, 2, 1}, {300, 299, 1}, {301, 150, 2}, {1000, 249, 4},
    };
    for (const auto& c : cases) {
        const auto positions = throughputSamplePositions(c.points);
        ASSERT_EQ(positions.size(), c.written) << c.points;
        for (size_t j = 0; j < positions.size(); ++j) EXPECT_EQ(positions[j], j * c.step);
        if (!positions.empty()) {
            const size_t s = c.step - 1;
            EXPECT_LT(positions.back(), c.points - s - 1);
        }
    }
}

TEST(ReportWriter, KeysInTheWritersOrder) {
    ReportContent r;
    r.total = 120;
    r.lasting = 1.0 / 24;
    r.comments = {"first", "second"};
    r.tank = "T";
    r.channels.resize(1);
    r.channels[0].sessionCount = 120;
    r.channels[0].overloadCorrections = 9;
    r.channels[0].throughput = {6, 12, 18};
    r.storedValues = {"10:00:00     5"};
    r.channels[0].distribution = ReportDistribution{};
    r.decimalSeparator = ',';
    Tini_files ini;
    buildSessionReport(r, ini);
    std::string keys;
    for (const std::string& line : ini.lines()) keys += line.substr(0, line.find('=')) + "|";
    EXPECT_EQ(keys,
              "[Program]|Group|Total|Overload|Lasting|DateTime|Maximum|Nocommentlines|comment0|"
              "comment1|operator|Personincharge|Origin|Destination|logoimage|Tank|Camera serial|"
              "Camera MacAddress|PC MacAddress|Counter name|Dropbox Computer Number|Counter type|"
              "Average|EstimatedSize1|EstimatedSize2|EstimatedSize3|EstimatedSize4|[Settings]|"
              "AutoSense|ForcedClamping|Version|Ledge|Redge|ScanRate|Amplification|NrChannels|"
              "EnableMulti|[Kest]|Size Group1|Size Group2|Size Group3|Size Group4|%width1|"
              "Multib1|Multie1|Counters1|CountersT1|EEDTO1|Countname1|Countname2|Countname3|"
              "Countname4|channelwidth|[StoredValues]|0|[ThroughputChart1]|Y0|X0|Y1|X1|"
              "[Distribution1]|G0|G1|G2|G3|G4|G5|G6|G7|G8|G9|G10|G11|AW|Std|DNr|");
    const auto text = [&](const std::string& key) {
        for (const std::string& line : ini.lines()) {
            if (line.rfind(key + "=", 0) == 0) return line.substr(key.size() + 1);
        }
        return std::string("(missing)");
    };
    EXPECT_EQ(text("Group"), "1 g");
    EXPECT_EQ(text("Average"), "2");  // 120 fish in 60 minutes
    EXPECT_EQ(text("EEDTO1"), "2,5");
    EXPECT_EQ(text("Lasting"), "0,0416667");
    EXPECT_EQ(text("Y1"), "12,0000000");

    r.lasting = 0.0001;
    buildSessionReport(r, ini);
    EXPECT_EQ(text("Average"), " ");
    Tini_files saved = ini;
    TempDir folder;
    saved.ini_savefile(folder.file("short.mse"));
    EXPECT_EQ(ProfileIni::load(folder.file("short.mse")).readString("Program", "Average"), "");
}

class RoundTrip : public ::testing::TestWithParam<char> {};
INSTANTIATE_TEST_SUITE_P(Separators, RoundTrip, ::testing::Values('.', ','),
                         [](const auto& info) { return info.param == '.' ? "Dot" : "Comma"; });

TEST_P(RoundTrip, WrittenReportReadsBack) {
    testing::CommaLocale comma;  // reading and writing must not care about the locale
    TempDir folder;
    ReportContent r;
    r.decimalSeparator = GetParam();
    r.tank = "Fj\xC3\xB6r\xC3\xB0ur";
    r.dateTime = 45292.0 + 0.5 / 24;  // 00:30 on 1 Jan 2024
    r.lasting = 1.0 / 24;             // started 23:30 the day before
    r.curveStart = r.dateTime - r.lasting;
    r.ledge = 10;
    r.redge = 1600;
    r.channelwidth = 4;
    r.sizeGroup = {0, 9, 4, 2};
    r.countName = {"North", "South", "C3", "C4"};
    r.channels.resize(3);
    for (size_t n = 0; n < 3; ++n) {
        r.channels[n].leftEdge = 10 + static_cast<int32_t>(n) * 530;
        r.channels[n].rightEdge = 539 + static_cast<int32_t>(n) * 530;
        r.channels[n].widthMm = 400;
        for (int i = 0; i < 361; ++i) r.channels[n].throughput.push_back(i * 0.5 + n);
    }
    const std::string folderName = utf8FromPath(folder.path()) + "/";
    const std::string file = newReportFileName(folderName, r.dateTime, r.tank);
    EXPECT_EQ(utf8FromPath(pathFromUtf8(file).filename()), "20240101_Fj\xC3\xB6r\xC3\xB0ur_0.mse");
    saveSessionReport(r, file);
    EXPECT_EQ(
        utf8FromPath(pathFromUtf8(newReportFileName(folderName, r.dateTime, r.tank)).filename()),
        "20240101_Fj\xC3\xB6r\xC3\xB0ur_1.mse");

    SessionReport back;
    std::string blb = file.substr(0, file.size() - 4) + ".blb";
    ASSERT_TRUE(nyjarstillingar(blb, back, nullptr));
    EXPECT_EQ(back.windowTitle, "Tank: Fj\xC3\xB6r\xC3\xB0ur       01 Jan 2024");
    EXPECT_EQ(back.channelCount, 3);
    EXPECT_EQ(back.scanLeftEdge, 10);
    EXPECT_EQ(back.scanRightEdge, 1600);
    EXPECT_EQ(back.counterWidthMm, 1200);
    for (int n = 1; n <= 3; ++n) {
        EXPECT_EQ(back.channelTable[n].leftEdge, r.channels[n - 1].leftEdge);
        EXPECT_EQ(back.channelTable[n].rightEdge, r.channels[n - 1].rightEdge);
        EXPECT_EQ(back.channelTable[n].widthMm, 400);
        EXPECT_EQ(back.sizeGroup[n], r.sizeGroup[n - 1]);
    }
    EXPECT_EQ(back.counterCaptions[2], "South   3 Kg");
    EXPECT_NEAR(back.sessionStart, r.curveStart, 2e-7);
    EXPECT_NEAR(back.endTime, r.dateTime, 1e-7);

    // 361 points every 10 s: s = 1, samples at positions 0, 2, ..., 358; the reader shows from
    // sample 1 on, past midnight rising above 1.
    const auto& curve = back.curves[2];
    ASSERT_EQ(curve.size(), 1 + 179 + 1);
    EXPECT_NEAR(curve.front().first, 23.5 / 24, 2e-7);
    for (size_t j = 1; j <= 179; ++j) {
        EXPECT_NEAR(curve[j].first, 23.5 / 24 + (2.0 * j) * 10 / 86400, 1e-5) << j;
        EXPECT_DOUBLE_EQ(curve[j].second, 2.0 * j * 0.5 + 1) << j;
    }
    EXPECT_NEAR(curve.back().first, 0.5 / 24, 1e-7);
}

}  // namespace
}  // namespace velkor
