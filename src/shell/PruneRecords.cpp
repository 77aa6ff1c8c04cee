#include "shell/PruneRecords.h"

#include "store/UntPublic.h"

#include <system_error>

namespace ov {
namespace {

constexpr int kMostEntries = 10;
constexpr std::size_t kKeptFiles = 9;

}  // namespace

void PruneRecords(const std::filesystem::path& folder) {
    if (CountEntries(folder) <= kMostEntries) return;
    const auto files = ListFiles(folder);
    if (!files || files->size() <= kKeptFiles) return;
    for (std::size_t i = 0; i + kKeptFiles < files->size(); ++i) {
        std::error_code ec;
        std::filesystem::remove(std::filesystem::path((*files)[i]), ec);
    }
}

}  // namespace ov
