#include "shell/PruneRecords.h"

#include <algorithm>
#include <optional>
#include <regex>
#include <string>
#include <system_error>
#include <tuple>
#include <vector>

namespace ov {
namespace {

constexpr std::size_t kMostRecordings = 10;
constexpr std::size_t kKeptRecordings = 9;

struct Recording {
    std::string stamp;
    unsigned long suffix;  // 0 for the plain name
    std::filesystem::path path;

    bool operator<(const Recording& other) const {
        return std::tie(stamp, suffix) < std::tie(other.stamp, other.suffix);
    }
};

// The recorder names a recording by its time stamp, adding "_N" for a second
// one within the same second; anything else in the folder belongs to someone
// else and is never deleted.
std::optional<Recording> AsRecording(const std::filesystem::directory_entry& entry) {
    static const std::regex kName(R"((\d{14})(?:_([1-9]\d{0,8}))?\.wav)", std::regex::icase);
    std::error_code error;
    if (!entry.is_regular_file(error)) return std::nullopt;
    const std::string name = entry.path().filename().string();
    std::smatch parts;
    if (!std::regex_match(name, parts, kName)) return std::nullopt;
    return Recording{parts[1].str(), parts[2].matched ? std::stoul(parts[2].str()) : 0, entry.path()};
}

std::vector<Recording> Recordings(const std::filesystem::path& folder) {
    std::vector<Recording> recordings;
    std::error_code error;
    for (std::filesystem::directory_iterator it(folder, error), end; !error && it != end; it.increment(error))
        if (auto recording = AsRecording(*it)) recordings.push_back(std::move(*recording));
    return recordings;
}

}  // namespace

void PruneRecords(const std::filesystem::path& folder) {
    std::vector<Recording> recordings = Recordings(folder);
    if (recordings.size() <= kMostRecordings) return;
    std::sort(recordings.begin(), recordings.end());
    for (std::size_t i = 0; i + kKeptRecordings < recordings.size(); ++i) {
        std::error_code ignored;
        std::filesystem::remove(recordings[i].path, ignored);
    }
}

}  // namespace ov
