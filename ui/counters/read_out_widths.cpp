// Counter panel widths from the widest read-out texts.
#include "ui/counters/read_out_widths.h"

#include <QFontMetrics>
#include <algorithm>

#include "ui/comparison/recorded_comparison.h"

namespace velkor {

QString widestRecordedText() {
    return recordedTotalText(widestCount.toInt());
}

ReadOutWidths readOutWidths(const QFont& font, int fieldLeft, int timeLeft, int totalLeft,
                            int designField, int designPanel) {
    const QFontMetrics normal(font);
    QFont boldFont = font;
    boldFont.setBold(true);
    const QFontMetrics bold(boldFont);
    // A line edit's frame and its text margins take some 6 pixels a side; room is left for more.
    constexpr int editFrame = 16;
    constexpr int rightMargin = 6;
    ReadOutWidths w;
    w.field = std::max(designField, normal.horizontalAdvance(widestCount) + editFrame);
    const int right =
        std::max({fieldLeft + w.field, fieldLeft + normal.horizontalAdvance(widestRecordedText()),
                  timeLeft + normal.horizontalAdvance(widestTime),
                  totalLeft + bold.horizontalAdvance(widestTotal)});
    w.panel = std::max(designPanel, right + rightMargin);
    return w;
}

CounterFieldTops separatedFieldTops(CounterFieldTops tops, int firstFree, int captionHeight,
                                    int fieldBlock) {
    for (size_t i = 1; i < tops.size(); ++i) {
        if (tops[i] < 0) continue;
        tops[i] = std::max(tops[i], firstFree + captionHeight);
        firstFree = tops[i] + fieldBlock;
    }
    return tops;
}

CounterFieldTops fieldTopsWithin(CounterFieldTops tops, int firstFree, int captionHeight,
                                 int fieldBlock, int bottom) {
    tops = separatedFieldTops(tops, firstFree, captionHeight, fieldBlock);
    int limit = bottom;
    for (size_t i = tops.size() - 1; i >= 1; --i) {
        if (tops[i] < 0) continue;
        tops[i] = std::max(0, std::min(tops[i], limit - fieldBlock));  // 0 and up: in sight
        limit = tops[i] - captionHeight;
    }
    return separatedFieldTops(tops, firstFree, captionHeight, fieldBlock);
}

}  // namespace velkor
