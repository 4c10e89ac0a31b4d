// Message boxes on screen or on the error stream.
#include "ui/message_boxes.h"

#include <QCoreApplication>
#include <QMessageBox>
#include <cstdio>

namespace velkor {

void DialogMessageBoxes::show(QWidget* parent, MessageKind kind, const QString& text) {
    QMessageBox box(kind == MessageKind::error ? QMessageBox::Critical : QMessageBox::Warning,
                    QCoreApplication::applicationName(), text, QMessageBox::Ok, parent);
    box.exec();
}

void ConsoleMessageBoxes::show(QWidget*, MessageKind kind, const QString& text) {
    ++shown;
    std::fprintf(stderr, "velkor: %s: %s\n", kind == MessageKind::error ? "error" : "warning",
                 text.toLocal8Bit().constData());
}

}  // namespace velkor
