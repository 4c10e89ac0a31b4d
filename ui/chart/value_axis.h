// The throughput chart's left axis as plain arithmetic: its unit and the round values labelled
// between 0 and its top, so that a reader sees the scale of the curve and not only its peak.
#pragma once

#include <QString>
#include <vector>

namespace velkor {

// The unit of the values, written beside the axis.
QString valueAxisUnit();

// Round values (1, 2 or 5 times a power of ten apart) strictly between 0 and `top`: the closest
// spacing that gives at most `most` of them, and always at least one (`top` > 0).
std::vector<double> valueAxisSteps(double top, int most);

}  // namespace velkor
