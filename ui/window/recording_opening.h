// Opening a recording: the open dialog that asks for one in the folder opened last, file names
// handed to the engine in the file system's own encoding, a new engine opened with a busy cursor
// (the window shows it only once it has opened), and what to tell the user when it did not open
// or has damaged lines.
#pragma once

#include <QString>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "replay/replay_engine.h"

class QWidget;

namespace velkor {

// A recording chosen in the open dialog, and whether under "Compressed file".
struct ChosenRecording {
    QString fileName;
    bool compressed = false;
};

// OpenDialog1: a .blb or .blc recording, starting in the folder the store remembers (`store`
// may be null). Empty: cancelled.
std::optional<ChosenRecording> runOpenDialog(QWidget* parent, SettingsBackend* store);

// File names go to the engine in the file system's own encoding, which the program takes as
// UTF-8; on Windows (whose 8-bit encoding is the ANSI code page) that is UTF-8 itself.
std::string fileSystemName(const QString& name);
QString fromFileSystemName(const std::string& name);

// A new engine with the recording open, or none and why (empty: nothing to say).
struct RecordingOpening {
    std::unique_ptr<ReplayEngine> engine;
    QString failure;
};

// Opens `file` as a new start of the program would: the settings set with its built-in values
// (never a counter type from the store) and a new engine reading frames of `frameWidth` lines,
// with a busy cursor and, after `progressDelayMs`, a progress dialog. When it fails `settings`
// is as it was.
RecordingOpening openRecording(QWidget* parent, Tsett& settings, SettingsBackend* store,
                               const QString& file, bool chosenAsCompressed, int32_t frameWidth,
                               const std::function<void(int32_t)>& onFrameRead,
                               int progressDelayMs);

// What to tell when `file` did not open because of `failure`: with the recording `shown` (empty:
// none) that stays open named after it. Empty: nothing to tell.
QString notOpenedText(const QString& failure, const QString& file, const QString& shown);

// The warning that the open recording has damaged lines, naming the first; empty: none.
QString damagedLinesWarning(const ReplayEngine& engine);

}  // namespace velkor
