#include "net/SiteManifest.h"

#include <nlohmann/json.hpp>

#include <algorithm>
#include <set>

#include "store/LessonData.h"
#include "store/SafeFolders.h"

namespace ov {
namespace {

constexpr std::string_view kMemberFolders[] = {"Resources", "ENoises", "Images"};

bool PlainName(std::string_view name) {
    if (name.empty() || name.size() > 255 || name.starts_with('.')) return false;
    return std::none_of(name.begin(), name.end(), [](char c) {
        return static_cast<unsigned char>(c) < 0x20 || c == 0x7f || c == '\\' || c == ':';
    });
}

bool IsDigest(const std::string& text) {
    return text.size() == 64 &&
           std::all_of(text.begin(), text.end(), [](char c) { return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f'); });
}

[[noreturn]] void Refuse(const std::string& why) { throw EManifestError("manifest refused: " + why); }

}  // namespace

const SiteFile* SiteManifest::Find(std::string_view path) const {
    const auto it = std::find_if(files.begin(), files.end(), [&](const SiteFile& f) { return f.path == path; });
    return it == files.end() ? nullptr : &*it;
}

bool IsSitePath(std::string_view path) {
    if (path == kCatalogueDbFile) return true;
    const auto parts = SplitBelowPath(path);
    if (!parts || parts->size() != 2 || path != (*parts)[0] + "/" + (*parts)[1]) return false;
    return std::find(std::begin(kMemberFolders), std::end(kMemberFolders), (*parts)[0]) != std::end(kMemberFolders) &&
           PlainName((*parts)[1]);
}

SiteManifest ParseManifest(std::string_view text) {
    if (text.size() > kManifestLimit) Refuse("larger than 16 MB");
    const auto json = nlohmann::json::parse(text, nullptr, false);
    if (json.is_discarded() || !json.is_object()) Refuse("not a JSON object");
    const auto version = json.find("version");
    if (version == json.end() || *version != 1) Refuse("not version 1");
    const auto files = json.find("files");
    if (files == json.end() || !files->is_array()) Refuse("no file list");
    SiteManifest manifest;
    std::set<std::string> seen;
    for (const auto& entry : *files) {
        if (!entry.is_object()) Refuse("a file entry is not an object");
        const auto path = entry.find("path");
        const auto size = entry.find("size");
        const auto sha = entry.find("sha256");
        if (path == entry.end() || !path->is_string() || !IsSitePath(path->get<std::string>()))
            Refuse("a file path is not one of the site's: " + (path == entry.end() ? std::string() : path->dump()));
        if (size == entry.end() || !size->is_number_unsigned()) Refuse("no size for " + path->dump());
        if (sha == entry.end() || !sha->is_string() || !IsDigest(sha->get<std::string>()))
            Refuse("no SHA-256 for " + path->dump());
        if (!seen.insert(path->get<std::string>()).second) Refuse(path->dump() + " is listed twice");
        manifest.files.push_back({path->get<std::string>(), size->get<std::uint64_t>(), sha->get<std::string>()});
    }
    if (const auto codes = json.find("codes"); codes != json.end()) {
        if (!codes->is_array()) Refuse("the codes are not a list");
        for (const auto& code : *codes) {
            if (!code.is_string()) Refuse("a code is not text");
            manifest.codes.push_back(code.get<std::string>());
        }
    }
    return manifest;
}

std::string ManifestText(const SiteManifest& manifest) {
    nlohmann::json files = nlohmann::json::array();
    for (const auto& file : manifest.files)
        files.push_back({{"path", file.path}, {"size", file.size}, {"sha256", file.sha256}});
    const nlohmann::json json = {{"version", 1}, {"files", files}, {"codes", manifest.codes}};
    return json.dump(1) + "\n";
}

}  // namespace ov
