// The .blb writer and the .blc compression.
#include "replay/record_writer.h"

#include <zlib.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <stdexcept>

#include "io/errors.h"

namespace velkor {

namespace {

constexpr size_t writeBufferBytes = 1 << 16;

bool fitsWord(int32_t x) {
    return x >= INT16_MIN && x <= INT16_MAX;
}

}  // namespace

RecordWriter::RecordWriter(std::string path, int32_t leftEdge, int32_t rightEdge)
    : out_(std::move(path)), buffer_(writeBufferBytes) {
    putWord(static_cast<int16_t>(leftEdge & 0xFFFF));
    putWord(static_cast<int16_t>(rightEdge & 0xFFFF));
}

RecordWriter::~RecordWriter() = default;

void RecordWriter::putWord(int32_t w) {
    if (used_ + 2 > buffer_.size()) flush();
    const auto u = static_cast<uint16_t>(w);
    buffer_[used_++] = static_cast<uint8_t>(u & 0xFF);
    buffer_[used_++] = static_cast<uint8_t>(u >> 8);
    bytes_ += 2;
}

void RecordWriter::flush() {
    if (used_ > 0) out_.write(buffer_.data(), used_);
    used_ = 0;
}

void RecordWriter::writeLine(std::span<const SegmentPair> pairs) {
    if (pairs.size() > static_cast<size_t>(INT16_MAX)) {
        throw std::out_of_range("a line holds at most 32767 segments");
    }
    for (const SegmentPair& s : pairs) {
        if (!fitsWord(s.v) || !fitsWord(s.h)) {
            throw std::out_of_range("a segment position does not fit a 16-bit word");
        }
    }
    putWord(static_cast<int32_t>(pairs.size()));
    for (const SegmentPair& s : pairs) {
        putWord(s.v);
        putWord(s.h);
    }
    ++lines_;
}

void RecordWriter::writeRawWords(std::span<const int16_t> words) {
    for (int16_t w : words) putWord(w);
}

void RecordWriter::writeRawBytes(std::span<const uint8_t> bytes) {
    flush();
    out_.write(bytes.data(), bytes.size());
    bytes_ += static_cast<int64_t>(bytes.size());
}

void RecordWriter::finish() {
    flush();
    out_.commit();
}

void compressRecord(const std::string& blbPath, const std::string& blcPath, int level) {
    const FileHandle file = openForReading(blbPath);
    std::FILE* in = file.get();
    if (in == nullptr) {
        throw FileAccessError(blbPath, std::string("cannot open: ") + std::strerror(errno));
    }
    ReplacingFile out(blcPath);
    z_stream z{};
    if (deflateInit(&z, level) != Z_OK) {
        throw std::invalid_argument("compression level must be 0..9 or -1");
    }
    struct Ender {
        z_stream* z;
        ~Ender() { deflateEnd(z); }
    } ender{&z};

    static constexpr size_t chunk = 1 << 16;
    std::vector<unsigned char> inBuf(chunk), outBuf(chunk);
    int flush = Z_NO_FLUSH;
    do {
        errno = 0;
        const size_t got = std::fread(inBuf.data(), 1, chunk, in);
        if (std::ferror(in)) {
            throw FileAccessError(
                blbPath, std::string("cannot read: ") + std::strerror(errno != 0 ? errno : EIO));
        }
        flush = std::feof(in) ? Z_FINISH : Z_NO_FLUSH;
        z.next_in = inBuf.data();
        z.avail_in = static_cast<uInt>(got);
        do {
            z.next_out = outBuf.data();
            z.avail_out = static_cast<uInt>(chunk);
            deflate(&z, flush);  // cannot fail with a valid stream and fresh output space
            out.write(outBuf.data(), chunk - z.avail_out);
        } while (z.avail_out == 0);
    } while (flush != Z_FINISH);
    out.commit();
}

}  // namespace velkor
