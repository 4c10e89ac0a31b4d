// Counting each recording of an input, keeping the reasons of the ones that fail.
#include "tools/velkor-count/recordings_checked.h"

#include <exception>
#include <filesystem>
#include <system_error>

#include "io/file_names.h"
#include "io/recording_folder.h"
#include "tools/velkor-count/count_recording.h"

namespace velkor {

size_t CheckedRecordings::failed() const {
    size_t n = 0;
    for (const CheckedRecording& r : recordings) n += r.reason.empty() ? 0 : 1;
    return n;
}

CheckedRecordings checkEachRecording(const std::string& input,
                                     const std::function<std::string(const std::string&)>& count) {
    CheckedRecordings checked;
    std::vector<std::string> found;
    std::error_code error;
    if (std::filesystem::is_directory(pathFromUtf8(input), error)) {
        found = recordingsIn(pathFromUtf8(input), checked.problem);
        if (checked.problem.empty() && found.empty())
            checked.problem = "holds no recording (.blb or .blc)";
        if (!checked.problem.empty()) return checked;
    } else {
        found.push_back(input);
    }
    for (const std::string& recording : found) {
        CheckedRecording one{recording, {}};
        try {
            const std::string problem = count(recording);
            if (!problem.empty()) one.reason = recording + ": " + problem;
        } catch (const std::exception& e) {
            one.reason = countingError(recording, e);
        }
        checked.recordings.push_back(std::move(one));
    }
    return checked;
}

std::string notCountedLines(const CheckedRecordings& checked) {
    std::string lines;
    for (const CheckedRecording& r : checked.recordings)
        if (!r.reason.empty()) lines += r.reason + "\n";
    return lines;
}

}  // namespace velkor
