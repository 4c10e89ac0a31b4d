// The set-up every thread that counts does first, before it creates an engine: counts must come
// out the same on every thread of every program (the window's worker, velkor-count's workers), so
// whatever a platform needs for that (such as the floating-point state of a new thread) belongs
// here and nowhere else.
#pragma once

#include "core/extended_precision.h"

namespace velkor {

// A thread that Windows starts itself rounds long double to 53 bits until told otherwise.
inline void prepareCountingThread() {
    useExtendedPrecision();
}

}  // namespace velkor
