// Test helpers: a fresh temporary folder per test, files written byte for byte, and a scope that
// switches the process to a locale whose decimal separator is ",".
#pragma once

#include <gtest/gtest.h>

#include <clocale>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <locale>
#include <string>

namespace velkor::testing {

class TempFolder {
  public:
    TempFolder() {
        const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
        std::string name = std::string(info->test_suite_name()) + "_" + info->name();
        for (char& c : name) {
            if (c == '/') c = '_';
        }
        path_ = std::filesystem::temp_directory_path() / ("velkor_settings_" + name);
        std::filesystem::remove_all(path_);
        std::filesystem::create_directories(path_);
    }
    ~TempFolder() {
        std::error_code ec;
        std::filesystem::remove_all(path_, ec);
    }
    std::string file(const std::string& name) const { return (path_ / name).string(); }
    const std::filesystem::path& path() const { return path_; }

  private:
    std::filesystem::path path_;
};

inline void writeBytes(const std::string& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << bytes;
}

inline std::string readBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

// Lines joined with CR LF, as the counter writes them.
inline std::string crlf(std::initializer_list<const char*> lines) {
    std::string text;
    for (const char* line : lines) text += std::string(line) + "\r\n";
    return text;
}

// Switches the C and C++ global locales to one whose decimal separator is "," for the scope, when
// the machine has one; available() tells whether it did.
class CommaLocale {
  public:
    CommaLocale() {
        for (const char* name : {"de_DE.UTF-8", "de_DE.utf8", "fr_FR.UTF-8", "fr_FR.utf8",
                                 "is_IS.UTF-8", "is_IS.utf8", "nl_NL.UTF-8", "de_DE"}) {
            if (std::setlocale(LC_ALL, name) != nullptr &&
                std::string(std::localeconv()->decimal_point) == ",") {
                try {
                    previousCpp_ = std::locale::global(std::locale(name));
                } catch (const std::runtime_error&) {
                }
                name_ = name;
                return;
            }
        }
    }
    CommaLocale(const CommaLocale&) = delete;
    CommaLocale& operator=(const CommaLocale&) = delete;
    ~CommaLocale() {
        std::setlocale(LC_ALL, "C");
        std::locale::global(previousCpp_);
    }
    bool available() const { return !name_.empty(); }

  private:
    std::string name_;
    std::locale previousCpp_ = std::locale::classic();
};

}  // namespace velkor::testing
