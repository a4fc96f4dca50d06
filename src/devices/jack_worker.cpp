#include "devices/jack_worker.h"

namespace voxtane::devices {

JackWorker::JackWorker() : thread_([this] { Run(); }) {}

JackWorker::~JackWorker() {
    {
        const std::lock_guard lock(mutex_);
        ending_ = true;
    }
    posted_.notify_one();
    thread_.join();
}

void JackWorker::Post(std::function<void()> step) {
    {
        const std::lock_guard lock(mutex_);
        steps_.push_back(std::move(step));
    }
    posted_.notify_one();
}

void JackWorker::Run() {
    for (;;) {
        std::function<void()> step;
        {
            std::unique_lock lock(mutex_);
            posted_.wait(lock, [this] { return ending_ || !steps_.empty(); });
            if (steps_.empty()) return;  // ending, with nothing left to do
            step = std::move(steps_.front());
            steps_.pop_front();
        }
        step();
    }
}

}  // namespace voxtane::devices
