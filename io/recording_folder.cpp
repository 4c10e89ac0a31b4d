// Finding the recordings in a folder.
#include "io/recording_folder.h"

#include <algorithm>
#include <set>

#include "io/file_names.h"

namespace velkor {

namespace {

namespace fs = std::filesystem;

std::string lowerExtension(const fs::path& path) {
    std::string ext = path.extension().string();
    for (char& c : ext) c = static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
    return ext;
}

}  // namespace

std::vector<std::string> recordingsIn(const std::filesystem::path& folder, std::string& problem) {
    std::vector<fs::path> blb, blc;
    std::error_code ec;
    fs::recursive_directory_iterator it(folder, fs::directory_options::skip_permission_denied, ec);
    for (; !ec && it != fs::recursive_directory_iterator(); it.increment(ec)) {
        if (!it->is_regular_file(ec)) continue;
        const std::string ext = lowerExtension(it->path());
        if (ext == ".blb") blb.push_back(it->path());
        if (ext == ".blc") blc.push_back(it->path());
    }
    if (ec) {
        problem = "cannot search the folder: " + ec.message();
        return {};
    }
    // A compressed recording is counted only when its .blb is not there to be counted instead.
    std::set<std::string> unpacked;
    for (const fs::path& p : blb) {
        fs::path stem = p;
        unpacked.insert(utf8FromPath(stem.replace_extension()));
    }
    std::vector<std::string> found;
    for (const fs::path& p : blb) found.push_back(utf8FromPath(p));
    for (const fs::path& p : blc) {
        fs::path stem = p;
        if (!unpacked.count(utf8FromPath(stem.replace_extension())))
            found.push_back(utf8FromPath(p));
    }
    std::sort(found.begin(), found.end());
    return found;
}

}  // namespace velkor
