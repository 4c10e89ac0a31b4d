// Text output of one counted recording: gathered in a buffer of bounded size and written on to a
// file (stdout, or a temporary file when recordings are counted in parallel and must be printed
// in the order given), so a long trace never has to fit in memory.
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
        buffer_.append(text, length);
        if (file_ != nullptr && buffer_.size() >= flushSize) flush();
    }
    void write(const std::string& text) { write(text.data(), text.size()); }
    void flush();
    // Copies what was written (the buffer, or the file from its start) to `to`.
    void copyTo(std::FILE* to);

private:
    static constexpr size_t flushSize = 1 << 20;
    std::FILE* file_;
    std::string buffer_;
};

}  // namespace velkor
