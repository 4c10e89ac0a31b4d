// The counter panel on its own: nothing open shows no field, an open session names the fields
// after its counters with the recorded totals under them, and the fields stand in the panel in
// channel order at every channel count and height.
#include <gtest/gtest.h>

#include <QLabel>
#include <QLineEdit>

#include "ui/counters/class_chooser.h"
#include "ui/counters/counter_panel.h"

namespace velkor {
namespace {

SessionReport twoCounters() {
    SessionReport report;
    report.channelCount = 2;
    report.counterNames = {"", "Left", "Right", "", ""};
    report.recorded.sessionTotals[1] = 224;
    return report;
}

TEST(CounterPanel, NothingOpenShowsNoFieldAndASessionNamesThem) {
    CounterPanel panel(nullptr);
    panel.resize(panel.width(), 500);
    panel.show();
    panel.showReadOuts(false, ReadOuts{});
    for (int c = 1; c <= 4; ++c) EXPECT_FALSE(panel.LabeledEdit[c]->isVisible());
    EXPECT_FALSE(panel.TotalCaption->isVisible());
    EXPECT_EQ(panel.Label1->text(), "");

    ReadOuts r;
    r.counters = {0, 7, 12, 0, 0};
    r.totalText = "19";
    r.timeText = "10:00:00";
    panel.showSession(twoCounters());
    panel.showReadOuts(true, r);
    EXPECT_EQ(panel.LabeledEditLabel[1]->text(), "Left");
    EXPECT_EQ(panel.LabeledEditLabel[2]->text(), "Right");
    EXPECT_EQ(panel.LabeledEdit[2]->text(), "12");
    EXPECT_EQ(panel.Label1->text(), "19");
    EXPECT_EQ(panel.Label2->text(), "10:00:00");
    EXPECT_EQ(panel.RecordedLabel[1]->text(), "recorded 224");
    EXPECT_EQ(panel.RecordedLabel[2]->text(), "");  // not recorded

    panel.clearSession();
    EXPECT_EQ(panel.LabeledEditLabel[1]->text(), "");
    EXPECT_EQ(panel.RecordedLabel[1]->text(), "");
}

TEST(CounterPanel, FieldsInChannelOrderWithinThePanel) {
    const struct {
        int channels;
        int height;
    } cases[] = {{1, 500}, {2, 200}, {4, 400}, {4, 900}};
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.channels << " channels, " << c.height << " px");
        CounterPanel panel(nullptr);
        panel.resize(panel.width(), c.height);
        panel.placeFields(c.channels);
        int below = panel.Label1->y() + panel.Label1->sizeHint().height();
        for (int i = 1; i <= c.channels; ++i) {
            const QLineEdit* field = panel.LabeledEdit[i];
            EXPECT_GE(panel.LabeledEditLabel[i]->y(), below) << "caption " << i;
            EXPECT_GT(field->y(), panel.LabeledEditLabel[i]->y()) << "field " << i;
            EXPECT_LE(field->y() + field->sizeHint().height(), c.height) << "field " << i;
            EXPECT_GT(panel.RecordedLabel[i]->y(), field->y()) << "recorded " << i;
            below = field->y() + field->sizeHint().height();
        }
    }
}

}  // namespace
}  // namespace velkor
