// Test helpers for the settings: the shared temporary folder and byte helpers, CR LF text as the
// counter writes it, and a scope that switches the process to a locale whose decimal separator
// is ",".
#pragma once

#include <gtest/gtest.h>

#include <clocale>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <locale>
#include <string>

#include "tests/support/bytes.h"
#include "tests/support/temp_dir.h"

namespace velkor::testing {

using test::readBytes;
using test::TempDir;
using test::writeBytes;

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
