#pragma once

#include <chrono>
#include <functional>

namespace voxtane::editor {

// A repeating timer on the window's thread: what moves the exchanges with the synth on without
// ever waiting for them. The window's is a Qt timer; tests tick by hand.
class Ticker {
  public:
    virtual ~Ticker() = default;
    // Calls `tick` every `interval` until Stop; a second Start replaces the first.
    virtual void Start(std::chrono::milliseconds interval, std::function<void()> tick) = 0;
    virtual void Stop() = 0;
};

// A ticker that ticks when the test (or a loop of its own) says so.
class ManualTicker : public Ticker {
  public:
    void Start(std::chrono::milliseconds, std::function<void()> tick) override {
        tick_ = std::move(tick);
    }
    void Stop() override { tick_ = nullptr; }
    [[nodiscard]] bool Running() const { return static_cast<bool>(tick_); }
    // Runs one tick when the ticker runs; a tick may stop or restart it.
    void Tick() {
        if (!tick_) return;
        const std::function<void()> tick = tick_;  // it may stop the ticker while it runs
        tick();
    }

  private:
    std::function<void()> tick_;
};

}  // namespace voxtane::editor
