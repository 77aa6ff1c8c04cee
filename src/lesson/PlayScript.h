#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

namespace ov {

// One step of a play script: a sentence played once, or a pause.
struct TScriptEntry {
    enum : uint8_t { kPlay = 0, kPause = 1 };
    uint8_t Kind = kPlay;
    uint8_t Param = 0;
    int32_t SentenceId = 0;
    int32_t Count = 0;  // a pause's milliseconds; 1 for a play entry
    friend bool operator==(const TScriptEntry&, const TScriptEntry&) = default;
};

// A script asking for more repetitions than anyone listens to is cut here
// rather than filling memory.
inline constexpr std::size_t kMaxPlayListEntries = 10000;

// Appends the entries of a play script (groups "[t,a,b,c]" back to back) to
// `list`. A malformed number throws EConvertError; the entries of the groups
// before it stay in `list`.
void ParsePlayScript(std::string_view script, std::vector<TScriptEntry>& list);

}  // namespace ov
