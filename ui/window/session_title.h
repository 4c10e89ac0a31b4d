// The window title: which session is open, so that two windows or a screenshot can be told apart.
#pragma once

#include <QString>

namespace velkor {

class ReplayEngine;
struct SessionReport;

// "FILE - Tank TANK - DATE START-END - Velkor" for an open recording: the file name without its
// folder, the tank as the report names it (left out when empty), the date the session started and
// its first and last times; "View Record - Velkor" when nothing is open (`fileName` empty).
QString sessionTitle(const QString& fileName, const SessionReport& report, double start,
                     double end);
// The same for what `engine` has open, `fileName` being its recording as the user chose it.
QString sessionTitle(const ReplayEngine& engine, const QString& fileName);

}  // namespace velkor
