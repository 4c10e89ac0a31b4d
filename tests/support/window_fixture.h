// A View Record window for tests: shown off screen with a picture of a known width, message boxes
// recorded instead of shown, and helpers that click, drag and draw strokes as a user would.
#pragma once

#include <gtest/gtest.h>

#include <QApplication>
#include <QMouseEvent>
#include <QSlider>
#include <QTimer>
#include <QToolButton>
#include <chrono>
#include <memory>
#include <thread>
#include <utility>
#include <vector>

#include "settings/Tsett.h"
#include "tests/support/session_fixture.h"
#include "ui/navigation/selection_track_bar.h"
#include "ui/picture/frame_picture.h"
#include "ui/window/TfrmRecord.h"
#include "ui/window/message_boxes.h"

namespace velkor::test {

class RecordedMessages : public MessageBoxes {
public:
    void show(QWidget*, MessageKind kind, const QString& text) override {
        shown.emplace_back(kind, text);
    }
    std::vector<std::pair<MessageKind, QString>> shown;
};

class WindowTest : public ::testing::Test {
protected:
    // A window whose picture is `pictureWidth` pixels wide: frames of that many lines.
    void makeWindow(int pictureWidth = 100) {
        window = std::make_unique<TfrmRecord>(settings, &store, messages);
        window->PaintBox1->setFixedWidth(pictureWidth);
        window->resize(900, 640);
        window->show();
        window->Timer1->stop();  // the tests open their recordings themselves
        QApplication::processEvents();
    }
    std::string session(const std::string& name, const Session& s) {
        return writeSession(dir.file(name), s);
    }
    bool open(const std::string& recording) {
        return window->OpenBlbFile(QString::fromStdString(recording), false);
    }
    // Counts the frames the engine reads from now on.
    void countReads() {
        reads.clear();
        window->engine().onFrameRead = [this](int32_t frame) { reads.push_back(frame); };
    }
    void click(QToolButton* button) { button->click(); }
    // The user drags the thumb to `position`.
    void drag(int position) { window->TrackBar1->setValue(position); }
    int frame() const { return window->engine().currentFrame(); }
    // Lets the window's event loop run until the whole count's result is shown (two minutes at
    // most); whether it was.
    bool waitForWholeCount() {
        const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(120);
        while (window->backgroundCountRunning() && std::chrono::steady_clock::now() < until) {
            QApplication::processEvents();
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        }
        QApplication::processEvents();
        return !window->backgroundCountRunning();
    }

    // A stroke drawn on the picture with the left mouse button, through the given corners.
    void strokeOnPicture(std::initializer_list<QPoint> corners) {
        QWidget* picture = window->PaintBox1;
        auto send = [picture](QEvent::Type type, QPoint at, Qt::MouseButton button,
                              Qt::MouseButtons held) {
            QMouseEvent event(type, QPointF(at), picture->mapToGlobal(QPointF(at)), button, held,
                              Qt::NoModifier);
            QApplication::sendEvent(picture, &event);
        };
        const QPoint* previous = nullptr;
        for (const QPoint& corner : corners) {
            if (previous == nullptr) {
                send(QEvent::MouseButtonPress, corner, Qt::LeftButton, Qt::LeftButton);
            } else {
                const QPoint d = corner - *previous;
                const int steps = std::max(1, std::max(std::abs(d.x()), std::abs(d.y())) / 5);
                for (int s = 1; s <= steps; ++s) {
                    send(QEvent::MouseMove, *previous + d * s / steps, Qt::NoButton,
                         Qt::LeftButton);
                }
            }
            previous = &corner;
        }
        send(QEvent::MouseButtonRelease, *previous, Qt::LeftButton, Qt::NoButton);
    }

    TempDir dir;
    MemorySettingsBackend store;
    Tsett settings;
    RecordedMessages messages;
    std::unique_ptr<TfrmRecord> window;
    std::vector<int32_t> reads;
};

}  // namespace velkor::test
