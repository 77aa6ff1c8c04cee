#pragma once

#include <filesystem>

namespace ov {

// Keeps the pupil's recordings folder small: once it holds more than 10
// entries, every recording file but the 9 whose names sort last (the newest,
// as they are named by date and time) is deleted. Folders are never deleted;
// a file that cannot be deleted stays, silently.
void PruneRecords(const std::filesystem::path& folder);

}  // namespace ov
