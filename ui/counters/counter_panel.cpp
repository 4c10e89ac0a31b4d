// The counter panel: its read-outs built once with room for the widest texts a session can give
// them, and the fields placed beside their channels.
#include "ui/counters/counter_panel.h"

#include <QLabel>
#include <QLineEdit>
#include <algorithm>

#include "ui/comparison/recorded_comparison.h"
#include "ui/counters/class_chooser.h"
#include "ui/counters/read_out_widths.h"
#include "ui/picture/picture_geometry.h"

namespace velkor {
namespace {

constexpr int counterPanelWidth = 111;
constexpr int fieldLeft = 16;
constexpr int fieldWidth = 80;
constexpr int captionLeft = 6;  // a caption such as "Counter 2   10 g" needs the panel's width
constexpr int timeLeft = 31;
constexpr int totalLeft = 32;

QString fromUtf8(const std::string& text) {
    return QString::fromUtf8(text.data(), qsizetype(text.size()));
}

}  // namespace

CounterPanel::CounterPanel(QWidget* parent) : QWidget(parent) {
    setObjectName("Panel3");
    // The total's caption stands before it; the total moves right as far as the caption needs.
    TotalCaption = new QLabel(tr("Total"), this);
    TotalCaption->setObjectName("TotalCaption");
    TotalCaption->adjustSize();
    TotalCaption->move(captionLeft, 26);
    const int totalX = std::max(totalLeft, captionLeft + TotalCaption->width() + 4);
    setFixedWidth(
        readOutWidths(font(), fieldLeft, timeLeft, totalX, fieldWidth + 1, counterPanelWidth)
            .panel);

    QFont bold = font();
    bold.setBold(true);
    // Nothing open shows empty read-outs, not the design's placeholder captions.
    Label2 = new QLabel(this);
    Label2->setObjectName("Label2");
    Label2->setToolTip(tr("Time of the frame's first line"));
    Label2->move(timeLeft, 10);
    Label1 = new QLabel(this);
    Label1->setObjectName("Label1");
    Label1->setFont(bold);
    Label1->setToolTip(tr("Total of all channels"));
    Label1->move(totalX, 26);
    // Caption and total share a baseline.
    TotalCaption->move(captionLeft, 26 + QFontMetrics(bold).ascent() - fontMetrics().ascent());

    const ReadOutWidths widths =
        readOutWidths(font(), fieldLeft, timeLeft, totalLeft, fieldWidth, counterPanelWidth);
    for (int i = 1; i <= 4; ++i) {
        auto* edit = new QLineEdit(this);
        edit->setObjectName(QString("LabeledEdit%1").arg(i));
        edit->setReadOnly(true);
        edit->setFocusPolicy(Qt::NoFocus);
        edit->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        edit->setFixedWidth(i == 1 ? widths.field + 1 : widths.field);
        edit->setToolTip(tr("Fish counted in channel %1").arg(i));
        auto* caption = new QLabel(this);
        caption->setObjectName(QString("LabeledEdit%1Label").arg(i));
        caption->setBuddy(edit);
        LabeledEdit[i] = edit;
        LabeledEditLabel[i] = caption;
        auto* recorded = new QLabel(this);
        recorded->setObjectName(QString("RecordedLabel%1").arg(i));
        recorded->setToolTip(tr("The channel's session total as the counter recorded it"));
        RecordedLabel[i] = recorded;
        classChooser[i] = new ClassChooser(i, this);
    }
}

void CounterPanel::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    // The counter fields follow the panel's height, so they stay beside their channels.
    placeFields(channels_);
}

