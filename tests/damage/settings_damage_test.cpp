// The settings rows of the damage catalogue: the engine opening a good recording while the
// settings store behind it is unreadable (a folder where the file should be) or garbled (bytes
// that are not text). The store says what is wrong, naming the file; the opening goes on with
// the defaults; the settings file stays byte for byte as it was.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "replay/record_writer.h"
#include "replay/replay_engine.h"
#include "settings/report_writer.h"
#include "settings_store/qt_settings_backend.h"
#include "tests/support/bytes.h"
#include "tests/support/temp_dir.h"

namespace velkor {
namespace {

namespace fs = std::filesystem;
using test::readBytes;

TEST(SettingsDamage, UnreadableOrGarbledStoreNamesTheFileAndStaysAsItWas) {
    const test::TempDir folder;
    const fs::path& dir = folder.path();
    const std::string recording = (dir / "session.blb").string();
    {
        RecordWriter writer(recording, 0, 511);
        for (int k = 0; k < 300; ++k) writer.writeLine({{100, 130}});
        writer.finish();
        ReportContent report;
        report.channels.resize(1);
        saveSessionReport(report, (dir / "session.mse").string());
    }
    const std::string garbled = std::string("[Kest]\nByrjunX=3\n\0\x01\xFF\xFE", 22);
    for (const bool unreadable : {true, false}) {
        SCOPED_TRACE(unreadable ? "unreadable" : "garbled");
        const fs::path ini = dir / (unreadable ? "unreadable.ini" : "garbled.ini");
        if (unreadable) {
            fs::create_directory(ini);
        } else {
            std::ofstream(ini, std::ios::binary).write(garbled.data(), garbled.size());
        }
        {
            QtSettingsBackend store(ini.string());
            EXPECT_FALSE(store.usable());
            EXPECT_NE(store.problem().find(ini.filename().string()), std::string::npos)
                << store.problem();
            Tsett settings;
            settings.Read_Registry(store);
            ReplayEngine engine(settings, &store);
            engine.setFrameWidth(100);
            EXPECT_TRUE(engine.OpenBlbFile(recording));
            EXPECT_EQ(engine.lineCount(), 300);
            engine.endbtnClick();
            EXPECT_FALSE(store.sync());
        }
        if (unreadable) {
            EXPECT_TRUE(fs::is_directory(ini));
            EXPECT_TRUE(fs::is_empty(ini));
        } else {
            EXPECT_EQ(readBytes(ini), garbled);
        }
    }
}

}  // namespace
}  // namespace velkor
