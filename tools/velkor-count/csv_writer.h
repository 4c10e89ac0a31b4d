// CSV records for velkor-count's tables: fields separated by commas, a field quoted when it holds a
// comma, a quotation mark, a line break or a leading or trailing blank, and a quotation mark inside
// a quoted field doubled, as RFC 4180 has it. A record ends with a line feed.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace velkor {

// One field as it stands in a record.
std::string csvField(std::string_view text);

class CsvRecord {
public:
    CsvRecord& text(std::string_view field);
    CsvRecord& number(int64_t value);
    CsvRecord& empty();
    // The record with its line end.
    std::string line() const { return line_ + "\n"; }

private:
    void separate();
    std::string line_;
    bool first_ = true;
};

}  // namespace velkor
