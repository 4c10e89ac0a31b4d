// Reading the session report beside a recording (nyjarstillingar) and the conversions it uses:
// stringtofloat for real values and the day-number formatting of dates and times.
#include "settings/session_report.h"

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <limits>

#include "core/fish_classes.h"
#include "io/counter_constants.h"
#include "io/errors.h"
#include "io/file_names.h"
#include "settings/profile_ini.h"

namespace velkor {
namespace {

// Day numbers of 1 Jan 0001 and 31 Dec 9999: the dates a day number can name.
constexpr double firstDayNumber = -693593.0;
constexpr double lastDayNumber = 2958466.0;  // exclusive

bool allDigits(std::string_view s) {
    if (s.empty()) return false;
    for (const char c : s) {
        if (c < '0' || c > '9') return false;
    }
    return true;
}

// intDigits + fracDigits / 10^fracDigits.size(), both plain digit strings. Up to 15 significant
// digits and 22 decimals the result is one correctly rounded division of two exact doubles;
// longer strings accumulate in long double (decimals past the 40th cannot change a double).
double decimalValue(std::string_view intDigits, std::string_view fracDigits) {
    constexpr uint64_t exactLimit = (uint64_t{1} << 53) - 9;
    uint64_t mantissa = 0;
    bool exact = fracDigits.size() <= 22;
    for (std::string_view part : {intDigits, fracDigits}) {
        for (size_t i = 0; exact && i < part.size(); ++i) {
            if (mantissa > exactLimit / 10) {
                exact = false;
                break;
            }
            mantissa = mantissa * 10 + static_cast<uint64_t>(part[i] - '0');
        }
    }
    if (exact) {
        double scale = 1;
        for (size_t i = 0; i < fracDigits.size(); ++i) scale *= 10;  // exact up to 1e22
        return static_cast<double>(mantissa) / scale;
    }
    long double whole = 0;
    for (const char c : intDigits) whole = whole * 10 + (c - '0');
    long double fraction = 0, scale = 1;
    for (size_t i = 0; i < fracDigits.size() && i < 40; ++i) {
        fraction = fraction * 10 + (fracDigits[i] - '0');
        scale *= 10;
    }
    return static_cast<double>(whole + fraction / scale);
}

std::string shownValue(std::string_view text) {
    constexpr size_t shown = 40;
    if (text.size() <= shown) return "\"" + std::string(text) + "\"";
    return "\"" + std::string(text.substr(0, shown)) + "...\"";
}

struct CivilDate {
    int64_t year;
    unsigned month, day;
};

// Gregorian date of a count of days since 1 Jan 1970.
CivilDate civilFromDays(int64_t z) {
    z += 719468;
    const int64_t era = (z >= 0 ? z : z - 146096) / 146097;
    const auto doe = static_cast<unsigned>(z - era * 146097);
    const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const unsigned mp = (5 * doy + 2) / 153;
    const unsigned d = doy - (153 * mp + 2) / 5 + 1;
    const unsigned m = mp < 10 ? mp + 3 : mp - 9;
    return {static_cast<int64_t>(yoe) + era * 400 + (m <= 2), m, d};
}

bool isDayNumber(double v) {
    return std::isfinite(v) && v > firstDayNumber - 1 && v < lastDayNumber;
}

std::string twoDigits(unsigned v) {
    return std::string{static_cast<char>('0' + v / 10 % 10), static_cast<char>('0' + v % 10)};
}

// The time of day of a day number: its fraction, negative for a negative day number.
double dayFraction(double v) {
    return v - std::trunc(v);
}

// Reads one report value with stringtofloat; a failed conversion names the key and the file.
class ReportValues {
public:
    ReportValues(const ProfileIni& ini, const std::string& file) : ini_(ini), file_(file) {}

