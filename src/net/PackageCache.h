#pragma once

#include <cstdint>
#include <filesystem>
#include <vector>

namespace ov {

// The class packages a player keeps from a courseware server, one file each
// in a folder, held under a size cap. A package's modification time is when it
// was last opened, so the one opened longest ago goes first.
class PackageCache {
public:
    PackageCache(std::filesystem::path folder, std::uint64_t cap) : folder_(std::move(folder)), cap_(cap) {}

    const std::filesystem::path& Folder() const { return folder_; }
    std::uint64_t Cap() const { return cap_; }

    // The packages, the least recently used first.
    std::vector<std::filesystem::path> ByLastUse() const;
    // Marks a package as opened now.
    static void MarkUsed(const std::filesystem::path& package);
    // Removes the least recently used packages, never `keep`, until `incoming`
    // more bytes fit under the cap (or nothing else is left to remove).
    void MakeRoom(std::uint64_t incoming, const std::filesystem::path& keep = {}) const;

private:
    std::filesystem::path folder_;
    std::uint64_t cap_;
};

}  // namespace ov
