// The replay engine: opens a recording with its session report and replays it frame by frame
// through the line analysis core, keeping the per-channel counts, the frame store and the
// read-outs that the window shows. It knows nothing of any toolkit: the window gives it the frame
// width W, calls its operations and shows what it reports.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "core/TForm2.h"
#include "core/core_state.h"
#include "replay/engine_checkpoint.h"
#include "replay/frame_endings.h"
#include "replay/frame_store.h"
#include "replay/go_to.h"
#include "replay/record_reader.h"
#include "replay/shared_blocks.h"
#include "settings/Tsett.h"
#include "settings/session_report.h"

namespace velkor {

// The track bar as the engine moves it: range, thumb position and the selection range that spans
// the frames counted since the last jump.
struct TrackBarState {
    int32_t minimum = 1;
    int32_t maximum = 100;
    int32_t position = 1;
    int32_t selStart = 0;
    int32_t selEnd = 0;
    // A move by the program: the position is held within minimum..maximum.
    void moveTo(int32_t p) { position = p < minimum ? minimum : (p > maximum ? maximum : p); }
};

// What the window shows after a frame.
struct ReadOuts {
    ChannelArray<int32_t> counters{};     // LabeledEdit1..4
    std::string totalText = "Label1";     // Label1: the sum of the four totals
    std::string timeText = "Label2";      // Label2: "hh:mm:ss" of the frame's first line
    double markerX = 0;                   // Series5's bar: time of day of the frame's first line
    std::string caption = "View Record";  // window caption
    bool beginEnabled = true, backwardEnabled = true, forwardEnabled = true, endEnabled = true;
};

// Size class overrides that replace nothing: every channel keeps its report's class.
inline constexpr ChannelArray<int32_t> noClassOverrides{-1, -1, -1, -1, -1};

class ReplayEngine {
public:
    // `settings` is the program's settings set (its countertype decides the overload correction);
    // `store`, if not null, receives the remembered folder on opening and gives "Enablemulti".
    // `keepFrameStore` as setKeepFrameStore; a count that never draws passes false, so that the
    // store's megabytes are never allocated.
    ReplayEngine(Tsett& settings, SettingsBackend* store, bool keepFrameStore = true);
    ~ReplayEngine();

    // W: the drawing area's width, capped to 1..2001. Once a recording is open, a W that differs
    // from the one its frames are made of makes frames of the new width: frameCount, the track
    // bar's maximum and position, currentFrame (the frame that holds the first line of the frame
    // it was), the buttons' enabled state and the mark of the automatic count follow it, and the
    // next read is a jump. Nothing is read here: the frame shown and its counts stay until the
    // next move. During an automatic count the new W waits for the next call after it.
    void setFrameWidth(int32_t W);
    // A count that never draws (velkor-count) turns the frame store off: the lines of a frame are
    // then not written there. On by default; the window needs it.
    void setKeepFrameStore(bool keep);
    // Counts of one recording made side by side (a class sweep's) read its blocks once: the
    // engine reads every block of the recording that `blocks` holds through it, and opening that
    // recording takes over the line count held there. Null: the engine reads for itself. May be
    // given while the recording is open.
    void shareReading(SharedBlocks* blocks);
    // The blocks of the recording open here for other engines to share, with its line count.
    std::unique_ptr<SharedBlocks> sharedReading() const;
    // A count that never shows a frame's ended objects (a class sweep needs only the tally of
    // verdicts) turns their list off: while explaining, frameEndings then stays empty. On by
    // default; given before explaining is turned on.
    void setKeepFrameEndings(bool keep);
    int32_t frameWidth() const;
    // The W of the frame read last: the counts shown were made with frames of that many lines.
    int32_t readFrameWidth() const;

    // Opens the recording and reads frame 1. `chosenAsCompressed`: picked in the open dialog
    // under "Compressed file"; a name with the extension .blc (any case) is unpacked as well.
    // Returns false when the session report is missing (message() then holds
    // "Cant find corresponding reportfile (.mse)"); nothing can be read afterwards.
    // `progress`, if set, is called while the lines are counted with the bytes read so far and
    // the recording's size.
    // Raises FileAccessError, DamagedFileError, ReportValueError, OverflowError.
    // Size classes that replace the report's when a recording is opened: entry c (1..4) holds a
    // class 0..9 for channel c, or -1 to keep the report's. Every limit of the channel is then set
    // from that class as the report's own class would set it; report() still gives the report as
    // recorded. Given before opening, they hold from frame 1 on; given while a recording is open,
    // the next frame read is a jump that sets every limit from the classes given.
    void setClassOverrides(const ChannelArray<int32_t>& classes);
    const ChannelArray<int32_t>& classOverrides() const;

    bool OpenBlbFile(const std::string& imagefile, bool chosenAsCompressed = false,
                     const std::function<void(int64_t, int64_t)>& progress = {});
    bool isOpen() const;  // a recording with its report is open and frames can be read
    const std::string& message() const;

    // Reads frame rammi (1..frameCount; any other frame, or no open recording, reads nothing).
    // Raises OverflowError / FileAccessError naming the recording and the line; the engine stays
    // usable, and the frame read next is always a jump (its counts start afresh), because the
    // frame that failed left the live objects of a line that was never finished.
    void lesaramma(int32_t rammi);
    // Sets currentFrame, as the navigation does before it calls lesaramma (no frame is read).
    void setCurrentFrame(int32_t frame);

