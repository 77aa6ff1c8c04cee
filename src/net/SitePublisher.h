#pragma once

#include <filesystem>
#include <stdexcept>

namespace ov {

// A courseware set that cannot be published; the site is as it was.
class EPublishError : public std::runtime_error {
    using std::runtime_error::runtime_error;
};

struct PublishedSite {
    int written = 0;    // files copied because they are new or changed
    int unchanged = 0;  // files the site had with the same bytes
    int removed = 0;    // files of the last publication the set no longer has
};

// Makes `site` a static copy of the courseware set in `source` that any web
// server can serve as it is: the catalogue, the class packages, scene sounds
// and pictures, and manifest.json listing each of them with its size and
// SHA-256, and the catalogue's codes.
//
// Only files that differ from the site's are written. The manifest is replaced
// last and in one step, so a player never reads one that names files not yet
// there; files it no longer lists are removed after it. Refused with
// EPublishError before the site changes: a set without a catalogue that
// opens, or with a file name the player would refuse.
PublishedSite PublishSite(const std::filesystem::path& source, const std::filesystem::path& site);

}  // namespace ov
