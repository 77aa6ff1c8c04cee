#include <gtest/gtest.h>

#include "lesson/PlayScript.h"
#include "store/CipherAndFiles.h"

namespace {

using ov::TScriptEntry;
using List = std::vector<TScriptEntry>;

constexpr uint8_t kPlay = TScriptEntry::kPlay;
constexpr uint8_t kPause = TScriptEntry::kPause;

List Parse(std::string_view script) {
    List list;
    ov::ParsePlayScript(script, list);
    return list;
}

struct ScriptCase {
    const char* script;
    List entries;
};

TEST(PlayScript, GroupsExpandIntoEntries) {
    const ScriptCase cases[] = {
        {"[0,1,5,2][1,0,0,1500][0,1,6,1]",
         {{kPlay, 1, 5, 1}, {kPlay, 1, 5, 1}, {kPause, 0, 0, 1500}, {kPlay, 1, 6, 1}}},
        {"[1,0,0,800][1,0,0,400][0,0,3,1]", {{kPause, 0, 0, 800}, {kPause, 0, 0, 400}, {kPlay, 0, 3, 1}}},
        {"[1,2,9,0]", {{kPause, 2, 9, 0}}},
        {"[0,1,5,0][0,1,5,-3]", {}},
        {"[2,1,5,1][-1,1,5,1][,1,5,1]", {}},
        {"", {}},
        {"[]", {}},
        {"[0]", {}},
        {"[0,1,5,1]junk [ without close", {{kPlay, 1, 5, 1}}},
        {"][0,1,5,1]", {{kPlay, 1, 5, 1}}},
        // A number without its successors is not read: c needs b, b needs c.
        {"[1,7]", {{kPause, 0, 0, 0}}},
        {"[1,7,3]", {{kPause, 7, 0, 0}}},
        {"[1,+7,-3,+250]", {{kPause, 7, -3, 250}}},
        {"[0,300,5,1]", {{kPlay, 44, 5, 1}}},
    };
    for (const auto& c : cases) EXPECT_EQ(Parse(c.script), c.entries) << c.script;
}

TEST(PlayScript, MalformedNumberKeepsTheEntriesBeforeIt) {
    const std::pair<const char*, size_t> cases[] = {
        {"[0,1,5,2][0,x,6,1][0,1,7,1]", 2},
        {"[0,1,5,1][x,1,6,1]", 1},
        {"[2,1,5,1 ]", 0},
        {"[0,1,,1]", 0},
        {"[0,1,5,2,9]", 0},
        {"[1,0,0,2147483648]", 0},
        {"[1,0,0,1][0, 1,5,1]", 1},
    };
    for (const auto& [script, kept] : cases) {
        List list;
        EXPECT_THROW(ov::ParsePlayScript(script, list), ov::EConvertError) << script;
        EXPECT_EQ(list.size(), kept) << script;
    }
}

TEST(PlayScript, RepetitionsStopAtTheListLimit) {
    EXPECT_EQ(Parse("[0,0,1,2000000000]").size(), ov::kMaxPlayListEntries);
    List list = Parse("[0,0,1,9999][1,0,0,50][1,0,0,60][0,0,2,5]");
    ASSERT_EQ(list.size(), ov::kMaxPlayListEntries);
    EXPECT_EQ(list.back(), (TScriptEntry{kPause, 0, 0, 50}));
}

}  // namespace
