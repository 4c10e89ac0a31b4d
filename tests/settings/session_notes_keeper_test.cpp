// The notes of an open recording as the window keeps them: written at every change and read again
// after a restart, kept in the data folder where the recording's folder cannot be written (saying
// where), an old file left whole when a write fails, a file that is not notes left alone until
// the user agrees, and notes found again at another frame width.
#include "settings/session_notes_keeper.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <stdexcept>
#include <string>

#include "io/file_names.h"
#include "tests/support/bytes.h"
#include "tests/support/read_only_folder.h"
#include "tests/support/small_disk.h"
#include "tests/support/temp_dir.h"

namespace velkor {
namespace {

namespace fs = std::filesystem;
using test::readBytes;
using test::TempDir;
using test::writeBytes;

bool exists(const std::string& utf8) {
    return fs::exists(pathFromUtf8(utf8));
}

// The names in a folder, to see that no temporary file was left behind.
std::vector<std::string> namesIn(const std::string& folder) {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(pathFromUtf8(folder)))
        names.push_back(utf8FromPath(entry.path().filename()));
    std::sort(names.begin(), names.end());
    return names;
}

TEST(SessionNotesKeeper, EveryChangeIsWrittenAtOnceAndARestartReadsIt) {
    TempDir dir, data;
    fs::create_directory(pathFromUtf8(dir.file("Archiv Tänk µ")));
    const std::string recording = dir.file("Archiv Tänk µ/Tag 4 – Kví.blb");
    const std::string beside = dir.file("Archiv Tänk µ/Tag 4 – Kví.notes.json");
    {
        SessionNotesKeeper keeper(recording, data.file("Velkor"));
        EXPECT_EQ(keeper.state(), NotesFileState::absent);
        EXPECT_EQ(keeper.file(), beside);
        EXPECT_EQ(keeper.message(), "");
        // Nothing to clear is no change: no file is made for it.
        EXPECT_TRUE(keeper.clearHandCount(3).written);
        EXPECT_FALSE(exists(beside));

        // A hand count of 0 is a count, written as one.
        const SessionNotesKeeper::Saving first = keeper.setHandCount(2, 0);
        EXPECT_TRUE(first.written);
        EXPECT_EQ(first.message, "");
        ASSERT_TRUE(exists(beside));
        EXPECT_EQ(readNotesFile(beside).notes.handCounts, (std::map<int32_t, int64_t>{{2, 0}}));

        EXPECT_TRUE(keeper.addNote(120001, 1, "zwei Fische berühren sich …").written);
        EXPECT_TRUE(keeper.addNote(1, 0, "Anfang: der ganze Rahmen").written);
        EXPECT_TRUE(keeper.addNote(5577, 4, "weg damit").written);
        EXPECT_TRUE(keeper.setHandCount(4, 630).written);
        EXPECT_TRUE(keeper.editNote(1, "Anfang – ganzer Rahmen, Kanal 0").written);
        EXPECT_TRUE(keeper.deleteNote(2).written);
        EXPECT_TRUE(keeper.clearHandCount(4).written);
        EXPECT_EQ(readNotesFile(beside).notes, keeper.notes());
        EXPECT_FALSE(exists(data.file("Velkor")));  // nothing beside the recording failed
    }
    const SessionNotesKeeper again(recording, data.file("Velkor"));
    EXPECT_EQ(again.state(), NotesFileState::read);
    EXPECT_EQ(again.message(), "");
    SessionNotes expected;
    expected.handCounts = {{2, 0}};
    expected.notes = {{120001, 1, "zwei Fische berühren sich …", ""},
                      {1, 0, "Anfang – ganzer Rahmen, Kanal 0", ""}};
    EXPECT_EQ(again.notes(), expected);
    EXPECT_EQ(namesIn(dir.file("Archiv Tänk µ")),
              (std::vector<std::string>{"Tag 4 – Kví.notes.json"}));
}

TEST(SessionNotesKeeper, ValuesOutOfRangeAreRefusedAndNothingIsWritten) {
    TempDir dir, data;
    SessionNotesKeeper keeper(dir.file("r.blb"), utf8FromPath(data.path()));
    EXPECT_THROW(keeper.setHandCount(0, 5), std::invalid_argument);
    EXPECT_THROW(keeper.setHandCount(5, 5), std::invalid_argument);
    EXPECT_THROW(keeper.setHandCount(1, -1), std::invalid_argument);
    EXPECT_THROW(keeper.setHandCount(1, maxHandCount + 1), std::invalid_argument);
    EXPECT_THROW(keeper.clearHandCount(0), std::invalid_argument);
    EXPECT_THROW(keeper.clearHandCount(5), std::invalid_argument);
    EXPECT_THROW(keeper.addNote(0, 1, "x"), std::invalid_argument);
    EXPECT_THROW(keeper.addNote(1, 5, "x"), std::invalid_argument);
    EXPECT_THROW(keeper.addNote(1, -1, "x"), std::invalid_argument);
    EXPECT_THROW(keeper.editNote(0, "x"), std::out_of_range);
    EXPECT_THROW(keeper.deleteNote(0), std::out_of_range);
    EXPECT_TRUE(keeper.notes().empty());
    EXPECT_FALSE(exists(dir.file("r.notes.json")));
    EXPECT_TRUE(keeper.setHandCount(1, maxHandCount).written);
}

#ifdef __linux__
TEST(SessionNotesKeeper, AReadOnlyFolderKeepsTheNotesInTheDataFolderAndSaysWhere) {
    test::ReadOnlyFolder archive;
    TempDir data;
    // Notes written while the archive could still be written; then it is made read-only.
    writeBytes(archive.file("Tänk 4.blb"), "a recording");
    SessionNotes before;
    before.handCounts = {{1, 630}};
    writeNotesFile(archive.file("Tänk 4.notes.json"), before);
    const std::string beforeBytes = readBytes(archive.file("Tänk 4.notes.json"));
    if (!archive.makeReadOnly()) GTEST_SKIP() << "cannot mount a read-only folder (not root?)";

    const std::string recording = archive.file("Tänk 4.blb");
    const std::string beside = archive.file("Tänk 4.notes.json");
    const std::string kept = notesFileInDataFolder(data.file("Velkor Daten"), recording);
    {
        SessionNotesKeeper keeper(recording, data.file("Velkor Daten"));
        EXPECT_EQ(keeper.state(), NotesFileState::read);
        EXPECT_EQ(keeper.file(), beside);
        const SessionNotesKeeper::Saving saving = keeper.addNote(557, 2, "µ-Größe → zu klein");
        EXPECT_TRUE(saving.written);
        EXPECT_EQ(saving.message, "Notes are kept in " + kept + " because " + beside +
                                      " cannot be written: cannot create a file in the folder " +
                                      archive.path() + ": Read-only file system");
        EXPECT_EQ(keeper.message(), saving.message);
        EXPECT_TRUE(keeper.inDataFolder());
        EXPECT_EQ(keeper.file(), kept);
        // Further changes go straight to the data folder.
        const SessionNotesKeeper::Saving next = keeper.setHandCount(3, 0);
        EXPECT_TRUE(next.written);
        EXPECT_EQ(next.message, "");
    }
    EXPECT_EQ(readBytes(beside), beforeBytes);
    {
        // Without a data folder the change stays unsaved, and says why.
        SessionNotesKeeper keeper(recording, "");
        EXPECT_EQ(keeper.file(), beside);
        const SessionNotesKeeper::Saving saving = keeper.setHandCount(2, 7);
        EXPECT_FALSE(saving.written);
        EXPECT_EQ(saving.message, "The notes could not be written: " + beside +
                                      ": cannot create a file in the folder " + archive.path() +
                                      ": Read-only file system");
        EXPECT_FALSE(keeper.inDataFolder());
    }
    // After a restart the copy is found, with the old notes and the new ones.
    const SessionNotesKeeper again(recording, data.file("Velkor Daten"));
    EXPECT_TRUE(again.inDataFolder());
    EXPECT_EQ(again.file(), kept);
    EXPECT_EQ(again.message(),
              "Notes are kept in " + kept + " because " + beside + " could not be written");
    EXPECT_EQ(again.notes().handCounts, (std::map<int32_t, int64_t>{{1, 630}, {3, 0}}));
    ASSERT_EQ(again.notes().notes.size(), 1u);
    EXPECT_EQ(again.notes().notes[0].text, "µ-Größe → zu klein");
}

TEST(SessionNotesKeeper, AWriteThatFailsLeavesTheOldFileWhole) {
    test::SmallDisk disk("64k");
    if (!disk.mounted()) GTEST_SKIP() << "cannot mount a small disk (not root?)";
    TempDir data;
    const std::string recording = disk.path() + "/day4.blb";
    const std::string beside = disk.path() + "/day4.notes.json";
    SessionNotesKeeper keeper(recording, data.file("Velkor"));
    ASSERT_TRUE(keeper.addNote(1, 0, "first").written);
    const std::string old = readBytes(beside);
    // The disk fills up: the next file cannot be written whole.
    ASSERT_TRUE(disk.fillUp());
    const SessionNotesKeeper::Saving saving = keeper.addNote(1117, 1, std::string(20000, 'n'));
    // The notes are kept whole in the data folder, and the one beside stays as it was.
    EXPECT_TRUE(saving.written);
    const std::string kept = notesFileInDataFolder(data.file("Velkor"), recording);
    EXPECT_EQ(saving.message, "Notes are kept in " + kept + " because " + beside +
                                  " cannot be written: cannot write: No space left on device");
    EXPECT_EQ(readBytes(beside), old);
    EXPECT_EQ(namesIn(disk.path()), (std::vector<std::string>{"day4.notes.json", "filler"}));
    EXPECT_EQ(readNotesFile(kept).notes, keeper.notes());
}

TEST(SessionNotesKeeper, WhenNeitherPlaceCanBeWrittenTheChangeIsNotSavedAndSaysWhy) {
    test::SmallDisk disk("64k");
    if (!disk.mounted()) GTEST_SKIP() << "cannot mount a small disk (not root?)";
    const std::string recording = disk.path() + "/day4.blb";
    const std::string beside = disk.path() + "/day4.notes.json";
    // The data folder is a file, so that no folder can be made in it.
    writeBytes(disk.path() + "/data", "");
    SessionNotesKeeper keeper(recording, disk.path() + "/data");
    ASSERT_TRUE(keeper.setHandCount(1, 630).written);
    const std::string old = readBytes(beside);
    ASSERT_TRUE(disk.fillUp());
    const SessionNotesKeeper::Saving saving = keeper.addNote(1, 0, std::string(20000, 'n'));
    EXPECT_FALSE(saving.written);
    const std::string kept = notesFileInDataFolder(disk.path() + "/data", recording);
    EXPECT_EQ(saving.message, "The notes could not be written: " + beside +
                                  ": cannot write: No space left on device; " + kept +
                                  ": cannot create the folder " +
                                  utf8FromPath(pathFromUtf8(kept).parent_path()) +
                                  ": Not a directory");
    EXPECT_EQ(readBytes(beside), old);
    EXPECT_FALSE(keeper.inDataFolder());
}
#endif

TEST(SessionNotesKeeper, AFileThatIsNotNotesIsNamedAndReplacedOnlyWhenTheUserAgrees) {
    const struct {
        const char* text;
        NotesFileState state;
        const char* problem;
    } cases[] = {
        {R"({"name": "Waage", "grams": 12.5})", NotesFileState::foreign,
         " is not a notes file of this program (it has no \"version\")"},
        {R"({"version": 2, "handCounts": {"1": 7}})", NotesFileState::foreign,
         " is a notes file of version 2; this program reads version 1"},
        {R"({"version": 1, "handCounts": {"1": 630}, "notes": [)", NotesFileState::damaged,
         " is not a notes file that can be read: the text breaks off or is wrong at byte 52"},
        {R"({"version": 1, "handCounts": {"9": 630}})", NotesFileState::damaged,
         " is damaged: \"handCounts\" names channel \"9\", not a channel from 1 to 4"},
    };
    for (const auto& c : cases) {
        TempDir dir, data;
        const std::string recording = dir.file("Kví 2.blc");
        const std::string file = dir.file("Kví 2.notes.json");
        writeBytes(pathFromUtf8(file), c.text);
        SessionNotesKeeper keeper(recording, data.file("Velkor"));
        EXPECT_EQ(keeper.state(), c.state) << c.text;
        EXPECT_TRUE(keeper.awaitsReplacing());
        EXPECT_EQ(keeper.message(), file + c.problem);
        EXPECT_TRUE(keeper.notes().empty());

        // Changes are kept, not written over the file nor anywhere else.
        const SessionNotesKeeper::Saving held = keeper.setHandCount(1, 0);
        EXPECT_FALSE(held.written);
        EXPECT_EQ(held.message,
                  file + c.problem + "; the notes are not written until it may be replaced");
        EXPECT_FALSE(keeper.addNote(2233, 0, "ganzer Rahmen").written);
        EXPECT_FALSE(keeper.clearHandCount(4).written);  // no change, but still not written
        EXPECT_EQ(readBytes(pathFromUtf8(file)), c.text);
        EXPECT_FALSE(exists(data.file("Velkor")));

        // Agreed: the notes as they stand replace it.
        const SessionNotesKeeper::Saving replaced = keeper.replaceFile();
        EXPECT_TRUE(replaced.written) << replaced.message;
        EXPECT_EQ(keeper.state(), NotesFileState::read);
        EXPECT_FALSE(keeper.awaitsReplacing());
        EXPECT_EQ(keeper.message(), "");
        const NotesFileReading r = readNotesFile(file);
        ASSERT_EQ(r.state, NotesFileState::read) << r.problem;
        EXPECT_EQ(r.notes.handCounts, (std::map<int32_t, int64_t>{{1, 0}}));
        ASSERT_EQ(r.notes.notes.size(), 1u);
        EXPECT_EQ(r.notes.notes[0].line, 2233);
        EXPECT_EQ(r.notes.notes[0].channel, 0);
        EXPECT_TRUE(keeper.addNote(5, 3, "danach").written);
        EXPECT_EQ(readNotesFile(file).notes, keeper.notes());
    }
}

TEST(SessionNotesKeeper, NotesAreFoundAgainAtAnotherFrameWidth) {
    // A note's line is the first line of the frame it was made on; at another width it belongs
    // to the frame that holds that line.
    const struct {
        int64_t madeOnFrame;
        int32_t madeAtWidth;
        int32_t width;
        int64_t frame;
    } cases[] = {
        {108, 1116, 557, 215},   // line 119413
        {108, 1116, 2001, 60},   // line 119413
        {108, 1116, 1, 119413},  // every line a frame
        {108, 1116, 1116, 108},  // the same width: the same frame
        {1, 1473, 2001, 1},      // the first frame is the first frame at any width
        {2, 2001, 2001, 2},      // line 2002
        {2, 2001, 2000, 2},      // line 2002 is the second line of frame 2 at 2000
        {2, 2001, 1001, 2},      // line 2002 is the last line of frame 2 at 1001
        {3, 1, 2, 2},            // line 3
    };
    for (const auto& c : cases) {
        const int64_t line = firstLineOfFrame(c.madeOnFrame, c.madeAtWidth);
        EXPECT_EQ(frameOfNoteLine(line, c.width), c.frame)
            << c.madeOnFrame << " at " << c.madeAtWidth << " read at " << c.width;
        // The frame found holds the line.
        EXPECT_LE(firstLineOfFrame(c.frame, c.width), line);
        EXPECT_GT(firstLineOfFrame(c.frame, c.width) + c.width, line);
    }
    EXPECT_EQ(firstLineOfFrame(108, 1116), 119413);
    // A line far beyond any recording (another tool may write one) has its frame all the same.
    EXPECT_EQ(frameOfNoteLine(INT64_MAX, 1), INT64_MAX);
    EXPECT_EQ(frameOfNoteLine(INT64_MAX, 2001), (INT64_MAX - 1) / 2001 + 1);
    EXPECT_EQ(firstLineOfFrame(INT64_MAX, 1), INT64_MAX);
    EXPECT_THROW(firstLineOfFrame(INT64_MAX, 2), std::invalid_argument);
    EXPECT_THROW(frameOfNoteLine(0, 1116), std::invalid_argument);
    EXPECT_THROW(frameOfNoteLine(1, 0), std::invalid_argument);
    EXPECT_THROW(firstLineOfFrame(0, 1116), std::invalid_argument);

    // The notes of a frame, in the order they were added, the whole frame's (channel 0) too.
    SessionNotes notes;
    notes.notes = {{119413, 1, "a", ""},
                   {1, 0, "b", ""},
                   {119970, 0, "c", ""},
                   {119414, 3, "d", ""},
                   {119969, 2, "e", ""}};
    EXPECT_EQ(notesOnFrame(notes, 108, 1116), (std::vector<size_t>{0, 2, 3, 4}));
    EXPECT_EQ(notesOnFrame(notes, 215, 557), (std::vector<size_t>{0, 3}));
    EXPECT_EQ(notesOnFrame(notes, 216, 557), (std::vector<size_t>{2, 4}));
    EXPECT_EQ(notesOnFrame(notes, 1, 2001), (std::vector<size_t>{1}));
    EXPECT_EQ(notesOnFrame(notes, 2, 2001), (std::vector<size_t>{}));
}

// A change that leaves the notes as they were writes nothing: a file another tool wrote keeps its
// own layout until the notes really change.
TEST(SessionNotesKeeper, AChangeThatChangesNothingLeavesTheFileAsItWasWritten) {
    TempDir dir, data;
    const std::string recording = dir.file("r.blb");
    const std::string written =
        "{ \"version\": 1,\n  \"handCounts\": { \"1\": 630 },\n  \"notes\": [] }\n";
    writeBytes(dir.file("r.notes.json"), written);
    SessionNotesKeeper keeper(recording, utf8FromPath(data.path()));
    ASSERT_EQ(keeper.notes().handCounts.at(1), 630);
    keeper.clearHandCount(2);
    keeper.setHandCount(1, 630);
    EXPECT_EQ(readBytes(pathFromUtf8(dir.file("r.notes.json"))), written);
    keeper.setHandCount(1, 0);  // a hand count of 0 is a change
    EXPECT_NE(readBytes(pathFromUtf8(dir.file("r.notes.json"))), written);
    EXPECT_EQ(SessionNotesKeeper(recording, utf8FromPath(data.path())).notes().handCounts.at(1), 0);
}

// Notes kept in the data folder while the folder beside could not be written are read, rather
// than a file beside that cannot be read, whichever was written last.
TEST(SessionNotesKeeper, TheDataFoldersNotesWinOverADamagedFileBeside) {
    TempDir dir, data;
    const std::string recording = dir.file("r.blb");
    const std::string kept = notesFileInDataFolder(utf8FromPath(data.path()), recording);
    SessionNotes notes;
    notes.handCounts[2] = 41;
    fs::create_directories(pathFromUtf8(kept).parent_path());
    writeNotesFile(kept, notes);
    fs::last_write_time(pathFromUtf8(kept),
                        fs::file_time_type::clock::now() - std::chrono::hours(1));
    writeBytes(dir.file("r.notes.json"), "{\"version\": 1, \"handCounts\": ");  // cut off
    const SessionNotesKeeper keeper(recording, utf8FromPath(data.path()));
    EXPECT_EQ(keeper.notes().handCounts.at(2), 41);
    EXPECT_NE(keeper.message().find("Notes are kept in " + kept), std::string::npos)
        << keeper.message();
}

}  // namespace
}  // namespace velkor
