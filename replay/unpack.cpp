// Unpacking a .blc: one zlib stream inflated through fixed buffers into a temporary file, which
// replaces the .blb only when the stream ended cleanly and nothing followed it.
#include "replay/unpack.h"

#include <zlib.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <new>
#include <system_error>
#include <vector>

#include "io/errors.h"
#include "io/file_names.h"
#include "io/replacing_file.h"

namespace velkor {

namespace {

constexpr size_t chunk = 1 << 16;

[[noreturn]] void raiseDamaged(const std::string& name, const std::string& why) {
    throw DamagedFileError(name, "the compressed recording is damaged: " + why);
}

// "1.0 GiB", "800.0 MiB": how much space a user is asked to keep free.
std::string sizeText(uint64_t bytes) {
    char text[64];
    if (bytes >= (uint64_t{1} << 30))
        std::snprintf(text, sizeof text, "%.1f GiB", static_cast<double>(bytes) / (1 << 30));
    else
        std::snprintf(text, sizeof text, "%.1f MiB", static_cast<double>(bytes) / (1 << 20));
    return text;
}

// Raises FileAccessError naming the .blc when writing `size` more bytes to the disk of `folder`
// would leave less free space than the margin asks for. A disk whose space the system cannot
// tell is not checked; its writes still fail cleanly when it is full.
void checkFreeSpace(const std::string& name, const std::filesystem::path& folder, uint64_t size,
                    const DiskMargin& margin) {
    std::error_code ec;
    const std::filesystem::space_info space = std::filesystem::space(folder, ec);
    if (ec) return;
    const uint64_t required = margin.requiredFreeBytes(space.capacity);
    if (space.available >= required && space.available - required >= size) return;
    throw FileAccessError(
        name, "unpacking stopped before the disk of " + utf8FromPath(folder) +
                  (required == 0 ? " was full" : " had less than " + sizeText(required) + " free") +
                  "; free some space on it or move the file to a disk with "
                  "more room");
}

}  // namespace

uint64_t DiskMargin::requiredFreeBytes(uint64_t diskSize) const {
    const long double part = static_cast<long double>(diskSize) * share;
    return part >= static_cast<long double>(maxBytes) ? maxBytes : static_cast<uint64_t>(part);
}

bool hasCompressedExtension(const std::string& name) {
    const std::string ext = utf8FromPath(pathFromUtf8(name).extension());
    if (ext.size() != 4) return false;
    std::string lower = ext;
    std::transform(lower.begin(), lower.end(), lower.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return lower == ".blc";
}

std::string unpackRecord(const std::string& name, const DiskMargin& margin) {
    const std::string target = utf8FromPath(pathFromUtf8(name).replace_extension(".blb"));

    const FileHandle file = openForReading(name);
    std::FILE* in = file.get();
    if (in == nullptr) {
        throw FileAccessError(
            name, std::string("cannot open the compressed recording: ") + std::strerror(errno));
    }
    // A file named like its own unpacked form would be replaced by its inflated content.
    std::error_code ec;
    if (std::filesystem::equivalent(pathFromUtf8(name), pathFromUtf8(target), ec)) {
        throw FileAccessError(name, "cannot unpack a recording onto itself");
    }

    std::filesystem::path folder = pathFromUtf8(target).parent_path();
    if (folder.empty()) folder = ".";
    ReplacingFile out(target);
    z_stream z{};
    if (inflateInit(&z) != Z_OK) throw std::bad_alloc();
    struct Ender {
        z_stream* z;
        ~Ender() { inflateEnd(z); }
    } ender{&z};

    std::vector<unsigned char> inBuf(chunk), outBuf(chunk);
    int status = Z_OK;
    while (status != Z_STREAM_END) {
        errno = 0;
        const size_t got = std::fread(inBuf.data(), 1, chunk, in);
        if (std::ferror(in)) {
            throw FileAccessError(name, std::string("cannot read the compressed recording: ") +
                                            std::strerror(errno != 0 ? errno : EIO));
        }
        if (got == 0) raiseDamaged(name, "it ends before its compressed data is complete");
        z.next_in = inBuf.data();
        z.avail_in = static_cast<uInt>(got);
        do {
            z.next_out = outBuf.data();
            z.avail_out = static_cast<uInt>(chunk);
            status = inflate(&z, Z_NO_FLUSH);
            if (status == Z_NEED_DICT || status == Z_DATA_ERROR) {
                raiseDamaged(name, std::string("it is not intact zlib data (") +
                                       (z.msg != nullptr ? z.msg : "invalid data") + ")");
            }
            if (status == Z_MEM_ERROR) throw std::bad_alloc();
            const size_t produced = chunk - z.avail_out;
            if (produced > 0) checkFreeSpace(name, folder, produced, margin);
            out.write(outBuf.data(), produced);
        } while (status != Z_STREAM_END && z.avail_out == 0);
    }
    // The stream is the whole file: bytes after its end mean the file is not what it claims.
    if (z.avail_in > 0 || std::fgetc(in) != EOF) {
        raiseDamaged(name, "data follows the end of its compressed stream");
    }
    out.commit();
    return target;
}

}  // namespace velkor
