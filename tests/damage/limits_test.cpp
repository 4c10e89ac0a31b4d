// The longest recording the reader numbers: line numbers are 32-bit signed and one more number is
// needed for "the line after the last", so a recording holds at most 2,147,483,646 lines. A
// recording of empty lines (one word each) reaches that at 4.29 GB; the file size itself is not
// limited, the reader only reads forward. The test writes sparse files of zeros at the limit and
// one word past it. Counting 2^31 lines reads 4.3 GB and takes minutes, so it runs only when
// VELKOR_LONG_TESTS is set.
#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <limits>
#include <string>

#include "io/errors.h"
#include "replay/record_reader.h"
#include "tests/support/temp_dir.h"

namespace velkor {
namespace {

constexpr int64_t mostLines = std::numeric_limits<int32_t>::max() - 1;

// A file of zeros (sparse where the file system allows): two header words and `lines` empty
// lines.
std::string zeroRecording(const test::TempDir& dir, int64_t lines) {
    const std::string name = dir.file("limit.blb");
    std::ofstream(name, std::ios::binary | std::ios::trunc).close();
    std::filesystem::resize_file(name, 4 + 2 * lines);
    return name;
}

TEST(RecordingLimits, TheLongestRecordingCountsAndOneLineMoreIsAClearError) {
    if (std::getenv("VELKOR_LONG_TESTS") == nullptr)
        GTEST_SKIP() << "reads two 4.3 GB files; set VELKOR_LONG_TESTS=1 to run";
    const test::TempDir dir;
    RecordReader reader;
    {
        const std::string name = zeroRecording(dir, mostLines);
        reader.open(name);
        EXPECT_EQ(reader.fjoldilinaiskra(), mostLines);
        reader.seekLine(static_cast<int32_t>(mostLines));
        LineArray line{};
        reader.readRecordLine(line);
        EXPECT_EQ(reader.deliveredSegmentCount(), 0);
        reader.readRecordLine(line);
        EXPECT_TRUE(reader.endOfData());
        reader.close();
        std::filesystem::remove(name);
    }
    {
        const std::string name = zeroRecording(dir, mostLines + 1);
        reader.open(name);
        try {
            reader.fjoldilinaiskra();
            ADD_FAILURE() << "a line past the limit was counted";
        } catch (const OverflowError& e) {
            EXPECT_EQ(e.file(), name);
            EXPECT_NE(std::string(e.what()).find("more lines than can be numbered"),
                      std::string::npos);
        }
        reader.close();
        std::filesystem::remove(name);
    }
}

}  // namespace
}  // namespace velkor
