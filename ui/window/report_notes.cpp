// The status bar's note on report values replaced by their defaults.
#include "ui/window/report_notes.h"

#include <QFileInfo>
#include <QObject>
#include <QStringList>

#include "settings/session_report.h"

namespace velkor {

QString reportNotesText(const SessionReport& report) {
    if (report.replacedValues.empty()) return QString();
    QStringList parts;
    for (const ReplacedReportValue& v : report.replacedValues) {
        parts << QObject::tr("\"%1=%2\" is not a whole number: counted as %3")
                     .arg(QString::fromUtf8(v.key.c_str()), QString::fromUtf8(v.text.c_str()))
                     .arg(v.usedValue);
    }
    return QObject::tr("In %1, %2")
        .arg(QFileInfo(QString::fromUtf8(report.reportFile.c_str())).fileName(),
             parts.join(QStringLiteral("; ")));
}

}  // namespace velkor
