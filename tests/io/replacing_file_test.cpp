// The replace-on-commit file: the target changes only by a complete commit, and no temporary
// file is left behind, whatever fails.
#include <gtest/gtest.h>

#include <csignal>
#include <filesystem>
#include <string>
#include <vector>

#include "io/errors.h"
#include "io/replacing_file.h"
#include "tests/support/temp_dir.h"

#ifndef _WIN32
#include <sys/resource.h>
#endif

namespace velkor {
namespace {

std::vector<std::string> filesIn(const test::TempDir& dir) {
    std::vector<std::string> names;
    for (const auto& e : std::filesystem::directory_iterator(dir.path()))
        names.push_back(utf8FromPath(e.path().filename()));
    std::sort(names.begin(), names.end());
    return names;
}

std::string readAll(const std::string& name) {
    const FileHandle in = openForReading(name);
    std::string bytes;
    char chunk[256];
    while (in && std::fread(chunk, 1, 1, in.get()) == 1) bytes += chunk[0];
    return bytes;
}

using Names = std::vector<std::string>;

TEST(ReplacingFile, CommitReplacesTheTargetAndLeavesNothingElse) {
    test::TempDir dir;
    const std::string target = dir.file("Kví 3.mse");
    replaceFileContent(target, "old");
    {
        ReplacingFile file(target);
        ReplacingFile other(target);  // two writers never share a temporary file
        EXPECT_NE(file.temporaryName(), other.temporaryName());
        file.write("new", 3);
        EXPECT_EQ(readAll(target), "old");  // nothing shows before the commit
        file.commit();
    }
    EXPECT_EQ(readAll(target), "new");
    EXPECT_EQ(filesIn(dir), Names{"Kví 3.mse"});
}

TEST(ReplacingFile, WithoutCommitTheTargetStays) {
    test::TempDir dir;
    const std::string target = dir.file("session.blb");
    replaceFileContent(target, "old");
    {
        ReplacingFile file(target);
        file.write("half", 4);
    }
    {
        ReplacingFile file(target);
        file.write("half", 4);
        file.discard();
        EXPECT_THROW(file.write("x", 1), FileAccessError);
        EXPECT_THROW(file.commit(), FileAccessError);
    }
    EXPECT_EQ(readAll(target), "old");
    EXPECT_EQ(filesIn(dir), Names{"session.blb"});
}

TEST(ReplacingFile, AMissingFolderIsNamed) {
    test::TempDir dir;
    const std::string target = dir.file("no folder/session.blb");
    try {
        ReplacingFile file(target);
        FAIL() << "created in a missing folder";
    } catch (const FileAccessError& e) {
        EXPECT_EQ(e.file(), target);
        EXPECT_NE(e.problem().find(dir.file("no folder")), std::string::npos) << e.problem();
    }
}

// Windows has no per-process limit on the size of a file to stand in for a full disk.
#ifndef _WIN32
// The system refuses to let the file grow beyond a limit, as a full disk would.
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes) {
        getrlimit(RLIMIT_FSIZE, &saved_);
        previousHandler_ = std::signal(SIGXFSZ, SIG_IGN);  // the write fails instead (EFBIG)
        rlimit limit = saved_;
        limit.rlim_cur = bytes;
        setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~FileSizeLimit() {
        setrlimit(RLIMIT_FSIZE, &saved_);
        std::signal(SIGXFSZ, previousHandler_);
    }

private:
    rlimit saved_{};
    void (*previousHandler_)(int) = nullptr;
};

TEST(ReplacingFile, AFailedWriteRemovesTheTemporaryFileAndKeepsTheTarget) {
    test::TempDir dir;
    const std::string target = dir.file("session.blb");
    replaceFileContent(target, "old");
    const std::string block(64 * 1024, 'x');
    try {
        const FileSizeLimit limit(10 * 1024);
        ReplacingFile file(target);
        for (int i = 0; i < 4; ++i) file.write(block.data(), block.size());
        file.commit();
        FAIL() << "wrote beyond the limit";
    } catch (const FileAccessError& e) {
        EXPECT_EQ(e.file(), target);
        EXPECT_NE(e.problem().find("cannot write"), std::string::npos) << e.problem();
    }
    EXPECT_EQ(readAll(target), "old");
    EXPECT_EQ(filesIn(dir), Names{"session.blb"});
}
#endif

}  // namespace
}  // namespace velkor
