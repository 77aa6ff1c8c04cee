#pragma once

#include <cstddef>
#include <span>
#include <string>

#include "core/UniqueFd.h"

namespace ov {

// A package file mapped read-only for its index, so that a large package never
// sits in memory whole. Members are copied out with Read instead of being read
// through the mapping: every page first touched through a mapping costs a
// fault, which costs more than copying the page, and several times more on a
// virtual machine.
class ClassPackageFile {
public:
    ClassPackageFile() = default;
    ~ClassPackageFile();
    ClassPackageFile(const ClassPackageFile&) = delete;
    ClassPackageFile& operator=(const ClassPackageFile&) = delete;

    // False (errno set) when the file cannot be opened or mapped.
    bool Open(const std::string& path);
    std::span<const std::byte> Bytes() const { return {data_, size_}; }

    // Copies the bytes of `range`, a part of Bytes(), into `into` from the file
    // itself. False when they cannot all be read (errno set, 0 when the file
    // has become shorter since it was opened).
    bool Read(std::span<const std::byte> range, std::byte* into) const;

private:
    UniqueFd fd_;
    const std::byte* data_ = nullptr;
    size_t size_ = 0;
};

}  // namespace ov
