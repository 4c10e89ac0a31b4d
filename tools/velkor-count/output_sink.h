// Text output of one counted recording: gathered in a buffer of bounded size and written on to a
// file (stdout, or a temporary file when recordings are counted in parallel and must be printed
// in the order given), so a long trace never has to fit in memory. Every write is checked: after
// the first failure (full disk, closed pipe) nothing more is gathered and the reason is kept.
#pragma once

#include <cstdio>
#include <string>

namespace velkor {

class OutputSink {
public:
    // `file` may be null: everything then stays in the buffer.
    explicit OutputSink(std::FILE* file) : file_(file) {}
    OutputSink(const OutputSink&) = delete;
    OutputSink& operator=(const OutputSink&) = delete;
    ~OutputSink() { flush(); }

    void write(const char* text, size_t length) {
        if (error_ != 0) return;
        buffer_.append(text, length);
        if (file_ != nullptr && buffer_.size() >= flushSize) flush();
    }
    void write(const std::string& text) { write(text.data(), text.size()); }
    // Writes the buffer on to the file and flushes the file.
    void flush();
    // Copies what was written (the buffer, or the file from its start) to `to` and flushes `to`.
    // Returns 0, or the system's error number of the first read or write that failed.
    int copyTo(std::FILE* to);

    bool failed() const { return error_ != 0; }
    int error() const { return error_; }  // the system's error number, 0 while all went well

private:
    void fail(int err);

    static constexpr size_t flushSize = 1 << 20;
    std::FILE* file_;
    std::string buffer_;
    int error_ = 0;
};

}  // namespace velkor
