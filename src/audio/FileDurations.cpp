#include "audio/FileDurations.h"

#include "audio/SoundLibrary.h"

namespace ov {

FileDurations& FileDurations::Shared() {
    static FileDurations durations;
    return durations;
}

int FileDurations::Milliseconds(const std::string& path) {
    std::error_code error;
    auto size = std::filesystem::file_size(path, error);
    auto modified = std::filesystem::last_write_time(path, error);
    if (error) return -1;
    {
        std::lock_guard lock(mutex_);
        auto it = entries_.find(path);
        if (it != entries_.end() && it->second.size == size && it->second.modified == modified) {
            return it->second.milliseconds;
        }
    }
    std::int64_t bytes = SoundLibrary::Instance().MeasureFile(path);
    int milliseconds = bytes < 0 ? -1 : static_cast<int>(BytesToSeconds(bytes) * 1000.0);
    std::lock_guard lock(mutex_);
    entries_[path] = Entry{size, modified, milliseconds};
    return milliseconds;
}

}  // namespace ov
