#pragma once

#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>
#include <optional>
#include <string>
#include <thread>

#include "midi/clock.h"

namespace voxtane::editor {

// When the recovery copy may be written: at most once a second, and the latest state always
// in the end. Pure: the time is passed in.
class WritePacing {
  public:
    static constexpr auto kInterval = std::chrono::seconds(1);
    using TimePoint = midi::Clock::TimePoint;

    // Whether a copy waiting now may be written now, and if not, when.
    [[nodiscard]] bool Due(TimePoint now) const { return !last_ || now - *last_ >= kInterval; }
    [[nodiscard]] TimePoint DueAt(TimePoint now) const {
        return Due(now) ? now : *last_ + kInterval;
    }
    void Written(TimePoint now) { last_ = now; }

  private:
    std::optional<TimePoint> last_;
};

// Writes the editor's own files off the window's thread: the recovery copy (rewritten often)
// and the entries of the recovery shelf. Each file is written whole or not at all, flushed to
// the disk before it takes its name.
class CopyWriter {
  public:
    virtual ~CopyWriter() = default;
    // `path` is to hold `text`, paced: a copy not written yet is replaced by a later one.
    virtual void Keep(const std::string& path, std::string text) = 0;
    // `path` is to hold `text`, as soon as it can: never replaced, never left out.
    virtual void Store(const std::string& path, std::string text) = 0;
    // `path` is removed after what was asked before it; copies of it still waiting are dropped.
    virtual void Remove(const std::string& path) = 0;
    // Returns once everything asked so far is done, waiting copies written at once.
    virtual void Flush() = 0;
};

// A worker thread, started at the first request, paced by `clock`. `done` (for tests) is told,
// on the worker, of every file written or removed.
class BackgroundCopyWriter : public CopyWriter {
  public:
    using Done = std::function<void(const std::string& path, bool written)>;
    explicit BackgroundCopyWriter(midi::Clock& clock, Done done = {});
    ~BackgroundCopyWriter() override;
    BackgroundCopyWriter(const BackgroundCopyWriter&) = delete;
    BackgroundCopyWriter& operator=(const BackgroundCopyWriter&) = delete;

    void Keep(const std::string& path, std::string text) override;
    void Store(const std::string& path, std::string text) override;
    void Remove(const std::string& path) override;
    void Flush() override;

  private:
    enum class Kind { Keep, Store, Remove };
    struct Job {
        Kind kind;
        std::string path;
        std::string text;
    };
    void Add(Job job);
    void Work();
    static void Carry(const Job& job);

    midi::Clock& clock_;
    Done done_;
    std::mutex mutex_;
    std::condition_variable wake_;
    std::condition_variable idle_;
    std::deque<Job> jobs_;
    WritePacing pacing_;
    int flushing_ = 0;
    bool busy_ = false;
    bool stopping_ = false;
    std::thread worker_;
};

}  // namespace voxtane::editor
