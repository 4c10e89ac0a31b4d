// Raising the overflow error out of line keeps the checked operations small enough to inline.
#include "core/checked_math.h"

#include <string>

namespace velkor {

void raiseOverflow(const char* what) {
    throw OverflowError("", std::string("arithmetic overflow in ") + what);
}

}  // namespace velkor
