#pragma once

#include <cstdint>
#include <filesystem>
#include <map>
#include <mutex>
#include <string>

namespace ov {

// Durations of sound files in milliseconds, remembered by path, size and
// modification time: the sound control asks for its file's duration every
// 10 ms, and opening an MP3 each time would cost more than playing it.
class FileDurations {
public:
    static FileDurations& Shared();
    // -1 when the file cannot be opened as a sound.
    int Milliseconds(const std::string& path);

private:
    struct Entry {
        std::uintmax_t size;
        std::filesystem::file_time_type modified;
        int milliseconds;
    };
    std::mutex mutex_;
    std::map<std::string, Entry> entries_;
};

}  // namespace ov
