// The left axis's steps: the finest round spacing that leaves room for the labels.
#include "ui/chart/value_axis.h"

#include <QCoreApplication>
#include <algorithm>
#include <cmath>

namespace velkor {

QString valueAxisUnit() {
    return QCoreApplication::translate("ThroughputChart", "fish/min");
}

std::vector<double> valueAxisSteps(double top, int most) {
    std::vector<double> steps;
    if (!(top > 0)) return steps;
    most = std::max(1, most);
    // From a spacing finer than any that fits, up to the first one that fits.
    double decade = std::pow(10.0, std::floor(std::log10(top / (most + 1))) - 1);
    for (;;) {
        for (const double factor : {1.0, 2.0, 5.0}) {
            const double step = factor * decade;
            // Multiples of the step below the top, a hair's breadth kept from it.
            const int count = int(std::ceil(top / step - 1e-9)) - 1;
            if (count > most || count < 1) {
                if (count < 1) {
                    steps.push_back(top / 2);  // no round value fits: the middle
                    return steps;
                }
                continue;
            }
            for (int k = 1; k <= count; ++k) steps.push_back(k * step);
            return steps;
        }
        decade *= 10;
    }
}

}  // namespace velkor
