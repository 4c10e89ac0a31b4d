// The Go to dialog.
#include "ui/navigation/go_to_dialog.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "replay/go_to.h"

namespace velkor {

GoToDialog::GoToDialog(QWidget* parent, const QString& span, const QString& initial)
    : QDialog(parent) {
    setObjectName("GoToDialog");
    setWindowTitle(tr("Go to"));
    auto* layout = new QVBoxLayout(this);
    auto* prompt = new QLabel(tr("Go to the time (hh:mm:ss) or the frame number:"), this);
    edit_ = new QLineEdit(initial, this);
    edit_->setObjectName("goToText");
    edit_->selectAll();
    prompt->setBuddy(edit_);
    auto* spanLabel = new QLabel(span, this);
    spanLabel->setObjectName("goToSpan");
    buttons_ = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    layout->addWidget(prompt);
    layout->addWidget(edit_);
    layout->addWidget(spanLabel);
    layout->addWidget(buttons_);
    connect(buttons_, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons_, &QDialogButtonBox::rejected, this, &QDialog::reject);
    // OK only for a time of day or a frame number.
    const auto check = [this] {
        buttons_->button(QDialogButtonBox::Ok)
            ->setEnabled(parseGoToTarget(edit_->text().toStdString()).has_value());
    };
    connect(edit_, &QLineEdit::textChanged, this, check);
    check();
}

QString GoToDialog::text() const {
    return edit_->text();
}

std::optional<QString> GoToDialog::ask(QWidget* parent, const ReplayEngine& e,
                                       const QString& initial) {
    const double start = e.sessionStart();
    const double end = timeOfLine(start, e.lineCount());
    const QString span = tr("The recording runs from %1 to %2, frames 1 to %3.")
                             .arg(QString::fromStdString(formatTimeOfDay(start)),
                                  QString::fromStdString(formatTimeOfDay(end)))
                             .arg(e.frameCount());
    GoToDialog dialog(parent, span, initial);
    if (dialog.exec() != QDialog::Accepted) return std::nullopt;
    return dialog.text();
}

void goTo(ReplayEngine& engine, const GoToTarget& target) {
    if (target.kind == GoToTarget::Kind::frame) {
        engine.goToFrame(target.value);
    } else {
        engine.goToTimeOfDay(target.value);
    }
}

}  // namespace velkor
