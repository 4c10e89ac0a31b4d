// The message boxes the window shows, behind a small interface: the program shows real boxes
// (dialog_message_boxes.h), the screenshot run prints to the error stream
// (console_message_boxes.h), and tests record the messages so nothing blocks.
#pragma once

#include <QString>

class QWidget;

namespace velkor {

enum class MessageKind {
    error,        // an error icon and OK: a failed operation, a missing session report
    warning,      // a warning icon and OK: the recording has damaged lines
    information,  // an information icon and OK: About
};

class MessageBoxes {
public:
    virtual ~MessageBoxes() = default;
    virtual void show(QWidget* parent, MessageKind kind, const QString& text) = 0;
};

}  // namespace velkor
