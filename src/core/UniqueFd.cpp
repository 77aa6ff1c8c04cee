#include "core/UniqueFd.h"

#include <fcntl.h>
#include <sys/stat.h>

#include <cerrno>

namespace ov {

size_t ReadFull(int fd, void* buffer, size_t size) {
    auto* p = static_cast<char*>(buffer);
    size_t done = 0;
    while (done < size) {
        ssize_t n = ::read(fd, p + done, size - done);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) break;
        done += static_cast<size_t>(n);
    }
    return done;
}

size_t WriteFull(int fd, const void* buffer, size_t size) {
    const auto* p = static_cast<const char*>(buffer);
    size_t done = 0;
    while (done < size) {
        ssize_t n = ::write(fd, p + done, size - done);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) break;
        done += static_cast<size_t>(n);
    }
    return done;
}

std::optional<std::string> ReadWholeFile(const std::filesystem::path& file, uintmax_t maxBytes) {
    const UniqueFd fd(::open(file.c_str(), O_RDONLY | O_CLOEXEC));
    struct stat status {};
    if (!fd || ::fstat(fd.get(), &status) != 0 || !S_ISREG(status.st_mode)) return std::nullopt;
    const auto size = static_cast<uintmax_t>(status.st_size);
    if (size > maxBytes) return std::nullopt;
    std::string bytes(static_cast<size_t>(size), '\0');
    if (ReadFull(fd.get(), bytes.data(), bytes.size()) != bytes.size()) return std::nullopt;
    return bytes;
}

}  // namespace ov
