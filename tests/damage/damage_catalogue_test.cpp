// The catalogue of damaged inputs. Each row is one kind of damage met in the field (a recording
// cut short, a report edited by hand, a file renamed) and the behaviour the user gets, through
// velkor-count and through the engine as the window drives it (opening, then navigation). For
// every row: no crash, no hang, an error message that names the file and the problem, and every
// file that existed before byte for byte as it was.
#include <gtest/gtest.h>
#include <zlib.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <map>
#include <string>
#include <vector>

#include "io/errors.h"
#include "replay/record_writer.h"
#include "replay/replay_engine.h"
#include "settings/report_writer.h"
#include "tests/support/bytes.h"
#include "tests/support/run_program.h"
#include "tests/support/temp_dir.h"

#ifndef _WIN32
#include <unistd.h>
#endif

namespace velkor {
namespace {

namespace fs = std::filesystem;
using test::readBytes;
using test::writeBytes;

std::string words(std::initializer_list<int> ws) {
    std::string out;
    for (int w : ws) {
        out.push_back(static_cast<char>(w & 0xff));
        out.push_back(static_cast<char>((w >> 8) & 0xff));
    }
    return out;
}

std::string zlibOf(const std::string& bytes, int level = 1) {
    uLongf size = compressBound(bytes.size());
    std::string out(size, '\0');
    compress2(reinterpret_cast<Bytef*>(out.data()), &size,
              reinterpret_cast<const Bytef*>(bytes.data()), bytes.size(), level);
    out.resize(size);
    return out;
}

// A folder with one session: session.blb (and .blc, .mse as a row makes them).
class Session {
public:
    fs::path path(const std::string& name) const { return dir_.path() / name; }
    std::string blb() const { return path("session.blb").string(); }
    std::string blc() const { return path("session.blc").string(); }
    std::string mse() const { return path("session.mse").string(); }
    const fs::path& dir() const { return dir_.path(); }

