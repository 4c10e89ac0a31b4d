// Reading INI text the way the platform's private-profile service reads a session report:
// sections and keys found without regard to letter case, values trimmed and unquoted, integers
// in decimal or hexadecimal, anything unreadable giving the caller's default.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace velkor {

// An integer value as the private-profile readers take it: optional "+" or "-" and decimal
// digits; or "$" and hexadecimal digits; or, when longer than two characters, "0x"/"0X" and
// hexadecimal digits. Hexadecimal takes up to eight digits, read as the 32-bit pattern ("$FFFFFFFF"
// is -1). Anything else (empty text, blanks, trailing characters, a decimal value outside the
// 32-bit range) is not an integer: std::nullopt.
std::optional<int32_t> parseProfileInteger(std::string_view text);

// ASCII lower case; names of sections and keys are compared in this form.
std::string asciiLower(std::string_view text);

// A name followed by a number in decimal: "Multib" and 2 give "Multib2".
std::string numbered(std::string_view stem, int64_t number);

// One INI text, parsed once. Text rules:
// - lines end with LF or CR LF (a lone CR also ends a line); a UTF-8 byte-order mark is skipped;
//   the text is UTF-8 if well-formed, else Windows-1252, and every string returned is UTF-8;
// - a line whose first non-blank character is "[" and that holds a "]" starts a section named by
//   the text between "[" and the last "]", blanks trimmed;
// - a line with "=" inside a section is an entry: the key is the text before the first "=", the
//   value the text after it, both with blanks (space, tab) trimmed; a value wholly inside a pair
//   of matching single or double quotes loses them;
// - other lines (blank lines, ";" comments, lines without "=", entries before the first header)
//   are ignored;
// - when a section name appears twice, lookups use its first occurrence; when a key appears
//   twice in a section, its first entry. A section is present only when it holds an entry.
class ProfileIni {
  public:
    static ProfileIni parse(std::string_view bytes);
    // Reads and parses a file. Raises FileAccessError naming the file when it cannot be read.
    static ProfileIni load(const std::string& path);

    bool hasSection(std::string_view section) const;
    bool hasKey(std::string_view section, std::string_view key) const;
    std::optional<std::string> readString(std::string_view section, std::string_view key) const;
    std::string readString(std::string_view section, std::string_view key,
                           const std::string& fallback) const;
    // The key's value as an integer; `fallback` when missing or not an integer.
    int32_t readInteger(std::string_view section, std::string_view key, int32_t fallback) const;

  private:
    struct Section {
        std::unordered_map<std::string, std::string> values;  // lower-case key -> value
    };
    const Section* find(std::string_view section) const;

    std::vector<Section> sections_;
    std::unordered_map<std::string, size_t> sectionIndex_;  // lower-case name -> first section
};

}  // namespace velkor
