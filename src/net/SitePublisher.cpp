#include "net/SitePublisher.h"

#include <chrono>
#include <fstream>
#include <optional>
#include <sstream>
#include <vector>

#include "core/TemporaryFolder.h"
#include "net/FileDigest.h"
#include "net/SiteManifest.h"
#include "store/CoursewareInstall.h"
#include "store/LessonData.h"
#include "store/SqliteDatabase.h"

namespace ov {
namespace {

namespace fs = std::filesystem;

// The last publication's list; none when there is none or it is unreadable.
SiteManifest PublishedManifest(const fs::path& site) {
    std::ifstream in(site / kManifestName, std::ios::binary);
    if (!in) return {};
    std::ostringstream text;
    text << in.rdbuf();
    try {
        return ParseManifest(text.str());
    } catch (const EManifestError&) {
        return {};
    }
}

bool SameFile(const fs::path& file, const SiteFile& wanted) {
    std::error_code ec;
    return fs::is_regular_file(file, ec) && fs::file_size(file, ec) == wanted.size && FileSha256(file) == wanted.sha256;
}

// An unchanged manifest is left as it is, so players revalidating it get "not
// modified". A changed one must look changed to them: web servers derive ETag
// and Last-Modified from the modification time in whole seconds, and a
// manifest rewritten within the second of the last one, at the same size,
// would otherwise keep its validators.
void ReplaceManifest(const fs::path& site, const fs::path& staged, const std::string& text) {
    const fs::path published = site / kManifestName;
    std::error_code ec;
    std::optional<fs::file_time_type> before;
    if (fs::is_regular_file(published, ec)) {
        std::ifstream in(published, std::ios::binary);
        std::ostringstream old;
        old << in.rdbuf();
        if (old.str() == text) return;
        before = fs::last_write_time(published, ec);
    }
    {
        std::ofstream out(staged, std::ios::binary);
        out << text;
        if (!out.flush()) throw EPublishError("cannot write " + staged.string());
    }
    if (before && fs::last_write_time(staged) < *before + std::chrono::seconds(1))
        fs::last_write_time(staged, *before + std::chrono::seconds(1));
    fs::rename(staged, published);
}

}  // namespace

PublishedSite PublishSite(const fs::path& source, const fs::path& site) {
    SiteManifest manifest;
    try {
        for (const auto& entry : ReadCatalogueFile(source / kCatalogueDbFile)) manifest.codes.push_back(entry.code);
    } catch (const ESqliteError& e) {
        throw EPublishError("the catalogue " + (source / kCatalogueDbFile).string() + " does not open: " + e.what());
    }
    std::vector<fs::path> files{fs::path(kCatalogueDbFile)};
    for (auto& file : CoursewareSetFiles(source)) files.push_back(std::move(file));
    for (const auto& file : files) {
        if (!IsSitePath(file.generic_string()))
            throw EPublishError("the player would refuse the name " + file.string() + "; nothing was published");
        const fs::path from = source / file;
        manifest.files.push_back({file.generic_string(), fs::file_size(from), FileSha256(from)});
    }

    fs::create_directories(site);
    const SiteManifest old = PublishedManifest(site);
    PublishedSite result;
    {
        const TemporaryFolder stage(site, ".publish-");
        for (const auto& file : manifest.files) {
            const fs::path there = site / file.path;
            if (SameFile(there, file)) {
                ++result.unchanged;
                continue;
            }
            const fs::path staged = stage.Path() / file.path;
            fs::create_directories(staged.parent_path());
            fs::copy_file(source / file.path, staged);
            fs::create_directories(there.parent_path());
            fs::rename(staged, there);
            ++result.written;
        }
        ReplaceManifest(site, stage.Path() / kManifestName, ManifestText(manifest));
    }
    for (const auto& file : old.files) {
        std::error_code ec;
        if (!manifest.Find(file.path) && fs::remove(site / file.path, ec)) ++result.removed;
    }
    return result;
}

}  // namespace ov
