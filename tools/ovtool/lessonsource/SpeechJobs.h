#pragma once

#include <filesystem>
#include <vector>

#include "LessonPlan.h"

namespace ovtool {

// Has espeak-ng say every job into its file below `folder`, as many at a time
// as there are cores. Throws CommandError when espeak-ng is missing or fails.
void RunSpeech(const std::vector<SpeechJob>& jobs, const std::filesystem::path& folder);

}  // namespace ovtool
