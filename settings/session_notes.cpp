// Reading and writing a session's notes file; the format is described in session_notes.h.
#include "settings/session_notes.h"

#include <filesystem>
#include <fstream>
#include <iterator>
#include <nlohmann/json.hpp>
#include <stdexcept>
#include <system_error>

#include "io/errors.h"
#include "io/file_names.h"
#include "io/replacing_file.h"

namespace velkor {
namespace {

using json = nlohmann::ordered_json;
namespace fs = std::filesystem;

constexpr int64_t notesVersion = 1;

// Thrown while a read file is checked: what is wrong with it, for the reading's problem text.
struct WrongValue {
    std::string problem;
};

bool isWholeNumber(const json& value) {
    return value.is_number_integer() || value.is_number_unsigned();
}

int64_t wholeNumberIn(const json& value, int64_t low, int64_t high, const std::string& what) {
    if (isWholeNumber(value)) {
        // An unsigned value beyond int64_t's range is out of range too.
        if (value.is_number_unsigned() && value.get<uint64_t>() > uint64_t(high))
            throw WrongValue{what + " is " + value.dump() + ", not a whole number from " +
                             std::to_string(low) + " to " + std::to_string(high)};
        const int64_t n = value.get<int64_t>();
        if (n >= low && n <= high) return n;
    }
    throw WrongValue{what + " is " + value.dump(-1, ' ', false, json::error_handler_t::replace) +
                     ", not a whole number from " + std::to_string(low) + " to " +
                     std::to_string(high)};
}

// The keys of `object` other than `known`, as a JSON object's text (empty when there are none).
std::string otherKeysOf(const json& object, std::initializer_list<const char*> known) {
    json others = json::object();
    for (auto it = object.begin(); it != object.end(); ++it) {
        bool isKnown = false;
        for (const char* k : known) isKnown = isKnown || it.key() == k;
        if (!isKnown) others[it.key()] = it.value();
    }
    return others.empty() ? std::string() : others.dump();
}

void addOtherKeys(json& object, const std::string& otherKeys) {
    if (otherKeys.empty()) return;
    const json others = json::parse(otherKeys, nullptr, false);
    if (!others.is_object()) return;
    for (auto it = others.begin(); it != others.end(); ++it)
        if (!object.contains(it.key())) object[it.key()] = it.value();
}

SessionNotes notesOf(const json& file) {
    SessionNotes notes;
    if (file.contains("handCounts")) {
        const json& counts = file["handCounts"];
        if (!counts.is_object()) throw WrongValue{"\"handCounts\" is not an object"};
        for (auto it = counts.begin(); it != counts.end(); ++it) {
            const std::string& key = it.key();
            if (key.size() != 1 || key[0] < '1' || key[0] > '4')
                throw WrongValue{"\"handCounts\" names channel \"" + key +
                                 "\", not a channel from 1 to 4"};
            notes.handCounts[key[0] - '0'] =
                wholeNumberIn(it.value(), 0, maxHandCount, "the hand count of channel " + key);
        }
    }
    if (file.contains("notes")) {
        const json& list = file["notes"];
        if (!list.is_array()) throw WrongValue{"\"notes\" is not a list"};
        for (size_t i = 0; i < list.size(); ++i) {
            const json& entry = list[i];
            const std::string which = "note " + std::to_string(i + 1);
            if (!entry.is_object()) throw WrongValue{which + " is not an object"};
            FrameNote note;
            if (!entry.contains("line")) throw WrongValue{which + " has no \"line\""};
            note.line = wholeNumberIn(entry["line"], 1, INT64_MAX, "the line of " + which);
            if (entry.contains("channel"))
                note.channel =
                    int32_t(wholeNumberIn(entry["channel"], 0, 4, "the channel of " + which));
            if (entry.contains("text")) {
                if (!entry["text"].is_string())
                    throw WrongValue{"the text of " + which + " is not text"};
                note.text = entry["text"].get<std::string>();
            }
            note.otherKeys = otherKeysOf(entry, {"line", "channel", "text"});
            notes.notes.push_back(std::move(note));
        }
    }
    notes.otherKeys = otherKeysOf(file, {"version", "handCounts", "notes"});
    return notes;
}

}  // namespace

std::string notesFileBeside(const std::string& recording) {
    fs::path path = pathFromUtf8(recording);
    path.replace_extension(".notes.json");
    return utf8FromPath(path);
}

std::string notesFileInDataFolder(const std::string& dataFolder, const std::string& recording) {
    const fs::path full = fs::absolute(pathFromUtf8(recording));
    fs::path kept = pathFromUtf8(dataFolder) / "notes";
    std::string drive = utf8FromPath(full.root_name());
    std::erase(drive, ':');
    // A network share's root ("\\server\share") keeps its names as folders.
    for (auto& c : drive)
        if (c == '\\' || c == '/') c = ' ';
    if (drive.find_first_not_of(' ') != std::string::npos)
        kept /= pathFromUtf8(drive.substr(drive.find_first_not_of(' ')));
    for (const fs::path& part : full.relative_path().parent_path()) kept /= part;
    kept /= pathFromUtf8(recording).filename();
    return notesFileBeside(utf8FromPath(kept));
}

int64_t frameOfNoteLine(int64_t line, int32_t frameWidth) {
    if (frameWidth < 1) throw std::invalid_argument("a frame width below 1");
    if (line < 1) throw std::invalid_argument("a line below 1");
    return (line - 1) / frameWidth + 1;
}

int64_t firstLineOfFrame(int64_t frame, int32_t frameWidth) {
    if (frameWidth < 1) throw std::invalid_argument("a frame width below 1");
    if (frame < 1) throw std::invalid_argument("a frame below 1");
    if (frame - 1 > (INT64_MAX - 1) / frameWidth) throw std::invalid_argument("a frame too far");
    return (frame - 1) * frameWidth + 1;
}

std::vector<size_t> notesOnFrame(const SessionNotes& notes, int64_t frame, int32_t frameWidth) {
    std::vector<size_t> on;
    for (size_t i = 0; i < notes.notes.size(); ++i)
        if (frameOfNoteLine(notes.notes[i].line, frameWidth) == frame) on.push_back(i);
    return on;
}

NotesFileReading readNotesFile(const std::string& path) {
    NotesFileReading reading;
    std::error_code error;
    const fs::path file = pathFromUtf8(path);
    if (!fs::exists(file, error)) return reading;  // absent
    if (!fs::is_regular_file(file, error)) {
        reading.state = NotesFileState::unreadable;
        reading.problem = "is not a file";
        return reading;
    }
    std::ifstream in(file, std::ios::binary);
    if (!in.is_open()) {
        reading.state = NotesFileState::unreadable;
        reading.problem = "cannot be opened";
        return reading;
    }
    std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (in.bad()) {
        reading.state = NotesFileState::unreadable;
        reading.problem = "cannot be read";
        return reading;
    }
    json parsed;
    try {
        parsed = json::parse(text);
    } catch (const json::parse_error& e) {
        reading.state = NotesFileState::damaged;
        reading.problem =
            "is not a notes file that can be read: the text breaks off or is wrong at "
            "byte " +
            std::to_string(e.byte);
        return reading;
    }
    if (!parsed.is_object() || !parsed.contains("version")) {
        reading.state = NotesFileState::foreign;
        reading.problem = "is not a notes file of this program (it has no \"version\")";
        return reading;
    }
    if (!isWholeNumber(parsed["version"]) || parsed["version"].get<int64_t>() != notesVersion) {
        reading.state = NotesFileState::foreign;
        reading.problem = "is a notes file of version " + parsed["version"].dump() +
                          "; this program reads version " + std::to_string(notesVersion);
        return reading;
    }
    try {
        reading.notes = notesOf(parsed);
    } catch (const WrongValue& wrong) {
        reading.state = NotesFileState::damaged;
        reading.problem = "is damaged: " + wrong.problem;
        return reading;
    }
    reading.state = NotesFileState::read;
    return reading;
}

std::string notesFileText(const SessionNotes& notes) {
    json file = json::object();
    file["version"] = notesVersion;
    json counts = json::object();
    for (const auto& [channel, count] : notes.handCounts) counts[std::to_string(channel)] = count;
    file["handCounts"] = counts;
    json list = json::array();
    for (const FrameNote& note : notes.notes) {
        json entry = {{"line", note.line}, {"channel", note.channel}, {"text", note.text}};
        addOtherKeys(entry, note.otherKeys);
        list.push_back(entry);
    }
    file["notes"] = list;
    addOtherKeys(file, notes.otherKeys);
    return file.dump(2, ' ', false, json::error_handler_t::replace) + "\n";
}

void writeNotesFile(const std::string& path, const SessionNotes& notes) {
    replaceFileContent(path, notesFileText(notes));
}

}  // namespace velkor
