// The verdict panel: its tallies are the background count's, and following "next ▸" or "◂" lands
// on the frames whose velkor-count --explain records hold that verdict, wrapping at either end.
#include <QLabel>
#include <QSignalSpy>
#include <chrono>
#include <map>
#include <nlohmann/json.hpp>
#include <regex>
#include <set>
#include <thread>

#include "tests/engine/count_cli.h"
#include "tests/support/bytes.h"
#include "tests/support/temp_dir.h"
#include "tests/support/window_fixture.h"
#include "tools/velkor-synth/session_writer.h"
#include "ui/comparison/verdict_panel.h"

namespace velkor::test {
namespace {

using nlohmann::json;

TEST(VerdictPanel, LinkTexts) {
    const struct {
        int32_t channel;
        EndingVerdict verdict;
        int32_t objects;
        QString text;
    } cases[] = {
        {2, EndingVerdict::tooLarge, 140,
         "<a href=\"prev:2:6\">\u25C2</a> too large: 140 \u2014 <a href=\"next:2:6\">next "
         "\u25B8</a>"},
        {1, EndingVerdict::counted, 7,
         "<a href=\"prev:1:0\">\u25C2</a> counted: 7 \u2014 <a href=\"next:1:0\">next \u25B8</a>"},
        {3, EndingVerdict::tooShort, 0, "too short: 0"},
    };
    for (const auto& c : cases) EXPECT_EQ(verdictLinkText(c.channel, c.verdict, c.objects), c.text);
}

// Before a whole count has handed its frames over, no link leads anywhere (frame 0), in the first
// channel and the last, for the first verdict and the last, and for the pieces.
TEST(VerdictPanel, WithoutAWholeCountNoLinkLeadsToAFrame) {
    VerdictPanel panel;
    for (const int32_t channel : {1, 4}) {
        for (const EndingVerdict verdict :
             {EndingVerdict::counted, EndingVerdict::pieceTooSmallOnItsOwn}) {
            EXPECT_EQ(panel.nextFrame(channel, verdict), 0) << channel;
            EXPECT_EQ(panel.previousFrame(channel, verdict), 0) << channel;
        }
        EXPECT_EQ(panel.nextPieceFrame(channel), 0) << channel;
        EXPECT_EQ(panel.previousPieceFrame(channel), 0) << channel;
    }
}

TEST(VerdictPanel, NextAndBackLandOnTheExplainedFramesAndWrap) {
    TempDir dir;
    synth::SessionOptions o;
    o.out = dir.file("session");
    o.scene.seed = 3;
    o.scene.lines = 40 * 1116;
    o.scene.channels = {{10, 250, 7, 0}, {261, 500, 2, 0}};
    o.scene.density = 0.5;
    o.scene.touching = 0.5;
    synth::writeSession(o);
    // The report names a small class for channel 1: its big fish are rejected.
    writeBytes(synth::reportName(o.out),
               std::regex_replace(readBytes(synth::reportName(o.out)),
                                  std::regex("Size Group1=[0-9]"), "Size Group1=0"));
    const std::string recording = synth::recordingName(o.out);
    const int32_t width = 300;

    const CliRun explain =
        runCount("--frame-width " + std::to_string(width) + " --explain " + shellQuoted(recording));
    ASSERT_EQ(explain.status, 0) << explain.err;
    std::map<std::pair<int, std::string>, std::set<int32_t>> explained;
    for (const std::string& text : linesOf(explain.out)) {
        const json record = json::parse(text);
        if (!record.contains("ended")) continue;
        const json& e = record["ended"];
        explained[{e["channel"].get<int>(), e["verdict"].get<std::string>()}].insert(
            e["frame"].get<int32_t>());
    }

    BackgroundCount count(recording, width, -1);
    count.start();
    const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(120);
    while (!count.finished() && std::chrono::steady_clock::now() < until)
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    ASSERT_TRUE(count.result().counted) << count.result().error;

    VerdictPanel panel;
    panel.setSession(count.result(), {QString(), "Left", "Right", QString(), QString()});
    QSignalSpy requested(&panel, &VerdictPanel::frameRequested);
    int followed = 0;
    for (const auto& [key, frames] : explained) {
        const auto [channel, name] = key;
        SCOPED_TRACE(std::to_string(channel) + " " + name);
        EndingVerdict verdict = EndingVerdict::counted;
        for (int v = 0; v < endingVerdictCount; ++v)
            if (name == verdictText(static_cast<EndingVerdict>(v)))
                verdict = static_cast<EndingVerdict>(v);
        if (static_cast<int>(verdict) > static_cast<int>(EndingVerdict::tooLarge)) continue;
        const QString link = QStringLiteral("%1:%2").arg(channel).arg(static_cast<int>(verdict));
        EXPECT_TRUE(panel.text().contains(QStringLiteral("%1: %2 \u2014 next \u25B8")
                                              .arg(QString::fromStdString(name))
                                              .arg(count.result().verdicts[channel][int(verdict)])))
            << panel.text().toStdString();
        // Forward through every such frame, then round to the first; back from there to the last.
        panel.setCurrentFrame(0);
        std::vector<int32_t> visited;
        for (size_t k = 0; k <= frames.size(); ++k) {
            requested.clear();
            panel.follow("next:" + link);
            ASSERT_EQ(requested.size(), 1);
            visited.push_back(requested[0][0].toInt());
            EXPECT_EQ(requested[0][1].toInt(), channel);
        }
        std::vector<int32_t> want(frames.begin(), frames.end());
        want.push_back(*frames.begin());
        EXPECT_EQ(visited, want);
        requested.clear();
        panel.follow("prev:" + link);
        ASSERT_EQ(requested.size(), 1);
        EXPECT_EQ(requested[0][0].toInt(), *frames.rbegin());
        ++followed;
    }
    EXPECT_TRUE(explained.count({1, "too long"}) || explained.count({1, "too wide"}) ||
                explained.count({1, "too large"}));
    EXPECT_GE(followed, 3);
}

// The pieces of splits have their links too: "next ▸" steps through every frame where a piece of
// any kind ended on the channel, in order, and round; "◂" goes back.
TEST(VerdictPanel, PiecesHaveTheirLinksLikeEveryVerdict) {
    BackgroundCount::Result result;
    result.channelCount = 2;
    result.counted = true;
    const struct {
        int32_t frame, channel;
        EndingVerdict verdict;
    } ended[] = {
        {3, 1, EndingVerdict::pieceOfSameFish}, {5, 1, EndingVerdict::counted},
        {5, 1, EndingVerdict::pieceTooShort},   {8, 2, EndingVerdict::pieceTooLarge},
        {9, 1, EndingVerdict::pieceOfSameFish}, {9, 1, EndingVerdict::pieceTooSmallOnItsOwn},
        {12, 1, EndingVerdict::pieceTooNarrow},
    };
    for (const auto& e : ended) {
        result.verdictFrames.add(e.frame, e.channel, e.verdict);
        ++result.verdicts[e.channel][static_cast<int>(e.verdict)];
    }
    VerdictPanel panel;
    panel.setSession(result, {QString(), "Left", "Right", QString(), QString()});
    EXPECT_TRUE(panel.text().contains(u"\u25C2 pieces: 5 \u2014 next \u25B8"))
        << panel.text().toStdString();
    EXPECT_TRUE(panel.text().contains(u"\u25C2 pieces: 1 \u2014 next \u25B8"));
    QSignalSpy requested(&panel, &VerdictPanel::frameRequested);
    panel.setCurrentFrame(0);
    std::vector<int32_t> visited;
    for (int k = 0; k < 5; ++k) {
        requested.clear();
        panel.follow("next:1:pieces");
        ASSERT_EQ(requested.size(), 1);
        visited.push_back(requested[0][0].toInt());
        EXPECT_EQ(requested[0][1].toInt(), 1);
        EXPECT_TRUE(isPieceVerdict(requested[0][2].value<EndingVerdict>()));
    }
    EXPECT_EQ(visited, (std::vector<int32_t>{3, 5, 9, 12, 3}));
    requested.clear();
    panel.follow("prev:1:pieces");
    ASSERT_EQ(requested.size(), 1);
    EXPECT_EQ(requested[0][0].toInt(), 12);
    requested.clear();
    panel.follow("next:2:pieces");
    ASSERT_EQ(requested.size(), 1);
    EXPECT_EQ(requested[0][0].toInt(), 8);
}

}  // namespace
}  // namespace velkor::test
