// The private-profile INI reader.
#include "settings/profile_ini.h"

#include <cstdio>
#include <filesystem>

#include "io/errors.h"
#include "io/file_names.h"
#include "settings/text_encoding.h"

namespace velkor {
namespace {

std::string_view trimBlanks(std::string_view s) {
    const auto isBlank = [](char c) { return c == ' ' || c == '\t'; };
    while (!s.empty() && isBlank(s.front())) s.remove_prefix(1);
    while (!s.empty() && isBlank(s.back())) s.remove_suffix(1);
    return s;
}

int hexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

std::optional<int32_t> parseHex(std::string_view digits) {
    if (digits.empty() || digits.size() > 8) return std::nullopt;
    uint32_t value = 0;
    for (const char c : digits) {
        const int d = hexDigit(c);
        if (d < 0) return std::nullopt;
        value = (value << 4) | static_cast<uint32_t>(d);
    }
    return static_cast<int32_t>(value);
}

// A report larger than this is not a session report; refusing it keeps a wrong file from
// exhausting memory.
constexpr std::uintmax_t maxReportBytes = 64u * 1024u * 1024u;

}  // namespace

std::string asciiLower(std::string_view text) {
    std::string out(text);
    for (char& c : out) {
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    }
    return out;
}

std::string numbered(std::string_view stem, int64_t number) {
    std::string name(stem);
    name += std::to_string(number);
    return name;
}

std::optional<int32_t> parseProfileInteger(std::string_view text) {
    if (!text.empty() && text.front() == '$') return parseHex(text.substr(1));
    if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
        return parseHex(text.substr(2));
    }
    bool negative = false;
    if (!text.empty() && (text.front() == '-' || text.front() == '+')) {
        negative = text.front() == '-';
        text.remove_prefix(1);
    }
    if (text.empty()) return std::nullopt;
    int64_t value = 0;
    for (const char c : text) {
        if (c < '0' || c > '9') return std::nullopt;
        value = value * 10 + (c - '0');
        if (value > int64_t{INT32_MAX} + 1) return std::nullopt;
    }
    if (negative) value = -value;
    if (value > INT32_MAX || value < INT32_MIN) return std::nullopt;
    return static_cast<int32_t>(value);
}

ProfileIni ProfileIni::parse(std::string_view bytes) {
    const std::string text = decodeReportText(bytes);
    ProfileIni ini;
    Section* current = nullptr;
    size_t currentIndex = 0;
    size_t pos = 0;
    while (pos < text.size()) {
        size_t end = text.find_first_of("\r\n", pos);
        if (end == std::string::npos) end = text.size();
        const std::string_view line = trimBlanks(std::string_view(text).substr(pos, end - pos));
        pos = end;
        if (pos < text.size() && text[pos] == '\r') ++pos;
        if (pos < text.size() && text[pos] == '\n') ++pos;

        if (!line.empty() && line.front() == '[') {
            const size_t close = line.rfind(']');
            if (close != std::string_view::npos) {
                const std::string name = asciiLower(trimBlanks(line.substr(1, close - 1)));
                const auto [it, inserted] =
                    ini.sectionIndex_.try_emplace(name, ini.sections_.size());
                if (inserted) ini.sections_.emplace_back();
                // A repeated header: its entries are not looked up, as the first one wins.
                currentIndex = it->second;
                current = inserted ? &ini.sections_[currentIndex] : nullptr;
                continue;
            }
        }
        if (current == nullptr || line.empty() || line.front() == ';') continue;
        const size_t eq = line.find('=');
        if (eq == std::string_view::npos) continue;
        std::string_view value = trimBlanks(line.substr(eq + 1));
        if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
            value.back() == value.front()) {
            value = value.substr(1, value.size() - 2);
        }
        current->values.try_emplace(asciiLower(trimBlanks(line.substr(0, eq))), value);
    }
    return ini;
}

ProfileIni ProfileIni::load(const std::string& path) {
    std::error_code ec;
    const std::filesystem::path p = pathFromUtf8(path);
    if (std::filesystem::is_directory(p, ec))
        throw FileAccessError(path, "is a folder, not a file");
    const std::uintmax_t size = std::filesystem::file_size(p, ec);
    if (!ec && size > maxReportBytes) {
        throw FileAccessError(path, "too large to be a session report");
    }
    const FileHandle in = openForReading(path);
    if (!in) throw FileAccessError(path, "cannot be opened for reading");
    std::string bytes;
    char chunk[1 << 14];
    while (const size_t got = std::fread(chunk, 1, sizeof chunk, in.get()))
        bytes.append(chunk, got);
    if (std::ferror(in.get())) throw FileAccessError(path, "cannot be read");
    return parse(bytes);
}

const ProfileIni::Section* ProfileIni::find(std::string_view section) const {
    const auto it = sectionIndex_.find(asciiLower(section));
    return it == sectionIndex_.end() ? nullptr : &sections_[it->second];
}

bool ProfileIni::hasSection(std::string_view section) const {
    const Section* s = find(section);
    return s != nullptr && !s->values.empty();
}

bool ProfileIni::hasKey(std::string_view section, std::string_view key) const {
    const Section* s = find(section);
    return s != nullptr && s->values.count(asciiLower(key)) != 0;
}

std::optional<std::string> ProfileIni::readString(std::string_view section,
                                                  std::string_view key) const {
    const Section* s = find(section);
    if (s == nullptr) return std::nullopt;
    const auto it = s->values.find(asciiLower(key));
    if (it == s->values.end()) return std::nullopt;
    return it->second;
}

std::string ProfileIni::readString(std::string_view section, std::string_view key,
                                   const std::string& fallback) const {
    auto value = readString(section, key);
    return value ? std::move(*value) : fallback;
}

int32_t ProfileIni::readInteger(std::string_view section, std::string_view key,
                                int32_t fallback) const {
    const auto value = readString(section, key);
    if (!value) return fallback;
    return parseProfileInteger(*value).value_or(fallback);
}

}  // namespace velkor
