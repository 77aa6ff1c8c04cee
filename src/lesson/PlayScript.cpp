#include "lesson/PlayScript.h"

#include <algorithm>

#include "store/CipherAndFiles.h"

namespace ov {
namespace {

// t, a, b and c of one group; a number the group does not reach is 0.
struct Group {
    int32_t t = 2;
    int32_t a = 0;
    int32_t b = 0;
    int32_t c = 0;
};

// Takes the text before the next comma off `rest`; nothing when there is no comma.
bool TakeField(std::string_view& rest, std::string_view& field) {
    size_t comma = rest.find(',');
    if (comma == std::string_view::npos) return false;
    field = rest.substr(0, comma);
    rest.remove_prefix(comma + 1);
    return true;
}

// t is the text before the first comma (empty means "ignored"); a needs a
// comma after it, and b and c exist only together, c being all that follows
// the third comma.
Group ReadGroup(std::string_view text) {
    Group group;
    std::string_view field;
    if (!TakeField(text, field)) return group;
    if (!field.empty()) group.t = StrToInt(field);
    if (!TakeField(text, field)) return group;
    group.a = StrToInt(field);
    if (!TakeField(text, field)) return group;
    group.b = StrToInt(field);
    group.c = StrToInt(text);
    return group;
}

void AppendGroup(const Group& group, std::vector<TScriptEntry>& list) {
    auto param = static_cast<uint8_t>(group.a);
    if (group.t == TScriptEntry::kPause) {
        if (list.size() < kMaxPlayListEntries) list.push_back({TScriptEntry::kPause, param, group.b, group.c});
    } else if (group.t == TScriptEntry::kPlay && group.c > 0) {
        size_t room = kMaxPlayListEntries - std::min(list.size(), kMaxPlayListEntries);
        list.insert(list.end(), std::min<size_t>(group.c, room), {TScriptEntry::kPlay, param, group.b, 1});
    }
}

}  // namespace

void ParsePlayScript(std::string_view script, std::vector<TScriptEntry>& list) {
    for (;;) {
        size_t open = script.find('[');
        size_t close = script.find(']');
        if (open == std::string_view::npos || close == std::string_view::npos) return;
        std::string_view group = close > open ? script.substr(open + 1, close - open - 1) : std::string_view{};
        AppendGroup(ReadGroup(group), list);
        script.remove_prefix(close + 1);
    }
}

}  // namespace ov
