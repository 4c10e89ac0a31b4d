// Names a user really gives that are not the plain case: a folder where a file is expected, a bare
// name with no folder, a name longer than the system allows, blanks at the ends of a name. Each
// gets its own message, compared as the text the user reads.
#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <string>

#include "io/errors.h"
#include "io/replacing_file.h"
#include "tests/support/temp_dir.h"

namespace velkor {
namespace {

// The problem a ReplacingFile for `target` raises, or "created" when it raises none.
std::string creationProblem(const std::string& target) {
    try {
        ReplacingFile file(target);
        return "created";
    } catch (const FileAccessError& e) {
        EXPECT_EQ(e.file(), target);
        return e.problem();
    }
}

TEST(UnusualNames, AReplacingFileThatCannotBeCreatedNamesItsFolder) {
    test::TempDir dir;
    const std::string tooLong(300, 'n');
    const std::string prefix = "cannot create a file in the folder ";
    EXPECT_EQ(creationProblem(dir.file("no folder/s.mse")),
              prefix + dir.file("no folder") + ": " + std::strerror(ENOENT));
#ifndef _WIN32
    // The reasons Linux gives; Windows words its own.
    EXPECT_EQ(creationProblem(tooLong + ".mse"),
              prefix + ".: " + std::strerror(ENAMETOOLONG));  // a bare name: the current folder
    EXPECT_EQ(creationProblem(dir.file(tooLong + ".mse")),
              prefix + utf8FromPath(dir.path()) + ": " + std::strerror(ENAMETOOLONG));
#endif
    EXPECT_TRUE(std::filesystem::is_empty(dir.path()));
}

TEST(UnusualNames, AFolderIsNotOpenedAsAFile) {
    test::TempDir dir;
    std::filesystem::create_directory(pathFromUtf8(dir.file("r.blb")));
    errno = 0;
    EXPECT_FALSE(openForReading(dir.file("r.blb")));
    EXPECT_EQ(errno, EISDIR);
    EXPECT_STREQ(std::strerror(errno), std::strerror(EISDIR));

    // A folder cannot be replaced by a file: the temporary file goes, the folder stays.
    try {
        replaceFileContent(dir.file("r.blb"), "bytes");
        FAIL() << "a folder was replaced";
    } catch (const FileAccessError& e) {
        EXPECT_EQ(e.file(), dir.file("r.blb"));
        EXPECT_EQ(e.problem().rfind("cannot replace the file: ", 0), 0u) << e.problem();
    }
    EXPECT_TRUE(std::filesystem::is_directory(pathFromUtf8(dir.file("r.blb"))));
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()),
                            std::filesystem::directory_iterator()),
              1);
}

#ifndef _WIN32
// Windows drops blanks at the end of a name; Linux keeps every character.
TEST(UnusualNames, BlanksAtTheEndsBelongToTheName) {
    test::TempDir dir;
    const std::string blanks = dir.file(" s .mse "), plain = dir.file("s .mse");
    replaceFileContent(blanks, "kept");
    EXPECT_TRUE(std::filesystem::exists(pathFromUtf8(blanks)));
    EXPECT_FALSE(std::filesystem::exists(pathFromUtf8(plain)));
    errno = 0;
    EXPECT_FALSE(openForReading(plain));
    EXPECT_EQ(errno, ENOENT);
    EXPECT_TRUE(openForReading(blanks));
}
#endif

}  // namespace
}  // namespace velkor
