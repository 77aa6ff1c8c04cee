#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "LessonText.h"
#include "lesson/CoursewareCheck.h"
#include "support/CatalogueTestDb.h"
#include "store/StoredSecrets.h"
#include "store/LessonData.h"
#include "store/CipherAndFiles.h"
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

// The findings in order; each text starts with the expected one.
void ExpectFindings(const std::vector<ov::CheckFinding>& findings, const std::vector<Expected>& expected) {
    ASSERT_EQ(findings.size(), expected.size());
    for (size_t i = 0; i < expected.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(findings[i].File, expected[i].file);
        EXPECT_EQ(findings[i].Element, expected[i].element);
        EXPECT_EQ(findings[i].Text.substr(0, expected[i].text.size()), expected[i].text);
    }
}

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
    ExpectFindings(ov::CheckClassFolder(lesson, dir / "scratch"), expected);
    EXPECT_TRUE(ov::TakeRecordedMessages().empty()) << "the check shows the pupil nothing";
}

std::string Picture(int id, const std::string& name, const std::string& place) {
    return "<p Id=\"" + std::to_string(id) + "\" Name=\"" + name + "\" Visible=\"True\" Group=\"-1\" RuleId=\"-1\" "
           "Key=\"\" " + place + "/>";
}

// Pages that the player refuses or cuts short, or whose parts it can never
// reach, each reported where the author can find it.
TEST(CoursewareCheck, HostilePagesAreReported) {
    ovtest::TempDir dir;
    const fs::path lesson = dir / "lesson" / "Class";
    ovtest::WriteFile(dir / "lesson" / "outside.png", "picture");
    const std::string sentence =
        R"(<s Id="1" Audio="" Font_Size="9" Font_Style="" Font_Color="0" RuleStyle="0" RuleId="0">)";
    const std::string place = R"(Top="0" Left="0" Width="9" Height="9")";
    std::string crowd;
    for (int i = 0; i < 5001; ++i) crowd += Picture(i, "", place);
    ovtest::WriteFile(lesson / "OVFunction.ind", Index("escape.ov|far.ov|twice.ov|crowd.ov|broken.ov", ""));
    WritePage(lesson / "escape.ov", LessonXml({{"alli", Picture(1, "..\\outside.png", place)}}));
    WritePage(lesson / "far.ov",
              LessonXml({{"alls", sentence + R"(<w Id="4" Top="100001" Left="0" Visible="1" CanMove="0">w</w></s>)"},
                         {"alli", Picture(2, "", R"(Top="0" Left="-20" Width="200000" Height="100000")")}}));
    WritePage(lesson / "twice.ov", LessonXml({{"alls", sentence + "</s>" + sentence + "</s>"}}));
    WritePage(lesson / "crowd.ov", LessonXml({{"alli", crowd}}));
    WritePage(lesson / "broken.ov", "<OVENG>\n<res><alls>\n  <s>");
    ovtest::WriteWords(ov::WordDbPath(lesson.string()), {{"cat", "", "", ""}}, WordPassword());
    ovtest::WriteFile(lesson / "w_cat.mp3", "sound");
    fs::create_directories(dir / "scratch");

    const std::vector<Expected> expected{
        {"escape.ov", "picture 1", "file \"..\\outside.png\" leaves the lesson folder"},
        {"far.ov", "sentence 1 word 4", "\"Top\" is 100001, outside the page (0 to 100000)"},
        {"far.ov", "picture 2", "\"Left\" is -20, outside the page (0 to 100000)"},
        {"far.ov", "picture 2", "\"Width\" is 200000, outside the page (0 to 100000)"},
        {"twice.ov", "sentence 1", "an earlier sentence has the same Id, so this one's rule is never reached"},
        {"crowd.ov", "", "the page has 5001 elements, more than the 5000 the player builds"},
        {"broken.ov", "", "the page does not parse: not XML: Start-end tags mismatch at line 3, column"},
    };
    ExpectFindings(ov::CheckClassFolder(lesson, dir / "scratch"), expected);
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
