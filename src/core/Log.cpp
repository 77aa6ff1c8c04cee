#include "core/Log.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <mutex>
#include <string>
#include <system_error>
#include <utility>

namespace ov {
namespace {

namespace fs = std::filesystem;

constexpr std::uintmax_t kRotateBytes = 256 * 1024;

const char* LevelName(LogLevel level) {
    switch (level) {
    case LogLevel::Debug: return "debug";
    case LogLevel::Info: return "info";
    case LogLevel::Warning: return "warning";
    case LogLevel::Error: return "error";
    }
    return "?";
}

bool DebugWanted() {
    const char* value = std::getenv("OV_LOG");
    return value && std::string_view(value) == "debug";
}

fs::path LogFilePath() {
    if (const char* state = std::getenv("XDG_STATE_HOME"); state && *state == '/')
        return fs::path(state) / "ovplayer" / "ovplayer.log";
    if (const char* home = std::getenv("HOME"); home && *home)
        return fs::path(home) / ".local" / "state" / "ovplayer" / "ovplayer.log";
    return {};
}

std::string TimeStamp() {
    std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    char text[32];
    std::strftime(text, sizeof text, "%Y-%m-%d %H:%M:%S", &local);
    return text;
}

// Opened on the first line, so a run that logs nothing creates no file.
class FileSink {
public:
    void Write(LogLevel level, std::string_view area, std::string_view text) {
        const bool debug = DebugWanted();
        if (level == LogLevel::Debug && !debug)
            return;
        std::string line = TimeStamp() + ' ' + LevelName(level) + ' ' + std::string(area) + ": " +
                           std::string(text) + '\n';
        if (debug)
            std::fputs(line.c_str(), stderr);
        if (!Open())
            return;
        std::fputs(line.c_str(), file_);
        std::fflush(file_);
        written_ += line.size();
        if (written_ >= kRotateBytes)
            Rotate();
    }

    ~FileSink() {
        if (file_)
            std::fclose(file_);
    }

private:
    bool Open() {
        if (file_ || failed_)
            return file_ != nullptr;
        path_ = LogFilePath();
        std::error_code ec;
        if (path_.empty() || (fs::create_directories(path_.parent_path(), ec), ec)) {
            failed_ = true;
            return false;
        }
        file_ = std::fopen(path_.c_str(), "ae");
        failed_ = file_ == nullptr;
        written_ = file_ ? fs::file_size(path_, ec) : 0;
        if (ec)
            written_ = 0;
        return file_ != nullptr;
    }

    void Rotate() {
        std::fclose(file_);
        file_ = nullptr;
        std::error_code ec;
        fs::rename(path_, fs::path(path_).concat(".1"), ec);
        written_ = 0;
    }

    fs::path path_;
    std::FILE* file_ = nullptr;
    std::uintmax_t written_ = 0;
    bool failed_ = false;
};

std::mutex& SinkMutex() {
    static std::mutex mutex;
    return mutex;
}

LogSink& CurrentSink() {
    static LogSink sink;
    return sink;
}

FileSink& DefaultSink() {
    static FileSink sink;
    return sink;
}

}  // namespace

void Log(LogLevel level, std::string_view area, std::string_view text) {
    std::lock_guard lock(SinkMutex());
    if (LogSink& sink = CurrentSink())
        sink(level, area, text);
    else
        DefaultSink().Write(level, area, text);
}

LogSink SetLogSink(LogSink sink) {
    std::lock_guard lock(SinkMutex());
    return std::exchange(CurrentSink(), std::move(sink));
}

bool LogDebugEnabled() {
    return DebugWanted();
}

}  // namespace ov
