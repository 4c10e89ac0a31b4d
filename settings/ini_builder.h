// Tini_files: builds the INI text of a session report line by line and saves it with CR LF line
// ends. Writing to a section other than the last one written starts a new header line. Each
// builder keeps its own current section, so builders used side by side do not disturb each other.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace velkor {

class Tini_files {
  public:
    // Empties the lines and the current section.
    void ini_newfile();
    // Appends "vname=ivalue", preceded by "[field]" when field differs (case-sensitively) from the
    // section written last. Texts are UTF-8 and written unchanged.
    void writestring(const std::string& field, const std::string& vname, const std::string& ivalue);
    void writeinteger(const std::string& field, const std::string& vname, int64_t ivalue);
    void writebool(const std::string& field, const std::string& vname, bool ivalue);
    // The value with the pattern "0.0000000" and the given decimal separator.
    void writefloat(const std::string& field, const std::string& vname, double ivalue);
    // Writes every line followed by CR LF (text converted from UTF-8 to Windows-1252, "?" for what
    // the code page lacks), through a temporary file renamed into place. The lines are kept.
    // Raises FileAccessError naming the file.
    void ini_savefile(const std::string& fname) const;

    void setDecimalSeparator(char separator) { decimalSeparator_ = separator; }
    const std::vector<std::string>& lines() const { return lines_; }

  private:
    std::vector<std::string> lines_;
    std::string currentSection_;
    char decimalSeparator_ = '.';
};

// A real with `decimals` digits after the separator, at least one before, rounded to nearest;
// "-" when negative and not rounded to zero. Independent of the locale.
std::string formatFixed(double value, int decimals, char separator);
// "0.0000000" formatting of a real with the given separator.
std::string formatReal7(double value, char separator);

}  // namespace velkor
