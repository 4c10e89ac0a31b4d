// The window title for an open session.
#include "ui/session_title.h"

#include <QFileInfo>

#include "settings/session_report.h"

namespace velkor {

QString sessionTitle(const QString& fileName, const SessionReport& report, double start,
                     double end) {
    const QString program = QStringLiteral("Velkor");
    const QString dash = QStringLiteral(" \u2013 ");
    if (fileName.isEmpty()) return QObject::tr("View Record") + dash + program;
    QStringList parts{QFileInfo(fileName).fileName()};
    const QString tank = QString::fromUtf8(report.tank.c_str()).trimmed();
    if (!tank.isEmpty()) parts << QObject::tr("Tank %1").arg(tank);
    parts << QStringLiteral("%1 %2\u2013%3")
                 .arg(QString::fromStdString(formatDayNumberDate(start)),
                      QString::fromStdString(formatTimeOfDay(start)),
                      QString::fromStdString(formatTimeOfDay(end)));
    parts << program;
    return parts.join(dash);
}

}  // namespace velkor
