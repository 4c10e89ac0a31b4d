// Long work on the window's thread (opening a recording, an automatic count): a busy cursor for
// as long as it runs, and a progress dialog once it has run for more than half a second.
#pragma once

#include <QElapsedTimer>
#include <QString>
#include <memory>

class QProgressDialog;
class QWidget;

namespace velkor {

class LongWork {
public:
    LongWork(QWidget* parent, QString label);
    ~LongWork();
    LongWork(const LongWork&) = delete;
    LongWork& operator=(const LongWork&) = delete;

    // `done` of `total` steps are finished. Shows the progress dialog after the delay; the dialog
    // is modal, so the window takes no input while the work runs.
    void progress(int done, int total);

    static constexpr int delayMs = 500;

private:
    QWidget* parent_;
    QString label_;
    QElapsedTimer clock_;
    std::unique_ptr<QProgressDialog> dialog_;
    int shownPercent_ = -1;
};

}  // namespace velkor
