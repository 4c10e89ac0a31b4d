// One channel's hand count, its line and its class sweep.
#include "ui/notes/hand_count_box.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTableWidget>
#include <QTimer>
#include <QVBoxLayout>
#include <algorithm>
#include <cstdlib>

#include "core/fish_classes.h"
#include "settings/recorded_figures.h"
#include "settings/session_notes.h"
#include "tools/velkor-count/hand_count_sweep.h"
#include "tools/velkor-count/hand_count_text.h"

namespace velkor {

QStringList handCountRowTexts(const HandCountRow& row) {
    const QString fish = (row.difference > 0 ? "+" : "") + QString::number(row.difference);
    const std::string percent = formatDifference(row.differencePercent);
    return {QString::fromUtf8(std::string(fishClassName(row.sizeClass))),
            QString::number(row.replay),
            percent.empty() ? fish : fish + " (" + QString::fromStdString(percent) + ")",
            row.reportClass ? "*" : "", row.nearest ? "<" : ""};
}

std::optional<int64_t> parseHandCount(const QString& text) {
    const QString t = text.trimmed();
    if (t.isEmpty() || t.size() > 9) return std::nullopt;
    for (QChar ch : t)
        if (ch < '0' || ch > '9') return std::nullopt;
    const int64_t count = t.toLongLong();
    if (count > maxHandCount) return std::nullopt;
    return count;
}

HandCountBox::HandCountBox(int channel, QWidget* parent) : QGroupBox(parent), channel_(channel) {
    setObjectName(QStringLiteral("handCountBox%1").arg(channel));
    auto* column = new QVBoxLayout(this);
    auto* entry = new QHBoxLayout;
    entry->addWidget(new QLabel(tr("Hand count"), this));
    field = new QLineEdit(this);
    field->setObjectName(QStringLiteral("handCountField%1").arg(channel));
    field->setPlaceholderText(tr("fish counted by hand"));
    field->setToolTip(tr("The fish of this channel counted by hand or by weight; Enter keeps it"));
    connect(field, &QLineEdit::returnPressed, this, &HandCountBox::enter);
    entry->addWidget(field, 1);
    clearButton = new QPushButton(tr("Clear"), this);
    clearButton->setToolTip(tr("Forget this channel's hand count"));
    connect(clearButton, &QPushButton::clicked, this, [this] { emit handCountCleared(channel_); });
    entry->addWidget(clearButton);
    column->addLayout(entry);
    line = new QLabel(this);
    line->setWordWrap(true);
    line->setTextInteractionFlags(Qt::TextSelectableByMouse);
    column->addWidget(line);
    auto* running = new QHBoxLayout;
    progress = new QProgressBar(this);
    progress->setFormat(tr("class sweep %p %"));
    running->addWidget(progress, 1);
    cancelButton = new QPushButton(tr("Cancel"), this);
    connect(cancelButton, &QPushButton::clicked, this, &HandCountBox::cancelSweep);
    running->addWidget(cancelButton);
    column->addLayout(running);
    table = new QTableWidget(fishClassCount, 5, this);
    table->setHorizontalHeaderLabels({tr("Class"), tr("Replay"), tr("Difference"), "*", "<"});
    table->verticalHeader()->hide();
    table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table->setSelectionBehavior(QAbstractItemView::SelectRows);
    table->setSelectionMode(QAbstractItemView::SingleSelection);
    table->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    table->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    table->setToolTip(tr("A click on a class counts the channel with it"));
    fitTable();
    connect(table, &QTableWidget::cellClicked, this, [this](int row, int) {
        if (swept_) emit classClicked(channel_, row);
    });
    column->addWidget(table);
    legend = new QLabel(tr("* the report's class, < nearest to the hand count"), this);
    column->addWidget(legend);
    timer_ = new QTimer(this);
    timer_->setInterval(100);
    connect(timer_, &QTimer::timeout, this, &HandCountBox::poll);
    showHandCount(std::nullopt);
}

HandCountBox::~HandCountBox() = default;

void HandCountBox::fitTable() {
    // Every class in view, each column as wide as the widest figure it can hold, so that the
    // table neither scrolls nor cuts a figure.
    const QFontMetrics metrics = table->fontMetrics();
    const int padding = 2 * metrics.horizontalAdvance(' ') + 8;
    const QString widest[] = {"300 g", "999999999", "-999999999 (-100.0 %)", "*", "<"};
    int width = 2 * table->frameWidth();
    for (int column = 0; column < 5; ++column) {
        const int header = table->horizontalHeader()->fontMetrics().horizontalAdvance(
            table->horizontalHeaderItem(column)->text());
        const int w = std::max(metrics.horizontalAdvance(widest[column]), header) + padding;
        table->setColumnWidth(column, w);
        width += w;
    }
    table->setFixedSize(width, table->horizontalHeader()->sizeHint().height() +
                                   fishClassCount * table->verticalHeader()->defaultSectionSize() +
                                   2 * table->frameWidth());
}

void HandCountBox::setCounterName(const QString& name) {
    setTitle(name);
}

void HandCountBox::showHandCount(std::optional<int64_t> count) {
    if (count != handCount_ || !count) cancelSweep();
    handCount_ = count;
    field->setText(count ? QString::number(*count) : QString());
    if (!count) swept_.reset();
    if (!count) sweepWidth_ = 0;
    if (!count) stopped_.clear();
    showRows();
    showLine();
}

void HandCountBox::startSweep(const std::string& recording, int32_t frameWidth,
                              int32_t counterType) {
    cancelSweep();
    swept_.reset();
    if (!handCount_) return;
    sweepWidth_ = frameWidth;
    sweep_ =
        std::make_unique<HandCountSweep>(recording, channel_, *handCount_, frameWidth, counterType);
    sweep_->start();
    stopped_.clear();
    progress->setValue(0);
    timer_->start();
    showRows();
    showLine();
}

void HandCountBox::cancelSweep() {
    timer_->stop();
    if (sweep_) sweep_->cancel();
    const bool wasRunning = sweep_ != nullptr;
    sweep_.reset();
    if (wasRunning) {
        stopped_ = tr("the class sweep was cancelled");
        showRows();
        showLine();
    }
}

bool HandCountBox::sweeping() const {
    return sweep_ != nullptr;
}

void HandCountBox::setChosenClass(int32_t sizeClass) {
    chosenClass_ = sizeClass;
    showLine();
    if (swept_ && sizeClass >= 0 && sizeClass < fishClassCount) table->selectRow(sizeClass);
}

void HandCountBox::enter() {
    const std::optional<int64_t> count = parseHandCount(field->text());
    if (!count) {
        emit entryRefused(tr("\"%1\" is not a hand count: give the fish counted, a whole number "
                             "from 0 to %2.")
                              .arg(field->text())
                              .arg(maxHandCount));
        return;
    }
    emit handCountEntered(channel_, *count);
}

void HandCountBox::poll() {
    if (!sweep_) return;
    const int64_t total = sweep_->framesTotal();
    progress->setValue(total > 0 ? int(sweep_->framesDone() * 100 / total) : 0);
    if (!sweep_->finished()) return;
    timer_->stop();
    const HandCountSweep::Result result = sweep_->result();
    sweep_.reset();
    if (result.swept) swept_ = result.sweep;
    if (!result.swept)
        stopped_ = tr("the class sweep failed: %1").arg(QString::fromStdString(result.error));
    showRows();
    showLine();
}

void HandCountBox::showRows() {
    progress->setVisible(sweep_ != nullptr);
    cancelButton->setVisible(sweep_ != nullptr);
    table->setVisible(swept_.has_value());
    legend->setVisible(swept_.has_value());
    table->clearContents();
    if (!swept_) return;
    for (int k = 0; k < fishClassCount; ++k) {
        const QStringList texts = handCountRowTexts(swept_->rows[size_t(k)]);
        for (int column = 0; column < texts.size(); ++column) {
            auto* item = new QTableWidgetItem(texts[column]);
            if (column > 0) item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
            table->setItem(k, column, item);
        }
    }
    if (chosenClass_ >= 0 && chosenClass_ < fishClassCount) table->selectRow(chosenClass_);
}

void HandCountBox::showLine() {
    line->setVisible(handCount_.has_value());
    if (!handCount_) return;
    std::optional<int64_t> replay;
    if (swept_ && chosenClass_ >= 0 && chosenClass_ < fishClassCount)
        replay = swept_->rows[size_t(chosenClass_)].replay;
    if (!replay && !sweep_ && !stopped_.isEmpty()) {
        line->setText(tr("hand count %1: %2").arg(*handCount_).arg(stopped_));
        return;
    }
    line->setText(QString::fromStdString(handCountText(*handCount_, replay)));
}

}  // namespace velkor
