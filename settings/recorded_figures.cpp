// Reading the counter's own figures from a session report, and the replay's difference from them.
#include "settings/recorded_figures.h"

#include <cmath>

#include "io/errors.h"
#include "settings/profile_ini.h"
#include "settings/session_report.h"

namespace velkor {
namespace {

std::optional<int32_t> recordedInteger(const ProfileIni& ini, std::string_view section,
                                       std::string_view key) {
    const std::optional<std::string> text = ini.readString(section, key);
    if (!text) return std::nullopt;
    return parseProfileInteger(*text);
}

std::optional<double> recordedReal(const ProfileIni& ini, std::string_view section,
                                   std::string_view key) {
    const std::optional<std::string> text = ini.readString(section, key);
    if (!text || text->empty()) return std::nullopt;
    try {
        return stringtofloat(*text);
    } catch (const ReportValueError&) {
        return std::nullopt;  // not a number: not recorded
    }
}

// Tenths of a per cent, written without the locale's decimal separator.
std::string tenthsText(long long tenths) {
    const unsigned long long magnitude =
        tenths < 0 ? 0ULL - static_cast<unsigned long long>(tenths) : tenths;
    std::string text = tenths < 0 ? "-" : "";
    text += std::to_string(magnitude / 10);
    text += '.';
    text += std::to_string(magnitude % 10);
    return text;
}

}  // namespace

bool RecordedFigures::hasTotals(int32_t channels) const {
    if (total) return true;
    for (int32_t c = 1; c <= channels && c <= maxChannels; ++c) {
        if (sessionTotals[c]) return true;
    }
    return false;
}

RecordedFigures readRecordedFigures(const ProfileIni& ini) {
    RecordedFigures figures;
    figures.total = recordedInteger(ini, "Program", "Total");
    for (int32_t n = 1; n <= maxChannels; ++n) {
        figures.sessionTotals[n] = recordedInteger(ini, "Kest", numbered("CountersT", n));
        figures.endCounters[n] = recordedInteger(ini, "Kest", numbered("Counters", n));
    }
    figures.lasting = recordedReal(ini, "Program", "Lasting");
    figures.dateTime = recordedReal(ini, "Program", "DateTime");
    figures.tank = ini.readString("Program", "Tank");
    const std::optional<int32_t> lines = recordedInteger(ini, "Program", "Nocommentlines");
    for (int64_t j = 0; !lines || j < *lines; ++j) {
        std::optional<std::string> line = ini.readString("Program", numbered("comment", j));
        if (!line) break;
        figures.comments.push_back(std::move(*line));
    }
    return figures;
}

std::optional<double> differencePercent(int64_t replay, std::optional<int32_t> recorded) {
    if (!recorded) return std::nullopt;
    if (*recorded == 0) return replay == 0 ? std::optional<double>(0.0) : std::nullopt;
    return (static_cast<double>(replay) - *recorded) / *recorded * 100.0;
}

std::string formatDifference(std::optional<double> percent) {
    if (!percent || !std::isfinite(*percent)) return {};
    // A difference that rounds to nothing shows no sign.
    const long long tenths = std::llround(*percent * 10);
    std::string text = tenths > 0 ? "+" : "";
    text += tenthsText(tenths);
    text += " %";
    return text;
}

std::string formatPerCentNumber(std::optional<double> percent) {
    if (!percent || !std::isfinite(*percent)) return {};
    return tenthsText(std::llround(*percent * 10));
}

}  // namespace velkor
