// Long work on the window's thread (opening a recording, an automatic count): a busy cursor for
// as long as it runs, and a progress dialog once it has run for more than a short delay. The
// dialog may offer Cancel; while it shows, the window repaints and the dialog takes input.
#pragma once

#include <QElapsedTimer>
#include <QString>
#include <memory>

class QProgressDialog;
class QWidget;

namespace velkor {

class LongWork {
public:
    // `cancellable`: the dialog has a Cancel button, and cancelled() tells whether it was pressed.
    LongWork(QWidget* parent, QString label, bool cancellable = false,
             int delayMs = defaultDelayMs);
    ~LongWork();
    LongWork(const LongWork&) = delete;
    LongWork& operator=(const LongWork&) = delete;

    // `done` of `total` steps are finished. Shows the progress dialog after the delay; the dialog
    // is modal, so the window takes no input other than the dialog's while the work runs. Pending
    // events (repaints, Cancel) are handled at every whole percent and at least every 50 ms.
    void progress(int64_t done, int64_t total);
    bool cancelled() const;

    static constexpr int defaultDelayMs = 500;
    static constexpr int eventIntervalMs = 50;

private:
    QWidget* parent_;
    QString label_;
    bool cancellable_;
    int delayMs_;
    QElapsedTimer clock_;
    QElapsedTimer sinceEvents_;
    std::unique_ptr<QProgressDialog> dialog_;
    int shownPermille_ = -1;
};

}  // namespace velkor
