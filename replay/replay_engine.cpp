// The replay engine: opening a recording, reading frames line by line through the core, the
// per-channel counts with the frame capacity and overload correction, the read-outs, and the
// navigation and automatic count of the View Record window without any toolkit.
#include "replay/replay_engine.h"

#include <cmath>
#include <limits>

#include "core/checked_math.h"
#include "core/extended_precision.h"
#include "core/segmentation.h"
#include "io/counter_constants.h"
#include "io/errors.h"
#include "replay/frame_capacity.h"
#include "replay/navigation.h"
#include "replay/unpack.h"

namespace velkor {

namespace {

constexpr long double lineRate = linesPerSecond;

// The folder part of a file name with its trailing delimiter ("" when it has none).
std::string folderOf(const std::string& name) {
    const auto cut = name.find_last_of("/\\");
    return cut == std::string::npos ? std::string() : name.substr(0, cut + 1);
}

}  // namespace

// The objects that end on the line being replayed, as the core reports them. Each live object
// ends at most once per line, so a line array's capacity holds them all.
struct LineEndings final : EndingObserver {
    void objectEnded(const ObjectEnding& ending) override {
        if (count < lineCapacity) entries[count++] = ending;
    }
    std::array<ObjectEnding, lineCapacity> entries{};
    int32_t count = 0;
    int32_t next = 0;  // the first not yet handed on
};

struct ReplayEngine::Impl {
    Impl(Tsett& s, SettingsBackend* b, bool keep)
        : settings(s), store(b), form2(*core), keepFrameStore(keep) {
        if (keep) frames = std::make_unique<FrameStore>();
        classOverrides.fill(-1);
    }
    ChannelArray<int32_t> classOverrides{};

    Tsett& settings;
    SettingsBackend* store;
    std::unique_ptr<CoreState> core = std::make_unique<CoreState>();
    TForm2 form2;
    RecordReader reader;
    std::unique_ptr<FrameStore> frames;  // while keepFrameStore
    SessionReport report;
    ReadOuts readOuts;
    TrackBarState trackBar;
    std::string message;
    std::string recordingName;

    int32_t W = linesPerSecond;  // the drawing area's width
    int32_t framesW =
        linesPerSecond;         // the W that frameCount, currentFrame and the track bar are made of
    int32_t readW = 0;          // the W of the frame read last
    bool widthChanged = false;  // frames of a new W: the next thumb notification must read
    bool open = false;
    int32_t lineCount = 0;
    int32_t frameCount = 0;
    int32_t currentFrame = 1;
    int32_t lastFrameRead = 1;
    int32_t frameFirstLine = 1;
    int32_t frameColumn = 0;
    int32_t readingFrame = 0;  // the frame lesalinu fills (for the counted-object callback)
    bool mustJump = false;     // a frame failed: the next read starts the counts afresh
    bool drawEnabled = true;
    bool keepFrameStore;
    bool keepFrameEndings = true;
    int32_t autocountImage = 4;
    int32_t autoCountStart = 0;
    int64_t markFirstLine = 1;  // the marked frame's first line, which a change of W keeps
    int32_t autoCountTarget = 0;
    bool stopRequested = false;     // stopAutoCount was called during the run
    bool autoCountStopped = false;  // the latest run ended before its target
    int32_t countedFrom = 1;
    ChannelArray<int32_t> channelTotal{};
    ChannelArray<int32_t> lastFrameTotal{};
    ChannelArray<int32_t> frameCapacity{};

