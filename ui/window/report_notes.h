// What the status bar says about a session report whose values were not all readable: each
// value that is not a whole number, and the default the counts were made with in its place.
#pragma once

#include <QString>

namespace velkor {

struct SessionReport;

// "In session.mse, "Size Group1=abc" is not a whole number: counted as 2", one sentence per
// value joined with "; "; empty when every value was read.
QString reportNotesText(const SessionReport& report);

}  // namespace velkor
