#pragma once

#include <condition_variable>
#include <deque>
#include <filesystem>
#include <functional>
#include <mutex>
#include <thread>

#include "store/ProgressRecords.h"

namespace ov {

// Writes the learning record on a thread of its own, so a result costs the
// window no more than handing it over. The store is opened (created,
// migrated, or moved aside when damaged) on that thread too; when there is no
// store to be had, results are dropped and the player goes on as before.
class ProgressRecorder {
public:
    explicit ProgressRecorder(std::filesystem::path file);
    // Writes what is still waiting, then ends the thread.
    ~ProgressRecorder();
    ProgressRecorder(const ProgressRecorder&) = delete;
    ProgressRecorder& operator=(const ProgressRecorder&) = delete;

    const std::filesystem::path& File() const { return file_; }
    // Never waits for the disk.
    void Record(ProgressEvent event);
    // Returns once everything recorded before it is written (or dropped), so
    // a reader sees the latest result.
    void Flush();

private:
    void Run();

    const std::filesystem::path file_;
    std::mutex mutex_;
    std::condition_variable wake_;
    std::condition_variable idle_;
    std::deque<ProgressEvent> queue_;
    bool writing_ = false;
    bool stopping_ = false;
    std::thread worker_;
};

// Seconds since the epoch, the time every event carries.
int64_t ProgressNow();

}  // namespace ov
