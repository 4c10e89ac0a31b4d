// Message boxes on screen: modal, with an icon and an OK button.
#pragma once

#include "ui/window/message_boxes.h"

namespace velkor {

class DialogMessageBoxes : public MessageBoxes {
public:
    void show(QWidget* parent, MessageKind kind, const QString& text) override;
};

}  // namespace velkor
