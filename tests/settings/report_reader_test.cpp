// The session report reader: INI text rules, integer and real conversion, and nyjarstillingar's
// defaults, clamps, channel-width choice and throughput curves. Every report test runs in the
// "C" locale and again in a locale whose decimal separator is ",".
#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <optional>
#include <random>

#include "io/errors.h"
#include "settings/profile_ini.h"
#include "settings/session_report.h"
#include "test_files.h"

namespace velkor {
namespace {

using testing::crlf;
using testing::TempDir;
using testing::writeBytes;
using Curve = std::vector<std::pair<double, double>>;

void expectCurve(const Curve& actual, const Curve& expected) {
    ASSERT_EQ(actual.size(), expected.size());
    for (size_t i = 0; i < actual.size(); ++i) {
        EXPECT_NEAR(actual[i].first, expected[i].first, 1e-12) << "point " << i;
        EXPECT_NEAR(actual[i].second, expected[i].second, 1e-12) << "point " << i;
    }
}

class ReportTest : public ::testing::TestWithParam<bool> {
protected:
    void SetUp() override {
        if (GetParam()) {
            comma_ = std::make_unique<testing::CommaLocale>();
            if (!comma_->available()) GTEST_SKIP() << "no locale with a \",\" decimal separator";
        }
    }
    // Writes `bytes` as the report of recording "session.blb" and reads it.
    SessionReport read(const std::string& bytes) {
        writeBytes(folder_.file("session.mse"), bytes);
        SessionReport report;
        std::string message;
        EXPECT_TRUE(nyjarstillingar(folder_.file("session.blb"), report, &message)) << message;
        return report;
    }
    TempDir folder_;
    std::unique_ptr<testing::CommaLocale> comma_;
};

INSTANTIATE_TEST_SUITE_P(Locales, ReportTest, ::testing::Values(false, true),
                         [](const auto& info) { return info.param ? "CommaLocale" : "CLocale"; });

TEST_P(ReportTest, StringToFloatAcceptsEitherSeparator) {
    const struct {
        const char* text;
        double value;
    } cases[] = {
        {"", 0},
        {"42632.5834722", 42632.5834722},
        {"42632,5834722", 42632.5834722},
        {"0.00500", 0.005},
        {"-1.5", -1.5},  // the sign covers the fraction too
        {"-0,25", -0.25},
        {"+2.5", 2.5},
        {"17", 17},
        {"007", 7},
    };
    for (const auto& c : cases) EXPECT_DOUBLE_EQ(stringtofloat(c.text), c.value) << c.text;
    // Long digit strings: decimals past what a double holds are dropped, not overflowed.
    EXPECT_NEAR(stringtofloat("0." + std::string(5000, '3')), 1.0 / 3, 1e-16);
    EXPECT_DOUBLE_EQ(stringtofloat("123456789012345678901234567890"), 1.2345678901234568e29);
    EXPECT_DOUBLE_EQ(stringtofloat("0.0000000000000000000000001"), 1e-25);
}

TEST_P(ReportTest, StringToFloatRejectsWhatIsNotANumber) {
    for (const char* text :
         {"abc", ".5", "5.", ",", "-", "+", "-.5", "1.-5", "1 .5", "1e5", "1.2.3", "0x10", " 1",
          "1,5,", "1,5.25"}) {  // "." wins over ",", so "1,5" is the integer part
        EXPECT_THROW(stringtofloat(text), ReportValueError) << text;
    }
    EXPECT_THROW(stringtofloat(std::string(5000, '9')), ReportValueError);  // beyond a double
}

TEST(ProfileInteger, DecimalAndHexadecimalForms) {
    const struct {
        const char* text;
        std::optional<int32_t> value;
    } cases[] = {
        {"12", 12},
        {"-7", -7},
        {"+3", 3},
        {"0x1F", 31},
        {"0X1f", 31},
        {"$ff", 255},
        {"$FFFFFFFF", -1},
        {"-2147483648", INT32_MIN},
        {"2147483647", INT32_MAX},
        {"2147483648", {}},
        {"0x", {}},
        {"$", {}},
        {"12abc", {}},
        {"1.5", {}},
        {"", {}},
        {"-", {}},
        {"0x-1", {}},
        {"$123456789", {}},
        {"yes", {}},
        {"99999999999999999999", {}},
    };
    for (const auto& c : cases) EXPECT_EQ(parseProfileInteger(c.text), c.value) << c.text;
}

TEST(ProfileIniText, LookupRules) {
    const auto ini = ProfileIni::parse(
        "\xEF\xBB\xBF"
        "; comment\r\n"
        "orphan=1\r\n"
        "[Program]\r\n"
        "  Tank =  Cage 7  \r\n"
        "Quoted=\"  spaced  \"\n"
        "Single='x'\r\n"
        "Nothing=\"\"\r\n"
        "Half=\"x'\r\n"
        "Blank=   \r\n"
        "\tTabbed\t=\t 7 \t\r\n"
        "Eq=a=b\r"
        "Total=1\r\n"
        "total=2\r\n"
        "no equals sign\r\n"
        "[Empty]\r\n"
        "[ program ]\r\n"
        "Late=1\r\n");
    EXPECT_EQ(ini.readString("PROGRAM", "tank"), "Cage 7");
    EXPECT_EQ(ini.readString("program", "Quoted"), "  spaced  ");
    EXPECT_EQ(ini.readString("program", "Single"), "x");
    EXPECT_EQ(ini.readString("program", "Nothing"), "");
    EXPECT_EQ(ini.readString("program", "Half"), "\"x'");
    EXPECT_EQ(ini.readString("program", "Blank"), "");
    EXPECT_EQ(ini.readInteger("program", "tabbed", 0), 7);  // tabs are blanks too
    EXPECT_EQ(ini.readString("program", "Eq"), "a=b");
    EXPECT_EQ(ini.readInteger("program", "TOTAL", 0), 1);  // first entry of a key wins
    EXPECT_FALSE(ini.hasKey("program", "no equals sign"));
    EXPECT_FALSE(ini.hasKey("program", "Late"));  // a repeated section is not looked up
    EXPECT_FALSE(ini.hasSection("Empty"));        // present only with an entry
    EXPECT_TRUE(ini.hasSection("Program"));
    EXPECT_FALSE(ini.readString("", "orphan").has_value());
    EXPECT_EQ(ini.readInteger("Program", "Tank", -9), -9);
}

TEST(ProfileIniText, DecodesWindows1252AndUtf8) {
    // "Fjörður" in Windows-1252, and in UTF-8.
    EXPECT_EQ(ProfileIni::parse("[P]\r\nTank=Fj\xF6r\xF0ur\r\n").readString("P", "Tank"),
              "Fj\xC3\xB6r\xC3\xB0ur");
    EXPECT_EQ(ProfileIni::parse("[P]\r\nTank=Fj\xC3\xB6r\xC3\xB0ur\r\n").readString("P", "Tank"),
              "Fj\xC3\xB6r\xC3\xB0ur");
    // A byte-order mark before the first section header is no part of it.
    EXPECT_EQ(ProfileIni::parse("\xEF\xBB\xBF[P]\r\nA=1\r\n").readInteger("P", "A", 0), 1);
    EXPECT_EQ(ProfileIni::parse("[P]\nName=\x80 \x9F\n").readString("P", "Name"),
              "\xE2\x82\xAC \xC5\xB8");  // euro sign, Y with diaeresis
}

TEST(ProfileIniText, BinaryInputDoesNotBreakTheReader) {
    std::mt19937 random(7);
    for (int round = 0; round < 200; ++round) {
        std::string bytes(static_cast<size_t>(random() % 400), '\0');
        for (char& b : bytes) b = "[]=\r\n\"'x$0"[random() % 11];
        if (round % 2 == 1) {
            for (char& b : bytes) b = static_cast<char>(random());
        }
        const auto ini = ProfileIni::parse(bytes);
        (void)ini.readInteger("x", "x", 0);
        (void)ini.hasSection("");
    }
}

TEST_P(ReportTest, MissingReportReturnsFalseAndChangesNothing) {
    SessionReport report;
    report.channelCount = 3;
    std::string message;
    EXPECT_FALSE(nyjarstillingar(folder_.file("none.blb"), report, &message));
    EXPECT_EQ(message, "Cant find corresponding reportfile (.mse)");
    EXPECT_EQ(report.channelCount, 3);
    EXPECT_FALSE(nyjarstillingar(folder_.file("none.blb"), report, nullptr));
}

TEST(ReportName, ExtensionReplacedOrAppended) {
    EXPECT_EQ(reportFileName("C:\\Reports\\20240101_a_0.blb"), "C:\\Reports\\20240101_a_0.mse");
    EXPECT_EQ(reportFileName("/data/run.2/session.blc"), "/data/run.2/session.mse");
    EXPECT_EQ(reportFileName("/data/run.2/session"), "/data/run.2/session.mse");
    EXPECT_EQ(reportFileName("session"), "session.mse");
}

TEST_P(ReportTest, ReportWithNoKeysGivesEveryDefault) {
    const SessionReport r = read("");
    EXPECT_EQ(r.channelCount, 1);
    EXPECT_EQ(r.scanLeftEdge, 0);
    EXPECT_EQ(r.scanRightEdge, 511);
    EXPECT_EQ(r.channelwidthIndex, 0);
    EXPECT_EQ(r.counterWidthMm, 500);
    EXPECT_EQ(r.channelTable[1].leftEdge, 0);
    EXPECT_EQ(r.channelTable[1].rightEdge, 511);
    EXPECT_EQ(r.channelTable[1].widthMm, 500);
    EXPECT_EQ(r.lengthDivisor, 4);
    EXPECT_EQ(r.edgeAngleThreshold, 10);
    EXPECT_EQ(r.runAreaFactor, 2);
    for (int n = 1; n <= 4; ++n) {
        EXPECT_EQ(r.sizeGroup[n], 2);
        EXPECT_EQ(r.counterNames[n], "Counter " + std::to_string(n));
        EXPECT_EQ(r.counterCaptions[n], "Counter " + std::to_string(n) + "   1 g");
    }
    EXPECT_EQ(r.windowTitle, "Tank:        30 Dec 1899");
    EXPECT_EQ(r.sessionStart, 0);
    EXPECT_EQ(r.curves[1], (Curve{{0, 0}, {0, 0}}));
    EXPECT_TRUE(r.curves[2].empty());
}

TEST_P(ReportTest, ChannelWidthChoice) {
    const struct {
        const char* settings;
        const char* channelwidth;  // nullptr: key missing
        int32_t index, mm;
    } cases[] = {
        {"Ledge=0\r\nRedge=1500", nullptr, 1, 1000}, {"Ledge=0\r\nRedge=1499", nullptr, 0, 500},
        {"Ledge=100\r\nRedge=1600", "-4", 1, 1000},  // below -1 is -1, then the span decides
        {"Ledge=0\r\nRedge=511", "9", 5, 2100},      {"Ledge=0\r\nRedge=511", "3", 3, 400},
        {"Ledge=0\r\nRedge=511", "wide", 0, 500},  // not an integer: the default -1
    };
    for (const auto& c : cases) {
        std::string text = "[Settings]\r\n" + std::string(c.settings) + "\r\n";
        if (c.channelwidth != nullptr)
            text += "[Kest]\r\nchannelwidth=" + std::string(c.channelwidth) + "\r\n";
        const SessionReport r = read(text);
        EXPECT_EQ(r.channelwidthIndex, c.index) << text;
        EXPECT_EQ(r.counterWidthMm, c.mm) << text;
    }
}

TEST_P(ReportTest, OutOfRangeValuesAreClamped) {
    const struct {
        const char* text;
        int32_t channels, left, right, group1, group2;
    } cases[] = {
        {"[Settings]\nNrChannels=7\n[Kest]\nSize Group1=12\nSize Group2=-3\n", 4, 0, 511, 9, 0},
        {"[Settings]\nNrChannels=0\nLedge=600\nRedge=600\n", 1, 0, 511, 2, 2},
        {"[Settings]\nNrChannels=-2\nLedge=700\nRedge=300\n", 1, 0, 511, 2, 2},
        {"[Settings]\nNrChannels=$2\nLedge=0x10\nRedge=0X200\n", 2, 16, 512, 2, 2},
    };
    for (const auto& c : cases) {
        const SessionReport r = read(c.text);
        EXPECT_EQ(r.channelCount, c.channels) << c.text;
        EXPECT_EQ(r.scanLeftEdge, c.left) << c.text;
        EXPECT_EQ(r.scanRightEdge, c.right) << c.text;
        EXPECT_EQ(r.sizeGroup[1], c.group1) << c.text;
        EXPECT_EQ(r.sizeGroup[2], c.group2) << c.text;
    }
}

TEST_P(ReportTest, HandWrittenReportWithOddKeys) {
    const SessionReport r = read(crlf({
        "[program]",
        "TANK=Fj\xF6r\xF0ur 3",
        "generation= \"Spring fry\" ",
        "DateTime=45292,7500000",
        "[SETTINGS]",
        "nrchannels=3",
        "LEDGE=20",
        "redge=1020",
        "[Kest]",
        "%WIDTH1=300",
        "multib1=20",
        "Multie1=600",
        "Multib2=601",
        "Size group2=5",
        "countname2=Left side",
        "ChannelWidth=1",
    }));
    EXPECT_EQ(r.windowTitle, "Tank: Fj\xC3\xB6r\xC3\xB0ur 3  Spring fry     01 Jan 2024");
    EXPECT_EQ(r.channelCount, 3);
    EXPECT_EQ(r.channelTable[1].widthMm, 300);
    EXPECT_EQ(r.channelTable[1].leftEdge, 20);
    EXPECT_EQ(r.channelTable[1].rightEdge, 600);
    EXPECT_EQ(r.channelTable[2].widthMm, 333);  // 1000 mm over three channels, truncated
    EXPECT_EQ(r.channelTable[2].leftEdge, 601);
    EXPECT_EQ(r.channelTable[2].rightEdge, 1020);  // "Redge"
    EXPECT_EQ(r.channelTable[3].leftEdge, 20);     // "Ledge"
    EXPECT_EQ(r.channelTable[3].rightEdge, 1020);
    EXPECT_EQ(r.counterCaptions[2], "Left side   30 g");
    EXPECT_EQ(r.counterNames[1], "Counter 1");
    EXPECT_DOUBLE_EQ(r.endTime, 45292.75);
}

TEST_P(ReportTest, SessionStartFromLastingAndDateTime) {
    const SessionReport r =
        read(crlf({"[Program]", "Lasting=0,0416667", "DateTime=42632,5000000"}));
    EXPECT_NEAR(r.sessionStart, 42632.4583333, 1e-9);
    EXPECT_EQ(formatDayNumberDate(r.endTime), "19 Sep 2016");
    EXPECT_EQ(formatTimeOfDay(r.endTime), "12:00:00");
    // 0.0416667 is an hour and 3 ms: the start is shown as the nearest second.
    EXPECT_EQ(formatTimeOfDay(r.sessionStart), "11:00:00");
    EXPECT_DOUBLE_EQ(r.curves[1].front().first, r.sessionStart - 42632);
    EXPECT_DOUBLE_EQ(r.curves[1].back().first, 0.5);
}

TEST_P(ReportTest, ThroughputCurves) {
    const SessionReport r = read(crlf({
        "[Settings]",
        "NrChannels=3",
        "[Program]",
        "DateTime=2.0200000",
        "Lasting=0.0500000",
        // Channel 1: past midnight; "X0"/"Y0" is never shown.
        "[ThroughputChart1]",
        "Y0=5",
        "X0=0.5",
        "Y1=12.5",
        "X1=0.99000",
        "Y2=6",
        "X2=0.00500",
        // Channel 2: a header with no entries falls back to [ThroughputChart].
        "[ThroughputChart2]",
        "[ThroughputChart]",
        "Y1=1",
        "X1=0.98",
        "X2=0.981",
        // Channel 3: "X2" missing, so sample 3 is never reached.
        "[ThroughputChart3]",
        "Y1=3",
        "X1=0.97",
        "Y3=9",
        "X3=0.99",
    }));
    expectCurve(r.curves[1], {{0.97, 0}, {0.99, 12.5}, {1.005, 6}, {0.02, 0}});
    expectCurve(r.curves[2], {{0.97, 0}, {0.98, 1}, {0.981, 0}, {0.02, 0}});
    expectCurve(r.curves[3], {{0.97, 0}, {0.97, 3}, {0.02, 0}});
}

TEST_P(ReportTest, BadRealValueNamesKeyAndFile) {
    const struct {
        const char* text;
        const char* key;
    } cases[] = {
        {"[Program]\r\nDateTime=yesterday\r\n", "\"DateTime\""},
        {"[Program]\r\nLasting=5.\r\n", "\"Lasting\""},
        {"[Program]\r\nDateTime=99999999\r\n", "\"DateTime\""},  // not a date
        {"[ThroughputChart1]\r\nX1=0.5\r\nY1=,5\r\n", "\"Y1\" in [ThroughputChart1]"},
        {"[ThroughputChart]\r\nX1=0.5\r\nX2=half\r\n", "\"X2\" in [ThroughputChart]"},
    };
    for (const auto& c : cases) {
        writeBytes(folder_.file("bad.mse"), c.text);
        SessionReport report;
        try {
            nyjarstillingar(folder_.file("bad.blb"), report, nullptr);
            ADD_FAILURE() << "no error for " << c.text;
        } catch (const ReportValueError& e) {
            EXPECT_EQ(e.file(), folder_.file("bad.mse"));
            EXPECT_NE(std::string(e.what()).find(c.key), std::string::npos) << e.what();
            EXPECT_NE(std::string(e.what()).find("bad.mse"), std::string::npos) << e.what();
        }
    }
}

TEST_P(ReportTest, UnreadableReportIsAFileError) {
    std::filesystem::create_directory(folder_.file("folder.mse"));
    SessionReport report;
    EXPECT_THROW(nyjarstillingar(folder_.file("folder.blb"), report, nullptr), FileAccessError);
}

// The start is DateTime less Lasting, both written to 7 decimals: a fraction of a second off the
// whole second. Every place that shows it in seconds (frame times, Go to, the tables) shows the
// nearest second, and so does the end, 1116 lines a second later.
TEST_P(ReportTest, SessionStartAndEndShownToTheNearestSecond) {
    struct Case {
        const char *lasting, *dateTime, *start, *startDateTime, *end;
        int64_t lines;
    };
    const Case cases[] = {
        // 23:58:00 for 6 minutes, past midnight
        {"0,0041667", "42633,0027778", "23:58:00", "2016-09-19 23:58:00", "00:04:00", 401760},
        // 23:00:00 for 2 hours
        {"0,0833333", "42633,0416667", "23:00:00", "2016-09-19 23:00:00", "01:00:00", 8035200},
        // 10:00:00 for 4 minutes
        {"0,0027778", "42632,4194444", "10:00:00", "2016-09-19 10:00:00", "10:04:00", 267840},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.start);
        const std::string lasting = std::string("Lasting=") + c.lasting;
        const std::string dateTime = std::string("DateTime=") + c.dateTime;
        const SessionReport r = read(crlf({"[Program]", lasting.c_str(), dateTime.c_str()}));
        EXPECT_EQ(formatTimeOfDay(r.sessionStart), c.start);
        EXPECT_EQ(formatDayNumberDateTime(r.sessionStart), c.startDateTime);
        EXPECT_EQ(formatTimeOfDay(r.sessionStart + c.lines / 1116.0 / 86400), c.end);
    }
}

TEST(DayNumbers, DatesAndTimes) {
    EXPECT_EQ(formatDayNumberDate(0), "30 Dec 1899");
    EXPECT_EQ(formatDayNumberDate(-1.25), "29 Dec 1899");
    EXPECT_EQ(formatTimeOfDay(-1.25), "06:00:00");
    EXPECT_EQ(formatDayNumberDate(60), "28 Feb 1900");
    EXPECT_EQ(formatDayNumberDate(-693593), "01 Jan 0001");
    EXPECT_EQ(formatDayNumberDate(2958465.5), "31 Dec 9999");
    EXPECT_EQ(formatDayNumberDate(1e300), "");
    EXPECT_EQ(formatTimeOfDay(0.999999999), "00:00:00");  // rounds to midnight
    EXPECT_EQ(formatTimeOfDay(45292.0 + 13.0 / 24 + 5.0 / 1440 + 9.4 / 86400), "13:05:09");
    EXPECT_EQ(formatTimeOfDay(45292.0 + 13.0 / 24 + 5.0 / 1440 + 9.6 / 86400), "13:05:10");
}

}  // namespace
}  // namespace velkor
