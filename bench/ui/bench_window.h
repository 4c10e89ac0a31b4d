// A View Record window for the window benchmarks: off screen unless QT_QPA_PLATFORM says
// otherwise, its picture a given number of pixels wide, a recording open and message boxes
// printed instead of shown.
#pragma once

#include <QApplication>
#include <QTimer>
#include <cstdio>
#include <memory>
#include <stdexcept>
#include <string>

#include "ui/TfrmRecord.h"
#include "ui/frame_picture.h"
#include "ui/message_boxes.h"

namespace velkor::bench {

class SilentMessages : public MessageBoxes {
public:
    void show(QWidget*, MessageKind, const QString& text) override {
        std::fprintf(stderr, "%s\n", text.toLocal8Bit().constData());
    }
};

struct BenchWindow {
    Tsett settings;
    SilentMessages messages;
    std::unique_ptr<TfrmRecord> window;
    BenchWindow(const std::string& recording, int pictureWidth) {
        window = std::make_unique<TfrmRecord>(settings, nullptr, messages);
        window->PaintBox1->setFixedWidth(pictureWidth);
        window->resize(pictureWidth + 200, 800);
        window->show();
        window->Timer1->stop();
        QApplication::processEvents();
        if (!window->OpenBlbFile(QString::fromStdString(recording), false))
            throw std::runtime_error("the recording did not open");
        QApplication::processEvents();
    }
};

}  // namespace velkor::bench
