// Raising the overflow error out of line keeps the checked operations small enough to inline.
#include "io/conversions.h"

#include <string>

#include "io/errors.h"

namespace velkor {

void raiseOverflow(const char* what) {
    throw OverflowError("", std::string("arithmetic overflow in ") + what);
}

}  // namespace velkor