    // Every regular file under the folder, by relative name, with its bytes.
    std::map<std::string, std::string> snapshot() const {
        std::map<std::string, std::string> files;
        for (const auto& e : fs::recursive_directory_iterator(dir_.path()))
            if (e.is_regular_file())
                files[fs::relative(e.path(), dir_.path()).string()] = readBytes(e.path());
        return files;
    }

private:
    test::TempDir dir_;
};

// A recording of a few fish over 600 lines: two objects per 40 lines in the middle of channel 1.
std::string goodRecording() {
    std::string out = words({0, 511});
    for (int line = 1; line <= 600; ++line) {
        if (line % 40 < 20)
            out += words({2, 100, 130, 300, 340});
        else
            out += words({0});
    }
    return out;
}

std::string goodReport(const std::string& tank = "Cage 7") {
    ReportContent r;
    r.tank = tank;
    r.dateTime = 46027.5;
    r.lasting = 0.01;
    r.channels.resize(1);
    r.channels[0].throughput = {0, 10, 20, 5};
    r.curveStart = 46027.49;
    Tini_files ini;
    buildSessionReport(r, ini);
    std::string text;
    for (const auto& line : ini.lines()) text += line + "\r\n";
    return text;
}

// What the user gets.
struct Outcome {
    int countExit = 0;       // velkor-count's exit status
    std::string countText;   // in its error output ("" : no error output)
    std::string engineText;  // the engine's error or message ("" : opens and reads)
    int32_t lines = -1;      // the engine's line count when it opens (-1: not checked)
};

struct Row {
    const char* damage;
    std::function<void(Session&)> make;
    Outcome outcome;
    bool compressed = false;     // the user opens the .blc (chosen as "Compressed file")
    bool newBlbAllowed = false;  // a clean unpacking writes session.blb
};

// The names of the files that changed, appeared or disappeared between two snapshots.
std::string changedFiles(std::map<std::string, std::string> before,
                         std::map<std::string, std::string> after, bool newBlbAllowed) {
    if (newBlbAllowed && !before.count("session.blb")) after.erase("session.blb");
    std::string changed;
    for (const auto& [name, bytes] : before) {
        const auto it = after.find(name);
        if (it == after.end() || it->second != bytes) changed += name + " ";
    }
    for (const auto& [name, bytes] : after)
        if (!before.count(name)) changed += name + " (new) ";
    return changed;
}

// Whether taking the write permission away from a folder stops this process writing into it.
bool folderPermissionsBind() {
#ifdef _WIN32
    return false;
#else
    return geteuid() != 0;
#endif
}

test::ProgramRun runCount(const std::string& recording) {
    return test::runProgram(VELKOR_COUNT_EXE, "--frame-width 100 " + test::shellQuoted(recording),
                            120);
}

std::string reportWith(const std::string& replace, const std::string& with) {
    std::string text = goodReport();
    const auto at = text.find(replace);
    EXPECT_NE(at, std::string::npos) << replace;
    if (at != std::string::npos) text.replace(at, replace.size(), with);
    return text;
}

std::vector<Row> catalogue() {
    const std::string good = goodRecording();
    auto blbAndReport = [](std::string blb, std::string mse) {
        return [blb, mse](Session& s) {
            writeBytes(s.blb(), blb);
            writeBytes(s.mse(), mse);
        };
    };
    auto withReport = [&](std::string mse) { return blbAndReport(good, mse); };
    const std::string older = "an older recording that a failed unpacking must leave alone";
    auto blcRow = [older](std::string blc, bool keepOlder) {
        return [blc, older, keepOlder](Session& s) {
            writeBytes(s.blc(), blc);
            writeBytes(s.mse(), goodReport());
            if (keepOlder) writeBytes(s.blb(), older);
        };
    };
    std::string cutPair = good + words({3, 10, 20, 30});  // a third pair never comes
    std::string blockBoundary = words({0, 511});
    // Empty lines up to the last words of the first block, then a line with a count above the
    // line's capacity that runs over into the second block, then good lines.
    while (blockBoundary.size() < 2 * blockWords - 6) blockBoundary += words({0});
    blockBoundary += words({700});
    for (int k = 0; k < 700; ++k) blockBoundary += words({10 + 2 * k, 11 + 2 * k});
    for (int k = 0; k < 50; ++k) blockBoundary += words({1, 100, 120});
    const int32_t emptyLines = blockWords - 5;  // the words between the header and the count
    std::string zeros(4 << 20, '\0');

    return {
        {"empty file", blbAndReport("", goodReport()), {0, "", "", 0}},
        {"header only", blbAndReport(words({0, 511}), goodReport()), {0, "", "", 0}},
        {"odd length", blbAndReport(good + "\x07", goodReport()), {0, "", "", 600}},
        {"last line cut inside a pair",
         blbAndReport(cutPair, goodReport()),
         {0, "1 damaged lines, the first at line 601", "", 601}},
        {"negative count word",
         blbAndReport(good + words({-5, 1, 100, 120}), goodReport()),
         {0, "1 damaged lines, the first at line 601", "", 602}},
        {"count word of 30000",
         blbAndReport(words({0, 511, 30000, 1, 2}) + good.substr(4), goodReport()),
         {0, "1 damaged lines, the first at line 1", "", 1}},
        {"block boundary inside a damaged line",
         blbAndReport(blockBoundary, goodReport()),
         {0, "1 damaged lines, the first at line " + std::to_string(emptyLines + 1), "",
          emptyLines + 51}},
        {"compressed: truncated",
         blcRow(
             [&] {
                 auto z = zlibOf(good);
                 return z.substr(0, z.size() / 2);
             }(),
             true),
         {1, "the compressed recording is damaged", "the compressed recording is damaged"},
         true},
        {"compressed: bad checksum",
         blcRow(
             [&] {
                 auto z = zlibOf(good);
                 z[z.size() - 1] ^= 0x55;
                 return z;
             }(),
             true),
         {1, "incorrect data check", "incorrect data check"},
         true},
        {"compressed: not zlib at all",
         blcRow("this is not compressed data at all", true),
         {1, "not intact zlib data", "not intact zlib data"},
         true},
        {"compressed: a .blb renamed to .blc",
         blcRow(good, true),
         {1, "not intact zlib data", "not intact zlib data"},
         true},
        {"compressed: inflates far beyond its size",
         blcRow(zlibOf(zeros, 9), false),
         {0, "", "", static_cast<int32_t>(zeros.size() / 2 - 2)},
         true,
         true},
        {"report: no sections", withReport("Tank=x\r\nNrChannels=3\r\n"), {0, "", "", 600}},
        {"report: every numeric key garbled",
         withReport("[Program]\r\nDateTime=12a.5\r\nLasting=x\r\n[Settings]\r\nNrChannels=two\r\n"
                    "Ledge=--1\r\nRedge=5x\r\n[Kest]\r\nSize Group1=big\r\nchannelwidth=0x\r\n"),
         {1, "DateTime", "DateTime"}},
        {"report: NrChannels 0", withReport("[Settings]\r\nNrChannels=0\r\n"), {0, "", "", 600}},
        {"report: NrChannels 9", withReport("[Settings]\r\nNrChannels=9\r\n"), {0, "", "", 600}},
        {"report: Size Group 12", withReport("[Kest]\r\nSize Group1=12\r\n"), {0, "", "", 600}},
        {"report: Size Group -3", withReport("[Kest]\r\nSize Group1=-3\r\n"), {0, "", "", 600}},
        {"report: Ledge equal to Redge",
         withReport("[Settings]\r\nLedge=200\r\nRedge=200\r\n"),
         {0, "", "", 600}},
        {"report: channelwidth -7", withReport("[Kest]\r\nchannelwidth=-7\r\n"), {0, "", "", 600}},
        {"report: DateTime abc",
         withReport("[Program]\r\nDateTime=abc\r\n"),
         {1, "DateTime", "DateTime"}},
        {"report: keys in odd case, values in quotes",
         withReport("[PROGRAM]\r\ndatetime=\"46027.5\"\r\nTANK='Cage 7'\r\n[settings]\r\n"
                    "nrCHANNELS=\"2\"\r\n"),
         {0, "", "", 600}},
        {"report: UTF-8 tank name",
         withReport(reportWith("Tank=Cage 7", "Tank=Kví Ørn")),
         {0, "", "", 600}},
        {"report: Windows-1252 tank name",
         withReport(reportWith("Tank=Cage 7", "Tank=Kv\xED \xD8rn")),
         {0, "", "", 600}},
        // Root writes into any folder whatever its permissions, and on Windows permission bits do
        // not stop writing into a folder; there the .blb's name taken by a folder stands in for
        // the folder that cannot be written.
        {"compressed: folder that cannot be written",
         [good](Session& s) {
             writeBytes(s.blc(), zlibOf(good));
             writeBytes(s.mse(), goodReport());
             if (!folderPermissionsBind())
                 fs::create_directory(s.blb());
             else
                 fs::permissions(s.dir(), fs::perms::owner_read | fs::perms::owner_exec);
         },
         {1,
          !folderPermissionsBind() ? "cannot replace the file"
                                   : "cannot create a file in the folder",
          !folderPermissionsBind() ? "cannot replace the file"
                                   : "cannot create a file in the folder"},
         true},
        {"missing report",
         [good](Session& s) { writeBytes(s.blb(), good); },
         {1, "Cant find corresponding reportfile (.mse)",
          "Cant find corresponding reportfile (.mse)"}},
    };
}

class DamageCatalogue : public ::testing::TestWithParam<size_t> {};

TEST_P(DamageCatalogue, NoCrashNoHangAClearMessageAndNoFileChanged) {
    const Row row = catalogue()[GetParam()];
    SCOPED_TRACE(row.damage);

    // velkor-count.
    {
        Session s;
        row.make(s);
        const auto before = s.snapshot();
        const std::string name = row.compressed ? s.blc() : s.blb();
        const test::ProgramRun run = runCount(name);
        EXPECT_EQ(run.exit, row.outcome.countExit) << run.err;
        if (row.outcome.countText.empty()) {
            EXPECT_EQ(run.err, "");
        } else {
            EXPECT_NE(run.err.find(row.outcome.countText), std::string::npos) << run.err;
            EXPECT_NE(run.err.find(s.dir().string()), std::string::npos) << run.err;
        }
        EXPECT_EQ(changedFiles(before, s.snapshot(), row.newBlbAllowed), "");
    }
    // The engine as the window drives it.
    {
        Session s;
        row.make(s);
        const auto before = s.snapshot();
        Tsett settings;
        MemorySettingsBackend store;
        ReplayEngine engine(settings, &store);
        engine.setFrameWidth(100);
        std::string problem;
        try {
            if (!engine.OpenBlbFile(row.compressed ? s.blc() : s.blb(), row.compressed))
                problem = engine.message();
        } catch (const VelkorError& e) {
            problem = e.what();
            EXPECT_NE(problem.find(s.dir().string()), std::string::npos) << problem;
        }
        if (row.outcome.engineText.empty()) {
            EXPECT_EQ(problem, "");
            EXPECT_TRUE(engine.isOpen());
            if (row.outcome.lines >= 0) {
                EXPECT_EQ(engine.lineCount(), row.outcome.lines);
            }
        } else {
            EXPECT_NE(problem.find(row.outcome.engineText), std::string::npos) << problem;
            EXPECT_FALSE(engine.isOpen());
        }
        // Navigation: steps, jumps, the track bar and an automatic count; never an error.
        engine.FarwardbtnClick();
        engine.FarwardbtnClick();
        engine.endbtnClick();
        engine.backwardbtnClick();
        engine.TrackBar1Change(2);
        engine.beginbtnClick();
        engine.AutocountbtnClick();
        engine.FarwardbtnClick();
        engine.AutocountbtnClick();
        EXPECT_EQ(changedFiles(before, s.snapshot(), row.newBlbAllowed), "");
    }
}

INSTANTIATE_TEST_SUITE_P(Rows, DamageCatalogue, ::testing::Range<size_t>(0, catalogue().size()),
                         [](const ::testing::TestParamInfo<size_t>& info) {
                             std::string name = catalogue()[info.param].damage;
                             for (char& c : name)
                                 if (!std::isalnum(static_cast<unsigned char>(c))) c = '_';
                             return name;
                         });

}  // namespace
}  // namespace velkor
