// Temporary file beside the target, synced and renamed into place when complete.
#include "io/replacing_file.h"

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <random>
#include <system_error>

#include "io/errors.h"

#if defined(_WIN32)
#include <io.h>
#else
#include <unistd.h>
#endif

namespace velkor {

namespace {

std::string folderOf(const std::string& target) {
    const auto parent = pathFromUtf8(target).parent_path();
    return parent.empty() ? std::string(".") : utf8FromPath(parent);
}

// Forces the file's bytes to the disk; false with errno set when the disk refuses them.
bool syncToDisk(std::FILE* f) {
#if defined(_WIN32)
    return _commit(_fileno(f)) == 0;
#else
    return fsync(fileno(f)) == 0;
#endif
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
        errno = 0;
        file_ = createNewFile(name);
        if (file_) {
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
    if (!file_) throw FileAccessError(target_, "the file is already closed");
    errno = 0;
    if (std::fwrite(data, 1, size, file_.get()) != size) fail("cannot write", errno);
}

void ReplacingFile::commit() {
    if (!file_) throw FileAccessError(target_, "the file is already closed");
    errno = 0;
    if (std::fflush(file_.get()) != 0) fail("cannot write", errno);
    // On disk before the rename, so that a crash leaves the old target or the whole new one.
    errno = 0;
    if (!syncToDisk(file_.get())) fail("cannot write", errno);
    errno = 0;
    if (std::fclose(file_.release()) != 0) fail("cannot write", errno);
    std::error_code ec;
    std::filesystem::rename(pathFromUtf8(tempName_), pathFromUtf8(target_),
                            ec);  // replaces an existing target
    if (ec) {
        discard();
        throw FileAccessError(target_, "cannot replace the file: " + ec.message());
    }
    tempName_.clear();
}

void ReplacingFile::discard() noexcept {
    file_.reset();
    if (!tempName_.empty()) removeQuietly(tempName_);
    tempName_.clear();
}

void replaceFileContent(const std::string& target, std::string_view bytes) {
    ReplacingFile file(target);
    file.write(bytes.data(), bytes.size());
    file.commit();
}

}  // namespace velkor
