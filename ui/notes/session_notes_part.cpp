// The notes file's part of the window: the hand counts dock and the keeper behind it.
#include "ui/notes/session_notes_part.h"

#include <QAction>
#include <QDockWidget>
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QMessageBox>
#include <QScrollArea>
#include <QScrollBar>
#include <QStandardPaths>
#include <QTableWidget>
#include <QTimer>
#include <QVBoxLayout>
#include <exception>

#include "ui/counters/class_chooser.h"
#include "ui/notes/hand_count_box.h"
#include "ui/window/message_boxes.h"

namespace velkor {

SessionNotesPart::SessionNotesPart(QMainWindow* window, const CounterControls& counters,
                                   const std::unique_ptr<ReplayEngine>& engine,
                                   const Tsett& settings, MessageBoxes& messages)
    : QObject(window),
      dataFolder(QStandardPaths::writableLocation(QStandardPaths::AppDataLocation)),
      window_(window),
      counters_(counters),
      engine_(engine),
      settings_(settings),
      messages_(messages) {
    askReplace = [this](const QString& question) {
        return QMessageBox::question(window_, tr("Notes file"), question) == QMessageBox::Yes;
    };
    dock = new QDockWidget(tr("Hand counts"), window);
    dock->setObjectName(QStringLiteral("handCountDock"));
    auto* inside = new QWidget;
    auto* column = new QVBoxLayout(inside);
    whereKept = new QLabel(inside);
    whereKept->setWordWrap(true);
    whereKept->setTextInteractionFlags(Qt::TextSelectableByMouse);
    whereKept->hide();
    column->addWidget(whereKept);
    for (int c = 1; c <= 4; ++c) {
        HandCountBox* box = handCount[size_t(c)] = new HandCountBox(c, inside);
        box->hide();
        column->addWidget(box);
        connect(box, &HandCountBox::handCountEntered, this,
                [this](int channel, qint64 count) { enterHandCount(channel, count); });
        connect(box, &HandCountBox::handCountCleared, this,
                [this](int channel) { clearHandCount(channel); });
        connect(box, &HandCountBox::entryRefused, this,
                [this](const QString& text) { messages_.show(window_, MessageKind::error, text); });
        // A class clicked in the table is chosen beside the counter field, which counts again.
        connect(box, &HandCountBox::classClicked, this, [this](int channel, int sizeClass) {
            counters_.classChooser[size_t(channel)]->choose(sizeClass);
        });
        connect(counters_.classChooser[size_t(c)], &ClassChooser::classChosen, box,
                [box](int, int sizeClass) { box->setChosenClass(sizeClass); });
        // On the counter's caption: where its hand count is entered.
        auto* ask = new QAction(tr("Hand count..."), counters_.LabeledEditLabel[size_t(c)]);
        connect(ask, &QAction::triggered, this, [this, c] { askHandCount(c); });
        counters_.LabeledEditLabel[size_t(c)]->addAction(ask);
        counters_.LabeledEditLabel[size_t(c)]->setContextMenuPolicy(Qt::ActionsContextMenu);
    }
    column->addStretch(1);
    auto* scroll = new QScrollArea(dock);
    scroll->setWidgetResizable(true);
    scroll->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    // As wide as a sweep table with its box around it and the scroll bar beside.
    scroll->setMinimumWidth(handCount[1]->table->width() + 6 * column->spacing() +
                            scroll->verticalScrollBar()->sizeHint().width());
    scroll->setWidget(inside);
    dock->setWidget(scroll);
    window->addDockWidget(Qt::RightDockWidgetArea, dock);
    dock->hide();
    // The sweeps, like the whole count, are made at the frame width the window reads, which
    // changes with the picture's width at the next move.
    widthWatch_ = new QTimer(this);
    widthWatch_->setInterval(250);
    connect(widthWatch_, &QTimer::timeout, this, &SessionNotesPart::followFrameWidth);
    widthWatch_->start();
    connect(dock->toggleViewAction(), &QAction::triggered, this, [this](bool shown) {
        if (shown) showDock();
    });
}

SessionNotesPart::~SessionNotesPart() = default;

QAction* SessionNotesPart::dockAction() const {
    return dock->toggleViewAction();
}

void SessionNotesPart::open() {
    const ReplayEngine& engine = *engine_;
    keeper_ =
        std::make_unique<SessionNotesKeeper>(engine.recordingName(), dataFolder.toStdString());
    const QString message = QString::fromStdString(keeper_->message());
    whereKept->setText(keeper_->inDataFolder() ? message : QString());
    whereKept->setVisible(keeper_->inDataFolder());
    if (keeper_->awaitsReplacing())
        messages_.show(window_, MessageKind::warning,
                       tr("%1. It is left as it is; a hand count entered asks first whether it "
                          "may be replaced.")
                           .arg(message));
    const SessionReport& report = engine.report();
    for (int c = 1; c <= 4; ++c) {
        HandCountBox* box = handCount[size_t(c)];
        box->setVisible(c <= report.channelCount);
        box->setCounterName(QString::fromStdString(report.counterNames[size_t(c)]));
        box->setChosenClass(counters_.classChooser[size_t(c)]->chosenClass());
        const auto kept = keeper_->notes().handCounts.find(c);
        box->showHandCount(kept == keeper_->notes().handCounts.end()
                               ? std::nullopt
                               : std::optional<int64_t>(kept->second));
        if (c <= report.channelCount && box->handCount()) sweep(c);
    }
    if (!keeper_->notes().handCounts.empty()) showDock();
}

void SessionNotesPart::askHandCount(int channel) {
    if (!keeper_ || channel < 1 || channel > engine_->report().channelCount) return;
    showDock();
    HandCountBox* box = handCount[size_t(channel)];
    if (auto* scroll = qobject_cast<QScrollArea*>(dock->widget())) scroll->ensureWidgetVisible(box);
    box->field->setFocus();
    box->field->selectAll();
}

void SessionNotesPart::showDock() {
    if (auto* verdicts = window_->findChild<QDockWidget*>(QStringLiteral("verdictDock"));
        verdicts != nullptr && !dock->isFloating() && window_->tabifiedDockWidgets(dock).isEmpty())
        window_->tabifyDockWidget(verdicts, dock);
    dock->show();
    dock->raise();
}

void SessionNotesPart::enterHandCount(int channel, int64_t count) {
    if (!keeper_ || channel < 1 || channel > engine_->report().channelCount) return;
    saved([this, channel, count] { return keeper_->setHandCount(channel, count); });
    handCount[size_t(channel)]->showHandCount(count);
    sweep(channel);
}

void SessionNotesPart::clearHandCount(int channel) {
    if (!keeper_ || channel < 1 || channel > 4) return;
    saved([this, channel] { return keeper_->clearHandCount(channel); });
    handCount[size_t(channel)]->showHandCount(std::nullopt);
}

void SessionNotesPart::saved(const std::function<SessionNotesKeeper::Saving()>& change) {
    SessionNotesKeeper::Saving saving;
    try {
        saving = change();
        if (!saving.written && keeper_->awaitsReplacing() &&
            askReplace(tr("%1.\n\nReplace it with the notes of this session?")
                           .arg(QString::fromStdString(keeper_->message()))))
            saving = keeper_->replaceFile();
    } catch (const std::exception& e) {
        saving = {false, e.what()};
    }
    const QString message = QString::fromStdString(saving.message);
    if (saving.written) {
        whereKept->setText(QString::fromStdString(keeper_->message()));
        whereKept->setVisible(keeper_->inDataFolder());
    } else if (!message.isEmpty()) {
        messages_.show(window_, MessageKind::error, message);
    }
}

void SessionNotesPart::sweep(int channel) {
    const int32_t read = engine_->readFrameWidth();
    handCount[size_t(channel)]->startSweep(
        engine_->recordingName(), read > 0 ? read : engine_->frameWidth(), settings_.countertype);
}

void SessionNotesPart::followFrameWidth() {
    if (!keeper_ || !engine_->isOpen()) return;
    const int32_t read = engine_->readFrameWidth();
    if (read <= 0) return;
    for (int c = 1; c <= engine_->report().channelCount; ++c) {
        const HandCountBox* box = handCount[size_t(c)];
        if (box->handCount() && box->sweepWidth() != read) sweep(c);
    }
}

}  // namespace velkor
