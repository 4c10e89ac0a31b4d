// Reading output text back in tests: CSV records of fields with RFC 4180 quoting, so that a test
// checks what a spreadsheet would read rather than the bytes, and a table's line with its blanks
// squeezed, so that a test checks its words and their order rather than the alignment.
#pragma once

#include <sstream>
#include <string>
#include <vector>

namespace velkor::test {

using CsvRow = std::vector<std::string>;

// The line's words, one blank between each.
inline std::string squeezed(const std::string& line) {
    std::istringstream words(line);
    std::string row, word;
    while (words >> word) row += (row.empty() ? "" : " ") + word;
    return row;
}

inline std::vector<CsvRow> readCsv(const std::string& text) {
    std::vector<CsvRow> rows;
    CsvRow row;
    std::string field;
    bool quoted = false, any = false;
    for (size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (quoted) {
            if (c == '"' && i + 1 < text.size() && text[i + 1] == '"') {
                field += '"';
                ++i;
            } else if (c == '"') {
                quoted = false;
            } else {
                field += c;
            }
        } else if (c == '"') {
            quoted = true;
            any = true;
        } else if (c == ',') {
            row.push_back(field);
            field.clear();
        } else if (c == '\n') {
            row.push_back(field);
            rows.push_back(row);
            row.clear();
            field.clear();
            any = false;
        } else {
            field += c;
            any = true;
        }
    }
    if (any || !row.empty()) {
        row.push_back(field);
        rows.push_back(row);
    }
    return rows;
}

}  // namespace velkor::test
