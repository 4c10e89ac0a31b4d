// The window title for an open session.
#include "ui/window/session_title.h"

#include <QFileInfo>
#include <cmath>

#include "replay/go_to.h"
#include "replay/replay_engine.h"
#include "settings/session_report.h"

namespace velkor {

QString sessionTitle(const QString& fileName, const SessionReport& report, double start,
                     double end) {
    const QString program = QStringLiteral("Velkor");
    const QString dash = QStringLiteral(" \u2013 ");
    if (fileName.isEmpty()) return QObject::tr("View Record") + dash + program;
    QStringList parts{QFileInfo(fileName).fileName()};
    const QString tank = QString::fromUtf8(report.tank.c_str()).trimmed();
    // The tank as the report names it: the counter's operators write "Tank 41" themselves.
    if (!tank.isEmpty()) parts << tank;
    // A session past midnight ends on the next day's date, as the session check shows it.
    const bool sameDay = std::floor(start) == std::floor(end);
    const QString endText =
        sameDay ? QString::fromStdString(formatTimeOfDay(end))
                : QString::fromStdString(formatDayNumberDate(end) + " " + formatTimeOfDay(end));
    parts << QStringLiteral("%1 %2\u2013%3")
                 .arg(QString::fromStdString(formatDayNumberDate(start)),
                      QString::fromStdString(formatTimeOfDay(start)), endText);
    parts << program;
    return parts.join(dash);
}

QString sessionTitle(const ReplayEngine& e, const QString& fileName) {
    return e.isOpen() ? sessionTitle(fileName, e.report(), e.sessionStart(),
                                     timeOfLine(e.sessionStart(), e.lineCount()))
                      : sessionTitle(QString(), e.report(), 0, 0);
}

}  // namespace velkor
