// velkor-count's output buffer: it passes its text on to the file when exactly a mebibyte has
// gathered, not a byte before; without a file it keeps everything for the copy; after a failed
// write it keeps the reason and nothing more.
#include <gtest/gtest.h>

#include <cerrno>
#include <cstdio>
#include <string>

#include "io/file_names.h"
#include "tests/support/bytes.h"
#include "tools/velkor-count/output_sink.h"

namespace velkor::test {
namespace {

TEST(OutputSink, PassesItsTextOnAtExactlyAMebibyte) {
    constexpr size_t MiB = size_t{1} << 20;
    const FileHandle file = createTemporaryFile();
    ASSERT_TRUE(file);
    {
        OutputSink out(file.get());
        out.write(std::string(MiB - 1, 'a'));
        EXPECT_EQ(contentOf(file.get()).size(), 0u);  // one byte short: still gathered
        out.write("b", 1);
        EXPECT_EQ(contentOf(file.get()).size(), MiB);
        out.write("c", 1);
        EXPECT_EQ(contentOf(file.get()).size(), MiB);
        out.flush();
        EXPECT_EQ(contentOf(file.get()), std::string(MiB - 1, 'a') + "bc");

        const FileHandle copy = createTemporaryFile();
        ASSERT_TRUE(copy);
        EXPECT_EQ(out.copyTo(copy.get()), 0);
        EXPECT_EQ(contentOf(copy.get()), std::string(MiB - 1, 'a') + "bc");
        EXPECT_FALSE(out.failed());
    }
}

TEST(OutputSink, WithoutAFileItKeepsEverythingForTheCopy) {
    OutputSink out(nullptr);
    out.write(std::string(3 << 20, 'x'));
    out.write("last\n", 5);
    out.flush();  // nowhere to pass it on to
    const FileHandle copy = createTemporaryFile();
    ASSERT_TRUE(copy);
    EXPECT_EQ(out.copyTo(copy.get()), 0);
    EXPECT_EQ(contentOf(copy.get()), std::string(3 << 20, 'x') + "last\n");
    EXPECT_EQ(out.error(), 0);
}

#ifdef __linux__
TEST(OutputSink, AFailedWriteKeepsItsReasonAndNothingMore) {
    std::FILE* full = std::fopen("/dev/full", "w");
    ASSERT_NE(full, nullptr);
    {
        OutputSink out(full);
        out.write("summary\n", 8);
        EXPECT_FALSE(out.failed());
        out.flush();
        EXPECT_TRUE(out.failed());
        EXPECT_EQ(out.error(), ENOSPC);
        out.write("more\n", 5);
        const FileHandle copy = createTemporaryFile();
        ASSERT_TRUE(copy);
        EXPECT_EQ(out.copyTo(copy.get()), ENOSPC);
        EXPECT_EQ(contentOf(copy.get()), "");
    }
    std::fclose(full);
}
#endif

}  // namespace
}  // namespace velkor::test
