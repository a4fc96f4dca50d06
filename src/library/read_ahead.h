#pragma once

#include <condition_variable>
#include <cstddef>
#include <deque>
#include <functional>
#include <mutex>
#include <thread>

// Work done ahead on a thread of its own, taken in order: the scan reads and understands the next
// files while it writes what the last ones held into the database. At most `depth` results wait,
// so that memory stays bounded however many files there are.
namespace voxtane::library {

template <typename Result>
class ReadAhead {
  public:
    ReadAhead(std::size_t count, std::function<Result(std::size_t)> make, std::size_t depth = 256)
        : count_(count), depth_(depth), make_(std::move(make)), thread_([this] { Run(); }) {}

    // Stops the thread at its next item when results are left untaken.
    ~ReadAhead() {
        {
            std::lock_guard lock(mutex_);
            stopping_ = true;
        }
        changed_.notify_all();
        thread_.join();
    }
    ReadAhead(const ReadAhead&) = delete;
    ReadAhead& operator=(const ReadAhead&) = delete;

    // The next result, in the order of the items; call at most `count` times.
    Result Next() {
        std::unique_lock lock(mutex_);
        changed_.wait(lock, [this] { return !ready_.empty(); });
        Result result = std::move(ready_.front());
        ready_.pop_front();
        changed_.notify_all();
        return result;
    }

  private:
    void Run() {
        for (std::size_t i = 0; i < count_; ++i) {
            {
                std::unique_lock lock(mutex_);
                changed_.wait(lock, [this] { return stopping_ || ready_.size() < depth_; });
                if (stopping_) return;
            }
            Result result = make_(i);
            {
                std::lock_guard lock(mutex_);
                ready_.push_back(std::move(result));
            }
            changed_.notify_all();
        }
    }

    const std::size_t count_;
    const std::size_t depth_;
    std::function<Result(std::size_t)> make_;
    std::mutex mutex_;
    std::condition_variable changed_;
    std::deque<Result> ready_;
    bool stopping_ = false;
    std::thread thread_;  // last: it starts once everything above is there
};

}  // namespace voxtane::library
