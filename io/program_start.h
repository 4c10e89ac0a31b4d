// What a command-line program does first: take its arguments as UTF-8 (the program's own form of
// file names) and make standard output and error write the bytes given, so that lines end in "\n"
// on every system. The tools' JSON, JSON lines and tables are therefore byte for byte the same on
// Linux and Windows; Windows programs of today read "\n" line ends without trouble.
#pragma once

#include <string>
#include <vector>

namespace velkor {

class Utf8Arguments {
public:
    // On Windows the arguments are taken from the wide command line, since `argv` holds them in
    // the ANSI code page where most non-ASCII names turn into "?"; elsewhere `argv` is UTF-8.
    Utf8Arguments(int argc, char** argv);
    Utf8Arguments(const Utf8Arguments&) = delete;
    Utf8Arguments& operator=(const Utf8Arguments&) = delete;

    int argc() const { return static_cast<int>(texts_.size()); }
    char** argv() { return pointers_.data(); }

private:
    std::vector<std::string> texts_;
    std::vector<char*> pointers_;  // into texts_, ending with a null pointer as argv does
};

// Standard output and error in binary mode on Windows (no "\r" before each "\n"); nothing to do
// elsewhere.
void writeStandardStreamsAsBytes();

}  // namespace velkor
