// Message boxes on screen or on the error stream.
#include "ui/window/message_boxes.h"

#include <QCoreApplication>
#include <QMessageBox>
#include <cstdio>

namespace velkor {

void DialogMessageBoxes::show(QWidget* parent, MessageKind kind, const QString& text) {
    const QMessageBox::Icon icon = kind == MessageKind::error     ? QMessageBox::Critical
                                   : kind == MessageKind::warning ? QMessageBox::Warning
                                                                  : QMessageBox::Information;
    QMessageBox box(icon, QCoreApplication::applicationName(), text, QMessageBox::Ok, parent);
    box.exec();
}

void ConsoleMessageBoxes::show(QWidget*, MessageKind kind, const QString& text) {
    ++shown;
    const char* what = kind == MessageKind::error     ? "error"
                       : kind == MessageKind::warning ? "warning"
                                                      : "information";
    std::fprintf(stderr, "velkor: %s: %s\n", what, text.toLocal8Bit().constData());
}

}  // namespace velkor
