// The INI text builder of session reports and the fixed-decimal formatting of real values.
#include "settings/ini_builder.h"

#include <charconv>
#include <cmath>

#include "io/replacing_file.h"
#include "settings/text_encoding.h"

namespace velkor {

std::string formatFixed(double value, int decimals, char separator) {
    char buffer[400];
    const auto result =
        std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, decimals);
    std::string text(buffer, result.ptr);
    // A value that rounds to zero is written without its sign.
    if (!text.empty() && text.front() == '-' &&
        text.find_first_not_of("-0.") == std::string::npos) {
        text.erase(0, 1);
    }
    for (char& c : text) {
        if (c == '.') c = separator;
    }
    return text;
}

std::string formatReal7(double value, char separator) {
    return formatFixed(value, 7, separator);
}

void Tini_files::ini_newfile() {
    lines_.clear();
    currentSection_.clear();
}

void Tini_files::writestring(const std::string& field, const std::string& vname,
                             const std::string& ivalue) {
    if (field != currentSection_) {
        lines_.push_back("[" + field + "]");
        currentSection_ = field;
    }
    lines_.push_back(vname + "=" + ivalue);
}

void Tini_files::writeinteger(const std::string& field, const std::string& vname, int64_t ivalue) {
    writestring(field, vname, std::to_string(ivalue));
}

void Tini_files::writebool(const std::string& field, const std::string& vname, bool ivalue) {
    writestring(field, vname, ivalue ? "1" : "0");
}

void Tini_files::writefloat(const std::string& field, const std::string& vname, double ivalue) {
    writestring(field, vname, formatReal7(ivalue, decimalSeparator_));
}

void Tini_files::ini_savefile(const std::string& fname) const {
    std::string bytes;
    for (const std::string& line : lines_) {
        bytes += utf8ToWindows1252(line);
        bytes += "\r\n";
    }
    // Written beside the target and renamed over it, so a failed write leaves the old file whole.
    replaceFileContent(fname, bytes);
}

}  // namespace velkor
