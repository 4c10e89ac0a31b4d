// A text as a JSON string: quoted, with quotation marks, backslashes and control characters
// escaped; other bytes (UTF-8) as they stand.
#pragma once

#include <cstdio>
#include <string>
#include <string_view>

namespace velkor {

inline std::string jsonQuoted(std::string_view text) {
    std::string quoted = "\"";
    for (const char c : text) {
        if (c == '"' || c == '\\') {
            quoted += '\\';
            quoted += c;
        } else if (static_cast<unsigned char>(c) < 0x20) {
            char escape[8];
            std::snprintf(escape, sizeof escape, "\\u%04x", static_cast<unsigned>(c));
            quoted += escape;
        } else {
            quoted += c;
        }
    }
    return quoted + "\"";
}

}  // namespace velkor
