#include "store/ClassPackageFile.h"

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

namespace ov {

ClassPackageFile::~ClassPackageFile() {
    if (size_ > 0) ::munmap(const_cast<std::byte*>(data_), size_);
}

bool ClassPackageFile::Open(const std::string& path) {
    UniqueFd fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK));
    struct stat info {};
    if (!fd || ::fstat(fd.get(), &info) != 0) return false;
    if (!S_ISREG(info.st_mode)) return false;
    fd_ = std::move(fd);
    if (info.st_size == 0) return true;
    void* mapped = ::mmap(nullptr, static_cast<size_t>(info.st_size), PROT_READ, MAP_PRIVATE, fd_.get(), 0);
    if (mapped == MAP_FAILED) return false;
    data_ = static_cast<const std::byte*>(mapped);
    size_ = static_cast<size_t>(info.st_size);
    return true;
}

bool ClassPackageFile::Read(std::span<const std::byte> range, std::byte* into) const {
    auto offset = static_cast<off_t>(range.data() - data_);
    for (size_t done = 0; done < range.size();) {
        const ssize_t n = ::pread(fd_.get(), into + done, range.size() - done, offset);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) {
            if (n == 0) errno = 0;
            return false;
        }
        done += static_cast<size_t>(n);
        offset += n;
    }
    return true;
}

}  // namespace ov
