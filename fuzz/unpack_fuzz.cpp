// Fuzz target: bytes as a compressed recording (.blc). Unpacking must either write exactly what
// the zlib stream holds into the .blb, or fail with an error naming the file and leave the folder
// as it was: an existing .blb byte for byte, and no partial or temporary file.
#include <zlib.h>

#include <algorithm>
#include <cstdint>
#include <string>

#include "fuzz/fuzz_support.h"
#include "io/errors.h"
#include "replay/unpack.h"

using namespace velkor;

namespace {

// What the input inflates to, when it is exactly one complete zlib stream.
bool inflateAll(const uint8_t* bytes, size_t size, std::string& out) {
    z_stream z{};
    if (inflateInit(&z) != Z_OK) return false;
    z.next_in = const_cast<Bytef*>(bytes);
    z.avail_in = static_cast<uInt>(size);
    unsigned char buffer[1 << 15];
    int status = Z_OK;
    out.clear();
    while (status == Z_OK) {
        z.next_out = buffer;
        z.avail_out = sizeof buffer;
        status = inflate(&z, Z_NO_FLUSH);
        out.append(reinterpret_cast<char*>(buffer), sizeof buffer - z.avail_out);
        if (status == Z_BUF_ERROR && z.avail_out != 0) break;  // input used up, stream unfinished
        if (status == Z_BUF_ERROR) status = Z_OK;
    }
    const bool whole = status == Z_STREAM_END && z.avail_in == 0;
    inflateEnd(&z);
    return whole;
}

const std::string oldRecording = "an older recording that must survive a failed unpacking";

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* bytes, size_t size) {
    if (size == 0) return 0;
    // The first byte says whether a .blb of the same name exists beforehand.
    const bool existing = bytes[0] & 1;
    ++bytes;
    --size;

    fuzz::clearScratch();
    const std::string blc = fuzz::scratchFile("session.blc");
    const std::string blb = fuzz::scratchFile("session.blb");
    fuzz::writeFile(blc, bytes, size);
    if (existing) fuzz::writeFile(blb, oldRecording);

    std::string expected;
    const bool valid = inflateAll(bytes, size, expected);
    try {
        const std::string result = unpackRecord(blc);
        VELKOR_FUZZ_CHECK(valid);
        VELKOR_FUZZ_CHECK(result == blb);
        VELKOR_FUZZ_CHECK(fuzz::readFile(blb) == expected);
        VELKOR_FUZZ_CHECK(fuzz::scratchNames().size() == 2);
    } catch (const DamagedFileError& e) {
        VELKOR_FUZZ_CHECK(!valid);
        VELKOR_FUZZ_CHECK(e.file() == blc);
        auto names = fuzz::scratchNames();
        VELKOR_FUZZ_CHECK(names.size() == (existing ? 2u : 1u));
        if (existing) VELKOR_FUZZ_CHECK(fuzz::readFile(blb) == oldRecording);
    }
    VELKOR_FUZZ_CHECK(fuzz::readFile(blc) ==
                      std::string(reinterpret_cast<const char*>(bytes), size));
    return 0;
}
