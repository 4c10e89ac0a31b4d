// Temporary file beside the target, renamed into place when complete.
#include "replay/replacing_file.h"

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <random>
#include <system_error>

#include "core/errors.h"

#if defined(_WIN32)
#include <io.h>
#else
#include <unistd.h>
#endif

namespace velkor {

namespace {

std::string folderOf(const std::string& target) {
    const auto parent = std::filesystem::path(target).parent_path();
    return parent.empty() ? std::string(".") : parent.string();
}

}  // namespace

ReplacingFile::ReplacingFile(std::string target) : target_(std::move(target)) {
    static constexpr char letters[] = "abcdefghijklmnopqrstuvwxyz0123456789";
    std::random_device seed;
    std::mt19937 pick(seed());
    std::uniform_int_distribution<int> letter(0, sizeof(letters) - 2);
    int err = 0;
    for (int attempt = 0; attempt < 100; ++attempt) {
        std::string name = target_ + ".tmp-";
        for (int i = 0; i < 6; ++i) name += letters[letter(pick)];
        // "x": create a new file only, never open one that another writer made meanwhile.
        errno = 0;
        file_ = std::fopen(name.c_str(), "wbx");
        if (file_ != nullptr) {
            tempName_ = std::move(name);
            return;
        }
        err = errno;
        if (err != EEXIST) break;
    }
    throw FileAccessError(target_, "cannot create a file in the folder " + folderOf(target_) +
                                       ": " + std::strerror(err != 0 ? err : EIO));
}

ReplacingFile::~ReplacingFile() {
    discard();
}

void ReplacingFile::fail(const std::string& what, int err) {
    discard();
    throw FileAccessError(target_, what + ": " + std::strerror(err != 0 ? err : EIO));
}

void ReplacingFile::write(const void* data, size_t size) {
    if (file_ == nullptr) throw FileAccessError(target_, "the file is already closed");
    errno = 0;
    if (std::fwrite(data, 1, size, file_) != size) fail("cannot write", errno);
}

void ReplacingFile::commit() {
    if (file_ == nullptr) throw FileAccessError(target_, "the file is already closed");
    errno = 0;
    if (std::fflush(file_) != 0) fail("cannot write", errno);
#if defined(_WIN32)
    _commit(_fileno(file_));
#else
    // On disk before the rename, so that a crash leaves the old target or the whole new one.
    fsync(fileno(file_));
#endif
    std::FILE* f = file_;
    file_ = nullptr;
    errno = 0;
    if (std::fclose(f) != 0) {
        const int err = errno;
        std::remove(tempName_.c_str());
        tempName_.clear();
        throw FileAccessError(target_, std::string("cannot write: ") + std::strerror(err));
    }
    std::error_code ec;
    std::filesystem::rename(tempName_, target_, ec);  // replaces an existing target
    if (ec) {
        std::remove(tempName_.c_str());
        tempName_.clear();
        throw FileAccessError(target_, "cannot replace the file: " + ec.message());
    }
    tempName_.clear();
}

void ReplacingFile::discard() noexcept {
    if (file_ != nullptr) std::fclose(file_);
    file_ = nullptr;
    if (!tempName_.empty()) std::remove(tempName_.c_str());
    tempName_.clear();
}

}  // namespace velkor
