// A session's notes file as a technician's tool and other tools meet it: the documented example
// read as it stands, every note and hand count (0 included, non-ASCII text) read back as written,
// keys of other tools kept, and every file that is not notes named with what is wrong.
#include "settings/session_notes.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "io/errors.h"
#include "io/file_names.h"
#include "tests/support/bytes.h"
#include "tests/support/temp_dir.h"

namespace velkor {
namespace {

using test::readBytes;
using test::TempDir;
using test::writeBytes;

NotesFileReading readText(const std::string& text) {
    TempDir dir;
    writeBytes(dir.file("s.notes.json"), text);
    return readNotesFile(dir.file("s.notes.json"));
}

TEST(SessionNotes, TheDocumentedExampleReadsAsItStands) {
    const NotesFileReading r = readText(
        R"({"version": 1, "handCounts": {"1": 630}, "notes": [{"line": 120001, "channel": 1, )"
        R"("text": "two fry touching here"}]})");
    ASSERT_EQ(r.state, NotesFileState::read) << r.problem;
    EXPECT_EQ(r.notes.handCounts, (std::map<int32_t, int64_t>{{1, 630}}));
    ASSERT_EQ(r.notes.notes.size(), 1u);
    EXPECT_EQ(r.notes.notes[0].line, 120001);
    EXPECT_EQ(r.notes.notes[0].channel, 1);
    EXPECT_EQ(r.notes.notes[0].text, "two fry touching here");
    EXPECT_TRUE(r.notes.otherKeys.empty());
}

TEST(SessionNotes, WhatIsWrittenReadsBackTheSameWithZeroesAndNonAsciiText) {
    SessionNotes notes;
    notes.handCounts = {{1, 0}, {3, 12'345'678}, {4, maxHandCount}};  // a hand count of 0 is one
    notes.notes = {{1, 0, "Anfang: zwei Fische berühren sich …", ""},
                   {120001, 4, "µ-Größe → zu klein", ""},
                   {96'000'000, 2, "", ""},
                   {7, 1, "line \"quoted\"\nsecond line\ttab", ""}};
    TempDir dir;
    const std::string path = dir.file("Tänk 4.notes.json");
    writeNotesFile(path, notes);
    const NotesFileReading r = readNotesFile(path);
    ASSERT_EQ(r.state, NotesFileState::read) << r.problem;
    EXPECT_EQ(r.notes, notes);
    // The text is UTF-8 as typed, the version first, as the format is documented.
    const std::string text = readBytes(pathFromUtf8(path));
    EXPECT_EQ(text.rfind("{\n  \"version\": 1,\n  \"handCounts\"", 0), 0u) << text;
    EXPECT_NE(text.find("berühren sich …"), std::string::npos);
    EXPECT_NE(text.find("\"1\": 0"), std::string::npos);
}

TEST(SessionNotes, KeysOfOtherToolsStayWhenTheFileIsWrittenAgain) {
    const NotesFileReading r = readText(
        R"({"version": 1, "tool": {"name": "scale", "grams": 12.5}, "handCounts": {"2": 40},)"
        R"( "notes": [{"line": 5, "text": "x", "by": "Ana"}, {"line": 9}]})");
    ASSERT_EQ(r.state, NotesFileState::read) << r.problem;
    EXPECT_EQ(r.notes.notes[1].channel, 0);  // no channel: the whole frame
    EXPECT_EQ(r.notes.notes[1].text, "");
    SessionNotes changed = r.notes;
    changed.notes.push_back({11, 3, "new", ""});
    const std::string text = notesFileText(changed);
    EXPECT_NE(text.find("\"tool\": {\n    \"name\": \"scale\",\n    \"grams\": 12.5\n  }"),
              std::string::npos)
        << text;
    EXPECT_NE(text.find("\"by\": \"Ana\""), std::string::npos) << text;
    EXPECT_EQ(readText(text).notes, changed);
}

TEST(SessionNotes, AFileThatIsNotNotesIsNamedWithWhatIsWrong) {
    const struct {
        const char* text;
        NotesFileState state;
        const char* problem;
    } cases[] = {
        {R"({"version": 1, "notes": [)", NotesFileState::damaged,
         "is not a notes file that can be read: the text breaks off or is wrong at byte 26"},
        {"", NotesFileState::damaged,
         "is not a notes file that can be read: the text breaks off or is wrong at byte 1"},
        {R"([1, 2])", NotesFileState::foreign,
         "is not a notes file of this program (it has no \"version\")"},
        {R"({"name": "report"})", NotesFileState::foreign,
         "is not a notes file of this program (it has no \"version\")"},
        {R"({"version": 2})", NotesFileState::foreign,
         "is a notes file of version 2; this program reads version 1"},
        {R"({"version": "1"})", NotesFileState::foreign,
         "is a notes file of version \"1\"; this program reads version 1"},
        {R"({"version": 0})", NotesFileState::foreign,
         "is a notes file of version 0; this program reads version 1"},
        {R"({"version": 1, "handCounts": [630]})", NotesFileState::damaged,
         "is damaged: \"handCounts\" is not an object"},
        {R"({"version": 1, "handCounts": {"5": 1}})", NotesFileState::damaged,
         "is damaged: \"handCounts\" names channel \"5\", not a channel from 1 to 4"},
        {R"({"version": 1, "handCounts": {"0": 1}})", NotesFileState::damaged,
         "is damaged: \"handCounts\" names channel \"0\", not a channel from 1 to 4"},
        {R"({"version": 1, "handCounts": {"2": -1}})", NotesFileState::damaged,
         "is damaged: the hand count of channel 2 is -1, not a whole number from 0 to 999999999"},
        {R"({"version": 1, "handCounts": {"4": 1000000000}})", NotesFileState::damaged,
         "is damaged: the hand count of channel 4 is 1000000000, not a whole number from 0 to "
         "999999999"},
        {R"({"version": 1, "handCounts": {"1": 6.5}})", NotesFileState::damaged,
         "is damaged: the hand count of channel 1 is 6.5, not a whole number from 0 to 999999999"},
        {R"({"version": 1, "notes": {}})", NotesFileState::damaged,
         "is damaged: \"notes\" is not a list"},
        {R"({"version": 1, "notes": [{"line": 1}, 7]})", NotesFileState::damaged,
         "is damaged: note 2 is not an object"},
        {R"({"version": 1, "notes": [{"text": "x"}]})", NotesFileState::damaged,
         "is damaged: note 1 has no \"line\""},
        {R"({"version": 1, "notes": [{"line": 0}]})", NotesFileState::damaged,
         "is damaged: the line of note 1 is 0, not a whole number from 1 to 9223372036854775807"},
        {R"({"version": 1, "notes": [{"line": 18446744073709551615}]})", NotesFileState::damaged,
         "is damaged: the line of note 1 is 18446744073709551615, not a whole number from 1 to "
         "9223372036854775807"},
        {R"({"version": 1, "notes": [{"line": 3, "channel": 5}]})", NotesFileState::damaged,
         "is damaged: the channel of note 1 is 5, not a whole number from 0 to 4"},
        {R"({"version": 1, "notes": [{"line": 3, "text": 12}]})", NotesFileState::damaged,
         "is damaged: the text of note 1 is not text"},
    };
    for (const auto& c : cases) {
        const NotesFileReading r = readText(c.text);
        EXPECT_EQ(r.state, c.state) << c.text;
        EXPECT_EQ(r.problem, c.problem) << c.text;
        EXPECT_TRUE(r.notes.empty()) << c.text;
    }
}

TEST(SessionNotes, NoFileIsASessionWithoutNotesAndAFolderCannotBeRead) {
    TempDir dir;
    const NotesFileReading absent = readNotesFile(dir.file("none.notes.json"));
    EXPECT_EQ(absent.state, NotesFileState::absent);
    EXPECT_TRUE(absent.notes.empty());
    std::filesystem::create_directory(dir.path() / "folder.notes.json");
    const NotesFileReading folder = readNotesFile(dir.file("folder.notes.json"));
    EXPECT_EQ(folder.state, NotesFileState::unreadable);
    EXPECT_EQ(folder.problem, "is not a file");
}

TEST(SessionNotes, AWriteThatFailsRaisesNamingTheFileAndLeavesTheOldOneWhole) {
    TempDir dir;
    const std::string path = dir.file("s.notes.json");
    SessionNotes notes;
    notes.handCounts[1] = 630;
    writeNotesFile(path, notes);
    const std::string before = readBytes(pathFromUtf8(path));
    const std::string elsewhere = dir.file("no such folder/s.notes.json");
    try {
        writeNotesFile(elsewhere, notes);
        FAIL() << "no error";
    } catch (const FileAccessError& e) {
        EXPECT_EQ(e.file(), elsewhere);
    }
    EXPECT_EQ(readBytes(pathFromUtf8(path)), before);
}

TEST(SessionNotes, TheFileBesideARecordingAndTheOneKeptInTheDataFolder) {
    const struct {
        const char* recording;
        const char* beside;
    } beside[] = {
        {"/archive/2026/day4.blb", "/archive/2026/day4.notes.json"},
        {"/archive/2026/day4.blc", "/archive/2026/day4.notes.json"},
        {"/a/Tänk 4.session.blb", "/a/Tänk 4.session.notes.json"},
        {"day4.blb", "day4.notes.json"},
    };
    for (const auto& c : beside) EXPECT_EQ(notesFileBeside(c.recording), c.beside);
#ifndef _WIN32
    EXPECT_EQ(notesFileInDataFolder("/home/ana/.local/share/Velkor", "/archive/2026/day4.blb"),
              "/home/ana/.local/share/Velkor/notes/archive/2026/day4.notes.json");
    // Recordings of one name in two folders keep their own notes.
    EXPECT_NE(notesFileInDataFolder("/d", "/x/day4.blb"),
              notesFileInDataFolder("/d", "/y/day4.blb"));
#else
    EXPECT_EQ(notesFileInDataFolder("C:\\Users\\ana\\AppData\\Local\\Velkor",
                                    "D:\\Archiv\\2026\\day4.blb"),
              "C:\\Users\\ana\\AppData\\Local\\Velkor\\notes\\D\\Archiv\\2026\\day4.notes.json");
#endif
}

}  // namespace
}  // namespace velkor
