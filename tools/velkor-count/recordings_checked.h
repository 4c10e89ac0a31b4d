// The recordings of a file or folder given to a command that makes something of each (the
// session check's pages), with the reason for every one that could not be counted, so that the
// command can make what it can, list the others and still say that it did not make them all.
#pragma once

#include <functional>
#include <string>
#include <vector>

namespace velkor {

struct CheckedRecording {
    std::string recording;
    std::string reason;  // empty: counted; else one line naming the file, as velkor-count says it
};

struct CheckedRecordings {
    std::string problem;  // the input cannot be searched or holds no recording
    std::vector<CheckedRecording> recordings;
    size_t failed() const;
};

// `input` itself, or the recordings found in the folder `input` (searched as --csv searches,
// sorted by path), each given to `count`: it returns an empty text when the recording was counted,
// or why not (without the name), and may raise; a raised error becomes the reason as velkor-count
// gives it, naming its file.
CheckedRecordings checkEachRecording(const std::string& input,
                                     const std::function<std::string(const std::string&)>& count);

// The lines for the recordings not counted, one each with a line end: "NAME: reason".
std::string notCountedLines(const CheckedRecordings& checked);

}  // namespace velkor
