#include "store/ProgressRecorder.h"

#include <chrono>

#include "core/Log.h"
#include "store/ProgressStore.h"

namespace ov {

int64_t ProgressNow() {
    return std::chrono::duration_cast<std::chrono::seconds>(std::chrono::system_clock::now().time_since_epoch())
        .count();
}

ProgressRecorder::ProgressRecorder(std::filesystem::path file) : file_(std::move(file)) {
    worker_ = std::thread([this] { Run(); });
}

ProgressRecorder::~ProgressRecorder() {
    {
        std::lock_guard lock(mutex_);
        stopping_ = true;
    }
    wake_.notify_one();
    worker_.join();
}

void ProgressRecorder::Record(ProgressEvent event) {
    {
        std::lock_guard lock(mutex_);
        queue_.push_back(std::move(event));
    }
    wake_.notify_one();
}

void ProgressRecorder::Flush() {
    std::unique_lock lock(mutex_);
    idle_.wait(lock, [this] { return queue_.empty() && !writing_; });
}

void ProgressRecorder::Run() {
    std::optional<ProgressStore> store = ProgressStore::OpenForPlayer(file_, ProgressNow());
    bool failed = false;
    std::unique_lock lock(mutex_);
    for (;;) {
        wake_.wait(lock, [this] { return stopping_ || !queue_.empty(); });
        if (queue_.empty()) break;
        ProgressEvent event = std::move(queue_.front());
        queue_.pop_front();
        writing_ = true;
        lock.unlock();
        try {
            if (store && store->Writable()) store->Record(event);
            failed = false;
        } catch (const std::exception& e) {
            // One line per run of failures, not one per result.
            if (!failed) Log(LogLevel::Warning, "store", std::string("result not recorded: ") + e.what());
            failed = true;
        }
        lock.lock();
        writing_ = false;
        if (queue_.empty()) idle_.notify_all();
    }
    idle_.notify_all();
}

}  // namespace ov
