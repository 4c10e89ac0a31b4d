// Output of one counted recording, with every write checked.
#include "tools/velkor-count/output_sink.h"

#include <cerrno>

namespace velkor {

namespace {

// Writes all bytes and flushes; 0 or the system's error number.
int writeAll(std::FILE* to, const char* data, size_t size) {
    errno = 0;
    if (std::fwrite(data, 1, size, to) != size || std::fflush(to) != 0)
        return errno != 0 ? errno : EIO;
    return 0;
}

}  // namespace

void OutputSink::fail(int err) {
    error_ = err;
    buffer_.clear();
    buffer_.shrink_to_fit();
}

void OutputSink::flush() {
    if (file_ == nullptr || buffer_.empty() || error_ != 0) return;
    if (const int err = writeAll(file_, buffer_.data(), buffer_.size())) fail(err);
    buffer_.clear();
}

int OutputSink::copyTo(std::FILE* to) {
    if (file_ == nullptr) {
        if (error_ != 0) return error_;
        return writeAll(to, buffer_.data(), buffer_.size());
    }
    flush();
    if (error_ != 0) return error_;
    std::rewind(file_);
    char block[1 << 16];
    size_t n;
    while ((n = std::fread(block, 1, sizeof block, file_)) > 0) {
        if (const int err = writeAll(to, block, n)) return err;
    }
    if (std::ferror(file_)) return EIO;
    errno = 0;
    if (std::fflush(to) != 0) return errno != 0 ? errno : EIO;
    return 0;
}

}  // namespace velkor
