// Writing recordings and unpacking compressed ones: the exact bytes written, a byte-for-byte
// round trip through compression and unpacking, and damaged or unreadable .blc files that must
// leave an existing .blb untouched and no temporary file behind.
#include <gtest/gtest.h>
#include <zlib.h>

#include <filesystem>
#include <memory>

#include "io/errors.h"
#include "recording_builder.h"
#include "replay/record_writer.h"
#include "replay/unpack.h"
#include "tests/support/read_only_folder.h"

namespace velkor::testing {
namespace {

namespace fs = std::filesystem;

// Files in the folder other than the given ones (a temporary file left behind shows here).
std::vector<std::string> strayFiles(const TempDir& folder, std::vector<std::string> known) {
    std::vector<std::string> stray;
    for (const auto& entry : fs::directory_iterator(folder.path())) {
        const std::string name = entry.path().filename().string();
        if (std::find(known.begin(), known.end(), name) == known.end()) stray.push_back(name);
    }
    return stray;
}

TEST(RecordWriter, WritesLittleEndianWordsWithTheEdgesLow16Bits) {
    TempDir folder;
    RecordWriter w(folder.file("r.blb"), 70000, -2);
    w.writeLine({{300, 301}, {-5, 2}});
    w.writeLine({});
    w.writeRawWords({-1});
    w.finish();
    const std::string expected(
        "\x70\x11\xfe\xff"                          // 70000 & 0xffff = 4464, -2
        "\x02\x00\x2c\x01\x2d\x01\xfb\xff\x02\x00"  // 2 (300,301) (-5,2)
        "\x00\x00\xff\xff",
        18);
    EXPECT_EQ(readBytes(folder.file("r.blb")), expected);
    EXPECT_EQ(w.linesWritten(), 2);
    EXPECT_TRUE(strayFiles(folder, {"r.blb"}).empty());
}

TEST(RecordWriter, UnfinishedOrRefusedWritesLeaveNoFile) {
    TempDir folder;
    {
        RecordWriter w(folder.file("r.blb"), 0, 100);
        w.writeLine({{1, 2}});
        EXPECT_THROW(w.writeLine({{1, 40000}}), std::out_of_range);
    }
    EXPECT_TRUE(strayFiles(folder, {}).empty());
}

// A recording of a few blocks, so that unpacking runs through many buffers.
std::string writeSample(const std::string& path) {
    RecordingBuilder b(path);
    b.fillTo(2'300'001);
    b.line(3);
    b.oddByte();
    b.finish();
    return readBytes(path);
}

TEST(Unpack, RoundTripIsByteForByte) {
    TempDir folder;
    const std::string original = writeSample(folder.file("orig.blb"));
    for (const char* name : {"session.blc", "SESSION2.BLC"}) {
        SCOPED_TRACE(name);
        compressRecord(folder.file("orig.blb"), folder.file(name));
        const std::string blb = fs::path(folder.file(name)).replace_extension(".blb").string();
        EXPECT_EQ(unpackRecord(folder.file(name)), blb);
        EXPECT_TRUE(readBytes(blb) == original);
        // Unpacking again replaces the .blb with the same content.
        writeBytes(blb, "old");
        unpackRecord(folder.file(name));
        EXPECT_TRUE(readBytes(blb) == original);
    }
    EXPECT_TRUE(strayFiles(folder, {"orig.blb", "session.blc", "session.blb", "SESSION2.BLC",
                                    "SESSION2.blb"})
                    .empty());
}

// A zlib stream of stored (uncompressed) blocks exactly `totalBytes` long, so that its end can
// be put on any read-buffer boundary.
std::string storedStream(size_t totalBytes) {
    constexpr size_t frame = 2 + 4, blockHeader = 5, maxBlock = 65535;
    const size_t blocks =
        (totalBytes - frame + blockHeader + maxBlock - 1) / (blockHeader + maxBlock);
    size_t data = totalBytes - frame - blocks * blockHeader;
    std::string z = "\x78\x01";
    uLong adler = adler32(0, nullptr, 0);
    for (size_t b = 0; b < blocks; ++b) {
        const size_t n = data / (blocks - b);
        data -= n;
        z += static_cast<char>(b + 1 == blocks ? 1 : 0);  // final flag, stored
        for (const size_t v : {n, n ^ 0xFFFF})
            z += {static_cast<char>(v), static_cast<char>(v >> 8)};
        const std::string bytes(n, static_cast<char>('a' + b % 26));
        adler = adler32(adler, reinterpret_cast<const Bytef*>(bytes.data()), static_cast<uInt>(n));
        z += bytes;
    }
    for (const int shift : {24, 16, 8, 0}) z += static_cast<char>(adler >> shift);
    return z;
}

struct DamagedStream {
    const char* name;
    std::function<std::string(const std::string& stream, const std::string& blb)> make;
    const char* reason;
};

const DamagedStream damagedStreams[] = {
    {"truncated", [](const auto& z, const auto&) { return z.substr(0, z.size() / 2); }, "complete"},
    {"checksum",
     [](const auto& z, const auto&) {
         std::string d = z;
         d.back() ^= 0x01;
         return d;
     },
     "check"},
    {"not compressed", [](const auto&, const auto&) { return std::string("[Session]\nDate=1\n"); },
     "header"},
    {"a recording renamed", [](const auto&, const auto& blb) { return blb; }, "damaged"},
    {"empty", [](const auto&, const auto&) { return std::string(); }, "complete"},
    {"data after the stream", [](const auto& z, const auto&) { return z + "garbage"; }, "follows"},
    {"one byte after the stream", [](const auto& z, const auto&) { return z + "x"; }, "follows"},
    {"a second stream after the first", [](const auto& z, const auto&) { return z + z; },
     "follows"},
    // 1 MiB ends on the boundary of any power-of-two read buffer up to that size.
    {"data after a stream that fills whole read buffers",
     [](const auto&, const auto&) { return storedStream(1 << 20) + "garbage"; }, "follows"},
};

class DamagedBlc : public ::testing::TestWithParam<DamagedStream> {};

TEST_P(DamagedBlc, LeavesTheExistingRecordingAndNoTemporaryFile) {
    TempDir folder;
    const std::string original = writeSample(folder.file("orig.blb"));
    compressRecord(folder.file("orig.blb"), folder.file("orig.blc"));
    const std::string stream = readBytes(folder.file("orig.blc"));

    writeBytes(folder.file("r.blc"), GetParam().make(stream, original));
    writeBytes(folder.file("r.blb"), "the good recording");
    try {
        unpackRecord(folder.file("r.blc"));
        ADD_FAILURE() << "no error";
    } catch (const DamagedFileError& e) {
        EXPECT_EQ(e.file(), folder.file("r.blc"));
        const std::string what = e.what();
        EXPECT_NE(what.find("damaged"), std::string::npos) << what;
        EXPECT_NE(what.find(GetParam().reason), std::string::npos) << what;
    }
    EXPECT_EQ(readBytes(folder.file("r.blb")), "the good recording");
    EXPECT_TRUE(strayFiles(folder, {"orig.blb", "orig.blc", "r.blc", "r.blb"}).empty());
}

INSTANTIATE_TEST_SUITE_P(Streams, DamagedBlc, ::testing::ValuesIn(damagedStreams),
                         [](const auto& info) {
                             std::string n;
                             for (const char* c = info.param.name; *c; ++c)
                                 n += std::isalnum(static_cast<unsigned char>(*c)) ? *c : '_';
                             return n;
                         });

// A recording and its compressed form in `folder`, the recording not the stream's content.
void writeRecordingAndStream(const std::string& folder) {
    writeSample(folder + "/r.blb");
    compressRecord(folder + "/r.blb", folder + "/r.blc");
    writeBytes(folder + "/r.blb", "the good recording");
}

// Unpacking into a folder that cannot be written names the recording it could not replace and
// the system's reason, and leaves the recording as it was.
void expectRefusedAndKept(const std::string& folder, const std::string& reason) {
    try {
        unpackRecord(folder + "/r.blc");
        ADD_FAILURE() << "no error";
    } catch (const FileAccessError& e) {
        EXPECT_EQ(e.file(), folder + "/r.blb");
        EXPECT_NE(std::string(e.what()).find(reason), std::string::npos) << e.what();
    }
    EXPECT_EQ(readBytes(folder + "/r.blb"), "the good recording");
}

TEST(Unpack, ReadOnlyFolderRaisesFileAccessErrorAndKeepsTheRecording) {
    TempDir folder;
    writeRecordingAndStream(folder.path().string());
    fs::permissions(folder.path(), fs::perms::owner_read | fs::perms::owner_exec);
    if (std::FILE* probe = std::fopen(folder.file("probe").c_str(), "wb")) {
        // This user (root) writes to a folder without write permission: an archive on a medium
        // mounted read-only stops everyone.
        std::fclose(probe);
        std::remove(folder.file("probe").c_str());
        fs::permissions(folder.path(), fs::perms::owner_all);
#ifdef __linux__
        test::ReadOnlyFolder archive;
        writeRecordingAndStream(archive.path());
        if (!archive.makeReadOnly()) GTEST_SKIP() << "cannot mount a folder read-only";
        expectRefusedAndKept(archive.path(), "Read-only file system");
#else
        GTEST_SKIP() << "this user may write to a read-only folder";
#endif
        return;
    }
    expectRefusedAndKept(folder.path().string(), "Permission denied");
}

TEST(Unpack, MissingFileOrOneNamedAsItsOwnOutputIsRefused) {
    TempDir folder;
    EXPECT_THROW(unpackRecord(folder.file("none.blc")), FileAccessError);
    // A compressed stream that already carries the unpacked name is not replaced by its content.
    writeSample(folder.file("x.blb"));
    compressRecord(folder.file("x.blb"), folder.file("y.blc"));
    fs::rename(folder.file("y.blc"), folder.file("x.blb"));
    const std::string stream = readBytes(folder.file("x.blb"));
    EXPECT_THROW(unpackRecord(folder.file("x.blb")), FileAccessError);
    EXPECT_TRUE(readBytes(folder.file("x.blb")) == stream);
    EXPECT_TRUE(strayFiles(folder, {"x.blb"}).empty());
}

TEST(Unpack, CompressedExtensionInAnyCase) {
    const std::pair<const char*, bool> cases[] = {
        {"a.blc", true},      {"dir/a.BLC", true}, {"a.Blc", true},   {"a.blb", false},
        {"a.blc.bak", false}, {"blc", false},      {"a.blcx", false}, {"dir.blc/a", false},
    };
    for (const auto& [name, compressed] : cases)
        EXPECT_EQ(hasCompressedExtension(name), compressed) << name;
}

}  // namespace
}  // namespace velkor::testing
