// Message boxes on screen.
#include "ui/window/dialog_message_boxes.h"

#include <QCoreApplication>
#include <QMessageBox>

namespace velkor {

void DialogMessageBoxes::show(QWidget* parent, MessageKind kind, const QString& text) {
    const QMessageBox::Icon icon = kind == MessageKind::error     ? QMessageBox::Critical
                                   : kind == MessageKind::warning ? QMessageBox::Warning
                                                                  : QMessageBox::Information;
    QMessageBox box(icon, QCoreApplication::applicationName(), text, QMessageBox::Ok, parent);
    box.exec();
}

}  // namespace velkor
