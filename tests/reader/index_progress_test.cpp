// Counting a recording's lines reports its progress after every block read, in bytes of the file:
// never past the file's size, and the last report is the whole file, also when the file ends
// exactly at a block's end (where one more, empty, block is read to find the end).
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "io/counter_constants.h"
#include "recording_builder.h"
#include "replay/record_reader.h"

namespace velkor::testing {
namespace {

TEST(IndexProgress, OneReportPerBlockReadTheLastOneTheWholeFile) {
    constexpr int64_t B = blockBytes;
    for (const int64_t size :
         {int64_t{0}, int64_t{3}, int64_t{4}, B - 2, B, B + 1, 2 * B, 2 * B + 5}) {
        SCOPED_TRACE(size);
        TempDir folder;
        // Zero words: a header, then lines without segments.
        writeBytes(folder.file("r.blb"), std::string(static_cast<size_t>(size), '\0'));

        RecordReader r;
        r.open(folder.file("r.blb"));
        std::vector<std::pair<int64_t, int64_t>> reports;
        const int32_t lines =
            r.fjoldilinaiskra([&](int64_t done, int64_t all) { reports.emplace_back(done, all); });
        EXPECT_EQ(lines, size >= 4 ? size / 2 - 2 : 0);
        // Block k read: k blocks' bytes done, at most the file. The end found after a block that
        // was not full may be reported once more.
        const size_t blocks = static_cast<size_t>(size / B + 1);
        ASSERT_GE(reports.size(), blocks);
        ASSERT_LE(reports.size(), blocks + 1);
        for (size_t i = 0; i < reports.size(); ++i) {
            EXPECT_EQ(reports[i],
                      std::make_pair(std::min(static_cast<int64_t>(i + 1) * B, size), size))
                << i;
        }
        EXPECT_EQ(reports.back(), std::make_pair(size, size));
    }
}

}  // namespace
}  // namespace velkor::testing
