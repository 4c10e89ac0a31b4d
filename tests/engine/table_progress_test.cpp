// The progress of the table of many recordings, as a terminal shows it: one report per row in the
// order of the rows, a recording that could not be counted included, and the last one, all of
// them, ending its line.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "engine_fixture.h"
#include "io/file_names.h"
#include "tests/support/bytes.h"
#include "tools/velkor-count/session_table.h"

namespace velkor::test {
namespace {

TEST(TableProgress, OneReportPerRowAndTheLastEndsTheLine) {
    TempDir dir;
    writeRecording(dir.file("a.blb"), threeChannelSession());
    writeReport(dir.file("a.mse"), threeChannels);
    const std::vector<std::string> inputs{dir.file("a.blb"), dir.file("missing.blb"),
                                          dir.file("a.blb")};
    for (const size_t workers : {size_t{1}, size_t{2}}) {
        const FileHandle out = createTemporaryFile(), progress = createTemporaryFile();
        ASSERT_TRUE(out && progress);
        CountOptions options;
        options.frameWidth = 100;
        const SessionTableResult result =
            writeSessionTable(inputs, options, workers, out.get(), progress.get());
        EXPECT_EQ(result.failed, 1u) << workers;
        EXPECT_EQ(result.outputError, 0) << workers;
        EXPECT_EQ(contentOf(progress.get()),
                  "\r1 of 3 recordings counted\r2 of 3 recordings counted"
                  "\r3 of 3 recordings counted\n")
            << workers;
    }
    // No recordings: no rows and no progress.
    const FileHandle out = createTemporaryFile(), progress = createTemporaryFile();
    ASSERT_TRUE(out && progress);
    TempDir empty;
    const SessionTableResult none = writeSessionTable({utf8FromPath(empty.path())}, CountOptions{},
                                                      2, out.get(), progress.get());
    EXPECT_EQ(none.failed, 0u);
    EXPECT_EQ(contentOf(progress.get()), "");
    EXPECT_EQ(contentOf(out.get()), sessionTableHeader());
}

}  // namespace
}  // namespace velkor::test
