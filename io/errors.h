// The errors a user can act on. Each names the file (where there is one) and what is wrong; the
// window shows the text in a message box and goes on, velkor-count prints it on one line.
#pragma once

#include <stdexcept>
#include <string>

namespace velkor {

class VelkorError : public std::runtime_error {
public:
    VelkorError(std::string file, std::string problem)
        : std::runtime_error(file.empty() ? problem : file + ": " + problem),
          file_(std::move(file)),
          problem_(std::move(problem)) {}
    const std::string& file() const { return file_; }
    const std::string& problem() const { return problem_; }

private:
    std::string file_;
    std::string problem_;
};

// The file cannot be opened, read, created or written (carries the system's reason).
class FileAccessError : public VelkorError {
    using VelkorError::VelkorError;
};

// The file's content is damaged (a compressed recording that does not inflate cleanly, ...).
class DamagedFileError : public VelkorError {
    using VelkorError::VelkorError;
};

// A value of a session report cannot be converted (names the key in the problem text).
class ReportValueError : public VelkorError {
    using VelkorError::VelkorError;
};

// Integer arithmetic on the core's 32-bit fields and counters overflowed. The core raises it
// without a file name; the replay engine adds the recording's name and the line.
class OverflowError : public VelkorError {
    using VelkorError::VelkorError;
};

}  // namespace velkor
