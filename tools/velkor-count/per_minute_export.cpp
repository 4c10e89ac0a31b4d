// Writing the per-minute table to a file.
#include "tools/velkor-count/per_minute_export.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <system_error>

#include "io/errors.h"
#include "io/file_names.h"
#include "io/replacing_file.h"
#include "tools/velkor-count/output_sink.h"
#include "tools/velkor-count/per_minute.h"

namespace velkor {
namespace {

namespace fs = std::filesystem;

// Whether `output` names the recording, its unpacked or compressed form, or its report, which an
// export must never replace.
bool isPartOfRecording(const std::string& output, const std::string& recording) {
    fs::path session = pathFromUtf8(recording);
    for (const char* extension : {"", ".blb", ".blc", ".mse", ".BLB", ".BLC", ".MSE"}) {
        if (*extension != '\0') session.replace_extension(extension);
        std::error_code error;
        if (fs::equivalent(pathFromUtf8(output), session, error)) return true;
    }
    return false;
}

}  // namespace

CountResult exportPerMinuteTable(const std::string& recording, int32_t frameWidth,
                                 int32_t counterType, const ChannelArray<int32_t>& classes,
                                 const std::string& output) {
    CountResult result;
    if (isPartOfRecording(output, recording)) {
        result.errors = output + ": is a file of the recording " + recording + "\n";
        return result;
    }
    // The table is gathered in a temporary file first (a day is 1440 rows; a long recording at
    // one row a minute stays small, but nothing needs it in memory).
    const FileHandle gathered = createTemporaryFile();
    if (!gathered) {
        result.errors = output + ": cannot make a temporary file: " + std::strerror(errno) + "\n";
        return result;
    }
    CountOptions options;
    options.frameWidth = frameWidth;
    options.counterType = counterType;
    options.classes = classes;
    {
        OutputSink sink(gathered.get());
        result = countPerMinute(recording, options, sink);
        sink.flush();
        if (result.ok && sink.failed()) {
            result.ok = false;
            result.errors =
                output + ": cannot gather the table: " + std::strerror(sink.error()) + "\n";
        }
    }
    if (!result.ok) return result;
    try {
        ReplacingFile file(output);
        std::rewind(gathered.get());
        char block[1 << 16];
        size_t n;
        while ((n = std::fread(block, 1, sizeof block, gathered.get())) > 0) file.write(block, n);
        if (std::ferror(gathered.get()))
            throw FileAccessError(output, "cannot read the table back from its temporary file");
        file.commit();
    } catch (const VelkorError& e) {
        result.ok = false;
        result.errors = std::string(e.what()) + "\n";
    }
    return result;
}

}  // namespace velkor
