// Exporting and printing the session check from the window.
#include "ui/check/session_check_export.h"

#include <QAction>
#include <QApplication>
#include <QFileDialog>
#include <QFileInfo>
#include <QPrintDialog>
#include <QPrinter>
#include <exception>

#include "io/errors.h"
#include "io/replacing_file.h"
#include "ui/check/session_check_page.h"
#include "ui/window/long_work.h"
#include "ui/window/message_boxes.h"

namespace velkor {

std::optional<SessionCheckExport::Request> SessionCheckExport::requestFor(
    const ReplayEngine& engine, int32_t counterType) {
    if (!engine.isOpen()) return std::nullopt;
    Request r{QString::fromUtf8(engine.recordingName().c_str()), {}};
    r.options.frameWidth =
        engine.readFrameWidth() > 0 ? engine.readFrameWidth() : engine.frameWidth();
    r.options.counterType = counterType;
    r.options.classes = engine.classOverrides();
    r.options.version = QApplication::applicationVersion().toStdString();
    return r;
}

SessionCheckExport::SessionCheckExport(QWidget* window, MessageBoxes& messages)
    : QObject(window), window_(window), messages_(messages) {
    exportAction = new QAction(tr("Export session check\u2026"), this);
    exportAction->setObjectName("exportCheckAction");
    exportAction->setToolTip(
        tr("The session's counts, verdicts, curves and most rejected frame on one page, as a "
           "PDF file"));
    connect(exportAction, &QAction::triggered, this, &SessionCheckExport::exportCheck);
    printAction = new QAction(tr("Print session check\u2026"), this);
    printAction->setObjectName("printCheckAction");
    printAction->setShortcut(QKeySequence::Print);
    connect(printAction, &QAction::triggered, this, &SessionCheckExport::printCheck);
}

std::optional<SessionCheckContent> SessionCheckExport::gather() {
    const std::optional<Request> r = request ? request() : std::nullopt;
    if (!r || r->recording.isEmpty()) {
        messages_.show(window_, MessageKind::warning,
                       tr("Open a recording first: the session check is made of it."));
        return std::nullopt;
    }
    try {
        LongWork work(window_, tr("Counting the session for its check\u2026"), true);
        return gatherSessionCheck(r->recording.toStdString(), r->options,
                                  [&work](int32_t done, int32_t frames) {
                                      work.progress(done, frames);
                                      return !work.cancelled();
                                  });
    } catch (const std::exception& e) {
        messages_.show(window_, MessageKind::error, QString::fromUtf8(e.what()));
    }
    return std::nullopt;
}

bool SessionCheckExport::exportTo(const QString& file) {
    const std::optional<SessionCheckContent> content = gather();
    if (!content) return false;
    const QByteArray pdf = sessionCheckPdf({*content});
    try {
        if (pdf.isEmpty()) throw FileAccessError(file.toStdString(), "the page could not be drawn");
        replaceFileContent(file.toStdString(),
                           std::string_view(pdf.constData(), size_t(pdf.size())));
    } catch (const std::exception& e) {
        messages_.show(window_, MessageKind::error, QString::fromUtf8(e.what()));
        return false;
    }
    return true;
}

QString printDocumentName(const QString& recording) {
    QString name = QFileInfo(recording).completeBaseName() + QStringLiteral("-check");
    for (QChar& c : name)
        if (QStringLiteral("<>:\"/\\|?*").contains(c) || c.unicode() < 32) c = QLatin1Char('_');
    return name;
}

void SessionCheckExport::exportCheck() {
    QString file;
    if (chooseFile) {
        file = chooseFile();
    } else {
        QString suggested;
        if (const std::optional<Request> r = request ? request() : std::nullopt)
            suggested = QFileInfo(r->recording).completeBaseName() + "-check.pdf";
        file = QFileDialog::getSaveFileName(window_, tr("Export session check"), suggested,
                                            tr("PDF document (*.pdf)"));
    }
    if (!file.isEmpty()) exportTo(file);
}

void SessionCheckExport::printCheck() {
    const std::optional<SessionCheckContent> content = gather();
    if (!content) return;
    QPrinter printer(QPrinter::HighResolution);
    printer.setPageSize(QPageSize(QPageSize::A4));
    printer.setPageOrientation(QPageLayout::Portrait);
    // The document's name is the file name a print to a file suggests: nothing Windows refuses.
    printer.setDocName(printDocumentName(QString::fromStdString(content->fileName)));
    QPrintDialog dialog(&printer, window_);
    dialog.setWindowTitle(tr("Print session check"));
    if (dialog.exec() != QDialog::Accepted) return;
    if (!paintSessionCheckPages(printer, {*content}))
        messages_.show(
            window_, MessageKind::error,
            tr("The session check could not be printed on %1.").arg(printer.printerName()));
}

}  // namespace velkor
