// Unpacking a compressed recording (.blc, one zlib stream of the .blb bytes).
#pragma once

#include <cstdint>
#include <string>

namespace velkor {

// The free space unpacking leaves on the disk it writes to: the disk of a counter's PC also holds
// the live counter's recordings, so an unpacked recording must never fill it. Unpacking stops
// before the free space would fall below the smaller of `maxBytes` and `share` of the disk's size.
struct DiskMargin {
    uint64_t maxBytes = uint64_t{1} << 30;  // 1 GiB
    double share = 0.05;

    uint64_t requiredFreeBytes(uint64_t diskSize) const;
};

// Inflates the .blc into the .blb of the same path and base name and returns that name.
// Streams through zlib (never the whole file in memory) into a temporary file in the same folder,
// renamed over the .blb only when the stream ended cleanly. On failure an existing .blb is left
// untouched, no partial file is left, and DamagedFileError / FileAccessError names the file.
// A FileAccessError naming the .blc also stops it before the disk's free space would fall below
// `margin`.
std::string unpackRecord(const std::string& name, const DiskMargin& margin = {});

// True when the name's extension is ".blc" in any letter case.
bool hasCompressedExtension(const std::string& name);

}  // namespace velkor
