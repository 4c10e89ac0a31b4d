// Unpacking a compressed recording (.blc, one zlib stream of the .blb bytes).
#pragma once

#include <string>

namespace velkor {

// Inflates the .blc into the .blb of the same path and base name and returns that name.
// Streams through zlib (never the whole file in memory) into a temporary file in the same folder,
// renamed over the .blb only when the stream ended cleanly. On failure an existing .blb is left
// untouched, no partial file is left, and DamagedFileError / FileAccessError names the file.
std::string unpackRecord(const std::string& name);

// True when the name's extension is ".blc" in any letter case.
bool hasCompressedExtension(const std::string& name);

}  // namespace velkor
