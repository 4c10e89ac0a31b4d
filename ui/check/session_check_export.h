// The window's session check: "Export session check…" writes the open recording's page as a PDF
// file chosen in a save dialog, and "Print session check…" (Ctrl+P) sends the same page to a
// printer chosen in the print dialog. Both count the recording as velkor-count would at the
// window's frame width, counter type and size classes, with a progress dialog that can be
// cancelled; a file is replaced only by a whole new one.
#pragma once

#include <QObject>
#include <QString>
#include <functional>
#include <optional>

#include "replay/replay_engine.h"
#include "ui/check/session_check_content.h"

class QAction;
class QWidget;

namespace velkor {

// The print's document name, which a print to a file suggests as the file's name:
// "day4-check" for ".../day4.blb", any character Windows refuses in a file name replaced by "_".
QString printDocumentName(const QString& recording);

class MessageBoxes;

class SessionCheckExport : public QObject {
    Q_OBJECT
public:
    // The recording open in the window and what it is counted with.
    struct Request {
        QString recording;
        SessionCheckOptions options;
    };

    SessionCheckExport(QWidget* window, MessageBoxes& messages);

    // The request for `engine`'s open recording, counted with the width of the frames it reads
    // now (as the whole count behind the window's comparison), `counterType` and its classes;
    // nothing when no recording is open.
    static std::optional<Request> requestFor(const ReplayEngine& engine, int32_t counterType);

    // Gives the request of the open session, or nothing when no recording is open.
    std::function<std::optional<Request>()> request;
    // The PDF file to write (empty: none); a save dialog unless set (for tests).
    std::function<QString()> chooseFile;

    QAction* exportAction = nullptr;
    QAction* printAction = nullptr;

    // Counts the open session and writes its page to `file`; false (with a message shown) when
    // nothing is open, the count was cancelled or failed, or the file could not be written.
    bool exportTo(const QString& file);

private:
    void exportCheck();
    void printCheck();
    std::optional<SessionCheckContent> gather();

    QWidget* window_;
    MessageBoxes& messages_;
};

}  // namespace velkor
