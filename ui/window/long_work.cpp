// Busy cursor and delayed progress dialog, with an optional Cancel button.
#include "ui/window/long_work.h"

#include <QApplication>
#include <QProgressDialog>
#include <cstdint>

namespace velkor {

LongWork::LongWork(QWidget* parent, QString label, bool cancellable, int delayMs)
    : parent_(parent), label_(std::move(label)), cancellable_(cancellable), delayMs_(delayMs) {
    QApplication::setOverrideCursor(Qt::WaitCursor);
    clock_.start();
    sinceEvents_.start();
}

LongWork::~LongWork() {
    dialog_.reset();
    QApplication::restoreOverrideCursor();
}

bool LongWork::cancelled() const {
    return dialog_ && dialog_->wasCanceled();
}

void LongWork::progress(int64_t done, int64_t total) {
    if (total <= 0) return;
    if (!dialog_) {
        if (clock_.elapsed() < delayMs_) return;
        // The dialog's range is kept in thousandths, which fits its int range for any total.
        dialog_ = std::make_unique<QProgressDialog>(
            label_, cancellable_ ? QObject::tr("Cancel") : QString(), 0, 1000, parent_);
        dialog_->setWindowTitle(QApplication::applicationName());
        dialog_->setWindowModality(Qt::ApplicationModal);
        dialog_->setMinimumDuration(0);
        dialog_->setAutoClose(false);
        dialog_->setAutoReset(false);
    }
    const int permille = static_cast<int>(done >= total ? 1000 : done * 1000 / total);
    if (permille / 10 != shownPermille_ / 10) {
        // A new whole percent: setValue of a modal dialog handles pending events itself.
        shownPermille_ = permille;
        dialog_->setValue(permille);
        sinceEvents_.restart();
    } else if (sinceEvents_.elapsed() >= eventIntervalMs) {
        shownPermille_ = permille;
        dialog_->setValue(permille);
        QCoreApplication::processEvents();
        sinceEvents_.restart();
    }
}

}  // namespace velkor
