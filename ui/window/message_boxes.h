// The message boxes the window shows, behind a small interface: the program shows real boxes,
// the screenshot run prints to the error stream, and tests record the messages so nothing blocks.
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

// Modal boxes with an icon and an OK button.
class DialogMessageBoxes : public MessageBoxes {
public:
    void show(QWidget* parent, MessageKind kind, const QString& text) override;
};

// One line per message on the error stream, for runs without a user.
class ConsoleMessageBoxes : public MessageBoxes {
public:
    void show(QWidget* parent, MessageKind kind, const QString& text) override;
    int shown = 0;
};

}  // namespace velkor
