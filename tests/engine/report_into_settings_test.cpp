// Opening a recording puts its report's values into the program's settings set, each under its
// own name, the size classes as counted (an override in place of the report's class), while the
// report itself stays as recorded.
#include <gtest/gtest.h>

#include "engine_fixture.h"

namespace velkor::test {
namespace {

TEST(ReportIntoSettings, EveryValueOfTheReportReachesTheSettingsSet) {
    TempDir dir;
    const std::string blb = dir.file("tank.blb");
    writeRecording(blb, threeChannelSession());
    ReportContent content;
    content.dateTime = 42632.4166667;
    content.ledge = 3;
    content.redge = 505;
    content.channelwidth = 3;  // 400 mm
    content.sizeGroup = {4, 7, 1, 2};
    for (const auto& [left, right, mm] :
         {std::tuple{3, 170, 130}, std::tuple{171, 340, 140}, std::tuple{341, 505, 150}}) {
        ReportChannel& c = content.channels.emplace_back();
        c.leftEdge = left;
        c.rightEdge = right;
        c.widthMm = mm;
    }
    saveSessionReport(content, dir.file("tank.mse"));

    // A settings set holding other values throughout, so that each one is seen to change.
    Tsett settings;
    settings.channelCount = settings.Nrch = 1;
    settings.scanLeftEdge = 100;
    settings.scanRightEdge = 200;
    settings.Channelwidth = 5;
    settings.counterWidthMm = 2100;
    for (int c = 1; c <= maxChannels; ++c) settings.sizeGroup[c] = 9;
    MemorySettingsBackend store;
    ReplayEngine engine(settings, &store);
    engine.setClassOverrides({-1, -1, 8, -1, -1});
    ASSERT_TRUE(engine.OpenBlbFile(blb)) << engine.message();

    EXPECT_EQ(settings.channelCount, 3);
    EXPECT_EQ(settings.Nrch, 3);
    EXPECT_EQ(settings.scanLeftEdge, 3);
    EXPECT_EQ(settings.scanRightEdge, 505);
    EXPECT_EQ(settings.Channelwidth, 3);
    EXPECT_EQ(settings.counterWidthMm, 400);
    const struct {
        int32_t left, right, mm, sizeClass, reportsClass;
    } channels[] = {{3, 170, 130, 4, 4}, {171, 340, 140, 8, 7}, {341, 505, 150, 1, 1}};
    for (int c = 1; c <= 3; ++c) {
        SCOPED_TRACE("channel " + std::to_string(c));
        const auto& want = channels[c - 1];
        EXPECT_EQ(settings.channelTable[c].leftEdge, want.left);
        EXPECT_EQ(settings.channelTable[c].rightEdge, want.right);
        EXPECT_EQ(settings.channelTable[c].widthMm, want.mm);
        EXPECT_EQ(settings.sizeGroup[c], want.sizeClass);
        EXPECT_EQ(engine.report().sizeGroup[c], want.reportsClass);
    }
}

}  // namespace
}  // namespace velkor::test
