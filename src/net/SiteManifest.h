#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace ov {

// A manifest the player will not use: it is dropped whole, never in part.
class EManifestError : public std::runtime_error {
    using std::runtime_error::runtime_error;
};

// One file of a courseware site, by its path below the site's root.
struct SiteFile {
    std::string path;
    std::uint64_t size = 0;
    std::string sha256;  // 64 lower-case hex digits

    bool operator==(const SiteFile&) const = default;
};

// The list of a site's files ("manifest.json"), the one file a player
// revalidates at start; everything else is known by its digest.
struct SiteManifest {
    std::vector<SiteFile> files;
    std::vector<std::string> codes;  // the catalogue's codes, in code order

    const SiteFile* Find(std::string_view path) const;
};

inline constexpr std::string_view kManifestName = "manifest.json";
// A manifest is read whole into memory: a larger one is refused unread.
inline constexpr std::uint64_t kManifestLimit = 16u << 20;

// Whether a path may name a file of a site: the catalogue DB/RsDbList.db, or a
// plain name directly in Resources/, ENoises/ or Images/. A name that is
// hidden, has a separator, a ".." or a control character, or would not stay
// below the folder is refused: the player writes these files into its cache.
bool IsSitePath(std::string_view path);

// Throws EManifestError for text that is not a manifest of version 1, for a
// file entry with a path IsSitePath refuses, a path listed twice, a size that
// is not a whole number or a digest that is not 64 hex digits.
SiteManifest ParseManifest(std::string_view text);
std::string ManifestText(const SiteManifest& manifest);

}  // namespace ov
