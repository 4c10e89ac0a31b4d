// The pictures of the automatic count button, drawn in code so they look alike on every
// platform: image 4 (no frame marked: press to mark) and image 5 (a frame is marked: press to
// count from the mark to the frame shown), the close, Go to and marks buttons'.
#pragma once

#include <QIcon>

namespace velkor {

QIcon autocountIcon(int image);
// The close button's picture: a cross, the same on every platform.
QIcon closeIcon();
// The Go to button's picture: a clock with an arrow.
QIcon goToIcon();
// The marks button's picture: a counted mark with its number beside a dashed rejected one.
QIcon marksIcon();

}  // namespace velkor
