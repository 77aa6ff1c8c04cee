#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace ov {

// Where the pupil's reading stands on the page shown; "对比" scores only a
// recording that was played back.
enum class RecordState : std::uint8_t { NotPlayedBack, PlayedBack, PageShown };

// What the main window remembers between the pupil's actions: the open lesson
// and study function, and the flags through which a running word drill learns
// that it should stop or pause.
struct StudyState {
    // Page files (".ov") of the open study function in index order; none
    // until a function is opened.
    std::optional<std::vector<std::string>> PageList;
    // Folder of the unpacked lesson, without a trailing separator.
    std::string ClassPath;
    // The open study function, a rule kind ordinal.
    std::uint8_t RuleKind = 0;
    bool StopWord = false;
    bool PauseWord = false;
    // Word record at which a paused drill resumes; 0 = none.
    std::int32_t ResumeRecNo = 0;
    RecordState Reading = RecordState::NotPlayedBack;
};

}  // namespace ov
