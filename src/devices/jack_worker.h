#pragma once

#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>
#include <thread>

namespace voxtane::devices {

// A thread of its own that does JACK's slow steps one after the other, in the order they were
// posted: connecting a port and waiting for the graph to carry the connection, waiting for
// what was sent to leave, disconnecting. The window's thread posts them and goes on. The last
// posted steps are done before the object goes, so that what was sent before a close gets out
// also when the program ends right after.
class JackWorker {
  public:
    JackWorker();
    ~JackWorker();
    JackWorker(const JackWorker&) = delete;
    JackWorker& operator=(const JackWorker&) = delete;

    void Post(std::function<void()> step);

  private:
    void Run();

    std::mutex mutex_;
    std::condition_variable posted_;
    std::deque<std::function<void()>> steps_;
    bool ending_ = false;
    std::thread thread_;  // last: it starts once the rest is ready
};

}  // namespace voxtane::devices
