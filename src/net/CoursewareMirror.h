#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <mutex>
#include <string>

#include "net/HttpFetch.h"
#include "net/PackageCache.h"
#include "net/SiteManifest.h"

namespace ov {

inline constexpr std::uint64_t kDefaultPackageCacheCap = std::uint64_t{2} << 30;

// How a start-up revalidation ended.
enum class RefreshOutcome {
    Current,      // the manifest has not changed
    Updated,      // a new manifest and its changed files are in place
    Unreachable,  // no answer: the copy kept from before stays in use
    Refused,      // the server's manifest or a file it lists was refused;
                  // the copy kept from before stays in use
};

enum class PackageOutcome {
    Cached,       // on disk already, nothing fetched
    Fetched,      // downloaded and verified
    NotListed,    // the server's manifest does not hold it
    Unreachable,  // no answer or a broken transfer; a later try resumes
    Refused,      // wrong size or digest, or an answer the player does not
                  // take: nothing is kept of it
    Cancelled,
};

struct RefreshResult {
    RefreshOutcome outcome = RefreshOutcome::Unreachable;
    std::string detail;
    int requests = 0;
};

// The local copy of one courseware server's site, itself a courseware folder
// (DB/, ENoises/, Images/, Resources/) for the player to merge with its own.
// The catalogue, scene sounds and pictures follow the server's manifest at
// every start; class packages are fetched when a lesson is opened and kept
// under a size cap. Nothing the server sends is used before its size and
// SHA-256 match the manifest, and a manifest is taken whole or not at all.
//
// One refresh or package download at a time per mirror.
class CoursewareMirror {
public:
    CoursewareMirror(std::string url, std::filesystem::path folder, std::uint64_t cap = kDefaultPackageCacheCap);

    const std::string& Url() const { return url_; }
    const std::filesystem::path& Folder() const { return folder_; }

    // Revalidates the manifest and fetches the files of the site that changed,
    // class packages aside; a cached package that changed is dropped.
    RefreshResult Refresh();
    // The manifest in use: the last one accepted, empty before the first.
    SiteManifest Manifest() const;

    // Progress of a package download: bytes on disk and the package's size;
    // false cancels (what came so far is kept for a later try).
    using Progress = std::function<bool(std::uint64_t have, std::uint64_t size)>;
    // Makes sure the class package `name` of the manifest is in Resources/.
    PackageOutcome FetchPackage(const std::string& name, const Progress& progress = {});
    // A cached package opened now: it is evicted last.
    void MarkUsed(const std::filesystem::path& package) const { PackageCache::MarkUsed(package); }

private:
    struct State;
    State LoadState() const;
    void SaveState(const State& state) const;
    bool Present(const SiteFile& file) const;
    // Downloads `file` to `target`, resuming what is there; the file is
    // verified before it is given its name.
    PackageOutcome FetchFile(const SiteFile& file, const std::filesystem::path& partial,
                             const std::filesystem::path& target, const Progress& progress, int& requests);
    RefreshResult Take(const SiteManifest& old, const SiteManifest& fresh, const Validators& validators);

    std::string url_;
    std::filesystem::path folder_;
    PackageCache packages_;
    mutable std::mutex mutex_;
    SiteManifest manifest_;
};

}  // namespace ov
