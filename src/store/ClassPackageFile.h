#pragma once

#include <cstddef>
#include <span>
#include <string>

namespace ov {

// A package file mapped read-only, so that members are inflated straight from
// the page cache and a large package never sits in memory whole.
class ClassPackageFile {
public:
    ClassPackageFile() = default;
    ~ClassPackageFile();
    ClassPackageFile(const ClassPackageFile&) = delete;
    ClassPackageFile& operator=(const ClassPackageFile&) = delete;

    // False (errno set) when the file cannot be opened or mapped.
    bool Open(const std::string& path);
    std::span<const std::byte> Bytes() const { return {data_, size_}; }

    // Maps the pages of `range` in one call before they are read: taking them
    // one fault at a time costs more than inflating them.
    void Load(std::span<const std::byte> range) const;

    // Hands the pages lying wholly inside `range` back to the kernel: a member
    // is read once, and its pages would otherwise stay resident until the end.
    void Release(std::span<const std::byte> range) const;

private:
    const std::byte* data_ = nullptr;
    size_t size_ = 0;
};

}  // namespace ov
