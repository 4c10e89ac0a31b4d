// Finding the recordings in a folder, for the commands that take a folder of sessions.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace velkor {

// The recordings of one folder and everything below it, sorted by path (UTF-8): every .blb, and a
// .blc only when its .blb is not there to be read instead. `problem` is set when the folder
// cannot be searched.
std::vector<std::string> recordingsIn(const std::filesystem::path& folder, std::string& problem);

}  // namespace velkor
