// One channel's hand count in the hand counts dock: the field where the count by hand or by weight
// is entered, the line under it that compares the replay with it, and the class sweep of the
// channel against it, run in the background (cancellable) and shown class by class; a click on a
// class chooses it for the channel, as the class chooser beside the counter field would.
#pragma once

#include <QGroupBox>
#include <QStringList>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "tools/velkor-count/channel_sweep.h"

class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;
class QTableWidget;
class QTimer;

namespace velkor {

class HandCountSweep;

// A row of the sweep table: class, replay, difference to the hand count ("-15 (-2.4 %)", "+12"
// for a hand count of 0), "*" for the report's class, "<" for the class nearest the hand count.
QStringList handCountRowTexts(const HandCountRow& row);

// A field's text as a hand count: a whole number 0..maxHandCount (spaces around allowed), or none.
std::optional<int64_t> parseHandCount(const QString& text);

class HandCountBox : public QGroupBox {
    Q_OBJECT
public:
    HandCountBox(int channel, QWidget* parent);
    ~HandCountBox() override;

    int channel() const { return channel_; }
    // The session's counter name as the box's title; nothing open: an empty box.
    void setCounterName(const QString& name);
    // The hand count kept for the channel (none: an empty field, no line, no table). Cancels a
    // sweep of another count.
    void showHandCount(std::optional<int64_t> count);
    std::optional<int64_t> handCount() const { return handCount_; }
    // Sweeps the channel against the hand count shown, with frames of `frameWidth` lines.
    void startSweep(const std::string& recording, int32_t frameWidth, int32_t counterType);
    void cancelSweep();
    bool sweeping() const;
    // The frame width of the last sweep started (0: none since the hand count was shown).
    int32_t sweepWidth() const { return sweepWidth_; }
    // The rows once a sweep has finished.
    const std::optional<ChannelSweep>& swept() const { return swept_; }
    // The class the channel is counted with now: the line under the field gives its count.
    void setChosenClass(int32_t sizeClass);

    QLineEdit* field = nullptr;
    QPushButton* clearButton = nullptr;
    QLabel* line = nullptr;  // "hand count 630: replay 615 (-2.4 %)"
    QProgressBar* progress = nullptr;
    QPushButton* cancelButton = nullptr;
    QTableWidget* table = nullptr;
    QLabel* legend = nullptr;  // what "*" and "<" mean

signals:
    void handCountEntered(int channel, qint64 count);
    void handCountCleared(int channel);
    void classClicked(int channel, int sizeClass);
    void entryRefused(const QString& text);

private:
    void enter();
    void poll();
    void showRows();
    void showLine();
    void fitTable();

    int channel_;
    std::optional<int64_t> handCount_;
    int32_t chosenClass_ = -1;
    int32_t sweepWidth_ = 0;
    std::unique_ptr<HandCountSweep> sweep_;
    std::optional<ChannelSweep> swept_;
    QString stopped_;  // why a sweep gave no rows: cancelled, or what failed
    QTimer* timer_ = nullptr;
};

}  // namespace velkor
