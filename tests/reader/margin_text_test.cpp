// The free space a stopped unpacking asks for, as the user reads it: whole gibibytes from exactly
// 1 GiB on, mebibytes below, each with one decimal.
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

#ifdef __linux__
// A file system of a given size of its own: its capacity is exact, and it is never filled.
using test::SmallDisk;

TEST(MarginText, GibibytesFromExactlyOneOnMebibytesBelow) {
    constexpr uint64_t GiB = uint64_t{1} << 30;
    const struct {
        const char* size;
        DiskMargin margin;
        const char* shown;
    } cases[] = {
        // All of the disk must stay free: the margin is the disk's capacity.
        {"1g", {UINT64_MAX, 1.0}, "had less than 1.0 GiB free"},
        {"1025m", {UINT64_MAX, 1.0}, "had less than 1.0 GiB free"},
        {"1536m", {UINT64_MAX, 1.0}, "had less than 1.5 GiB free"},
        {"1023m", {UINT64_MAX, 1.0}, "had less than 1023.0 MiB free"},
        {"16m", {UINT64_MAX, 1.0}, "had less than 16.0 MiB free"},
        // A cap at exactly the disk's size and one byte above it.
        {"1g", {GiB, 1.0}, "had less than 1.0 GiB free"},
        {"1g", {GiB + 1, 1.0}, "had less than 1.0 GiB free"},
        {"16m", {uint64_t{16} << 20, 1.0}, "had less than 16.0 MiB free"},
    };
    test::TempDir work;
    const std::string blb = work.file("source.blb");
    {
        RecordWriter writer(blb, 0, 511);
        writer.writeRawWords(std::vector<int16_t>(1000));
        writer.finish();
    }
    for (const auto& c : cases) {
        SmallDisk disk(c.size);
        if (!disk.mounted()) GTEST_SKIP() << "mounting a tmpfs needs root";
        const std::string blc = disk.path() + "/r.blc";
        compressRecord(blb, blc);
        try {
            unpackRecord(blc, c.margin);
            ADD_FAILURE() << c.size << ": unpacked";
        } catch (const FileAccessError& e) {
            EXPECT_EQ(e.file(), blc);
            EXPECT_EQ(e.problem(), "unpacking stopped before the disk of " + disk.path() + " " +
                                       c.shown +
                                       "; free some space on it or move the file to a disk "
                                       "with more room")
                << c.size;
        }
        EXPECT_FALSE(std::filesystem::exists(pathFromUtf8(disk.path() + "/r.blb"))) << c.size;
    }
}
#endif

}  // namespace
}  // namespace velkor