    // Navigation, with the track bar arithmetic of the window's handlers. Program moves of the
    // thumb only change trackBar().position and never read a frame (a window that mirrors the
    // position into its own slider must not report that move back through TrackBar1Change).
    // Steps beyond the first or last frame (gestures at the ends) are ignored: nothing changes.
    void beginbtnClick();
    void backwardbtnClick();
    void FarwardbtnClick();
    void endbtnClick();
    // The user moved the thumb to `position` (also a repeated notification of the same position).
    // Returns true when a frame was read. After a change of W a notification always reads.
    bool TrackBar1Change(int32_t position);
    // Go to: a jump to frame `frame` (held within 1..frameCount), or to the first frame at or
    // after a time of day (seconds since midnight, counted from the session's start; a time
    // outside the recording goes to the nearer end). The counts start afresh at the frame.
    void goToFrame(int32_t frame);
    TimePlacement goToTimeOfDay(int32_t secondsOfDay);
    // One press of the automatic count button. `progress`, if set, is called after every frame of
    // a run with (frames done, frames in the run).
    void AutocountbtnClick(const std::function<void(int32_t, int32_t)>& progress = {});
    // Stops the automatic count that is running after the frame being read (called from its
    // progress callback). The totals are then those of the frames read so far, the frame shown
    // is the last one read, and the next frame read is a jump.
    void stopAutoCount();
    int32_t autocountImage() const;   // 4: no mark, 5: a frame is marked
    int32_t autoCountStart() const;   // the frame before the marked one
    int32_t autoCountTarget() const;  // the frame the latest run was to count up to
    // The latest run was stopped before its target and no frame has been read since.
    bool autoCountStopped() const;
    // The first frame of the frames counted without a break: the frame of the latest jump. The
    // totals are the counts of frames countedFrom()..lastFrameRead().
    int32_t countedFrom() const;

    // The count as it stands after the frame read last (see EngineCheckpoint).
    EngineCheckpoint takeCheckpoint() const;
    // The same into a checkpoint kept elsewhere (a slot of a series), with no copy in between.
    void takeCheckpoint(EngineCheckpoint& into) const;
    // Puts an open engine (on the recording the checkpoint was taken from) where the checkpoint's
    // count stood: frames of its width, its frame shown and current, its counts, classes and core.
    // Reading the next frame then continues that count as if it had never stopped; any other
    // frame is a jump as ever. Reads nothing; false (and nothing changed) when no recording is
    // open or the checkpoint's frame or width does not fit it.
    bool restoreCheckpoint(const EngineCheckpoint& checkpoint);

    // State for the window and the tools.
    const ReadOuts& readOuts() const;
    const TrackBarState& trackBar() const;
    const SessionReport& report() const;
    const FrameStore& frameStore() const;
    int32_t frameColumn() const;
    bool drawEnabled() const;
    int32_t lineCount() const;
    int32_t frameCount() const;
    int32_t currentFrame() const;
    int32_t lastFrameRead() const;
    int32_t channelTotal(int32_t c) const;
    int32_t frameCapacity(int32_t c) const;
    int32_t lastFrameTotal(int32_t c) const;
    int32_t frameFirstLine() const;
    double sessionStart() const;
    int64_t damagedLines() const;
    int32_t firstDamagedLine() const;
    const CoreState& core() const;
    const std::string& recordingName() const;  // the .blb being read

    // Explaining: the core reports every object that ends, and the engine keeps the frame's
    // ended objects with their verdicts (frameEndings) and the verdicts since the last jump.
    // Counting is the same either way; off by default.
    void setExplaining(bool on);
    bool explaining() const;
    const FrameEndings& frameEndings() const;
    // Objects of each verdict per channel since the last jump (while explaining).
    const VerdictTally& verdictTally() const;

    // Called after a frame is read and drawEnabled is true (the window draws it).
    std::function<void()> onFrameDrawn;
    // Called for every closed object counted, in counting order: frame, line, channel, object.
    std::function<void(int32_t, int32_t, int32_t, const tskepna&)> onObjectCounted;
    // While explaining, called for every object that ends, in the order they end: frame, object.
    // A counted object's call comes right before its onObjectCounted call.
    std::function<void(int32_t, const EndedObject&)> onObjectEnded;
    // Called after every frame read, after the class adaptation.
    std::function<void(int32_t)> onFrameRead;

private:
    void applyReport();
    // Replays the line at the reader's position into frame store column frameColumn and counts
    // the objects that close on it.
    void lesalinu();
    // Replays `lines` lines without segments while no object is live (the reader has passed
    // them already): their frame store columns are empty and nothing is counted.
    void replayEmptyLines(int32_t lines);
    // Hands on the line's ended objects up to and including the next counted one, which gets
    // `number` in `channel`; with channel 0, all that are left.
    void explainEndings(int32_t channel, int32_t number);
    void moveThumb(int32_t position);  // a program move of the thumb
    void forwardStep();                // the Forward step without the end test
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

}  // namespace velkor
