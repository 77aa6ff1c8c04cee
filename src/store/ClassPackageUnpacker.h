#pragma once

#include <cstddef>
#include <functional>
#include <span>

#include "store/ClassPackageFile.h"
#include "store/ClassPackageIndex.h"

namespace ov {

// Inflates `members` from the package's data block and writes each to its
// path below `rootFd`. Two workers take members in order, so both cores work
// while the caller still hears of the members one by one in member order:
// `finished(i)` runs on the calling thread once member i and every member
// before it are done. Answers the number of members written before the first
// one that failed (members.size() when none did); after a failure no further
// member is started.
size_t UnpackMembers(const ClassPackageFile& file, std::span<const std::byte> data,
                     std::span<const ClassMember> members, int rootFd, const std::function<void(size_t)>& finished);

}  // namespace ov
