#include "editor/recovery/copy_writer.h"

#include <algorithm>
#include <filesystem>

#include "bank/atomic_file.h"
#include "bank/file_path.h"

namespace voxtane::editor {

using namespace std::chrono_literals;

BackgroundCopyWriter::BackgroundCopyWriter(midi::Clock& clock, Done done)
    : clock_(clock), done_(std::move(done)) {}

BackgroundCopyWriter::~BackgroundCopyWriter() {
    {
        std::lock_guard lock(mutex_);
        stopping_ = true;
    }
    wake_.notify_all();
    if (worker_.joinable()) worker_.join();
}

void BackgroundCopyWriter::Add(Job job) {
    {
        std::lock_guard lock(mutex_);
        if (job.kind == Kind::Remove)
            std::erase_if(jobs_, [&job](const Job& waiting) {
                return waiting.kind == Kind::Keep && waiting.path == job.path;
            });
        // A copy still waiting behind nothing else is replaced: only the latest one counts.
        if (job.kind == Kind::Keep && !jobs_.empty() && jobs_.back().kind == Kind::Keep &&
            jobs_.back().path == job.path)
            jobs_.back().text = std::move(job.text);
        else
            jobs_.push_back(std::move(job));
        if (!worker_.joinable()) worker_ = std::thread([this] { Work(); });
    }
    wake_.notify_all();
}

void BackgroundCopyWriter::Keep(const std::string& path, std::string text) {
    Add({Kind::Keep, path, std::move(text)});
}

void BackgroundCopyWriter::Store(const std::string& path, std::string text) {
    Add({Kind::Store, path, std::move(text)});
}

void BackgroundCopyWriter::Remove(const std::string& path) {
    Add({Kind::Remove, path, {}});
}

void BackgroundCopyWriter::Flush() {
    std::unique_lock lock(mutex_);
    if (!worker_.joinable()) return;
    ++flushing_;
    wake_.notify_all();
    idle_.wait(lock, [this] { return jobs_.empty() && !busy_; });
    --flushing_;
}

void BackgroundCopyWriter::Carry(const Job& job) {
    namespace fs = std::filesystem;
    std::error_code ec;
    if (job.kind == Kind::Remove) {
        fs::remove(PathFromUtf8(job.path), ec);
        return;
    }
    fs::create_directories(PathFromUtf8(job.path).parent_path(), ec);
    // A file that cannot be written costs nothing but that file: the editor goes on.
    (void)WriteFileAtomically(
        job.path,
        std::span(reinterpret_cast<const std::uint8_t*>(job.text.data()), job.text.size()), {},
        DiskSync::Wait);
}

void BackgroundCopyWriter::Work() {
    std::unique_lock lock(mutex_);
    while (true) {
        wake_.wait(lock, [this] { return stopping_ || !jobs_.empty(); });
        if (jobs_.empty()) break;  // stopping, nothing left
        const auto now = clock_.Now();
        if (jobs_.front().kind == Kind::Keep && !stopping_ && flushing_ == 0 && !pacing_.Due(now)) {
            // The clock may be a test's own: it is looked at again at least every 100 ms.
            wake_.wait_for(lock, std::min<midi::Clock::Duration>(pacing_.DueAt(now) - now, 100ms));
            continue;
        }
        const Job job = std::move(jobs_.front());
        jobs_.pop_front();
        busy_ = true;
        lock.unlock();
        Carry(job);
        if (done_) done_(job.path, job.kind != Kind::Remove);
        lock.lock();
        if (job.kind == Kind::Keep) pacing_.Written(clock_.Now());
        busy_ = false;
        if (jobs_.empty()) idle_.notify_all();
    }
    busy_ = false;
    idle_.notify_all();
}

}  // namespace voxtane::editor
