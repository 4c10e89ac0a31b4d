// Date and time text to day number, with the proleptic Gregorian calendar.
#include "tools/velkor-synth/day_number.h"

#include <cstdint>

namespace velkor::synth {

namespace {

// Days from 1970-01-01 to the given civil date (any year), by the era arithmetic of the
// Gregorian 400-year cycle.
int64_t daysFromCivil(int64_t y, int64_t m, int64_t d) {
    y -= m <= 2;
    const int64_t era = (y >= 0 ? y : y - 399) / 400;
    const int64_t yoe = y - era * 400;
    const int64_t doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const int64_t doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + doe - 719468;
}

bool leapYear(int y) {
    return (y % 4 == 0 && y % 100 != 0) || y % 400 == 0;
}

int daysInMonth(int y, int m) {
    static constexpr int days[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return m == 2 && leapYear(y) ? 29 : days[m - 1];
}

}  // namespace

std::optional<double> parseDateTime(const std::string& text) {
    static constexpr char pattern[] = "dddd-dd-dd dd:dd:dd";
    if (text.size() != sizeof pattern - 1) return std::nullopt;
    for (size_t i = 0; i < text.size(); ++i) {
        bool digit = text[i] >= '0' && text[i] <= '9';
        if (pattern[i] == 'd' ? !digit : text[i] != pattern[i]) return std::nullopt;
    }
    auto field = [&](size_t at, size_t digits) { return std::stoi(text.substr(at, digits)); };
    int y = field(0, 4), mo = field(5, 2), d = field(8, 2);
    int h = field(11, 2), mi = field(14, 2), s = field(17, 2);
    if (y < 1900 || mo < 1 || mo > 12 || d < 1 || d > daysInMonth(y, mo) || h > 23 || mi > 59 ||
        s > 59)
        return std::nullopt;
    const int64_t epoch = daysFromCivil(1899, 12, 30);
    double days = static_cast<double>(daysFromCivil(y, mo, d) - epoch);
    return days + (h * 3600.0 + mi * 60.0 + s) / 86400.0;
}

}  // namespace velkor::synth
