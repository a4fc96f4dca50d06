#pragma once

#include <algorithm>
#include <atomic>
#include <cstdint>
#include <thread>
#include <vector>

namespace voxtane::testing {

// Threads that keep every core of the machine busy (two at least) until the object goes: the
// JACK server, its clients and the programs under test then wait for the processor, as on a
// machine that is building something.
class CoreLoad {
  public:
    CoreLoad() {
        const unsigned cores = std::max(2u, std::thread::hardware_concurrency());
        for (unsigned i = 0; i < cores; ++i)
            threads_.emplace_back([this] {
                volatile std::uint64_t sink = 0;
                while (!stop_.load(std::memory_order_relaxed)) sink = sink + 1;
            });
    }
    ~CoreLoad() {
        stop_ = true;
        for (auto& thread : threads_) thread.join();
    }
    CoreLoad(const CoreLoad&) = delete;
    CoreLoad& operator=(const CoreLoad&) = delete;

  private:
    std::atomic<bool> stop_{false};
    std::vector<std::thread> threads_;
};

}  // namespace voxtane::testing
