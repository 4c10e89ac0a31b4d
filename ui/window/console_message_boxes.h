// Messages on the error stream, one line each, for runs without a user (the screenshot run).
#pragma once

#include "ui/window/message_boxes.h"

namespace velkor {

class ConsoleMessageBoxes : public MessageBoxes {
public:
    void show(QWidget* parent, MessageKind kind, const QString& text) override;
    int shown = 0;
};

}  // namespace velkor
