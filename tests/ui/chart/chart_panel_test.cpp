// The chart panel on its own: the legend's click goes through the session's channels and round
// again, a session of one channel keeps it, and the selector beside the chart follows.
#include <gtest/gtest.h>

#include <QLabel>

#include "ui/chart/chart_channel_selector.h"
#include "ui/chart/chart_panel.h"
#include "ui/chart/throughput_chart.h"

namespace velkor {
namespace {

SessionReport counters(int channels) {
    SessionReport report;
    report.channelCount = channels;
    for (int c = 1; c <= channels; ++c) report.counterNames[c] = "Counter " + std::to_string(c);
    return report;
}

TEST(ChartPanel, NextChannelGoesRoundTheSession) {
    const struct {
        int channels;
        std::vector<int> shown;  // after each click, from channel 1
    } cases[] = {{1, {1, 1}}, {2, {2, 1, 2}}, {4, {2, 3, 4, 1}}};
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.channels << " channels");
        ChartPanel panel(nullptr);
        const SessionReport report = counters(c.channels);
        panel.showSession(report, 45000.4, 45000.41);
        panel.showChannel(report, 1);
        for (int expected : c.shown) {
            panel.showNextChannel(report);
            EXPECT_TRUE(panel.Chart1->curveShown(expected));
            EXPECT_EQ(panel.Label3->text().toStdString(), "Counter " + std::to_string(expected));
            EXPECT_EQ(panel.ChartChannels->current(), expected);
        }
    }
}

TEST(ChartPanel, ClearedShowsNoSession) {
    ChartPanel panel(nullptr);
    const SessionReport report = counters(2);
    panel.showSession(report, 45000.4, 45000.41);
    panel.showChannel(report, 2);
    panel.clear();
    EXPECT_EQ(panel.ChartChannels->channelCount(), 0);
    EXPECT_EQ(panel.Label3->text(), "");
    EXPECT_TRUE(panel.ComparisonLine->isHidden());
}

}  // namespace
}  // namespace velkor
