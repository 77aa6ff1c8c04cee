#include "core/UniqueFd.h"

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

}  // namespace ov
