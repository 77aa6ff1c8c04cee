#pragma once

#include <unistd.h>

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <utility>

namespace ov {

// Owns a POSIX file descriptor.
class UniqueFd {
public:
    UniqueFd() = default;
    explicit UniqueFd(int fd) : fd_(fd) {}
    ~UniqueFd() { reset(); }
    UniqueFd(UniqueFd&& other) noexcept : fd_(std::exchange(other.fd_, -1)) {}
    UniqueFd& operator=(UniqueFd&& other) noexcept {
        if (this != &other) {
            reset();
            fd_ = std::exchange(other.fd_, -1);
        }
        return *this;
    }
    UniqueFd(const UniqueFd&) = delete;
    UniqueFd& operator=(const UniqueFd&) = delete;

    int get() const { return fd_; }
    explicit operator bool() const { return fd_ >= 0; }
    void reset(int fd = -1) {
        if (fd_ >= 0) ::close(fd_);
        fd_ = fd;
    }

private:
    int fd_ = -1;
};

// Reads or writes the whole span, retrying after interruptions and partial
// transfers; answers the number of bytes actually moved (short only at end of
// file or on an error).
size_t ReadFull(int fd, void* buffer, size_t size);
size_t WriteFull(int fd, const void* buffer, size_t size);

// The whole regular file; nothing when it cannot be read or holds more than maxBytes.
std::optional<std::string> ReadWholeFile(const std::filesystem::path& file, uintmax_t maxBytes = UINTMAX_MAX);

}  // namespace ov
