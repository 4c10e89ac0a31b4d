// The channel selector beside the chart: its buttons, and the window keeping it and the chart's
// legend cycle in step both ways.
#include "ui/chart/chart_channel_selector.h"

#include <QLabel>
#include <QSignalSpy>
#include <QTest>
#include <QToolButton>

#include "tests/support/window_fixture.h"
#include "ui/chart/throughput_chart.h"

namespace velkor::test {
namespace {

TEST(ChartChannelSelectorTest, OneButtonPerChannelAndOnlyAPressAsks) {
    ChartChannelSelector selector;
    QSignalSpy chosen(&selector, &ChartChannelSelector::channelChosen);
    const QString longName = "The counter of the far left channel, named at length";
    selector.setChannels({"Alpha", "Bravo", longName});
    selector.show();
    ASSERT_EQ(selector.channelCount(), 3);
    EXPECT_EQ(selector.current(), 1);
    EXPECT_EQ(selector.button(1)->text(), "Alpha");
    // A long name is elided on its button and whole in the tooltip.
    EXPECT_NE(selector.button(3)->text(), longName);
    EXPECT_TRUE(selector.button(3)->toolTip().contains(longName));

    QTest::mouseClick(selector.button(3), Qt::LeftButton);
    ASSERT_EQ(chosen.count(), 1);
    EXPECT_EQ(chosen.takeFirst().at(0).toInt(), 3);
    EXPECT_EQ(selector.current(), 3);

    // Set by the program: the button follows, nothing is asked.
    selector.setCurrent(2);
    EXPECT_EQ(selector.current(), 2);
    EXPECT_FALSE(selector.button(3)->isChecked());
    EXPECT_EQ(chosen.count(), 0);
    selector.setCurrent(7);  // no such channel: stays
    EXPECT_EQ(selector.current(), 2);

    // No session: no buttons, nothing shown.
    selector.setChannels({});
    EXPECT_EQ(selector.channelCount(), 0);
    EXPECT_EQ(selector.current(), 0);
    EXPECT_FALSE(selector.isVisible());
}

class ChartChannelsTest : public WindowTest {
protected:
    int shownChannel() const {
        int shown = 0;
        for (int c = 1; c <= 4; ++c)
            if (window->Chart1->curveShown(c)) shown = shown * 10 + c;
        return shown;
    }
    void openFourChannels() {
        makeWindow();
        Session s;
        s.lineCount = 450;
        s.channels = {
            {0, 120, "Alpha"}, {130, 250, "Bravo"}, {260, 380, "Charlie"}, {390, 511, "Delta"}};
        ASSERT_TRUE(open(session("four", s)));
    }
};

// Each press of the selector shows that channel alone, named; a click on the chart's legend or
// name then cycles on from there, and the selector follows the cycle.
TEST_F(ChartChannelsTest, SelectorAndLegendCycleKeepInStep) {
    ASSERT_NO_FATAL_FAILURE(openFourChannels());
    ChartChannelSelector* selector = window->ChartChannels;
    ASSERT_TRUE(selector->isVisible());
    ASSERT_EQ(selector->channelCount(), 4);
    EXPECT_EQ(selector->current(), 1);
    EXPECT_EQ(shownChannel(), 1);

    QTest::mouseClick(selector->button(3), Qt::LeftButton);
    EXPECT_EQ(shownChannel(), 3);
    EXPECT_EQ(window->Label3->text(), "Charlie");
    EXPECT_EQ(selector->current(), 3);

    // The chart's name, right of its plot: the next channel, and the selector goes with it.
    const QPoint name(window->Chart1->width() - 5, 6);
    ASSERT_FALSE(window->Chart1->plotArea().contains(name));
    QTest::mouseClick(window->Chart1, Qt::LeftButton, {}, name);
    EXPECT_EQ(shownChannel(), 4);
    EXPECT_EQ(window->Label3->text(), "Delta");
    EXPECT_EQ(selector->current(), 4);
    window->Chart1Click();  // round to the first
    EXPECT_EQ(shownChannel(), 1);
    EXPECT_EQ(selector->current(), 1);

    QTest::mouseClick(selector->button(2), Qt::LeftButton);
    EXPECT_EQ(shownChannel(), 2);
    EXPECT_EQ(window->Label3->text(), "Bravo");
    window->Chart1Click();
    EXPECT_EQ(shownChannel(), 3);
    EXPECT_EQ(selector->current(), 3);
}

// Opening another recording sets the selector afresh: its channels, the first one down.
TEST_F(ChartChannelsTest, AnotherRecordingSetsTheSelectorAfresh) {
    ASSERT_NO_FATAL_FAILURE(openFourChannels());
    QTest::mouseClick(window->ChartChannels->button(4), Qt::LeftButton);
    Session s;
    s.lineCount = 450;
    s.channels = {{0, 250, "Left"}, {260, 511, "Right"}};
    ASSERT_TRUE(open(session("two", s)));
    EXPECT_EQ(window->ChartChannels->channelCount(), 2);
    EXPECT_EQ(window->ChartChannels->current(), 1);
    EXPECT_EQ(window->ChartChannels->button(2)->text(), "Right");
    EXPECT_EQ(shownChannel(), 1);
    EXPECT_EQ(window->Label3->text(), "Left");
}

}  // namespace
}  // namespace velkor::test