void CounterPanel::placeFields(int channels) {
    channels_ = channels;
    // Beside their channels, as long as the panel is high enough for that; in a low window they
    // move down so that no read-out covers another.
    // A caption shares its line with the channel's class chooser, at the panel's right edge.
    const int chooserHeight = classChooser[1]->height();
    // Under a field the recorded total, or in its place the count with another class, which
    // repeats it.
    const int whatIfLeft = captionLeft, whatIfWidth = width() - captionLeft - 2;
    int below = RecordedLabel[1]->sizeHint().height();
    for (int i = 1; i <= 4; ++i) {
        const bool recordedShown = classChooser[i]->whatIf().isEmpty();
        RecordedLabel[i]->setVisible(recordedShown);
        if (i <= channels && !recordedShown)
            below = std::max(below, classChooser[i]->whatIfLabel->heightForWidth(whatIfWidth));
    }
    const int firstFree = Label1->y() + Label1->sizeHint().height() + 2;
    // A few pixels between the rows, unless a low panel needs them to keep every field in sight.
    auto blockHeight = [&](int gap) {
        return std::max(LabeledEditLabel[1]->sizeHint().height(), chooserHeight) +
               LabeledEdit[1]->sizeHint().height() + below + 4 * gap;
    };
    const int gap = firstFree + channels * blockHeight(1) <= height() ? 1 : 0;
    const int captionHeight =
        std::max(LabeledEditLabel[1]->sizeHint().height(), chooserHeight) + gap;
    const int editHeight = LabeledEdit[1]->sizeHint().height() + gap;
    const int fieldBlock = editHeight + below + 2 * gap;
    const CounterFieldTops tops = fieldTopsWithin(counterFieldTops(height(), channels), firstFree,
                                                  captionHeight, fieldBlock, height());
    for (int i = 1; i <= 4; ++i) {
        LabeledEdit[i]->move(fieldLeft, tops[i]);
        LabeledEditLabel[i]->adjustSize();
        const int captionTop = tops[i] - captionHeight;
        LabeledEditLabel[i]->move(
            captionLeft, captionTop + (captionHeight - gap - LabeledEditLabel[i]->height()) / 2);
        classChooser[i]->move(width() - 2 - classChooser[i]->width(), captionTop);
        RecordedLabel[i]->adjustSize();
        RecordedLabel[i]->move(fieldLeft, tops[i] + editHeight);
        classChooser[i]->placeWhatIf(QPoint(whatIfLeft, tops[i] + editHeight), whatIfWidth);
    }
}

void CounterPanel::showReadOuts(bool open, const ReadOuts& r) {
    Label2->setText(open ? fromUtf8(r.timeText) : QString());
    Label2->adjustSize();
    Label1->setText(open ? fromUtf8(r.totalText) : QString());
    Label1->adjustSize();
    TotalCaption->setVisible(open);
    // With nothing open the fields have no captions and nothing to show: none is shown.
    for (int i = 1; i <= 4; ++i) {
        LabeledEdit[i]->setText(open ? QString::number(r.counters[i]) : QString());
        LabeledEdit[i]->setVisible(open);
    }
}

void CounterPanel::showSession(const SessionReport& report) {
    for (int c = 1; c <= 4; ++c) {
        // A caption holds the counter's name, its class chooser beside it: a long name is
        // elided, whole in the tool tip with the report's class.
        const QString name = fromUtf8(report.counterNames[c]);
        LabeledEditLabel[c]->setText(LabeledEditLabel[c]->fontMetrics().elidedText(
            name, Qt::ElideRight, width() - captionLeft - 2 - classChooser[c]->width() - 4));
        LabeledEditLabel[c]->setToolTip(fromUtf8(report.counterCaptions[c]));
        RecordedLabel[c]->setText(c <= report.channelCount
                                      ? recordedTotalText(report.recorded.sessionTotals[c])
                                      : QString());
        RecordedLabel[c]->adjustSize();
    }
}

void CounterPanel::clearSession() {
    for (int c = 1; c <= 4; ++c) {
        LabeledEditLabel[c]->clear();
        LabeledEditLabel[c]->setToolTip(QString());
        RecordedLabel[c]->clear();
    }
}

}  // namespace velkor
