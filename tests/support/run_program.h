// Runs a built program with a command line as a user would type it, with its output and error
// output captured, and gives back its exit status: the same on Linux (through the shell) and on
// Windows (started directly, its command line split by the program's own runtime).
#pragma once

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "temp_dir.h"

#ifdef _WIN32
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>
#else
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

// Runs `program arguments`; `arguments` is UTF-8 command-line text, built with shellQuoted where
// it holds names. The run is cut off after `timeoutSeconds` (0: no limit).
inline ProgramRun runProgram(const std::string& program, const std::string& arguments,
                             int timeoutSeconds = 0) {
    TempDir dir;
    const std::string outFile = dir.file("stdout"), errFile = dir.file("stderr");
    ProgramRun run;
#ifdef _WIN32
    // The program is started directly, not through cmd.exe, with its output going to files
    // opened here: the shell's own program search is one more thing that can fail a run.
    auto wide = [](const std::string& utf8) {
        return std::filesystem::path(std::u8string(utf8.begin(), utf8.end())).wstring();
    };
    SECURITY_ATTRIBUTES inherited{sizeof(SECURITY_ATTRIBUTES), nullptr, TRUE};
    auto openOutput = [&](const std::string& name) {
        return CreateFileW(wide(name).c_str(), GENERIC_WRITE, FILE_SHARE_READ, &inherited,
                           CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    };
    const HANDLE input = CreateFileW(L"NUL", GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                     &inherited, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    const HANDLE output = openOutput(outFile), errors = openOutput(errFile);
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = input;
    startup.hStdOutput = output;
    startup.hStdError = errors;
    // The command line is UTF-8 text; the program receives it as UTF-16, so that names in any
    // script reach it unchanged.
    const std::string program_ =
        std::filesystem::absolute(std::filesystem::path(program)).make_preferred().string();
    std::wstring commandLine = wide(shellQuoted(program_) + " " + arguments);
    PROCESS_INFORMATION process{};
    const BOOL started = CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, TRUE, 0,
                                        nullptr, nullptr, &startup, &process);
    const DWORD startError = started ? 0 : GetLastError();
    for (HANDLE h : {input, output, errors}) {
        if (h != INVALID_HANDLE_VALUE) CloseHandle(h);
    }
    if (!started) {
        run.err = "cannot start " + program_ + ": Windows error " + std::to_string(startError);
        return run;
    }
    const DWORD limit = timeoutSeconds > 0 ? DWORD(timeoutSeconds) * 1000 : INFINITE;
    if (WaitForSingleObject(process.hProcess, limit) == WAIT_TIMEOUT) {
        TerminateProcess(process.hProcess, 124);  // the exit status of a timed-out run on Linux
        WaitForSingleObject(process.hProcess, INFINITE);
    }
    DWORD exitCode = 0;
    GetExitCodeProcess(process.hProcess, &exitCode);
    run.exit = int(exitCode);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
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
