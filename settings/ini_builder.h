// Tini_files: builds the INI text of a session report line by line and saves it with CR LF line
// ends. Writing to a section other than the last one written starts a new header line.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace velkor {

class Tini_files {
  public:
    void ini_newfile();
    void writestring(const std::string& field, const std::string& vname, const std::string& ivalue);
    void writeinteger(const std::string& field, const std::string& vname, int64_t ivalue);
    void writebool(const std::string& field, const std::string& vname, bool ivalue);
    // The value with the pattern "0.0000000" and the given decimal separator.
    void writefloat(const std::string& field, const std::string& vname, double ivalue);
    // Writes every line followed by CR LF (text converted from UTF-8 to Windows-1252), through a
    // temporary file renamed into place. Raises FileAccessError naming the file.
    void ini_savefile(const std::string& fname) const;

    void setDecimalSeparator(char separator) { decimalSeparator_ = separator; }
    const std::vector<std::string>& lines() const { return lines_; }

  private:
    std::vector<std::string> lines_;
    std::string currentSection_;
    char decimalSeparator_ = '.';
};

// "0.0000000" formatting of a real with the given separator (rounded, "-" when negative).
std::string formatReal7(double value, char separator);

}  // namespace velkor
