// What a failed write says, word for word: the step that failed and the system's reason, or that
// the file was already closed.
#include <gtest/gtest.h>

#include <cerrno>
#include <csignal>
#include <cstring>
#include <filesystem>
#include <string>

#include "io/errors.h"
#include "io/replacing_file.h"
#include "tests/support/temp_dir.h"

#ifndef _WIN32
#include <sys/resource.h>
#endif

namespace velkor {
namespace {

// The problem `step` raises on `file`, or "done" when it raises none.
template <typename Step>
std::string problemOf(ReplacingFile& file, Step step) {
    try {
        step(file);
        return "done";
    } catch (const FileAccessError& e) {
        EXPECT_EQ(e.file(), file.target());
        return e.problem();
    }
}

TEST(WriteErrors, AClosedFileSaysSo) {
    test::TempDir dir;
    ReplacingFile file(dir.file("s.mse"));
    file.discard();
    EXPECT_EQ(problemOf(file, [](ReplacingFile& f) { f.write("x", 1); }),
              "the file is already closed");
    EXPECT_EQ(problemOf(file, [](ReplacingFile& f) { f.commit(); }), "the file is already closed");

    ReplacingFile committed(dir.file("t.mse"));
    committed.commit();
    EXPECT_EQ(problemOf(committed, [](ReplacingFile& f) { f.write("x", 1); }),
              "the file is already closed");
}

#ifndef _WIN32
// A limit on the size of a file, standing in for a full disk (Linux: SIGXFSZ ignored, EFBIG).
TEST(WriteErrors, AWriteBeyondTheLimitGivesTheSystemsReason) {
    test::TempDir dir;
    rlimit saved{};
    getrlimit(RLIMIT_FSIZE, &saved);
    const auto previous = std::signal(SIGXFSZ, SIG_IGN);
    rlimit limit = saved;
    limit.rlim_cur = 1000;
    setrlimit(RLIMIT_FSIZE, &limit);
    const std::string block(4096, 'x');
    std::string big, small;
    {
        // Past the limit in a write: the write fails.
        ReplacingFile file(dir.file("s.blb"));
        big = problemOf(file, [&](ReplacingFile& f) {
            for (int i = 0; i < 64; ++i) f.write(block.data(), block.size());
            f.commit();
        });
    }
    {
        // Past the limit only in what waits in the buffer: the commit's flush fails.
        ReplacingFile file(dir.file("s.blb"));
        small = problemOf(file, [&](ReplacingFile& f) {
            f.write(block.data(), 2000);
            f.commit();
        });
    }
    setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, previous);
    EXPECT_EQ(big, std::string("cannot write: ") + std::strerror(EFBIG));
    EXPECT_EQ(small, std::string("cannot write: ") + std::strerror(EFBIG));
    EXPECT_TRUE(std::filesystem::is_empty(dir.path()));
}
#endif

}  // namespace
}  // namespace velkor