    double real(std::string_view section, std::string_view key, const std::string& fallback) const {
        const std::string text = ini_.readString(section, key, fallback);
        try {
            return stringtofloat(text);
        } catch (const ReportValueError& e) {
            throw ReportValueError(file_, "value of \"" + std::string(key) + "\" in [" +
                                              std::string(section) + "]: " + e.problem());
        }
    }
    // A real value that names a date (years 1..9999).
    double dayNumber(std::string_view section, std::string_view key,
                     const std::string& fallback) const {
        const double v = real(section, key, fallback);
        if (!isDayNumber(v)) {
            throw ReportValueError(
                file_, "value of \"" + std::string(key) + "\" in [" + std::string(section) + "]: " +
                           shownValue(ini_.readString(section, key, fallback)) + " is not a date");
        }
        return v;
    }

private:
    const ProfileIni& ini_;
    const std::string& file_;
};

}  // namespace

std::string reportFileName(const std::string& recording) {
    const size_t nameStart = recording.find_last_of("/\\");
    const size_t dot = recording.rfind('.');
    if (dot == std::string::npos || (nameStart != std::string::npos && dot < nameStart)) {
        return recording + ".mse";
    }
    return recording.substr(0, dot) + ".mse";
}

double stringtofloat(const std::string& st) {
    if (st.empty()) return 0;
    std::string_view s = st;
    bool negative = false;
    if (s.front() == '-' || s.front() == '+') {
        negative = s.front() == '-';
        s.remove_prefix(1);
    }
    size_t p = s.find('.');
    if (p == std::string_view::npos) p = s.find(',');
    const std::string_view intDigits = s.substr(0, p);
    const std::string_view fracDigits = p == std::string_view::npos ? "" : s.substr(p + 1);
    if (!allDigits(intDigits) || (p != std::string_view::npos && !allDigits(fracDigits))) {
        throw ReportValueError("", shownValue(st) + " is not a number");
    }
    const double value = decimalValue(intDigits, fracDigits);
    if (!std::isfinite(value)) throw ReportValueError("", shownValue(st) + " is out of range");
    return negative ? -value : value;
}

std::string formatDayNumberDate(double dayNumber) {
    static constexpr const char* months[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                             "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
    if (!isDayNumber(dayNumber)) return {};
    const CivilDate date = civilFromDays(static_cast<int64_t>(std::trunc(dayNumber)) - 25569);
    std::string year = std::to_string(date.year);
    year.insert(0, year.size() < 4 ? 4 - year.size() : 0, '0');
    return twoDigits(date.day) + " " + months[date.month - 1] + " " + year;
}

std::string formatTimeOfDay(double dayNumber) {
    if (!isDayNumber(dayNumber)) return {};
    // To the nearest second, as every time shown in seconds: a start read as DateTime less
    // Lasting lies a fraction of a second off the whole second it stands for.
    constexpr int64_t secondsPerDay = 86400;
    int64_t seconds = std::llround(std::fabs(dayFraction(dayNumber)) * secondsPerDay);
    if (seconds >= secondsPerDay) seconds = 0;  // rounds up to the next midnight
    const auto s = static_cast<unsigned>(seconds);
    return twoDigits(s / 3600) + ":" + twoDigits(s / 60 % 60) + ":" + twoDigits(s % 60);
}

std::string formatDayNumberDateTime(double dayNumber) {
    if (!isDayNumber(dayNumber)) return {};
    constexpr int64_t secondsPerDay = 86400;  // to the nearest second, as formatTimeOfDay
    auto day = static_cast<int64_t>(std::trunc(dayNumber));
    int64_t seconds = std::llround(std::fabs(dayFraction(dayNumber)) * secondsPerDay);
    if (seconds >= secondsPerDay) {  // rounds up to the next midnight
        seconds -= secondsPerDay;
        day += 1;
    }
    const CivilDate date = civilFromDays(day - 25569);
    std::string year = std::to_string(date.year);
    year.insert(0, year.size() < 4 ? 4 - year.size() : 0, '0');
    const auto s = static_cast<unsigned>(seconds);
    return year + "-" + twoDigits(date.month) + "-" + twoDigits(date.day) + " " +
           twoDigits(s / 3600) + ":" + twoDigits(s / 60 % 60) + ":" + twoDigits(s % 60);
}

bool nyjarstillingar(const std::string& skrainn, SessionReport& out, std::string* message) {
    const std::string file = reportFileName(skrainn);
    std::error_code ec;
    if (!std::filesystem::exists(pathFromUtf8(file), ec)) {
        if (message != nullptr) *message = "Cant find corresponding reportfile (.mse)";
        return false;
    }
    const ProfileIni ini = ProfileIni::load(file);
    const ReportValues values(ini, file);
    out.reportFile = file;
    out.replacedValues.clear();
    // An integer that is not one counts as its default, as the counter's own reading does; the
    // window says which value was replaced and by what.
    auto integer = [&ini, &out](std::string_view section, const std::string& key,
                                int32_t fallback) {
        const std::optional<std::string> text = ini.readString(section, key);
        if (!text) return fallback;
        if (const std::optional<int32_t> v = parseProfileInteger(*text)) return *v;
        out.replacedValues.push_back({std::string(section), key, *text, fallback});
        return fallback;
    };

    // Window title: tank, description and the date the session ended.
    out.tank = ini.readString("Program", "Tank", "");
    out.generation = ini.readString("Program", "Generation", "");
    const double titleDate = values.dayNumber("Program", "DateTime", "");
    out.windowTitle =
        "Tank: " + out.tank + "  " + out.generation + "     " + formatDayNumberDate(titleDate);

    // Channels and counting area. A count outside 1..4 is clamped (the table has four entries);
    // edges in the wrong order, or equal, fall back to the full scan line so no span is 0.
    out.channelCount = std::clamp(integer("Settings", "NrChannels", 1), 1, maxChannels);
    out.scanLeftEdge = integer("Settings", "Ledge", 0);
    out.scanRightEdge = integer("Settings", "Redge", 511);
    if (out.scanLeftEdge >= out.scanRightEdge) {
        out.scanLeftEdge = 0;
        out.scanRightEdge = 511;
    }

    // Counter width: the stored choice, or one picked from the span when none is stored.
    out.channelwidthIndex = std::clamp(integer("Kest", "channelwidth", -1), -1, 5);
    if (out.channelwidthIndex == -1) {
        const int64_t span = int64_t{out.scanRightEdge} - out.scanLeftEdge;
        out.channelwidthIndex = span >= 1500 ? 1 : 0;
    }
    out.counterWidthMm = counterWidthsMm[out.channelwidthIndex];

    out.lengthDivisor = 4;
    out.edgeAngleThreshold = 10;
    out.runAreaFactor = 2;

    out.channelTable = {};
    for (int32_t n = 1; n <= out.channelCount; ++n) {
        const std::string nr = std::to_string(n);
        ChannelBounds& ch = out.channelTable[n];
        ch.widthMm = integer("Kest", "%width" + nr, out.counterWidthMm / out.channelCount);
        ch.leftEdge = integer("Kest", "Multib" + nr, out.scanLeftEdge);
        ch.rightEdge = integer("Kest", "Multie" + nr, out.scanRightEdge);
    }

    const double lasting = values.real("Program", "Lasting", "0");
    out.endTime = values.dayNumber("Program", "DateTime", "0");
    out.sessionStart = out.endTime - lasting;

    for (int32_t n = 1; n <= maxChannels; ++n) {
        out.sizeGroup[n] = clampSizeGroup(integer("Kest", numbered("Size Group", n), 2));
    }
    for (int32_t n = 1; n <= maxChannels; ++n) {
        const std::string nr = std::to_string(n);
        out.counterNames[n] = ini.readString("Kest", "Countname" + nr, "Counter " + nr);
        out.counterCaptions[n] =
            out.counterNames[n] + "   " + std::string(fishClassName(out.sizeGroup[n]));
    }

    // Throughput curves: a time of day below the one before it has passed midnight.
    out.curves = {};
    for (int32_t c = 1; c <= out.channelCount; ++c) {
        std::string section = numbered("ThroughputChart", c);
        if (!ini.hasSection(section)) section = "ThroughputChart";
        auto& curve = out.curves[c];
        curve.emplace_back(dayFraction(out.sessionStart), 0.0);
        double prev = 0;
        for (int64_t j = 1; ini.hasKey(section, numbered("X", j)); ++j) {
            const std::string nr = std::to_string(j);
            double x = values.real(section, "X" + nr, "");
            if (x < prev) x += 1;
            prev = x;
            const double y = values.real(section, "Y" + nr, "0");
            curve.emplace_back(x, y);
        }
        curve.emplace_back(dayFraction(out.endTime), 0.0);
    }
    out.recorded = readRecordedFigures(ini);
    return true;
}

void applySessionReport(const SessionReport& r, CoreState& s) {
    s.channelCount = r.channelCount;
    s.channelTable = r.channelTable;
    s.scanLeftEdge = r.scanLeftEdge;
    s.scanRightEdge = r.scanRightEdge;
    s.counterWidthMm = r.counterWidthMm;
    for (int c = 1; c <= maxChannels; ++c) s.sizeGroup[c] = r.sizeGroup[c];
    s.lengthDivisor = r.lengthDivisor;
    s.edgeAngleThreshold = r.edgeAngleThreshold;
    s.runAreaFactor = r.runAreaFactor;
}

}  // namespace velkor
