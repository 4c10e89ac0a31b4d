// The comparison of the open recording with the counter's record: the whole count on a worker
// thread (started by every opening, again when the frames are read with another width or a class
// is chosen, cancelled when the window closes), followed by a timer on the window's thread, and
// what Ctrl+C copies of it. Not a widget: it shows its progress and what it found on the parts
// of the window it is given (the chart, the verdict dock, the class choosers) and reports the rest
// through signals.
#pragma once

#include <QObject>
#include <QString>
#include <functional>
#include <memory>
#include <optional>

#include "replay/background_count.h"
#include "replay/replay_engine.h"

class QTimer;

namespace velkor {

class ChartPanel;
class ClassChoices;
class VerdictPanel;

class SessionComparison : public QObject {
    Q_OBJECT
public:
    // Where the count's progress and what it found are shown.
    struct Views {
        ChartPanel* chart = nullptr;
        VerdictPanel* verdicts = nullptr;
        ClassChoices* classChoices = nullptr;
    };
    // `settings` gives the counter type of every count; it and the views outlive the comparison.
    SessionComparison(const Tsett& settings, const Views& views, QObject* parent);
    ~SessionComparison() override;

    // The engine whose recording, frame width and classes the counts follow; it must outlive the
    // comparison or be replaced (after stop()) before it goes.
    void setEngine(const ReplayEngine& engine) { engine_ = &engine; }

    // Counts the whole recording with the frame width and classes the engine reads with now.
    void start();
    // Cancels a count under way and waits for its thread.
    void stop();
    // Started and its result not yet shown.
    bool running() const { return count_ != nullptr; }
    // Counts again when frames are read with another width than the count shown or running.
    void followFrameWidth();
    // Forgets the count shown and clears what showed it (a new session's report is shown).
    void forget();
    // What the last finished count found, and the frame width it was made with.
    const std::optional<BackgroundCount::Result>& wholeCount() const { return wholeCount_; }
    // The checkpoints of the latest count started (filling while it runs, kept after it ends), to
    // show any frame as that count had it; null before the first count of a session.
    std::shared_ptr<const CheckpointStore> checkpoints() const { return checkpoints_; }
    // Ctrl+C: the comparison as tab-separated text on the clipboard; what the status bar says.
    QString copy(const QString& recordingFile) const;

    // Handed to every count (called on its thread after each frame); for tests.
    std::function<void(const BackgroundCount&, int32_t, int32_t)> onBackgroundFrame;

signals:
    // What is shown beside the counter fields changed: they are placed again.
    void whatIfChanged();
    // The count failed: why, to tell the user.
    void failed(const QString& message);
    // The count has ended and what it found (or why it failed) is shown.
    void finished();

private:
    void poll();
    void show(const BackgroundCount::Result& result);

    const Tsett& settings_;
    Views views_;
    const ReplayEngine* engine_ = nullptr;
    std::unique_ptr<BackgroundCount> count_;
    QTimer* poll_ = nullptr;
    std::optional<BackgroundCount::Result> wholeCount_;
    std::shared_ptr<const CheckpointStore> checkpoints_;
    int32_t width_ = 0;  // the frame width of the count shown or running
};

}  // namespace velkor
