#include "store/ClassPackageFile.h"

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdint>

#include "core/UniqueFd.h"

namespace ov {

ClassPackageFile::~ClassPackageFile() {
    if (size_ > 0) ::munmap(const_cast<std::byte*>(data_), size_);
}

bool ClassPackageFile::Open(const std::string& path) {
    UniqueFd fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK));
    struct stat info {};
    if (!fd || ::fstat(fd.get(), &info) != 0) return false;
    if (!S_ISREG(info.st_mode)) return false;
    if (info.st_size == 0) return true;
    void* mapped = ::mmap(nullptr, static_cast<size_t>(info.st_size), PROT_READ, MAP_PRIVATE, fd.get(), 0);
    if (mapped == MAP_FAILED) return false;
    data_ = static_cast<const std::byte*>(mapped);
    size_ = static_cast<size_t>(info.st_size);
    return true;
}

void ClassPackageFile::Load(std::span<const std::byte> range) const {
    const auto page = static_cast<uintptr_t>(::sysconf(_SC_PAGESIZE));
    const uintptr_t first = reinterpret_cast<uintptr_t>(range.data()) / page * page;
    const uintptr_t end = reinterpret_cast<uintptr_t>(range.data()) + range.size();
    if (first < end) ::madvise(reinterpret_cast<void*>(first), end - first, MADV_POPULATE_READ);
}

void ClassPackageFile::Release(std::span<const std::byte> range) const {
    const auto page = static_cast<uintptr_t>(::sysconf(_SC_PAGESIZE));
    const auto begin = reinterpret_cast<uintptr_t>(range.data());
    const uintptr_t first = (begin + page - 1) / page * page;
    const uintptr_t last = (begin + range.size()) / page * page;
    if (first < last) ::madvise(reinterpret_cast<void*>(first), last - first, MADV_DONTNEED);
}

}  // namespace ov
