// UTF-8 names to paths and back, and opening files by such names.
#include "io/file_names.h"

#include <cerrno>
#include <random>
#include <string>
#include <system_error>

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#include <sys/stat.h>
#endif

namespace velkor {

std::filesystem::path pathFromUtf8(const std::string& utf8) {
    return std::filesystem::path(std::u8string(utf8.begin(), utf8.end()));
}

std::string utf8FromPath(const std::filesystem::path& path) {
    const std::u8string text = path.u8string();
    return std::string(text.begin(), text.end());
}

// Windows takes file names as UTF-16 (its narrow names are in the ANSI code page, where most
// non-ASCII names cannot be written), so there the path's wide name is used.
FileHandle openForReading(const std::string& utf8Name) {
    // A folder is refused alike everywhere (Linux would open it and fail on reading, Windows
    // would say only "Permission denied").
    std::error_code ec;
    if (std::filesystem::is_directory(pathFromUtf8(utf8Name), ec)) {
        errno = EISDIR;
        return FileHandle();
    }
#ifdef _WIN32
    return FileHandle(_wfopen(pathFromUtf8(utf8Name).c_str(), L"rb"));
#else
    return FileHandle(std::fopen(pathFromUtf8(utf8Name).c_str(), "rb"));
#endif
}

FileHandle createNewFile(const std::string& utf8Name) {
#ifdef _WIN32
    // The Windows C library knows no "x" mode; _O_EXCL fails when the name exists, atomically
    // with the creation.
    const int fd = _wopen(pathFromUtf8(utf8Name).c_str(),
                          _O_WRONLY | _O_CREAT | _O_EXCL | _O_BINARY, _S_IREAD | _S_IWRITE);
    if (fd < 0) return FileHandle();
    std::FILE* f = _fdopen(fd, "wb");
    if (f == nullptr) _close(fd);
    return FileHandle(f);
#else
    // "x": fails when the name exists, atomically with the creation.
    return FileHandle(std::fopen(pathFromUtf8(utf8Name).c_str(), "wbx"));
#endif
}

FileHandle createTemporaryFile() {
#ifdef _WIN32
    // The Windows C library's tmpfile() creates its file in the root folder of the drive, which
    // users without administrator rights may not write to.
    std::error_code ec;
    const std::filesystem::path folder = std::filesystem::temp_directory_path(ec);
    if (ec) return FileHandle();
    std::random_device seed;
    for (int attempt = 0; attempt < 100; ++attempt) {
        const std::filesystem::path name =
            folder / ("velkor-" + std::to_string(seed()) + std::to_string(seed()) + ".tmp");
        const int fd = _wopen(name.c_str(), _O_RDWR | _O_CREAT | _O_EXCL | _O_BINARY | _O_TEMPORARY,
                              _S_IREAD | _S_IWRITE);
        if (fd < 0) {
            if (errno == EEXIST) continue;
            return FileHandle();
        }
        std::FILE* f = _fdopen(fd, "w+b");
        if (f == nullptr) _close(fd);
        return FileHandle(f);
    }
    return FileHandle();
#else
    return FileHandle(std::tmpfile());
#endif
}

void removeQuietly(const std::string& utf8Name) noexcept {
    std::error_code ignored;
    std::filesystem::remove(pathFromUtf8(utf8Name), ignored);
}

}  // namespace velkor
