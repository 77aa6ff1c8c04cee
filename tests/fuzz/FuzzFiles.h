#pragma once

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>

#include "core/Log.h"

namespace ovfuzz {

// A scratch folder of this process, made once; the targets that read files
// write each input there.
inline const std::filesystem::path& ScratchFolder(const std::string& name) {
    static const std::filesystem::path folder = [&] {
        auto p = std::filesystem::temp_directory_path() / ("ovfuzz-" + name + "-" + std::to_string(getpid()));
        std::filesystem::create_directories(p);
        return p;
    }();
    return folder;
}

inline void WriteBytes(const std::filesystem::path& file, std::string_view bytes) {
    std::filesystem::create_directories(file.parent_path());
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

// Failing inputs are the fuzzer's daily bread: a log line for each would only
// slow it down and fill the user's log file.
inline void SilenceLog() {
    static const bool silenced = [] {
        ov::SetLogSink([](ov::LogLevel, std::string_view, std::string_view) {});
        return true;
    }();
    (void)silenced;
}

}  // namespace ovfuzz
