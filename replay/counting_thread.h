// The set-up every thread that counts does first, before it creates an engine: counts must come
// out the same on every thread of every program (the window's worker, velkor-count's workers), so
// whatever a platform needs for that (such as the floating-point state of a new thread) belongs
// here and nowhere else.
#pragma once

namespace velkor {

inline void prepareCountingThread() {}

}  // namespace velkor