    bool explaining = false;
    LineEndings lineEndings;
    FrameEndings frameEndings;
    VerdictTally verdictTally{};
};

ReplayEngine::ReplayEngine(Tsett& settings, SettingsBackend* store, bool keepFrameStore)
    : impl_(std::make_unique<Impl>(settings, store, keepFrameStore)) {}

ReplayEngine::~ReplayEngine() = default;

void ReplayEngine::setFrameWidth(int32_t W) {
    Impl& m = *impl_;
    m.W = W < 1 ? 1 : (W > maxFrameWidth ? maxFrameWidth : W);
    // During an automatic count the frames keep their width; the next move takes the new one.
    if (!m.open || m.W == m.framesW || !m.drawEnabled) return;

    // The frame shown and the mark are carried over through their first lines, which stay the
    // same however many widths the window passes through before the next move: the frame
    // reached next holds the line the user was looking at, and no move goes the wrong way.
    const int32_t frameCount = checkedAdd(m.lineCount / m.W, 1, "frame count");
    m.framesW = m.W;
    m.frameCount = frameCount;
    const auto carry = [&](int64_t firstLine) {
        const int32_t f = frameOfLine(firstLine, m.W);
        return f > m.frameCount ? m.frameCount : f;
    };
    m.currentFrame = carry(m.frameFirstLine);
    // The mark: autoCountStart is the frame before the marked one.
    if (m.autocountImage == 5) m.autoCountStart = carry(m.markFirstLine) - 1;
    const int32_t oldMaximum = m.trackBar.maximum;
    m.trackBar.maximum = trackBarMaximum(m.frameCount);
    if (m.trackBar.maximum != oldMaximum)
        moveThumb(positionForFrame(m.currentFrame, m.frameCount, m.trackBar.maximum));
    m.mustJump = true;
    m.widthChanged = true;
    // The buttons as for the frame shown and frames of the new W: back wherever it does not
    // start at line 1, on wherever a frame starts after it (End reaches the new last frame).
    ReadOuts& out = m.readOuts;
    out.beginEnabled = out.backwardEnabled = m.frameFirstLine > 1;
    out.forwardEnabled = out.endEnabled = m.currentFrame != m.frameCount;
}

void ReplayEngine::setKeepFrameStore(bool keep) {
    Impl& m = *impl_;
    m.keepFrameStore = keep;
    // A count that never draws gives the store's memory back; it comes again when drawing does.
    if (!keep) m.frames.reset();
    if (keep && !m.frames) m.frames = std::make_unique<FrameStore>();
}

void ReplayEngine::shareReading(SharedBlocks* blocks) {
    impl_->reader.shareBlocks(blocks);
}

std::unique_ptr<SharedBlocks> ReplayEngine::sharedReading() const {
    return std::make_unique<SharedBlocks>(impl_->recordingName, impl_->reader.lineCountMade());
}

void ReplayEngine::setKeepFrameEndings(bool keep) {
    impl_->keepFrameEndings = keep;
}

int32_t ReplayEngine::frameWidth() const {
    return impl_->W;
}

int32_t ReplayEngine::readFrameWidth() const {
    return impl_->readW;
}

bool ReplayEngine::OpenBlbFile(const std::string& imagefile, bool chosenAsCompressed,
                               const std::function<void(int64_t, int64_t)>& progress) {
    Impl& m = *impl_;
    // The report's class parameters and every frame's counts need 64-bit precision, whichever
    // thread drives the engine (see lesaramma).
    useExtendedPrecision();
    m.open = false;
    m.message.clear();
    m.reader.close();

    m.lastFrameRead = 1;
    m.currentFrame = 1;
    m.trackBar.moveTo(m.trackBar.minimum);

    // Only the remembered folder is saved: every other stored setting stays as it is.
    m.settings.rememberedFolder = folderOf(imagefile);
    std::string name = imagefile;
    if (chosenAsCompressed || hasCompressedExtension(name)) name = unpackRecord(name);
    if (m.store) m.settings.saveRememberedFolder(*m.store);

    m.reader.open(name);
    m.recordingName = name;

    SessionReport report;
    if (!nyjarstillingar(name, report, &m.message)) {
        m.reader.close();  // nothing may be read without the report
        return false;
    }
    m.report = std::move(report);
    applyReport();
    // A recording starts with the counts of a fresh run.
    m.channelTotal.fill(0);
    m.lastFrameTotal.fill(0);
    m.frameCapacity.fill(0);
    m.mustJump = false;

    m.autoCountStopped = false;
    m.lineCount = m.reader.fjoldilinaiskra(progress);
    m.reader.restartbuffer();
    m.framesW = m.W;
    m.widthChanged = false;
    m.frameCount = checkedAdd(m.lineCount / m.W, 1, "frame count");
    m.trackBar.maximum = trackBarMaximum(m.frameCount);
    m.open = true;

    m.currentFrame = 1;
    lesaramma(1);
    return true;
}

void ReplayEngine::applyReport() {
    Impl& m = *impl_;
    // The overrides go into a copy, so the report stays as recorded for everything that shows it.
    SessionReport r = m.report;
    for (int c = 1; c <= maxChannels; ++c)
        if (m.classOverrides[c] >= 0) r.sizeGroup[c] = m.classOverrides[c];
    applySessionReport(r, *m.core);

    // The session's values in the settings set, as the report reading leaves them; the counter
    // type is not part of the report and stays as the program holds it.
    Tsett& t = m.settings;
    t.channelCount = r.channelCount;
    t.Nrch = r.channelCount;
    t.channelTable = r.channelTable;
    t.scanLeftEdge = r.scanLeftEdge;
    t.scanRightEdge = r.scanRightEdge;
    t.Channelwidth = r.channelwidthIndex;
    t.counterWidthMm = r.counterWidthMm;
    for (int c = 1; c <= maxChannels; ++c) t.sizeGroup[c] = r.sizeGroup[c];
    // Read back from the store with the store's own rule for booleans.
    t.Enablemulti = m.store ? readStoredBool(*m.store, "Enablemulti", false) : false;
}

void ReplayEngine::setClassOverrides(const ChannelArray<int32_t>& classes) {
    Impl& m = *impl_;
    m.classOverrides = classes;
    if (!m.open) return;
    // The running means were made under the old classes: only a fresh start of every channel,
    // as a jump gives, counts as the new classes would from that frame on.
    applyReport();
    m.mustJump = true;
}
const ChannelArray<int32_t>& ReplayEngine::classOverrides() const {
    return impl_->classOverrides;
}

bool ReplayEngine::isOpen() const {
    return impl_->open;
}
const std::string& ReplayEngine::message() const {
    return impl_->message;
}
void ReplayEngine::setCurrentFrame(int32_t frame) {
    impl_->currentFrame = frame;
}

void ReplayEngine::lesaramma(int32_t rammi) {
    Impl& m = *impl_;
    if (!m.open || rammi < 1 || rammi > m.frameCount) return;
    // A thread that Windows started itself rounds to 53 bits until told otherwise; checking the
    // control word costs a few instructions per frame and keeps the counts the same on any thread.
    useExtendedPrecision();
    CoreState& s = *m.core;
    const int32_t channels = s.channelCount;
    m.autoCountStopped = false;  // the counts no longer end where a stopped run left them

    // A failure ends the frame with an error naming the recording and the place; the engine
    // stays usable and the next read is a jump, since the live objects are those of a line that
    // was never finished.
    bool inLines = false;
    try {
        // 1. Jump test and the reset of every channel.
        if (rammi != m.lastFrameRead + 1 || m.mustJump) {
            m.trackBar.selStart = m.trackBar.position;
            m.verdictTally = {};
            for (int32_t c = 1; c <= channels; ++c) {
                m.form2.stillafiskiflokk(c);
                m.channelTotal[c] = 0;
                s.currentCount = 0;
                s.previousCount = 0;
            }
            m.mustJump = false;
            m.countedFrom = rammi;
            m.widthChanged = false;
        }
        m.readW = m.W;
        // 2.-3. Selection end and the buttons.
        m.trackBar.selEnd = m.trackBar.position;
        m.lastFrameRead = rammi;
        ReadOuts& out = m.readOuts;
        out.beginEnabled = out.backwardEnabled = rammi != 1;
        out.forwardEnabled = out.endEnabled = rammi != m.frameCount;

        // 4.-6. The frame's first line, its wall-clock time and the chart marker.
        m.frameFirstLine = checkedAdd(checkedMul(rammi - 1, m.W, "first line"), 1, "first line");
        const long double time = static_cast<long double>(m.report.sessionStart) +
                                 m.frameFirstLine / lineRate / 3600 / 24;
        out.timeText = formatTimeOfDay(static_cast<double>(time));
        out.markerX = static_cast<double>(time - std::trunc(time));

        // 7.-8. The lines of the frame. The line count bounds the loop as well as the end of the
        // data, so a frame never reads past the recording whatever the file holds.
        m.readingFrame = rammi;
        m.frameColumn = 0;
        m.frameEndings.clear();
        m.lineEndings.count = m.lineEndings.next = 0;  // a line that failed is not explained
        // A frame that follows the one read last starts where the reader already stands;
        // seeking there again would only walk the block in memory from its first line.
        if (m.reader.readLineNumber() != m.frameFirstLine || m.reader.endOfData())
            m.reader.seekLine(m.frameFirstLine);
        inLines = true;
        const int64_t linesLeft = static_cast<int64_t>(m.lineCount) - m.frameFirstLine + 1;
        const int32_t last =
            linesLeft < m.W ? static_cast<int32_t>(linesLeft < 0 ? 0 : linesLeft) : m.W;
        while (m.frameColumn < last && !m.reader.endOfData()) {
            if (s.previousCount == 0) {
                // No object is live: the lines without segments that follow change nothing but
                // their empty frame store columns, so they are taken together.
                const int32_t empty = m.reader.skipEmptyLines(last - m.frameColumn);
                if (empty > 0) {
                    replayEmptyLines(empty);
                    continue;
                }
            }
            lesalinu();
            ++m.frameColumn;
        }
        inLines = false;

        // 9.-10. Frame capacity and the caption.
        for (int32_t c = 1; c <= channels; ++c)
            m.frameCapacity[c] =
                velkor::frameCapacity(s.avgArea[c], s.scanLeftEdge, s.scanRightEdge,
                                      s.channelTable[c].leftEdge, s.channelTable[c].rightEdge, m.W);
        out.caption = capacityCaption(m.frameCapacity[1], m.W);

        // 11.-12. Overload correction (added for counter type item 5 only) and the frame's totals.
        for (int32_t c = 1; c <= channels; ++c) {
            const int32_t d = checkedSub(m.channelTotal[c], m.lastFrameTotal[c], "frame count");
            const int32_t corr = overloadCorrection(d, m.frameCapacity[c]);
            if (corr != 0 && m.settings.countertype == 5)
                m.channelTotal[c] = checkedAdd(m.channelTotal[c], corr, "overload correction");
        }
        for (int32_t c = 1; c <= channels; ++c) m.lastFrameTotal[c] = m.channelTotal[c];

        // 13. The class parameters follow the objects counted.
        for (int32_t c = 1; c <= channels; ++c) m.form2.autofiskiflokkur(c);

        // 14. Read-outs; the sum is taken wide so four large totals cannot overflow it.
        int64_t sum = 0;
        for (int c = 1; c <= maxChannels; ++c) {
            out.counters[c] = m.channelTotal[c];
            sum += m.channelTotal[c];
        }
        out.totalText = std::to_string(sum);
    } catch (const VelkorError& e) {
        m.mustJump = true;
        const std::string where =
            (inLines ? "line " + std::to_string(m.frameFirstLine + m.frameColumn)
                     : "frame " + std::to_string(rammi)) +
            ": " + e.problem();
        if (dynamic_cast<const OverflowError*>(&e)) throw OverflowError(m.recordingName, where);
        if (dynamic_cast<const DamagedFileError*>(&e))
            throw DamagedFileError(m.recordingName, where);
        if (dynamic_cast<const ReportValueError*>(&e))
            throw ReportValueError(m.recordingName, where);
        throw FileAccessError(m.recordingName, where);
    }

    // 15. Drawing.
    if (m.drawEnabled && onFrameDrawn) onFrameDrawn();
    if (onFrameRead) onFrameRead(rammi);
}

EngineCheckpoint ReplayEngine::takeCheckpoint() const {
    EngineCheckpoint cp;
    takeCheckpoint(cp);
    return cp;
}

void ReplayEngine::takeCheckpoint(EngineCheckpoint& cp) const {
    const Impl& m = *impl_;
    cp.core = *m.core;
    cp.frameWidth = m.readW;
    cp.lastFrameRead = m.readW > 0 ? m.lastFrameRead : 0;
    cp.countedFrom = m.countedFrom;
    cp.mustJump = m.mustJump;
    cp.channelTotal = m.channelTotal;
    cp.lastFrameTotal = m.lastFrameTotal;
    cp.frameCapacity = m.frameCapacity;
    cp.classOverrides = m.classOverrides;
    cp.verdictTally = m.verdictTally;
}

bool ReplayEngine::restoreCheckpoint(const EngineCheckpoint& cp) {
    Impl& m = *impl_;
    if (!m.open || cp.frameWidth < 1 || cp.frameWidth > maxFrameWidth) return false;
    const int32_t frames = checkedAdd(m.lineCount / cp.frameWidth, 1, "frame count");
    if (cp.lastFrameRead < 1 || cp.lastFrameRead > frames) return false;

    // The classes first: applying them sets the settings set as opening does, and the core's
    // limits are then replaced by the checkpoint's, which the count has adapted since.
    if (cp.classOverrides != m.classOverrides) {
        m.classOverrides = cp.classOverrides;
        applyReport();
    }
    *m.core = cp.core;
    m.W = m.framesW = m.readW = cp.frameWidth;
    m.frameCount = frames;
    m.trackBar.maximum = trackBarMaximum(frames);
    m.lastFrameRead = m.currentFrame = cp.lastFrameRead;
    m.frameFirstLine =
        checkedAdd(checkedMul(cp.lastFrameRead - 1, m.W, "first line"), 1, "first line");
    m.countedFrom = cp.countedFrom;
    m.mustJump = cp.mustJump;
    m.widthChanged = false;
    m.autoCountStopped = false;
    m.channelTotal = cp.channelTotal;
    m.lastFrameTotal = cp.lastFrameTotal;
    m.frameCapacity = cp.frameCapacity;
    m.verdictTally = cp.verdictTally;
    // The ended objects of the frame shown are not part of the count; a frame's list starts empty.
    m.lineEndings.count = m.lineEndings.next = 0;
    m.frameEndings.clear();
    if (m.autocountImage == 5) {
        const int32_t marked = frameOfLine(m.markFirstLine, m.W);
        m.autoCountStart = (marked > m.frameCount ? m.frameCount : marked) - 1;
    }

    // The thumb, the selection and the read-outs as after reading the frame in that count.
    m.trackBar.selStart = positionForFrame(m.countedFrom, m.frameCount, m.trackBar.maximum);
    moveThumb(positionForFrame(m.currentFrame, m.frameCount, m.trackBar.maximum));
    m.trackBar.selEnd = m.trackBar.position;
    ReadOuts& out = m.readOuts;
    out.beginEnabled = out.backwardEnabled = m.currentFrame != 1;
    out.forwardEnabled = out.endEnabled = m.currentFrame != m.frameCount;
    const long double time =
        static_cast<long double>(m.report.sessionStart) + m.frameFirstLine / lineRate / 3600 / 24;
    out.timeText = formatTimeOfDay(static_cast<double>(time));
    out.markerX = static_cast<double>(time - std::trunc(time));
    out.caption = capacityCaption(m.frameCapacity[1], m.W);
    int64_t sum = 0;
    for (int c = 1; c <= maxChannels; ++c) {
        out.counters[c] = m.channelTotal[c];
        sum += m.channelTotal[c];
    }
    out.totalText = std::to_string(sum);
    return true;
}

void ReplayEngine::lesalinu() {
    Impl& m = *impl_;
    CoreState& s = *m.core;
    // Read and filtered in one pass, the runs taken from where the reader holds them.
    const RecordReader::LineRuns runs = m.reader.readLineRuns();
    filterRuns(s, runs.count, runs, m.form2.channelEdges());
    // The closed list is read in place: porun's result stays valid until its next call.
    const tlokid& closed = m.form2.porun();

    if (m.keepFrameStore) {
        FrameStoreColumn& column = (*m.frames)[m.frameColumn];
        const int32_t objects = s.previousCount;
        for (int32_t j = 1; j <= objects; ++j) {
            column[j].left = static_cast<int16_t>(s.previousLine()[j].v);
            column[j].right = static_cast<int16_t>(s.previousLine()[j].h);
        }
        column[0].left = static_cast<int16_t>(objects);
    }

    // Counting walk: the closed objects are in left-to-right order, so the cursor only moves
    // right; it stops at the last channel, which takes anything beyond its right edge.
    const int32_t closedCount = s.closedCount;
    const bool ended = m.lineEndings.count > 0;  // only while explaining
    if (closedCount <= 0 && !ended) return;
    const int32_t channels = s.channelCount;
    int32_t cursor = 1;
    for (int32_t k = 1; k <= closedCount; ++k) {
        while (cursor < channels && closed[k].v > s.channelTable[cursor].rightEdge) ++cursor;
        s.channelCursor = cursor;
        m.channelTotal[cursor] = checkedAdd(m.channelTotal[cursor], 1, "channel total");
        if (ended) explainEndings(cursor, m.channelTotal[cursor]);
        if (onObjectCounted)
            onObjectCounted(m.readingFrame, m.frameFirstLine + m.frameColumn, cursor, closed[k]);
    }
    if (ended) explainEndings(0, 0);
}

void ReplayEngine::explainEndings(int32_t channel, int32_t number) {
    Impl& m = *impl_;
    LineEndings& line = m.lineEndings;
    EndedObject e;
    e.line = m.frameFirstLine + m.frameColumn;
    e.column = m.frameColumn;
    while (line.next < line.count) {
        e.ending = line.entries[line.next++];
        const bool counted = e.ending.verdict == EndingVerdict::counted;
        e.number = counted ? number : 0;
        const int32_t c = e.ending.channel;
        if (c >= 1 && c <= maxChannels) ++m.verdictTally[c][static_cast<int>(e.ending.verdict)];
        m.frameEndings.add(e);
        if (onObjectEnded) onObjectEnded(m.readingFrame, e);
        if (counted && channel != 0) return;
    }
    line.count = 0;
    line.next = 0;
}

void ReplayEngine::setExplaining(bool on) {
    Impl& m = *impl_;
    m.explaining = on;
    if (on && m.keepFrameEndings) m.frameEndings.allocate();
    m.form2.setEndingObserver(on ? &m.lineEndings : nullptr);
    m.lineEndings.count = m.lineEndings.next = 0;
    m.frameEndings.clear();
    m.verdictTally = {};
}

bool ReplayEngine::explaining() const {
    return impl_->explaining;
}
const FrameEndings& ReplayEngine::frameEndings() const {
    return impl_->frameEndings;
}
const VerdictTally& ReplayEngine::verdictTally() const {
    return impl_->verdictTally;
}

void ReplayEngine::replayEmptyLines(int32_t lines) {
    Impl& m = *impl_;
    CoreState& s = *m.core;
    // What filterSegments and porun leave after a line without segments and without objects.
    s.currentLine()[0].v = 0;
    s.currentLine()[0].h = 0;
    s.currentCount = 0;
    s.previousCount = 0;
    s.closedCount = 0;
    s.channelCursor = 1;
    if (m.keepFrameStore) {
        FrameStore& frames = *m.frames;
        for (int32_t c = m.frameColumn; c < m.frameColumn + lines; ++c) frames[c][0].left = 0;
    }
    m.frameColumn += lines;
}

void ReplayEngine::moveThumb(int32_t position) {
    impl_->trackBar.moveTo(position);
}

void ReplayEngine::beginbtnClick() {
    Impl& m = *impl_;
    if (!m.open) return;
    m.currentFrame = 1;
    moveThumb(0);
    lesaramma(1);
}

void ReplayEngine::backwardbtnClick() {
    Impl& m = *impl_;
    // After a change of W the frame carried over may start before the frame shown: then it is
    // the one before it.
    const int32_t back = m.readW != m.W
                             ? (m.frameFirstLine > 1 ? frameOfLine(m.frameFirstLine - 1, m.W) : 0)
                             : m.currentFrame - 1;
    if (!m.open || back < 1) return;
    m.currentFrame = back;
    moveThumb(positionForFrame(m.currentFrame, m.frameCount, m.trackBar.maximum));
    lesaramma(m.currentFrame);
}

void ReplayEngine::FarwardbtnClick() {
    Impl& m = *impl_;
    if (!m.open || m.currentFrame >= m.frameCount) return;
    forwardStep();
}

void ReplayEngine::forwardStep() {
    Impl& m = *impl_;
    m.currentFrame += 1;
    moveThumb(positionForFrame(m.currentFrame, m.frameCount, m.trackBar.maximum));
    lesaramma(m.currentFrame);
}

void ReplayEngine::endbtnClick() {
    Impl& m = *impl_;
    if (!m.open) return;
    moveThumb(m.trackBar.maximum);
    m.currentFrame = m.frameCount;
    lesaramma(m.frameCount);
}

bool ReplayEngine::TrackBar1Change(int32_t position) {
    Impl& m = *impl_;
    if (!m.open) return false;
    m.trackBar.moveTo(position);
    if (m.trackBar.position == m.trackBar.selEnd && !m.widthChanged) return false;
    m.currentFrame = frameForPosition(m.trackBar.position, m.trackBar.maximum, m.frameCount);
    lesaramma(m.currentFrame);
    return true;
}

void ReplayEngine::goToFrame(int32_t frame) {
    Impl& m = *impl_;
    if (!m.open) return;
    m.currentFrame = frame < 1 ? 1 : (frame > m.frameCount ? m.frameCount : frame);
    moveThumb(positionForFrame(m.currentFrame, m.frameCount, m.trackBar.maximum));
    m.mustJump = true;  // even the frame after the one shown: Go to starts the counts afresh
    lesaramma(m.currentFrame);
}

TimePlacement ReplayEngine::goToTimeOfDay(int32_t secondsOfDay) {
    Impl& m = *impl_;
    if (!m.open) return TimePlacement::inside;
    const FrameAtTime at =
        frameAtTimeOfDay(m.report.sessionStart, secondsOfDay, m.lineCount, m.framesW);
    goToFrame(at.frame);
    return at.placement;
}

void ReplayEngine::AutocountbtnClick(const std::function<void(int32_t, int32_t)>& progress) {
    Impl& m = *impl_;
    if (m.autocountImage == 4) {
        m.autoCountStart = m.currentFrame - 1;
        m.markFirstLine = static_cast<int64_t>(m.autoCountStart) * m.framesW + 1;
        m.autocountImage = 5;
        return;
    }
    m.autocountImage = 4;
    if (!m.open || m.currentFrame <= m.autoCountStart) return;
    m.autoCountTarget = m.currentFrame;
    m.currentFrame = m.autoCountStart;
    const int32_t total = m.autoCountTarget - m.autoCountStart;
    // Drawing comes back on however the run ends.
    struct DrawAgain {
        bool& flag;
        ~DrawAgain() { flag = true; }
    } drawAgain{m.drawEnabled};
    m.drawEnabled = false;
    m.stopRequested = false;
    m.autoCountStopped = false;
    while (m.currentFrame < m.autoCountTarget) {
        forwardStep();
        if (progress) progress(m.currentFrame - m.autoCountStart, total);
        if (m.stopRequested && m.currentFrame < m.autoCountTarget) {
            // The totals stand for the frames read so far. A stopped run is not resumed by the
            // next move: whatever frame is read next starts a fresh count.
            m.autoCountStopped = true;
            m.mustJump = true;
            m.drawEnabled = true;
            if (onFrameDrawn) onFrameDrawn();  // the picture matches the thumb again
            break;
        }
    }
    m.stopRequested = false;
    // A finished run drew nothing: the picture still shows the frame as it was read before the
    // run, with its marks numbered from that read. Show the frame the counts now stand at.
    if (!m.autoCountStopped && m.currentFrame == m.autoCountTarget) {
        m.drawEnabled = true;
        if (onFrameDrawn) onFrameDrawn();
    }
}

void ReplayEngine::stopAutoCount() {
    impl_->stopRequested = true;
}
int32_t ReplayEngine::autoCountTarget() const {
    return impl_->autoCountTarget;
}
bool ReplayEngine::autoCountStopped() const {
    return impl_->autoCountStopped;
}
int32_t ReplayEngine::countedFrom() const {
    return impl_->countedFrom;
}

int32_t ReplayEngine::autocountImage() const {
    return impl_->autocountImage;
}
int32_t ReplayEngine::autoCountStart() const {
    return impl_->autoCountStart;
}
const ReadOuts& ReplayEngine::readOuts() const {
    return impl_->readOuts;
}
const TrackBarState& ReplayEngine::trackBar() const {
    return impl_->trackBar;
}
const SessionReport& ReplayEngine::report() const {
    return impl_->report;
}
const FrameStore& ReplayEngine::frameStore() const {
    // Without a store (a count that never draws) an empty one: zeros that take no memory.
    static const FrameStore none{};
    return impl_->frames ? *impl_->frames : none;
}
int32_t ReplayEngine::frameColumn() const {
    return impl_->frameColumn;
}
bool ReplayEngine::drawEnabled() const {
    return impl_->drawEnabled;
}
int32_t ReplayEngine::lineCount() const {
    return impl_->lineCount;
}
int32_t ReplayEngine::frameCount() const {
    return impl_->frameCount;
}
int32_t ReplayEngine::currentFrame() const {
    return impl_->currentFrame;
}
int32_t ReplayEngine::lastFrameRead() const {
    return impl_->lastFrameRead;
}
int32_t ReplayEngine::frameFirstLine() const {
    return impl_->frameFirstLine;
}
double ReplayEngine::sessionStart() const {
    return impl_->report.sessionStart;
}

int32_t ReplayEngine::channelTotal(int32_t c) const {
    return c >= 1 && c <= maxChannels ? impl_->channelTotal[c] : 0;
}
int32_t ReplayEngine::frameCapacity(int32_t c) const {
    return c >= 1 && c <= maxChannels ? impl_->frameCapacity[c] : 0;
}
int32_t ReplayEngine::lastFrameTotal(int32_t c) const {
    return c >= 1 && c <= maxChannels ? impl_->lastFrameTotal[c] : 0;
}
int64_t ReplayEngine::damagedLines() const {
    return impl_->reader.damagedLines();
}
int32_t ReplayEngine::firstDamagedLine() const {
    return impl_->reader.firstDamagedLine();
}
const CoreState& ReplayEngine::core() const {
    return *impl_->core;
}
const std::string& ReplayEngine::recordingName() const {
    return impl_->recordingName;
}

}  // namespace velkor
