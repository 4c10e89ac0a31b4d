// Busy cursor and delayed progress dialog.
#include "ui/long_work.h"

#include <QApplication>
#include <QProgressDialog>
#include <cstdint>

namespace velkor {

LongWork::LongWork(QWidget* parent, QString label) : parent_(parent), label_(std::move(label)) {
    QApplication::setOverrideCursor(Qt::WaitCursor);
    clock_.start();
}

LongWork::~LongWork() {
    dialog_.reset();
    QApplication::restoreOverrideCursor();
}

void LongWork::progress(int done, int total) {
    if (total <= 0) return;
    if (!dialog_) {
        if (clock_.elapsed() < delayMs) return;
        dialog_ = std::make_unique<QProgressDialog>(label_, QString(), 0, total, parent_);
        dialog_->setWindowTitle(QApplication::applicationName());
        dialog_->setWindowModality(Qt::ApplicationModal);
        dialog_->setMinimumDuration(0);
        dialog_->setAutoClose(false);
        dialog_->setAutoReset(false);
    }
    // Only whole percent steps reach the dialog: each update lets the event loop run once.
    const int percent = int(int64_t(done) * 100 / total);
    if (percent == shownPercent_) return;
    shownPercent_ = percent;
    dialog_->setMaximum(total);
    dialog_->setValue(done);
}

}  // namespace velkor
