// A session's notes file: the hand counts and the notes on frames that a technician keeps about a
// recording, in NAME.notes.json beside it. The format is documented for other tools to write too:
//   {"version": 1, "handCounts": {"1": 630}, "notes": [{"line": 120001, "channel": 1, "text":
//   "…"}]}
// `line` is the first line of the frame noted, so a note survives another frame width; `channel`
// 0 means the whole frame. Keys this program does not know are kept as they were when it writes
// the file again. A file it cannot take as notes is reported, never silently replaced.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

namespace velkor {

struct FrameNote {
    int64_t line = 1;       // the first line of the frame noted, from 1
    int32_t channel = 0;    // 1..4, or 0 for the whole frame
    std::string text;       // UTF-8
    std::string otherKeys;  // keys of this note that another tool wrote, as a JSON object's text
    bool operator==(const FrameNote&) const = default;
};

struct SessionNotes {
    std::map<int32_t, int64_t> handCounts;  // channel (1..4) -> the fish counted by hand (0 too)
    std::vector<FrameNote> notes;           // in the order they were added
    std::string otherKeys;                  // top-level keys another tool wrote, as JSON text
    bool empty() const { return handCounts.empty() && notes.empty(); }
    bool operator==(const SessionNotes&) const = default;
};

// The largest hand count a file may hold: far beyond any session, and exact in every JSON reader.
inline constexpr int64_t maxHandCount = 999'999'999;

enum class NotesFileState {
    absent,      // no notes file: a session without notes
    read,        // the notes are in `notes`
    unreadable,  // the file exists but cannot be opened or read
    damaged,     // not JSON, or a value of the format is wrong
    foreign,     // JSON, but not a notes file of a version this program knows
};

struct NotesFileReading {
    NotesFileState state = NotesFileState::absent;
    SessionNotes notes;
    std::string problem;  // for unreadable, damaged and foreign: what is wrong, for a message
};

// The notes file beside a recording (UTF-8 names): "day4.blb" and "day4.blc" -> "day4.notes.json".
std::string notesFileBeside(const std::string& recording);
// Where the notes of a recording in a folder that cannot be written are kept instead: under
// `dataFolder`/notes, in folders that repeat the recording's full path (a drive "C:" becomes "C"),
// so that recordings of the same name in different folders keep their own notes.
std::string notesFileInDataFolder(const std::string& dataFolder, const std::string& recording);

// Notes at another frame width. A note holds the first line of the frame it was made on, so at a
// width W it belongs to the frame that holds that line: frame (line-1)/W+1, whose first line is
// (frame-1)*W+1. Lines of 64 bits, since a file written by another tool may name any line.
// Both raise std::invalid_argument for a width or a line or frame below 1.
int64_t frameOfNoteLine(int64_t line, int32_t frameWidth);
int64_t firstLineOfFrame(int64_t frame, int32_t frameWidth);
// The positions in `notes.notes` of the notes on frame `frame` at width `frameWidth`, in order.
std::vector<size_t> notesOnFrame(const SessionNotes& notes, int64_t frame, int32_t frameWidth);

// Reads a notes file; the state says whether there were notes, and what is wrong if not.
NotesFileReading readNotesFile(const std::string& path);
// The file's text for `notes`: the format above, indented, in UTF-8.
std::string notesFileText(const SessionNotes& notes);
// Writes the notes through a replacing file, so that a failure or a crash never leaves a half
// file; raises FileAccessError naming the file when it cannot be written.
void writeNotesFile(const std::string& path, const SessionNotes& notes);

}  // namespace velkor
