#pragma once

#include <cstddef>
#include <functional>
#include <memory>
#include <span>
#include <string>

#include "store/ClassPackageFile.h"
#include "store/ClassPackageIndex.h"

namespace ov {

struct UnpackResult {
    size_t written = 0;  // members written before the first one that failed
    std::string error;   // names that member and says why it failed
};

// Inflates `members` from the package's data block and writes each to its
// path below `rootFd`. Two workers take members in order, so both cores work
// while the caller still hears of the members one by one in member order:
// `finished(i)` runs on the calling thread once member i and every member
// before it are done; `writing(i, bytes)` runs there too while a large member
// is written in slices. `written` is members.size() when none failed; after a
// failure no further member is started. A worker that stops making progress
// (a hung file system) is left to finish on its own, holding on to `file`.
UnpackResult UnpackMembers(std::shared_ptr<const ClassPackageFile> file, std::span<const std::byte> data,
                           std::span<const ClassMember> members, int rootFd,
                           const std::function<void(size_t)>& finished,
                           const std::function<void(size_t, int64_t)>& writing);

}  // namespace ov
