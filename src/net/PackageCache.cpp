#include "net/PackageCache.h"

#include <algorithm>
#include <utility>

#include "core/Log.h"

namespace ov {

namespace fs = std::filesystem;

std::vector<fs::path> PackageCache::ByLastUse() const {
    std::vector<std::pair<fs::file_time_type, fs::path>> found;
    std::error_code ec;
    for (fs::directory_iterator it(folder_, ec), end; !ec && it != end; it.increment(ec)) {
        std::error_code fileError;
        if (it->path().filename().string().starts_with('.') || !it->is_regular_file(fileError)) continue;
        found.emplace_back(it->last_write_time(fileError), it->path());
    }
    std::sort(found.begin(), found.end());
    std::vector<fs::path> packages;
    for (auto& [time, path] : found) packages.push_back(std::move(path));
    return packages;
}

void PackageCache::MarkUsed(const fs::path& package) {
    std::error_code ec;
    fs::last_write_time(package, fs::file_time_type::clock::now(), ec);
}

void PackageCache::MakeRoom(std::uint64_t incoming, const fs::path& keep) const {
    const auto packages = ByLastUse();
    std::uint64_t total = incoming;
    std::error_code ec;
    for (const auto& package : packages) total += fs::file_size(package, ec);
    for (const auto& package : packages) {
        if (total <= cap_) return;
        if (package == keep) continue;
        const std::uint64_t size = fs::file_size(package, ec);
        if (!fs::remove(package, ec)) continue;
        Log(LogLevel::Info, "net", "cache full: removed " + package.filename().string() + ", opened longest ago");
        total -= size;
    }
}

}  // namespace ov
