// The QSettings store on a temporary INI file: round trip of the settings set, names in any case,
// values that are not text, and a damaged file that is read as empty and left untouched.
#include <gtest/gtest.h>

#include "settings/Tsett.h"
#include "settings_store/qt_settings_backend.h"
#include "test_files.h"

namespace velkor {
namespace {

using testing::readBytes;
using testing::TempDir;
using testing::writeBytes;

TEST(SettingsStore, SetSurvivesASaveAndALoad) {
    TempDir folder;
    const std::string file = folder.file("Kest Registry.ini");
    Tsett saved;
    saved.countertype = 7;  // 4 x 1200 mm
    saved.Nrch = saved.channelCount = 4;
    saved.Channelwidth = 4;
    for (int n = 1; n <= 4; ++n) saved.channelTable[n] = {n * 400, n * 400 + 300, 300};
    saved.Countname[3] = "Fj\xC3\xB6r\xC3\xB0ur, north";
    saved.Reportpath = "C:\\Reports\\";
    saved.Amplification = "@odd text";
    {
        QtSettingsBackend store(file);
        ASSERT_TRUE(store.usable()) << store.problem();
        saved.Write_Registry(store);
        ASSERT_TRUE(store.sync()) << store.problem();
    }
    QtSettingsBackend store(file);
    Tsett back;
    back.Read_Registry(store);
    EXPECT_EQ(back.countertype, 7);
    EXPECT_EQ(back.counterWidthMm, 1200);
    EXPECT_EQ(back.channelTable[4].leftEdge, 1600);
    EXPECT_EQ(back.Countname[3], saved.Countname[3]);
    EXPECT_EQ(back.Reportpath, "C:\\Reports\\");
    EXPECT_EQ(back.Amplification, "@odd text");
    EXPECT_NE(readBytes(file).find("[Kest]"), std::string::npos);
}

TEST(SettingsStore, NamesMatchInAnyCase) {
    TempDir folder;
    const std::string file = folder.file("s.ini");
    writeBytes(file, "[Kest]\nEnablemulti=1\n");
    {
        QtSettingsBackend store(file);
        EXPECT_EQ(store.readText("ENABLEMULTI"), "1");
        store.writeText("EnableMulti", "0");
        EXPECT_EQ(store.readText("enablemulti"), "0");
    }
    const std::string text = readBytes(file);
    EXPECT_EQ(text.find("EnableMulti"), std::string::npos) << text;  // one value, first spelling
    EXPECT_NE(text.find("Enablemulti=0"), std::string::npos) << text;
}

TEST(SettingsStore, ValueThatIsNotTextReadsAsMissing) {
    TempDir folder;
    const std::string file = folder.file("s.ini");
    writeBytes(file,
               "[Kest]\nByrjunX=@Variant(\\0\\0\\0\\x2\\0\\0\\0\\x5)\nCountname1=@ByteArray(x)\n"
               "Countname2=Left\n");
    QtSettingsBackend store(file);
    EXPECT_FALSE(store.readText("ByrjunX").has_value());
    EXPECT_FALSE(store.readText("Countname1").has_value());
    Tsett s;
    s.Read_Registry(store);
    EXPECT_EQ(s.scanLeftEdge, 0);
    EXPECT_EQ(s.Countname[1], "Counter 1");
    EXPECT_EQ(s.Countname[2], "Left");
}

TEST(SettingsStore, DamagedFileReadsAsEmptyAndIsNotOverwritten) {
    const std::string damaged[] = {
        std::string("[Kest]\nByrjunX=300\n\0\x01\x02garbage\xFF\xFE", 28),
        "[Kest\nByrjunX=5\n\xC3",
    };
    for (const std::string& bytes : damaged) {
        TempDir folder;
        const std::string file = folder.file("s.ini");
        writeBytes(file, bytes);
        {
            QtSettingsBackend store(file);
            EXPECT_FALSE(store.usable());
            EXPECT_NE(store.problem().find("s.ini"), std::string::npos) << store.problem();
            Tsett s;
            s.Read_Registry(store);
            EXPECT_EQ(s.Reportpath, "C:\\Reports\\");
            s.rememberedFolder = "/somewhere/";
            s.saveRememberedFolder(store);
            s.Write_Registry(store);
            EXPECT_FALSE(store.sync());
        }
        EXPECT_EQ(readBytes(file), bytes);
    }
}

TEST(SettingsStore, MissingFileIsCreatedOnSave) {
    TempDir folder;
    const std::string file = folder.file("new/s.ini");
    {
        QtSettingsBackend store(file);
        EXPECT_TRUE(store.usable());
        EXPECT_FALSE(store.readText("lastfolderopend").has_value());
        Tsett s;
        s.rememberedFolder = "/data/";
        s.saveRememberedFolder(store);
    }
    QtSettingsBackend store(file);
    EXPECT_EQ(store.readText("LastFolderOpend"), "/data/");
}

}  // namespace
}  // namespace velkor
