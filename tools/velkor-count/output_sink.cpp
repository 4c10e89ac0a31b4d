// Output of one counted recording.
#include "tools/velkor-count/output_sink.h"

namespace velkor {

void OutputSink::flush() {
    if (file_ == nullptr || buffer_.empty()) return;
    std::fwrite(buffer_.data(), 1, buffer_.size(), file_);
    buffer_.clear();
}

void OutputSink::copyTo(std::FILE* to) {
    if (file_ == nullptr) {
        std::fwrite(buffer_.data(), 1, buffer_.size(), to);
        return;
    }
    flush();
    std::fflush(file_);
    std::rewind(file_);
    char block[1 << 16];
    size_t n;
    while ((n = std::fread(block, 1, sizeof block, file_)) > 0) std::fwrite(block, 1, n, to);
}

}  // namespace velkor
