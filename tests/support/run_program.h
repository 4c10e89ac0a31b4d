// Runs a built program the way a user's shell would, with its output and error output captured,
// and gives back its exit status: the same on Linux and on Windows (where cmd.exe runs it).
#pragma once

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "temp_dir.h"

#ifndef _WIN32
#include <sys/wait.h>
#endif

namespace velkor::test {

struct ProgramRun {
    int exit = -1;  // exit status; on Linux 128 + signal when a signal ended the program
    std::string out, err;
};

// One argument quoted for the shell that runs the command line.
inline std::string shellQuoted(const std::string& text) {
#ifdef _WIN32
    return "\"" + text + "\"";
#else
    std::string quoted = "'";
    for (char c : text) quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return quoted + "'";
#endif
}

// Runs `program arguments`; `arguments` is UTF-8 shell text, built with shellQuoted where it
// holds names. On Linux the run is cut off after `timeoutSeconds` (0: no limit).
inline ProgramRun runProgram(const std::string& program, const std::string& arguments,
                             int timeoutSeconds = 0) {
    TempDir dir;
    const std::string outFile = dir.file("stdout"), errFile = dir.file("stderr");
    ProgramRun run;
#ifdef _WIN32
    (void)timeoutSeconds;
    // cmd.exe /c drops the first and the last quote of a line with several quoted parts, so the
    // whole line goes in one more pair of quotes.
    const std::string program_ = std::filesystem::path(program).make_preferred().string();
    const std::string command = "\"" + shellQuoted(program_) + " " + arguments + " >" +
                                shellQuoted(outFile) + " 2>" + shellQuoted(errFile) + "\"";
    // The command line is UTF-8 text; _wsystem takes it as UTF-16, so that names in any script
    // reach the program (std::system would pass it through the ANSI code page).
    run.exit = _wsystem(
        std::filesystem::path(std::u8string(command.begin(), command.end())).wstring().c_str());
#else
    const std::string limit =
        timeoutSeconds > 0 ? "timeout " + std::to_string(timeoutSeconds) + " " : "";
    const std::string command = limit + shellQuoted(program) + " " + arguments + " >" +
                                shellQuoted(outFile) + " 2>" + shellQuoted(errFile);
    const int status = std::system(command.c_str());
    run.exit = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
#endif
    auto bytes = [](const std::string& name) {
        std::ifstream in(name, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    };
    run.out = bytes(outFile);
    run.err = bytes(errFile);
    return run;
}

}  // namespace velkor::test
