// Parallel work handed on in order.
#include "tools/velkor-count/ordered_work.h"

#include <atomic>
#include <condition_variable>
#include <mutex>
#include <thread>
#include <vector>

#include "replay/counting_thread.h"

namespace velkor {

void runInOrder(size_t count, size_t workers, const std::function<void(size_t)>& work,
                const std::function<void(size_t)>& handOn) {
    if (workers <= 1 || count <= 1) {
        for (size_t i = 0; i < count; ++i) {
            work(i);
            handOn(i);
        }
        return;
    }
    std::mutex mutex;
    std::condition_variable finished;
    std::vector<char> done(count, 0);
    std::atomic<size_t> next{0};
    std::vector<std::thread> threads;
    for (size_t t = 0; t < workers && t < count; ++t) {
        threads.emplace_back([&] {
            prepareCountingThread();
            for (size_t i; (i = next++) < count;) {
                work(i);
                std::lock_guard lock(mutex);
                done[i] = 1;
                finished.notify_all();
            }
        });
    }
    for (size_t i = 0; i < count; ++i) {
        {
            std::unique_lock lock(mutex);
            finished.wait(lock, [&] { return done[i] != 0; });
        }
        handOn(i);
    }
    for (auto& t : threads) t.join();
}

}  // namespace velkor
