// Keeping the notes of an open recording: which file, and writing every change at once.
#include "settings/session_notes_keeper.h"

#include <filesystem>
#include <stdexcept>
#include <system_error>

#include "io/errors.h"
#include "io/file_names.h"

namespace velkor {
namespace {

namespace fs = std::filesystem;

// Whether the file `a` was written after `b` (both exist).
bool writtenAfter(const std::string& a, const std::string& b) {
    std::error_code ea, eb;
    const auto ta = fs::last_write_time(pathFromUtf8(a), ea);
    const auto tb = fs::last_write_time(pathFromUtf8(b), eb);
    return !ea && !eb && ta > tb;
}

void writeCreatingFolders(const std::string& file, const SessionNotes& notes) {
    const fs::path folder = pathFromUtf8(file).parent_path();
    std::error_code error;
    fs::create_directories(folder, error);
    if (error)
        throw FileAccessError(
            file, "cannot create the folder " + utf8FromPath(folder) + ": " + error.message());
    writeNotesFile(file, notes);
}

std::string keptMessage(const std::string& kept, const std::string& beside) {
    return "Notes are kept in " + kept + " because " + beside + " could not be written";
}

}  // namespace

SessionNotesKeeper::SessionNotesKeeper(std::string recording, std::string dataFolder)
    : recording_(std::move(recording)), dataFolder_(std::move(dataFolder)) {
    const std::string beside = notesFileBeside(recording_);
    const std::string kept =
        dataFolder_.empty() ? std::string() : notesFileInDataFolder(dataFolder_, recording_);
    NotesFileReading reading = readNotesFile(beside);
    file_ = beside;
    const NotesFileReading copy = dataFolder_.empty() ? NotesFileReading{} : readNotesFile(kept);
    if (copy.state != NotesFileState::absent) {
        // The copy is made only when the folder beside could not be written, so of two good files
        // it is the one written last that holds the latest notes.
        const bool takeCopy =
            reading.state == NotesFileState::absent ||
            (copy.state == NotesFileState::read &&
             (reading.state != NotesFileState::read || writtenAfter(kept, beside)));
        if (takeCopy) {
            reading = copy;
            file_ = kept;
            inDataFolder_ = true;
        }
    }
    state_ = reading.state;
    if (state_ == NotesFileState::read) {
        notes_ = std::move(reading.notes);
        written_ = notes_;
        if (inDataFolder_) message_ = keptMessage(kept, beside);
    } else if (state_ != NotesFileState::absent) {
        problem_ = reading.problem;
        message_ = file_ + " " + problem_;
    }
}

bool SessionNotesKeeper::awaitsReplacing() const {
    return state_ != NotesFileState::absent && state_ != NotesFileState::read;
}

SessionNotesKeeper::Saving SessionNotesKeeper::addNote(int64_t line, int32_t channel,
                                                       std::string text) {
    if (line < 1) throw std::invalid_argument("a note's line below 1");
    if (channel < 0 || channel > 4) throw std::invalid_argument("a note's channel not 0..4");
    notes_.notes.push_back({line, channel, std::move(text), {}});
    return save();
}

SessionNotesKeeper::Saving SessionNotesKeeper::editNote(size_t index, std::string text) {
    notes_.notes.at(index).text = std::move(text);
    return save();
}

SessionNotesKeeper::Saving SessionNotesKeeper::deleteNote(size_t index) {
    if (index >= notes_.notes.size()) throw std::out_of_range("no note at that position");
    notes_.notes.erase(notes_.notes.begin() + static_cast<std::ptrdiff_t>(index));
    return save();
}

SessionNotesKeeper::Saving SessionNotesKeeper::setHandCount(int32_t channel, int64_t count) {
    if (channel < 1 || channel > 4) throw std::invalid_argument("a hand count's channel not 1..4");
    if (count < 0 || count > maxHandCount) throw std::invalid_argument("a hand count out of range");
    notes_.handCounts[channel] = count;
    return save();
}

SessionNotesKeeper::Saving SessionNotesKeeper::clearHandCount(int32_t channel) {
    if (channel < 1 || channel > 4) throw std::invalid_argument("a hand count's channel not 1..4");
    notes_.handCounts.erase(channel);
    return save();
}

SessionNotesKeeper::Saving SessionNotesKeeper::replaceFile() {
    if (!awaitsReplacing()) return save();
    Saving saving = writeHere();
    if (saving.written) {
        state_ = NotesFileState::read;
        problem_.clear();
        if (!inDataFolder_) message_.clear();
    }
    return saving;
}

SessionNotesKeeper::Saving SessionNotesKeeper::save() {
    if (awaitsReplacing())
        return {false,
                file_ + " " + problem_ + "; the notes are not written until it may be replaced"};
    // A change back to what the file holds writes nothing, and no file is made for no notes.
    if (notes_ == written_) return {true, {}};
    return writeHere();
}

SessionNotesKeeper::Saving SessionNotesKeeper::writeHere() {
    try {
        writeNotesFile(file_, notes_);
        written_ = notes_;
        return {true, {}};
    } catch (const FileAccessError& failed) {
        // Without a data folder there is nowhere else (a relative name would land wherever the
        // program was started).
        if (inDataFolder_ || dataFolder_.empty())
            return {false, "The notes could not be written: " + std::string(failed.what())};
        // The folder beside cannot be written (a read-only archive, a full disk): the data folder
        // keeps them, and says so.
        const std::string kept = notesFileInDataFolder(dataFolder_, recording_);
        try {
            writeCreatingFolders(kept, notes_);
        } catch (const FileAccessError& alsoFailed) {
            return {false, "The notes could not be written: " + std::string(failed.what()) + "; " +
                               alsoFailed.what()};
        }
        message_ = "Notes are kept in " + kept + " because " + file_ +
                   " cannot be written: " + failed.problem();
        file_ = kept;
        inDataFolder_ = true;
        written_ = notes_;
        return {true, message_};
    }
}

}  // namespace velkor
