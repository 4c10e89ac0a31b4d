// Writing the session check of recordings to a PDF file.
#include "ui/check/session_check_command.h"

#include <exception>
#include <filesystem>

#include "io/errors.h"
#include "io/file_names.h"
#include "io/recording_folder.h"
#include "io/replacing_file.h"
#include "ui/check/session_check_page.h"

namespace velkor {

std::vector<std::string> sessionCheckRecordings(const std::string& input, std::string& problem) {
    std::error_code ec;
    if (!std::filesystem::is_directory(pathFromUtf8(input), ec)) return {input};
    std::vector<std::string> found = recordingsIn(pathFromUtf8(input), problem);
    if (problem.empty() && found.empty()) problem = "holds no recording (.blb or .blc)";
    return found;
}

int writeSessionCheck(const std::string& output, const std::string& input,
                      const SessionCheckOptions& options, std::FILE* errors) {
    std::string problem;
    const std::vector<std::string> recordings = sessionCheckRecordings(input, problem);
    if (!problem.empty()) {
        std::fprintf(errors, "velkor: %s: %s\n", input.c_str(), problem.c_str());
        return 1;
    }
    std::vector<SessionCheckContent> pages;
    bool failed = false;
    for (const std::string& recording : recordings) {
        try {
            std::optional<SessionCheckContent> page = gatherSessionCheck(recording, options);
            if (page) pages.push_back(std::move(*page));
        } catch (const VelkorError& e) {
            std::fprintf(errors, "velkor: %s\n",
                         e.file().empty() ? (recording + ": " + e.what()).c_str() : e.what());
            failed = true;
        } catch (const std::exception& e) {
            std::fprintf(errors, "velkor: %s: %s\n", recording.c_str(), e.what());
            failed = true;
        }
    }
    // A check with a page missing would be handed over as if it were whole: none is written.
    if (failed) {
        std::fprintf(errors, "velkor: %s was not written\n", output.c_str());
        return 1;
    }
    const QByteArray pdf = sessionCheckPdf(pages);
    if (pdf.isEmpty()) {
        std::fprintf(errors, "velkor: %s: the pages could not be drawn\n", output.c_str());
        return 1;
    }
    try {
        replaceFileContent(output, std::string_view(pdf.constData(), size_t(pdf.size())));
    } catch (const VelkorError& e) {
        std::fprintf(errors, "velkor: %s\n", e.what());
        return 1;
    }
    return 0;
}

}  // namespace velkor
