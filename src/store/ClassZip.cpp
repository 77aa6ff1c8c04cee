#include "store/ClassZip.h"

#include <sys/statvfs.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstring>
#include <filesystem>
#include <memory>
#include <optional>
#include <vector>

#include "core/Log.h"
#include "store/ClassPackageFile.h"
#include "store/ClassPackageUnpacker.h"
#include "store/SafeFolders.h"

namespace ov {
namespace {

// Positions of the steps before the members; each member then moves the bar
// one step, and a large one a step more for each kBarStep bytes it holds.
constexpr int kStepsBeforeMembers = 6;
// Large members move the bar while they are written, so that a member of a
// gigabyte does not look like a frozen window.
constexpr int64_t kBarStep = int64_t{64} << 20;
constexpr int64_t kMiB = int64_t{1} << 20;

class Bar {
public:
    explicit Bar(ProgressSink* sink) : sink_(sink) {}
    void Minimum(int value) { if (sink_) sink_->SetMinimum(value); }
    void Maximum(int value) { if (sink_) sink_->SetMaximum(value); }
    void Position(int value) { if (sink_) sink_->SetPosition(value); }
    void Full() { if (sink_) sink_->SetPosition(sink_->Maximum()); }

private:
    ProgressSink* sink_;
};

int BarPosition(int64_t position) { return static_cast<int>(std::min<int64_t>(position, INT_MAX)); }

int64_t ExtraSteps(const ClassMember& member) { return member.unpackedSize / kBarStep; }

// Where the bar stands once each member is written.
std::vector<int64_t> MemberEnds(const std::vector<ClassMember>& members) {
    std::vector<int64_t> ends;
    int64_t at = kStepsBeforeMembers;
    for (const ClassMember& member : members) ends.push_back(at += 1 + ExtraSteps(member));
    return ends;
}

// The unpacked members and the room kept free must fit the file system the
// destination is on (or would be, for a folder yet to be made): a full disk
// would cost the pupil's recordings and the computer its footing.
std::optional<std::string> WhyNoRoom(const std::string& destination, const std::vector<ClassMember>& members,
                                     int64_t keepFree) {
    int64_t total = 0;
    for (const ClassMember& member : members) total += member.unpackedSize;
    if (total == 0) return std::nullopt;
    std::error_code ec;
    std::filesystem::path existing = std::filesystem::absolute(destination, ec);
    while (!existing.empty() && !std::filesystem::exists(existing, ec) && existing != existing.parent_path())
        existing = existing.parent_path();
    struct statvfs space {};
    if (::statvfs(existing.c_str(), &space) != 0) return std::nullopt;
    const auto free = static_cast<int64_t>(std::min<uint64_t>(
        static_cast<uint64_t>(space.f_bavail) * space.f_frsize, static_cast<uint64_t>(INT64_MAX)));
    if (free - total >= keepFree) return std::nullopt;
    return "not enough free space: the members take " + std::to_string(total / kMiB) + " MB and " +
           std::to_string(keepFree / kMiB) + " MB must stay free, but " + existing.string() + " has " +
           std::to_string(free / kMiB) + " MB free; nothing was written";
}

bool IsBlank(std::string_view text) {
    return std::all_of(text.begin(), text.end(), [](char c) { return static_cast<unsigned char>(c) <= ' '; });
}

bool IsSeparator(char c) { return c == '\\' || c == '/'; }

// The steps before the members, each moving the bar once it succeeded.
bool ReadIndex(ClassPackageIndex& index, Bar& bar) {
    if (!index.ReadHeader()) return false;
    bar.Position(4);
    if (!index.ReadCount()) return false;
    bar.Position(5);
    if (!index.ReadBlockSizes()) return false;
    bar.Position(6);
    if (!index.CutBlocks()) return false;
    // The whole index is checked before anything is written, but the members
    // before a bad one are still unpacked, as a one-by-one reader would.
    index.ReadMembers();
    int64_t steps = int64_t{index.Count()} + kStepsBeforeMembers;
    for (const ClassMember& member : index.Members()) steps += ExtraSteps(member);
    bar.Maximum(BarPosition(steps));
    return true;
}

// On failure the bar stays on the member that failed.
UnpackResult WriteMembers(const std::shared_ptr<const ClassPackageFile>& file, const ClassPackageIndex& index,
                          const std::string& destination, Bar& bar) {
    const auto& members = index.Members();
    const std::vector<int64_t> ends = MemberEnds(members);
    UnpackResult result;
    if (!members.empty()) {
        UniqueFd root = OpenBaseFolder(destination);
        if (root)
            result = UnpackMembers(
                file, index.Data(), members, root.get(), [&](size_t i) { bar.Position(BarPosition(ends[i])); },
                [&](size_t i, int64_t written) {
                    bar.Position(BarPosition(ends[i] - 1 - ExtraSteps(members[i]) + written / kBarStep));
                });
        else
            result.error = "the destination cannot be opened: " + WhyNotCreated(errno);
    }
    if (result.written == members.size() && !index.Complete()) result.error = index.Error();
    if (!result.error.empty())
        bar.Position(BarPosition((result.written == 0 ? kStepsBeforeMembers : ends[result.written - 1]) + 1));
    return result;
}

// The player ignores the answer, so the log is where a teacher finds out why a lesson did not open.
bool Failed(const std::string& package, std::string* error, std::string why) {
    Log(LogLevel::Warning, "store", package + ": " + why);
    if (error) *error = std::move(why);
    return false;
}

}  // namespace

bool TClassZip::Unpack(const std::string& package, const std::string& destination, ProgressSink* sink,
                       std::string* error) const {
    Bar bar(sink);
    bar.Minimum(0);
    bar.Position(0);
    bar.Position(1);
    if (!IsBlank(destination) && !IsBlank(package)) {
        bar.Position(2);
        auto file = std::make_shared<ClassPackageFile>();
        if (!file->Open(package))
            return Failed(package, error, std::string("cannot read the package: ") + std::strerror(errno));
        bar.Position(3);
        ClassPackageIndex index(file->Bytes());
        if (!ReadIndex(index, bar)) return Failed(package, error, index.Error());
        if (auto why = WhyNoRoom(destination, index.Members(), KeepFreeBytes)) return Failed(package, error, *why);
        UnpackResult written = WriteMembers(file, index, destination, bar);
        if (!written.error.empty()) return Failed(package, error, std::move(written.error));
    }
    bar.Full();
    if (!LeaveBarFull) bar.Position(0);
    return true;
}

ClassHeader TClassZip::ReadHeader(std::string_view header) const { return ReadClassHeader(header); }

bool TClassZip::ForceFolders(const std::string& base, std::string_view relative) const {
    // The last character never starts a folder: "a\b\" makes only "a".
    std::string_view folders = relative.substr(0, relative.empty() ? 0 : relative.size() - 1);
    const size_t lastSeparator = folders.find_last_of("\\/");
    folders = lastSeparator == std::string_view::npos ? std::string_view() : folders.substr(0, lastSeparator);
    if (!folders.empty() && IsSeparator(folders.front())) folders.remove_prefix(1);
    UniqueFd baseFd = OpenBaseFolder(base);
    if (!baseFd) return false;
    if (folders.empty()) return true;
    auto components = SplitBelowPath(folders);
    return components && OpenFolderBelow(baseFd.get(), *components);
}

}  // namespace ov
