// The widths of the counter panel's read-outs, taken from the widest texts a session can give
// them, so that every number shows whole however far a day-long session counts. The panel's
// width is fixed by these texts, not by the counts of the moment: were it to follow the counts,
// the picture, and with it the frame width the counts depend on, would change as they grow.
#pragma once

#include <QFont>
#include <QString>

#include "ui/picture/picture_geometry.h"

namespace velkor {

// The widest texts: a channel's count, the total of four channels, a time of day, a recorded
// total under a field.
inline const QString widestCount = QStringLiteral("10000000");
inline const QString widestTotal = QStringLiteral("40000000");
inline const QString widestTime = QStringLiteral("00:00:00");
QString widestRecordedText();

struct ReadOutWidths {
    int field = 0;  // a counter field's width
    int panel = 0;  // the counter panel's width
};

// Widths for fields at `fieldLeft` and the time and total at `timeLeft` and `totalLeft` (the
// total in bold), never narrower than the design's `designField` and `designPanel`.
ReadOutWidths readOutWidths(const QFont& font, int fieldLeft, int timeLeft, int totalLeft,
                            int designField, int designPanel);

// The fields' tops moved down where a window too low for them would lay one read-out over
// another: a field's caption (`captionHeight` high, right above it) starts at `firstFree` or
// below, and a field with its recorded total under it takes `fieldBlock` pixels. Fields out of
// sight (a negative top) stay where they are.
CounterFieldTops separatedFieldTops(CounterFieldTops tops, int firstFree, int captionHeight,
                                    int fieldBlock);

// As separatedFieldTops, and then moved up where the last blocks would reach past `bottom` (the
// panel's height), as far as the fields above them leave room; where the panel is too low for
// every block, the upper ones keep their places.
CounterFieldTops fieldTopsWithin(CounterFieldTops tops, int firstFree, int captionHeight,
                                 int fieldBlock, int bottom);

}  // namespace velkor
