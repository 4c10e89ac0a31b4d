// The session report writer: every section and key in the counter's order.
#include "settings/report_writer.h"

#include <algorithm>
#include <cmath>
#include <filesystem>

#include "core/fish_classes.h"
#include "io/file_names.h"
#include "settings/profile_ini.h"
#include "settings/session_report.h"

namespace velkor {
namespace {

std::string yyyymmdd(double dayNumber) {
    // "dd MMM yyyy" gives the parts; the month is looked up by its abbreviation.
    static constexpr const char* months[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                             "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
    const std::string date = formatDayNumberDate(dayNumber);
    if (date.size() != 11) return "00000000";
    int month = 1;
    for (int m = 0; m < 12; ++m) {
        if (date.compare(3, 3, months[m]) == 0) month = m + 1;
    }
    return date.substr(7, 4) + (month < 10 ? "0" : "") + std::to_string(month) + date.substr(0, 2);
}

// The first `count` characters (not bytes) of UTF-8 text.
std::string firstCharacters(const std::string& text, size_t count) {
    size_t pos = 0;
    for (size_t n = 0; n < count && pos < text.size(); ++n) {
        ++pos;
        while (pos < text.size() && (static_cast<unsigned char>(text[pos]) & 0xC0) == 0x80) ++pos;
    }
    return text.substr(0, pos);
}

}  // namespace

std::vector<size_t> throughputSamplePositions(size_t pointCount) {
    std::vector<size_t> positions;
    if (pointCount < 2) return positions;
    const size_t s = (pointCount - 1) / 300;
    for (size_t i = 0; i + s + 1 < pointCount; i += s + 1) positions.push_back(i);
    return positions;
}

void buildSessionReport(const ReportContent& r, Tini_files& ini) {
    ini.ini_newfile();
    ini.setDecimalSeparator(r.decimalSeparator);
    const char sep = r.decimalSeparator;
    const size_t channelCount = std::min<size_t>(r.channels.size(), 4);
    const int32_t nrChannels = r.nrChannels.value_or(static_cast<int32_t>(channelCount));

    const char* p = "Program";
    ini.writestring(p, "Group", std::string(fishClassName(clampSizeGroup(r.sizeGroup[0]))));
    ini.writeinteger(p, "Total", r.total);
    ini.writefloat(p, "Overload", r.overload);
    ini.writefloat(p, "Lasting", r.lasting);
    ini.writefloat(p, "DateTime", r.dateTime);
    ini.writefloat(p, "Maximum", r.maximum);
    ini.writeinteger(p, "Nocommentlines", static_cast<int64_t>(r.comments.size()));
    for (size_t i = 0; i < r.comments.size(); ++i) {
        ini.writestring(p, numbered("comment", i), r.comments[i]);
    }
    ini.writestring(p, "operator", r.operatorName);
    ini.writestring(p, "Personincharge", r.personInCharge);
    ini.writestring(p, "Origin", r.origin);
    ini.writestring(p, "Destination", r.destination);
    ini.writestring(p, "logoimage", r.logoImage);
    ini.writestring(p, "Tank", r.tank);
    ini.writestring(p, "Camera serial", r.cameraSerial);
    ini.writestring(p, "Camera MacAddress", r.cameraMacAddress);
    ini.writestring(p, "PC MacAddress", r.pcMacAddress);
    ini.writestring(p, "Counter name", r.counterName);
    ini.writestring(p, "Dropbox Computer Number", r.dropboxComputerNumber);
    ini.writestring(p, "Counter type", r.counterType);
    ini.writestring(
        p, "Average",
        r.lasting < 0.000115
            ? " "
            : formatFixed(static_cast<double>(r.total) / (r.lasting * 24 * 60), 0, sep));
    for (size_t n = 0; n < 4; ++n) {
        ini.writestring(p, numbered("EstimatedSize", n + 1), r.estimatedSize[n]);
    }

    const char* s = "Settings";
    ini.writebool(s, "AutoSense", r.autoSense);
    ini.writebool(s, "ForcedClamping", r.forcedClamping);
    ini.writestring(s, "Version", r.version);
    ini.writeinteger(s, "Ledge", r.ledge);
    ini.writeinteger(s, "Redge", r.redge);
    ini.writestring(s, "ScanRate", r.scanRate);
    ini.writestring(s, "Amplification", r.amplification);
    ini.writeinteger(s, "NrChannels", nrChannels);
    ini.writebool(s, "EnableMulti", r.enableMulti);

    const char* k = "Kest";
    for (size_t n = 0; n < 4; ++n) {
        ini.writeinteger(k, numbered("Size Group", n + 1), r.sizeGroup[n]);
    }
    for (size_t n = 0; n < channelCount; ++n) {
        const ReportChannel& ch = r.channels[n];
        const std::string nr = std::to_string(n + 1);
        ini.writeinteger(k, "%width" + nr, ch.widthMm);
        ini.writeinteger(k, "Multib" + nr, ch.leftEdge);
        ini.writeinteger(k, "Multie" + nr, ch.rightEdge);
        ini.writeinteger(k, "Counters" + nr, ch.counter);
        ini.writeinteger(k, "CountersT" + nr, ch.sessionCount);
        if (ch.sessionCount != 0) {
            ini.writestring(
                k, "EEDTO" + nr,
                formatFixed(ch.overloadCorrections / static_cast<double>(ch.sessionCount) * 100 / 3,
                            1, sep));
        }
    }
    for (size_t n = 0; n < 4; ++n) {
        ini.writestring(k, numbered("Countname", n + 1), r.countName[n]);
    }
    ini.writeinteger(k, "channelwidth", r.channelwidth);

    for (size_t i = 0; i < r.storedValues.size(); ++i) {
        ini.writestring("StoredValues", std::to_string(i), r.storedValues[i]);
    }

    const std::vector<size_t> positions =
        throughputSamplePositions(channelCount == 0 ? 0 : r.channels[0].throughput.size());
    for (size_t n = 0; n < channelCount; ++n) {
        const std::string section = numbered("ThroughputChart", n + 1);
        const std::vector<double>& curve = r.channels[n].throughput;
        for (size_t j = 0; j < positions.size(); ++j) {
            const size_t i = positions[j];
            const double time = r.curveStart + static_cast<double>(i) * 10.0 / 86400.0;
            ini.writefloat(section, numbered("Y", j), i < curve.size() ? curve[i] : 0.0);
            ini.writestring(section, numbered("X", j),
                            formatFixed(time - std::floor(time), 5, sep));
        }
    }

    for (size_t n = 0; n < channelCount; ++n) {
        if (!r.channels[n].distribution) continue;
        const ReportDistribution& d = *r.channels[n].distribution;
        const std::string section = numbered("Distribution", n + 1);
        ini.writeinteger(section, "G0", d.classWidth);
        for (size_t g = 0; g < d.percent.size(); ++g) {
            ini.writeinteger(section, numbered("G", g + 1), d.percent[g]);
        }
        ini.writeinteger(section, "AW", d.meanWeight);
        ini.writeinteger(section, "Std", d.standardDeviation);
        ini.writeinteger(section, "DNr", d.weighed);
    }
}

void saveSessionReport(const ReportContent& report, const std::string& fileName) {
    Tini_files ini;
    buildSessionReport(report, ini);
    ini.ini_savefile(fileName);
}

std::string newReportFileName(const std::string& reportFolder, double dayNumber,
                              const std::string& tank) {
    std::string base = reportFolder + yyyymmdd(dayNumber);
    std::string cleaned;
    for (const char c : tank) {
        if (std::string_view(",./:<>\\").find(c) == std::string_view::npos) cleaned += c;
    }
    if (!cleaned.empty()) {
        base += '_';
        base += firstCharacters(cleaned, 15);
    }
    for (uint64_t n = 0;; ++n) {
        std::string name = base + numbered("_", n) + ".mse";
        std::error_code ec;
        if (!std::filesystem::exists(pathFromUtf8(name), ec)) return name;
    }
}

}  // namespace velkor
