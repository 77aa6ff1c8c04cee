#pragma once

#include <filesystem>

namespace ov {

// Keeps the pupil's recordings folder small: once it holds more than 10
// recordings (files named by date and time as the recorder names them), all
// but the 9 newest are deleted. Other files and folders are neither counted
// nor deleted; a recording that cannot be deleted stays, silently.
void PruneRecords(const std::filesystem::path& folder);

}  // namespace ov
