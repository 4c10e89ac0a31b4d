// Unpacking never fills a disk: it stops, naming the .blc and removing its temporary file, before
// the free space would fall below the smaller of 1 GiB and 5 % of the disk.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "io/errors.h"
#include "io/file_names.h"
#include "replay/record_writer.h"
#include "replay/unpack.h"
#include "tests/support/small_disk.h"
#include "tests/support/temp_dir.h"

namespace velkor {
namespace {

namespace fs = std::filesystem;
constexpr uint64_t MiB = uint64_t{1} << 20;
constexpr uint64_t GiB = uint64_t{1} << 30;

TEST(DiskMargin, TheSmallerOfOneGibibyteAndFivePercent) {
    const DiskMargin standard;
    struct Case {
        uint64_t diskSize, required;
    };
    for (const Case& c : {Case{0, 0}, Case{16 * MiB, 16 * MiB / 20}, Case{20 * GiB, GiB},
                          Case{20 * GiB - 20, GiB - 1}, Case{4000 * GiB, GiB}})
        EXPECT_EQ(standard.requiredFreeBytes(c.diskSize), c.required) << c.diskSize;
    EXPECT_EQ((DiskMargin{0, 0.05}.requiredFreeBytes(4000 * GiB)), 0u);
}

std::vector<std::string> filesIn(const fs::path& folder) {
    std::vector<std::string> names;
    for (const auto& e : fs::directory_iterator(folder))
        names.push_back(utf8FromPath(e.path().filename()));
    std::sort(names.begin(), names.end());
    return names;
}

// A .blc in `folder` whose unpacked recording is `size` bytes (compressed from a folder beside).
std::string compressedOfSize(const test::TempDir& work, const std::string& folder, uint64_t size) {
    const std::string blb = work.file("source.blb");
    {
        RecordWriter writer(blb, 0, 511);
        const std::vector<int16_t> zeros(MiB / 2);
        for (uint64_t written = 4; written < size; written += MiB) writer.writeRawWords(zeros);
        writer.finish();
    }
    const std::string blc = folder + "/r.blc";
    compressRecord(blb, blc);
    return blc;
}

void expectStopped(const std::string& blc, const DiskMargin& margin, const std::string& because) {
    try {
        unpackRecord(blc, margin);
        FAIL() << "unpacked";
    } catch (const FileAccessError& e) {
        EXPECT_EQ(e.file(), blc);
        EXPECT_EQ(e.problem().rfind("unpacking stopped before the disk of ", 0), 0u) << e.problem();
        EXPECT_NE(e.problem().find(because), std::string::npos) << e.problem();
    }
}

TEST(DiskMargin, AMarginAboveTheFreeSpaceStopsBeforeTheFirstWrite) {
    test::TempDir work, disk;
    const std::string blc = compressedOfSize(work, utf8FromPath(disk.path()), 2 * MiB);
    replaceFileContent(disk.file("r.blb"), "the recording unpacked before");
    expectStopped(blc, DiskMargin{UINT64_MAX, 1.0}, " free;");  // all of the disk must stay free
    EXPECT_EQ(filesIn(disk.path()), (std::vector<std::string>{"r.blb", "r.blc"}));
    EXPECT_EQ(fs::file_size(disk.path() / "r.blb"), 29u);
}

// Mounting a small file system of its own is a Linux call; elsewhere the test above stands alone.
#ifdef __linux__
using test::SmallDisk;

TEST(DiskMargin, UnpackingOntoASmallDiskStopsAtTheMarginAndNeverFillsIt) {
    SmallDisk disk("16m");
    if (!disk.mounted()) GTEST_SKIP() << "mounting a tmpfs needs root";
    test::TempDir work;
    const std::string blc = compressedOfSize(work, disk.path(), 24 * MiB);

    expectStopped(blc, DiskMargin{}, "had less than 0.8 MiB free");
    EXPECT_EQ(filesIn(disk.path()), std::vector<std::string>{"r.blc"});
    const fs::space_info space = fs::space(disk.path());
    EXPECT_GE(space.available, space.capacity / 20 * 19);  // the partial file is gone

    // Without a margin it still stops before a piece that no longer fits.
    expectStopped(blc, DiskMargin{0, 0}, " was full;");
    EXPECT_EQ(filesIn(disk.path()), std::vector<std::string>{"r.blc"});

    // What fits with the margin to spare unpacks.
    fs::remove(blc);
    const std::string small = compressedOfSize(work, disk.path(), 8 * MiB);
    EXPECT_EQ(unpackRecord(small), disk.path() + "/r.blb");
    EXPECT_GE(fs::file_size(disk.path() + "/r.blb"), 8 * MiB);
}
#endif

}  // namespace
}  // namespace velkor
