// The notes and hand counts of one open recording as the window keeps them: found on opening
// (beside the recording, else the copy in the user's data folder), every change written at once
// through the replacing writer, the data folder taking over when the folder beside cannot be
// written, and a file that is not notes left alone until the user agrees to replace it. A plain
// object without widgets: the window shows its notes and its messages.
#pragma once

#include <cstdint>
#include <string>

#include "settings/session_notes.h"

namespace velkor {

class SessionNotesKeeper {
public:
    // What a change came to: written to file(), or not, and what the window should say (empty
    // when the notes were written where they were kept before).
    struct Saving {
        bool written = false;
        std::string message;
    };

    // Finds and reads the notes of `recording` (UTF-8 names). `dataFolder` is the user's data
    // folder, where the notes of a recording in a folder that cannot be written are kept (empty:
    // none, and such a recording's notes cannot be written). Reads
    // nothing more and writes nothing: a session gets a notes file only with its first change.
    SessionNotesKeeper(std::string recording, std::string dataFolder);

    const SessionNotes& notes() const { return notes_; }
    // The notes file read, or the one the next change is written to.
    const std::string& file() const { return file_; }
    // What was found on opening: absent, read, or a file that is not notes (unreadable, damaged,
    // foreign), which keeps file() and is not written over until replaceFile() is called.
    NotesFileState state() const { return state_; }
    bool inDataFolder() const { return inDataFolder_; }
    bool awaitsReplacing() const;
    // For the window after opening: a file that is not notes named with its problem, or where the
    // notes are kept when that is not beside the recording; empty otherwise.
    const std::string& message() const { return message_; }

    // A note on the frame whose first line is `line` (from 1); `channel` 0..4, 0 the whole frame.
    // Raises std::invalid_argument for a line or channel out of range.
    Saving addNote(int64_t line, int32_t channel, std::string text);
    // The note at `index` of notes().notes; raises std::out_of_range for an index not there.
    Saving editNote(size_t index, std::string text);
    Saving deleteNote(size_t index);
    // The hand count of channel 1..4 (0 is a count like any other); raises std::invalid_argument
    // for a channel or a count out of range (0..maxHandCount).
    Saving setHandCount(int32_t channel, int64_t count);
    Saving clearHandCount(int32_t channel);

    // The user agreed to replace a file that is not notes: the notes as they stand now are
    // written over it.
    Saving replaceFile();

private:
    Saving save();
    Saving writeHere();

    std::string recording_;
    std::string dataFolder_;
    std::string file_;
    NotesFileState state_ = NotesFileState::absent;
    std::string problem_;  // of a file that is not notes
    bool inDataFolder_ = false;
    SessionNotes notes_;
    SessionNotes written_;  // as the file holds them, so that a change to nothing writes nothing
    std::string message_;
};

}  // namespace velkor
