#include "net/CoursewareMirror.h"

#include <nlohmann/json.hpp>

#include <cstdio>
#include <fstream>
#include <sstream>
#include <vector>

#include "core/Log.h"
#include "core/TemporaryFolder.h"
#include "net/FileDigest.h"

namespace ov {
namespace {

namespace fs = std::filesystem;

// What the mirror remembers between runs: the manifest last accepted, from
// which server, with the validators it came with.
constexpr std::string_view kStateFile = ".server.json";
constexpr std::string_view kPartialFolder = ".partial";

bool IsPackage(const SiteFile& file) { return file.path.starts_with("Resources/"); }

std::string ReadSmallFile(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

RefreshOutcome RefreshOutcomeOf(PackageOutcome outcome) {
    return outcome == PackageOutcome::Refused ? RefreshOutcome::Refused : RefreshOutcome::Unreachable;
}

}  // namespace

struct CoursewareMirror::State {
    std::string url;
    Validators validators;
    SiteManifest manifest;
};

CoursewareMirror::CoursewareMirror(std::string url, fs::path folder, std::uint64_t cap)
    : url_(std::move(url)), folder_(std::move(folder)), packages_(folder_ / "Resources", cap) {
    manifest_ = LoadState().manifest;
}

SiteManifest CoursewareMirror::Manifest() const {
    std::lock_guard lock(mutex_);
    return manifest_;
}

CoursewareMirror::State CoursewareMirror::LoadState() const {
    State state;
    const fs::path file = folder_ / kStateFile;
    std::error_code ec;
    if (!fs::exists(file, ec)) return state;
    try {
        const auto json = nlohmann::json::parse(ReadSmallFile(file));
        state.manifest = ParseManifest(json.at("manifest").dump());
        state.url = json.at("url").get<std::string>();
        state.validators = {json.at("etag").get<std::string>(), json.at("lastModified").get<std::string>()};
    } catch (const std::exception& e) {
        // Only this program writes it; a damaged one costs a full refresh.
        Log(LogLevel::Warning, "net", "the record of the courseware server is damaged: " + std::string(e.what()));
        return {};
    }
    return state;
}

void CoursewareMirror::SaveState(const State& state) const {
    const nlohmann::json json = {{"url", state.url},
                                 {"etag", state.validators.etag},
                                 {"lastModified", state.validators.lastModified},
                                 {"manifest", nlohmann::json::parse(ManifestText(state.manifest))}};
    const fs::path file = folder_ / kStateFile;
    const fs::path fresh = folder_ / (std::string(kStateFile) + ".new");
    {
        std::ofstream out(fresh, std::ios::binary | std::ios::trunc);
        out << json.dump();
        if (!out.flush()) throw fs::filesystem_error("cannot write", fresh, std::make_error_code(std::errc::io_error));
    }
    fs::rename(fresh, file);
}

bool CoursewareMirror::Present(const SiteFile& file) const {
    std::error_code ec;
    const fs::path local = folder_ / file.path;
    return fs::is_regular_file(local, ec) && fs::file_size(local, ec) == file.size;
}

PackageOutcome CoursewareMirror::FetchFile(const SiteFile& file, const fs::path& partial, const fs::path& target,
                                           const Progress& progress, int& requests) {
    fs::create_directories(partial.parent_path());
    fs::create_directories(target.parent_path());
    std::error_code ec;
    std::uint64_t have = fs::exists(partial, ec) ? fs::file_size(partial, ec) : 0;
    if (have > file.size) {
        fs::remove(partial, ec);
        have = 0;
    }
    if (have < file.size) {
        const std::uint64_t from = have;
        std::unique_ptr<FILE, decltype(&std::fclose)> out(std::fopen(partial.c_str(), "ab"), &std::fclose);
        if (!out) throw fs::filesystem_error("cannot write", partial, std::make_error_code(std::errc::io_error));
        bool tooLarge = false;
        FetchRequest request{SiteFileUrl(url_, file.path), {}, from, file.size, {}, {}};
        // A server that ignores the range sends the file from its start.
        request.started = [&](bool whole) {
            if (!whole || from == 0) return;
            out.reset(std::fopen(partial.c_str(), "wb"));
            have = 0;
        };
        const FetchResult result = HttpFetch(request, [&](std::string_view bytes) {
            if (!out || have + bytes.size() > file.size) return !(tooLarge = true);
            if (std::fwrite(bytes.data(), 1, bytes.size(), out.get()) != bytes.size()) return false;
            have += bytes.size();
            return !progress || progress(have, file.size);
        });
        ++requests;
        out.reset();
        const bool arrived = result.outcome == FetchOutcome::Whole || result.outcome == FetchOutcome::Rest;
        if (!arrived && !tooLarge) {
            Log(LogLevel::Warning, "net", file.path + " not fetched: " + result.error);
            if (result.outcome == FetchOutcome::Refused) fs::remove(partial, ec);
            if (result.outcome == FetchOutcome::Cancelled) return PackageOutcome::Cancelled;
            return result.outcome == FetchOutcome::Refused ? PackageOutcome::Refused : PackageOutcome::Unreachable;
        }
    }
    const std::uint64_t size = fs::file_size(partial, ec);
    if (size != file.size || FileSha256(partial) != file.sha256) {
        Log(LogLevel::Warning, "net",
            file.path + " refused: " + (size != file.size ? "its size" : "its SHA-256") + " differs from the manifest");
        fs::remove(partial, ec);
        return PackageOutcome::Refused;
    }
    fs::rename(partial, target);
    return PackageOutcome::Fetched;
}

RefreshResult CoursewareMirror::Refresh() {
    RefreshResult result;
    const State state = LoadState();
    std::string text;
    FetchRequest request{SiteFileUrl(url_, kManifestName), state.url == url_ ? state.validators : Validators{}, 0,
                         kManifestLimit, {}, {}};
    const FetchResult fetched = HttpFetch(request, [&](std::string_view bytes) {
        text.append(bytes);
        return true;
    });
    result.requests = 1;
    SiteManifest fresh;
    switch (fetched.outcome) {
    case FetchOutcome::NotModified: {
        fresh = state.manifest;
        bool whole = true;
        for (const auto& file : fresh.files) whole = whole && (IsPackage(file) || Present(file));
        if (whole) {
            result.outcome = RefreshOutcome::Current;
            return result;
        }
        break;
    }
    case FetchOutcome::Whole:
        try {
            fresh = ParseManifest(text);
        } catch (const EManifestError& e) {
            result.outcome = RefreshOutcome::Refused;
            result.detail = e.what();
            return result;
        }
        break;
    default:
        result.outcome = fetched.outcome == FetchOutcome::Refused || fetched.outcome == FetchOutcome::Rest
                             ? RefreshOutcome::Refused
                             : RefreshOutcome::Unreachable;
        result.detail = fetched.error;
        return result;
    }
    const RefreshResult taken = Take(state.manifest, fresh, fetched.outcome == FetchOutcome::NotModified
                                                                ? state.validators
                                                                : fetched.validators);
    result.outcome = taken.outcome;
    result.detail = taken.detail;
    result.requests += taken.requests;
    return result;
}

RefreshResult CoursewareMirror::Take(const SiteManifest& old, const SiteManifest& fresh, const Validators& validators) {
    RefreshResult result;
    fs::create_directories(folder_);
    // Staged beside the files they replace, so each goes in with a rename.
    const TemporaryFolder stage(folder_, ".refresh-");
    std::vector<const SiteFile*> staged;
    for (const auto& file : fresh.files) {
        if (IsPackage(file) || (Present(file) && FileSha256(folder_ / file.path) == file.sha256)) continue;
        const PackageOutcome outcome =
            FetchFile(file, stage.Path() / "partial" / file.sha256, stage.Path() / file.path, {}, result.requests);
        if (outcome != PackageOutcome::Fetched) {
            result.outcome = RefreshOutcomeOf(outcome);
            result.detail = file.path + " could not be fetched";
            return result;
        }
        staged.push_back(&file);
    }
    for (const SiteFile* file : staged) {
        fs::create_directories((folder_ / file->path).parent_path());
        fs::rename(stage.Path() / file->path, folder_ / file->path);
    }
    std::error_code ec;
    for (const auto& file : old.files) {
        const SiteFile* now = fresh.Find(file.path);
        // A package that changed is fetched again when it is next opened.
        if (!now || (IsPackage(file) && now->sha256 != file.sha256)) fs::remove(folder_ / file.path, ec);
    }
    SaveState({url_, validators, fresh});
    {
        std::lock_guard lock(mutex_);
        manifest_ = fresh;
    }
    result.outcome = RefreshOutcome::Updated;
    return result;
}

PackageOutcome CoursewareMirror::FetchPackage(const std::string& name, const Progress& progress) {
    const std::string path = "Resources/" + name;
    const SiteManifest manifest = Manifest();
    const SiteFile* file = IsSitePath(path) ? manifest.Find(path) : nullptr;
    if (!file) return PackageOutcome::NotListed;
    const fs::path target = folder_ / path;
    if (Present(*file)) {
        MarkUsed(target);
        return PackageOutcome::Cached;
    }
    packages_.MakeRoom(file->size);
    int requests = 0;
    const PackageOutcome outcome =
        FetchFile(*file, folder_ / kPartialFolder / file->sha256, target, progress, requests);
    if (outcome == PackageOutcome::Fetched) {
        MarkUsed(target);
        packages_.MakeRoom(0, target);
    }
    return outcome;
}

}  // namespace ov
