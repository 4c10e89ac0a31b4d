// Fuzz target: bytes as a session report (.mse) read through nyjarstillingar, and every line and
// value of it through stringtofloat and the text decoding. A report error names the file; a
// report that reads leaves every value inside the ranges the engine and the window index with.
#include <cmath>
#include <cstdint>
#include <string>
#include <string_view>

#include "fuzz/fuzz_support.h"
#include "io/errors.h"
#include "settings/profile_ini.h"
#include "settings/session_report.h"
#include "settings/text_encoding.h"

using namespace velkor;

namespace {

void checkNumber(const std::string& text) {
    try {
        const double x = stringtofloat(text);
        VELKOR_FUZZ_CHECK(std::isfinite(x));
        // The day-number formatting takes any value the conversion gives.
        (void)formatDayNumberDate(x);
        (void)formatTimeOfDay(x);
    } catch (const ReportValueError&) {
    }
}

bool oneOfTheWidths(int32_t mm) {
    for (int32_t w : {500, 1000, 1400, 400, 1200, 2100})
        if (mm == w) return true;
    return false;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* bytes, size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(bytes), size);

    // Every line, and the value after every "=", as a real.
    size_t begin = 0;
    for (int k = 0; begin <= text.size() && k < 64; ++k) {
        size_t end = text.find('\n', begin);
        if (end == std::string_view::npos) end = text.size();
        const std::string line(text.substr(begin, end - begin));
        checkNumber(line);
        const size_t eq = line.find('=');
        if (eq != std::string::npos) checkNumber(line.substr(eq + 1));
        begin = end + 1;
    }
    VELKOR_FUZZ_CHECK(isValidUtf8(decodeReportText(text)));
    VELKOR_FUZZ_CHECK(isValidUtf8(windows1252ToUtf8(text)));
    VELKOR_FUZZ_CHECK(windows1252ToUtf8(utf8ToWindows1252(windows1252ToUtf8(text))) ==
                      windows1252ToUtf8(text));

    fuzz::clearScratch();
    const std::string recording = fuzz::scratchFile("session.blb");
    const std::string report = fuzz::scratchFile("session.mse");
    fuzz::writeFile(report, text);

    SessionReport r;
    std::string message;
    try {
        VELKOR_FUZZ_CHECK(nyjarstillingar(recording, r, &message));
    } catch (const ReportValueError& e) {
        VELKOR_FUZZ_CHECK(e.file() == report);
        return 0;
    }
    VELKOR_FUZZ_CHECK(r.reportFile == report);
    VELKOR_FUZZ_CHECK(r.channelCount >= 1 && r.channelCount <= maxChannels);
    VELKOR_FUZZ_CHECK(r.channelwidthIndex >= 0 && r.channelwidthIndex <= 5);
    VELKOR_FUZZ_CHECK(oneOfTheWidths(r.counterWidthMm));
    for (int c = 1; c <= maxChannels; ++c) {
        VELKOR_FUZZ_CHECK(r.sizeGroup[c] >= 0 && r.sizeGroup[c] <= 9);
        VELKOR_FUZZ_CHECK(isValidUtf8(r.counterNames[c]));
        VELKOR_FUZZ_CHECK(isValidUtf8(r.counterCaptions[c]));
    }
    VELKOR_FUZZ_CHECK(isValidUtf8(r.windowTitle) && isValidUtf8(r.tank) &&
                      isValidUtf8(r.generation));
    VELKOR_FUZZ_CHECK(std::isfinite(r.sessionStart) && std::isfinite(r.endTime));
    for (int c = 1; c <= r.channelCount; ++c) {
        VELKOR_FUZZ_CHECK(r.curves[c].size() >= 2);
        for (const auto& [x, y] : r.curves[c])
            VELKOR_FUZZ_CHECK(std::isfinite(x) && std::isfinite(y));
    }
    for (int c = r.channelCount + 1; c <= maxChannels; ++c) VELKOR_FUZZ_CHECK(r.curves[c].empty());
    return 0;
}
