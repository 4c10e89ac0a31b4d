// Start-up and closing: the one-shot timer opens the command-line recording or asks for one,
// a cancelled choice closes the window, a compressed choice is unpacked, and closing loads the
// stored settings.
#include <QTest>

#include "replay/record_writer.h"
#include "tests/support/window_fixture.h"

namespace velkor::test {
namespace {

class StartupTest : public WindowTest {
protected:
    // A window shown as the program shows it: the timer is left to fire.
    void showWindow() {
        window = std::make_unique<TfrmRecord>(settings, &store, messages);
        window->resize(800, 600);
        window->show();
    }
    Session small() {
        Session s;
        s.lineCount = 500;
        return s;
    }
};

TEST_F(StartupTest, TheCommandLineRecordingOpensWithoutADialog) {
    const std::string recording = session("first", small());
    bool asked = false;
    showWindow();
    window->setRecordingArgument(QString::fromStdString(recording));
    window->chooseRecording = [&asked] {
        asked = true;
        return std::optional<TfrmRecord::ChosenRecording>();
    };
    QTRY_VERIFY(window->engine().isOpen());
    EXPECT_FALSE(asked);
    EXPECT_EQ(window->engine().frameWidth(), window->PaintBox1->width());
    EXPECT_EQ(window->engine().currentFrame(), 1);
    // Opening remembered the recording's folder in the store.
    const auto folder = store.readText("lastfolderopend");
    ASSERT_TRUE(folder.has_value());
    EXPECT_EQ(*folder + "first.blb", recording);
}

TEST_F(StartupTest, ACancelledChoiceClosesTheWindow) {
    showWindow();
    window->chooseRecording = [] { return std::optional<TfrmRecord::ChosenRecording>(); };
    QTRY_VERIFY(!window->isVisible());
    EXPECT_FALSE(window->engine().isOpen());
    EXPECT_TRUE(messages.shown.empty());
}

TEST_F(StartupTest, ARecordingChosenAsCompressedIsUnpackedFirst) {
    const std::string plain = session("packed", small());
    compressRecord(plain, dir.file("packed.blc"));
    std::filesystem::remove(plain);
    showWindow();
    window->chooseRecording = [this] {
        return std::optional<TfrmRecord::ChosenRecording>(
            {QString::fromStdString(dir.file("packed.blc")), true});
    };
    QTRY_VERIFY(window->engine().isOpen());
    EXPECT_EQ(window->engine().recordingName(), plain);
    EXPECT_TRUE(std::filesystem::exists(plain));
}

TEST_F(StartupTest, ClosingLoadsTheStoredSettings) {
    store.writeText("ByrjunX", "5");
    store.writeText("ByrjunY", "400");
    showWindow();
    window->setRecordingArgument(QString::fromStdString(session("first", small())));
    QTRY_VERIFY(window->engine().isOpen());
    EXPECT_EQ(settings.scanRightEdge, 511);  // the session's value while it is shown
    window->SpeedButton2->click();
    EXPECT_FALSE(window->isVisible());
    EXPECT_EQ(settings.scanLeftEdge, 5);
    EXPECT_EQ(settings.scanRightEdge, 400);
}

}  // namespace
}  // namespace velkor::test
