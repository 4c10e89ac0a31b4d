// UTF-8 file names reach the file system unchanged, and files are opened and created by them.
#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <string>

#include "io/file_names.h"
#include "tests/support/temp_dir.h"

namespace velkor {
namespace {

std::string readAll(const std::string& name) {
    const FileHandle in = openForReading(name);
    if (!in) return "<cannot open>";
    std::string bytes;
    char chunk[256];
    while (const size_t got = std::fread(chunk, 1, sizeof chunk, in.get()))
        bytes.append(chunk, got);
    return bytes;
}

const char* const names[] = {"plain.blb", "Kví 3 – æøå.mse", "魚の数 2026.blb",
                             "tank #7 (copy).blc"};

TEST(FileNames, NonAsciiNamesAreCreatedReadAndListedAsGiven) {
    test::TempDir dir;
    for (const std::string name : names) {
        const std::string file = utf8FromPath(dir.path() / pathFromUtf8(name));
        {
            const FileHandle out = createNewFile(file);
            ASSERT_TRUE(out) << name << ": " << std::strerror(errno);
            std::fputs(name.c_str(), out.get());
        }
        EXPECT_EQ(readAll(file), name);
        EXPECT_EQ(utf8FromPath(pathFromUtf8(file)), file);
    }
    int listed = 0;
    for (const auto& entry : std::filesystem::directory_iterator(dir.path())) {
        const std::string name = utf8FromPath(entry.path().filename());
        EXPECT_EQ(readAll(utf8FromPath(entry.path())), name);
        ++listed;
    }
    EXPECT_EQ(listed, std::size(names));
}

TEST(FileNames, CreatingNeverOpensAnExistingFile) {
    test::TempDir dir;
    const std::string file = dir.file("Kví.mse");
    {
        const FileHandle first = createNewFile(file);
        ASSERT_TRUE(first);
        std::fputs("first", first.get());
    }
    errno = 0;
    EXPECT_FALSE(createNewFile(file));
    EXPECT_EQ(errno, EEXIST);
    EXPECT_EQ(readAll(file), "first");

    errno = 0;
    EXPECT_FALSE(openForReading(dir.file("no such file.blb")));
    EXPECT_EQ(errno, ENOENT);

    removeQuietly(file);
    removeQuietly(file);  // a second time: nothing there, nothing reported
    EXPECT_FALSE(std::filesystem::exists(pathFromUtf8(file)));
}

}  // namespace
}  // namespace velkor
