// Widths of UTF-8 text as a terminal shows it, for velkor-count's aligned tables: counter names
// such as "Kví" or arrows such as "→" take one place per character, not one per byte.
#pragma once

#include <algorithm>
#include <cstddef>
#include <string>

namespace velkor {

// Characters on the screen: UTF-8 continuation bytes take no place of their own.
inline size_t displayWidth(const std::string& text) {
    return static_cast<size_t>(std::count_if(text.begin(), text.end(), [](char c) {
        return (static_cast<unsigned char>(c) & 0xC0) != 0x80;
    }));
}

inline std::string padRight(const std::string& text, size_t width) {
    const size_t w = displayWidth(text);
    return w >= width ? text : text + std::string(width - w, ' ');
}

inline std::string padLeft(const std::string& text, size_t width) {
    const size_t w = displayWidth(text);
    return w >= width ? text : std::string(width - w, ' ') + text;
}

}  // namespace velkor
