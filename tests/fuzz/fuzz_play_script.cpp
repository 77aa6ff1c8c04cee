#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

#include "lesson/PlayScript.h"
#include "store/CipherAndFiles.h"

// Whatever the text, the play list stays bounded and holds only the two
// kinds, play entries counting once each.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::string_view script(reinterpret_cast<const char*>(data), size);
    std::vector<ov::TScriptEntry> list;
    try {
        ov::ParsePlayScript(script, list);
    } catch (const ov::EConvertError&) {
    }
    if (list.size() > ov::kMaxPlayListEntries) __builtin_trap();
    for (const auto& entry : list) {
        if (entry.Kind == ov::TScriptEntry::kPlay ? entry.Count != 1 : entry.Kind != ov::TScriptEntry::kPause)
            __builtin_trap();
    }
    return 0;
}
