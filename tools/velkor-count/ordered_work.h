// Work on several threads whose results are handed on in the order given: `work`(i) runs on one of
// `workers` threads for i = 0..count-1, `handOn`(i) on the calling thread, in order of i, as soon
// as work i has finished.
#pragma once

#include <cstddef>
#include <functional>

namespace velkor {

void runInOrder(size_t count, size_t workers, const std::function<void(size_t)>& work,
                const std::function<void(size_t)>& handOn);

}  // namespace velkor
