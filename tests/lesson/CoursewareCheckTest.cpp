#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "LessonText.h"
#include "lesson/CoursewareCheck.h"
#include "support/CatalogueTestDb.h"
#include "store/StoredSecrets.h"
#include "store/UntDM.h"
#include "store/UntPublic.h"
#include "support/TestFiles.h"

namespace {

namespace fs = std::filesystem;
using lessontest::LessonXml;

std::string WordPassword() { return ov::DecipherString(ov::kWordDbPassword, ov::kDefaultCipherKey); }

void WritePage(const fs::path& file, const std::string& xml, const std::string& key) {
    ovtest::WriteFile(file, ov::EncryptBuffer(xml, key, 0));
}

void WritePage(const fs::path& file, const std::string& xml) {
    WritePage(file, xml, ov::DecipherString(ov::kLessonPageKey, ""));
}

std::string Index(const std::string& wordReadPages, const std::string& sentenceReadPages) {
    std::string slots;
    for (int n = 0; n < 27; ++n) {
        const std::string name = "Function_" + std::to_string(n);
        const std::string pages = n == 8 ? wordReadPages : n == 9 ? sentenceReadPages : "";
        slots += pages.empty() ? "<" + name + "/>" : "<" + name + ">" + pages + "</" + name + ">";
    }
    return "<?xml version=\"1.0\" encoding=\"GB2312\"?>\n<OVENG ver=\"6.0\"><Function>" + slots + "</Function></OVENG>";
}

// Every kind of reference a page makes, each one broken once (and one
// picture whose name differs from the file only in letter case, as the
// player finds it).
std::string BadPage() {
    return LessonXml({
        {"alls", R"(<s Id="1" Audio="s1.wav" Font_Size="20" Font_Style="Arial" Font_Color="0" RuleStyle="0" RuleId="1">)"
                 R"(<w Id="0" Top="0" Left="0" Visible="True" CanMove="True">Hi</w></s>)"},
        {"alli", R"(<p Id="1" Name="Cat.JPG" Visible="True" Group="-1" RuleId="-1" Key="" Top="0" Left="0" Width="9" Height="9"/>)"
                 R"(<p Id="2" Name="dog.jpg" Visible="True" Group="-1" RuleId="-1" Key="" Top="0" Left="0" Width="9" Height="9"/>)"
                 R"(<p Id="3" Name="cat.jpg" Visible="True" Group="0" RuleId="-1" Key="cat" Top="0" Left="0" Width="9" Height="9"/>)"},
        {"allradio", R"(<v Id="1" Top="0" Left="0" Width="9" Height="9" Movie="Video/clip.mp4"/>)"},
        {"alledit", R"(<e Id="1" Top="0" Left="0" Caption="" RuleId="-1" Width="90"/>)"},
        {"allFlash", R"(<f Id="1" Top="0" Left="0" Movie="Flash/song.swf" Width="9" Height="9"/>)"},
        {"sentences", R"(<r Id="1">[0,0,1,1][1,0,0,500][0,0,9,1]</r><r Id="2">[0,0,x,1]</r>)"},
        {"WordFollowWrites",
         R"(<item Id="0" SentencesId="1"><test TestStyle="1" ControlStyle="4" ControlId="7" ImageId="8" Answer="hi"/></item>)"},
        {"ArrangeWords", R"(<a Id="0" SentencesId="1"><answer Answer="0A" ImageId="1"/></a>)"},
        {"Games", R"(<g Id="0" Top="0" Left="0" Width="9" Height="9" Movie="Flash/game.swf"/>)"},
    });
}

struct Expected {
    std::string file, element, text;
};

TEST(CoursewareCheck, BadLessonGivesOneLineForEachFault) {
    ovtest::TempDir dir;
    const fs::path lesson = dir / "Class";
    ovtest::WriteFile(lesson / "OVFunction.ind", Index("bad.ov|missing.ov|noise.ov|broken.ov|short.ov|", "bad.ov"));
    WritePage(lesson / "bad.ov", BadPage());
    WritePage(lesson / "noise.ov", BadPage(), "another key");
    WritePage(lesson / "broken.ov", "<OVENG><res>");
    WritePage(lesson / "short.ov", LessonXml({{"alli", R"(<p Id="1" Name="cat.jpg" Visible="True" Group="-1" )"
                                                       R"(RuleId="-1" Top="0" Left="0" Width="9" Height="9"/>)"}}));
    ovtest::WriteFile(lesson / "cat.jpg", "picture");
    ovtest::WriteFile(lesson / "w_cat.mp3", "sound");
    ovtest::WriteWords(ov::WordDbPath(lesson.string()), {{"cat", "kæt", "猫", ""}, {"dog", "dɒɡ", "狗", ""}},
                       WordPassword());
    fs::create_directories(dir / "scratch");

    const std::vector<Expected> expected{
        {"OVFunction.ind", "Function_8", "an empty page entry"},
        {"bad.ov", "sentence 1", "file \"s1.wav\" is missing"},
        {"bad.ov", "picture 2", "file \"dog.jpg\" is missing"},
        {"bad.ov", "video 1", "file \"Video/clip.mp4\" is missing"},
        {"bad.ov", "Flash movie 1", "file \"Flash/song.swf\" is missing"},
        {"bad.ov", "game 0", "file \"Flash/game.swf\" is missing"},
        {"bad.ov", "picture 3", "choice mark \"Selected.jpg\" is missing"},
        {"bad.ov", "picture 3", "choice mark \"NOSelected.jpg\" is missing"},
        {"bad.ov", "sentences 1", "the script plays sentence 9, which the page lacks"},
        {"bad.ov", "sentences 2", "the script \"[0,0,x,1]\" does not parse"},
        {"bad.ov", "WordFollowWrites item 0", "\"ControlId\" names answer edit 7, which the page lacks"},
        {"bad.ov", "WordFollowWrites item 0", "\"ImageId\" names mark picture 8, which the page lacks"},
        {"bad.ov", "ArrangeWords arrangement 0", "the answer \"0A\" holds \"A\", which names no word (0-9, a-z)"},
        {"missing.ov", "", "the page file is missing"},
        {"noise.ov", "", "the page does not decrypt with this installation's page key"},
        {"broken.ov", "", "the page does not parse"},
        {"short.ov", "", "the page's elements cannot be read: the player shows only the first 0"},
        {"words.db", "dog", "no sound: none of w_dog.wav, .mp3, .swf"},
    };
    const auto findings = ov::CheckClassFolder(lesson, dir / "scratch");
    ASSERT_EQ(findings.size(), expected.size());
    for (size_t i = 0; i < expected.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(findings[i].File, expected[i].file);
        EXPECT_EQ(findings[i].Element, expected[i].element);
        EXPECT_EQ(findings[i].Text.substr(0, expected[i].text.size()), expected[i].text);
    }
    EXPECT_TRUE(ov::TakeRecordedMessages().empty()) << "the check shows the pupil nothing";
}

TEST(CoursewareCheck, FolderWithoutIndexOrWordsAndUnreadableWords) {
    ovtest::TempDir dir;
    fs::create_directories(dir / "scratch");
    auto findings = ov::CheckClassFolder(dir / "Class", dir / "scratch");
    ASSERT_EQ(findings.size(), 2u);
    EXPECT_EQ(findings[0].Text, "the function index is missing");
    EXPECT_EQ(findings[1].File, "words.db");
    EXPECT_EQ(findings[1].Text.rfind("the word database is missing", 0), 0u);

    ovtest::WriteFile(dir / "Class" / "OVFunction.ind", Index("", ""));
    ovtest::WriteWords(ov::WordDbPath((dir / "Class").string()), {{"cat", "", "", ""}}, "not the word password");
    findings = ov::CheckClassFolder(dir / "Class", dir / "scratch");
    ASSERT_EQ(findings.size(), 1u);
    EXPECT_EQ(findings[0].Text.rfind("the word database cannot be read", 0), 0u);
}

}  // namespace
