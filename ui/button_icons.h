// The pictures of the automatic count button, drawn in code so they look alike on every
// platform: image 4 (no frame marked: press to mark) and image 5 (a frame is marked: press to
// count from the mark to the frame shown).
#pragma once

#include <QIcon>

namespace velkor {

QIcon autocountIcon(int image);

}  // namespace velkor
