// Running the built velkor-count from a test: its exit status, output and messages.
#pragma once

#include <sys/wait.h>

#include <cstdio>
#include <sstream>
#include <string>
#include <vector>

#include "tests/support/bytes.h"
#include "tests/support/temp_dir.h"

namespace velkor::test {

struct CliRun {
    int status;
    std::string out, err;
};

inline CliRun runCount(const std::string& arguments) {
    TempDir dir;
    const std::string errFile = dir.file("stderr");
    const std::string command =
        std::string("'") + VELKOR_COUNT_EXE + "' " + arguments + " 2>'" + errFile + "'";
    CliRun run;
    std::FILE* pipe = popen(command.c_str(), "r");
    char block[4096];
    size_t n;
    while ((n = std::fread(block, 1, sizeof block, pipe)) > 0) run.out.append(block, n);
    const int status = pclose(pipe);
    run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    run.err = readBytes(errFile);
    return run;
}

inline std::vector<std::string> linesOf(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
}

}  // namespace velkor::test
