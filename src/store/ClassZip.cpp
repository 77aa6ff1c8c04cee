#include "store/ClassZip.h"

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstring>
#include <memory>

#include "core/Log.h"
#include "store/ClassPackageFile.h"
#include "store/ClassPackageUnpacker.h"
#include "store/SafeFolders.h"

namespace ov {
namespace {

// Positions of the steps before the members; member i moves the bar to
// kStepsBeforeMembers + i + 1.
constexpr int kStepsBeforeMembers = 6;

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

int MemberPosition(size_t index) {
    return static_cast<int>(std::min<int64_t>(kStepsBeforeMembers + static_cast<int64_t>(index) + 1, INT_MAX));
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
    bar.Maximum(static_cast<int>(std::min<int64_t>(int64_t{index.Count()} + kStepsBeforeMembers, INT_MAX)));
    // The whole index is checked before anything is written, but the members
    // before a bad one are still unpacked, as a one-by-one reader would.
    index.ReadMembers();
    return true;
}

// On failure the bar stays on the member that failed.
UnpackResult WriteMembers(const std::shared_ptr<const ClassPackageFile>& file, const ClassPackageIndex& index,
                          const std::string& destination, Bar& bar) {
    const auto& members = index.Members();
    UnpackResult result;
    if (!members.empty()) {
        UniqueFd root = OpenBaseFolder(destination);
        if (root)
            result = UnpackMembers(file, index.Data(), members, root.get(),
                                   [&](size_t i) { bar.Position(MemberPosition(i)); });
        else
            result.error = "the destination cannot be opened: " + WhyNotCreated(errno);
    }
    if (result.written == members.size() && !index.Complete()) result.error = index.Error();
    if (!result.error.empty()) bar.Position(MemberPosition(result.written));
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
