// Running the built velkor-count from a test: its exit status, output and messages.
#pragma once

#include <sstream>
#include <string>
#include <vector>

#include "tests/support/bytes.h"
#include "tests/support/run_program.h"

namespace velkor::test {

struct CliRun {
    int status;
    std::string out, err;
};

inline CliRun runCount(const std::string& arguments) {
    ProgramRun run = runProgram(VELKOR_COUNT_EXE, arguments);
    return {run.exit, std::move(run.out), std::move(run.err)};
}

inline std::vector<std::string> linesOf(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
}

}  // namespace velkor::test
