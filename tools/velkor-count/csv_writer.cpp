// Quoting of CSV fields.
#include "tools/velkor-count/csv_writer.h"

namespace velkor {

std::string csvField(std::string_view text) {
    const bool quoted = text.find_first_of(",\"\r\n") != std::string_view::npos ||
                        (!text.empty() && (text.front() == ' ' || text.back() == ' ' ||
                                           text.front() == '\t' || text.back() == '\t'));
    if (!quoted) return std::string(text);
    std::string field = "\"";
    for (const char c : text) {
        if (c == '"') field += '"';
        field += c;
    }
    return field + "\"";
}

void CsvRecord::separate() {
    if (!first_) line_ += ',';
    first_ = false;
}

CsvRecord& CsvRecord::text(std::string_view field) {
    separate();
    line_ += csvField(field);
    return *this;
}

CsvRecord& CsvRecord::number(int64_t value) {
    separate();
    line_ += std::to_string(value);
    return *this;
}

CsvRecord& CsvRecord::empty() {
    separate();
    return *this;
}

}  // namespace velkor
