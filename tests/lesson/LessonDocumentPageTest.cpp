#include <gtest/gtest.h>

#include <pugixml.hpp>

#include <optional>

#include "LessonText.h"
#include "lesson/LessonLayout.h"
#include "support/LogCapture.h"

namespace {

using lessontest::LessonXml;
using lessontest::TakeMessageCount;

class PageItemsTest : public lessontest::LessonTest {};

std::vector<ov::TItemKind> Kinds(const std::vector<ov::TPageItem>& items) {
    std::vector<ov::TItemKind> kinds;
    for (const auto& item : items) {
        EXPECT_EQ(item.Data.index(), item.Kind);
        kinds.push_back(item.Kind);
    }
    return kinds;
}

TEST_F(PageItemsTest, ListsEveryPoolInOrderWithEveryField) {
    auto page = FixturePage("page.xml");
    const auto items = page->GetPageItems();
    EXPECT_EQ(TakeMessageCount(), 0u);
    using namespace ov;
    EXPECT_EQ(Kinds(items), (std::vector<TItemKind>{ikWord, ikWord, ikWord, ikWord, ikPicture, ikPicture, ikPicture,
                                                    ikPicture, ikButton, ikButton, ikVideo, ikEdit, ikFrame, ikMovie}));

    // Words carry their sentence's sound and font; lower-case and numeric
    // "CanMove" values count as true. Two sentences with one Id are both listed.
    const TXMLSentence world{{1, 1, "world", "s1.mp3", true, true, 0, 0}, 10, 80, {12, "Arial", 255}};
    EXPECT_EQ(std::get<TXMLSentence>(items[1].Data), world);
    const TXMLSentence good{{0, 2, "Good", "s2.mp3", true, true, 0, 0}, 40, 20, {14, "Times", -16777208}};
    EXPECT_EQ(std::get<TXMLSentence>(items[2].Data), good);
    EXPECT_EQ(std::get<TXMLSentence>(items[3].Data).Sentence.Audio, "again.mp3");

    const TXMLImage cat{{3, "cat", 0, "cat.jpg", true, 2, false}, 100, 110, 120, 130};
    EXPECT_EQ(std::get<TXMLImage>(items[4].Data), cat);
    EXPECT_EQ(std::get<TXMLButton>(items[8].Data), (TXMLButton{1, 5, 6, 70, 20, "", 1}));
    EXPECT_EQ(std::get<TXMLButton>(items[9].Data).Caption, "Go");
    EXPECT_EQ(std::get<TXMLVideo>(items[10].Data), (TXMLVideo{1, 11, 12, 13, 14, "clip.mp4"}));
    EXPECT_EQ(std::get<TXMLEdit>(items[11].Data), (TXMLEdit{7, 21, 22, 100, 0, "", 3}));
    EXPECT_EQ(std::get<TXMLFrame>(items[12].Data), (TXMLFrame{1, 31, 32, 33, 34}));
    EXPECT_EQ(std::get<TXMLFlash>(items[13].Data), (TXMLFlash{1, 41, 42, 43, 44, "song.swf"}));
}

TEST_F(PageItemsTest, AFailureKeepsTheEntriesBeforeItAndShowsOneMessage) {
    const std::string word = R"(<s Id="1" Audio="a" Font_Size="1" Font_Style="f" Font_Color="0">)"
                             R"(<w Id="0" Top="0" Left="0" Visible="1" CanMove="0">Hi</w></s>)";
    const std::string picture = R"(<p Id="1" Name="n" Visible="1" Group="0" RuleId="0" Key="k" Top="0" Left="0" Width="0" Height="0"/>)";
    const std::string noKey = R"(<p Id="2" Name="n" Visible="1" Group="0" RuleId="0" Top="0" Left="0" Width="0" Height="0"/>)";
    struct Case {
        const char* what;
        std::string xml;
        size_t entries;
    };
    const Case cases[] = {
        {"picture without Key", LessonXml({{"alls", word}, {"alli", picture + noKey + picture}}), 2},
        {"word with empty text", LessonXml({{"alls", word + R"(<s Id="2" Audio="a" Font_Size="1" Font_Style="f" Font_Color="0"><w Id="0" Top="0" Left="0" Visible="1" CanMove="0"></w></s>)"}}), 1},
        {"word text with markup", LessonXml({{"alls", R"(<s Id="2" Audio="a" Font_Size="1" Font_Style="f" Font_Color="0"><w Id="0" Top="0" Left="0" Visible="1" CanMove="0">a<b/></w></s>)"}}), 0},
        {"comment among pictures", LessonXml({{"alli", picture + "<!-- note -->" + picture}}), 1},
        {"Visible not a Boolean", LessonXml({{"alli", picture + R"(<p Id="1" Name="n" Visible="yes" Group="0" RuleId="0" Key="k" Top="0" Left="0" Width="0" Height="0"/>)"}}), 1},
        {"Top not a number", LessonXml({{"allShape", R"(<r Id="1" Top="1.5" Left="0" Height="0" Width="0"/>)"}}), 0},
        {"pool missing", "<OVENG><res><alls/></res></OVENG>", 0},
        {"not XML", "<OVENG><res>", 0},
        {"empty file", "", 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        auto page = Page(c.xml);
        EXPECT_EQ(page->GetPageItems().size(), c.entries);
        EXPECT_EQ(TakeMessageCount(), 1u);
        EXPECT_FALSE(page->IsOpen());
    }
}

// The pupil sees one message at most; the log names the file that failed.
TEST_F(PageItemsTest, ADocumentThatDoesNotLoadLeavesALogLine) {
    struct Case {
        const char* what;
        std::optional<std::string> xml;
        bool logged;
    };
    const Case cases[] = {
        {"missing", std::nullopt, true},
        {"not XML", "<OVENG><res>", true},
        {"empty", "", true},
        {"whole", LessonXml(), false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        ovtest::LogCapture log;
        const std::string name = std::string(c.what) + ".ovb";
        if (c.xml) ovtest::WriteFile(dir / name, *c.xml);
        ov::LessonDocument page(dir.path(), name, false);
        page.GetPageItems();
        EXPECT_EQ(log.Has(ov::LogLevel::Warning, "lesson", name), c.logged);
        TakeMessageCount();
    }
}

TEST_F(PageItemsTest, ClosesTheDocumentSoTheNextReadSeesTheFileAgain) {
    auto page = FixturePage("page.xml");
    EXPECT_TRUE(page->HasRules());
    EXPECT_TRUE(page->IsOpen());
    ovtest::WriteFile(dir / "page.ovb", LessonXml());
    EXPECT_TRUE(page->HasRules());  // still the DOM loaded before
    EXPECT_EQ(page->GetPageItems().size(), 14u);
    EXPECT_FALSE(page->IsOpen());
    EXPECT_TRUE(page->GetPageItems().empty());
    EXPECT_FALSE(page->HasRules());
    EXPECT_EQ(TakeMessageCount(), 0u);
}

TEST_F(PageItemsTest, ReadsGbkTextDeclaredAsGb2312) {
    auto page = FixturePage("gbk-page.xml");
    const auto items = page->GetPageItems();
    ASSERT_EQ(items.size(), 2u);
    const auto& word = std::get<ov::TXMLSentence>(items[0].Data);
    EXPECT_EQ(word.Sentence.Text, "你好，朱镕基！");
    EXPECT_EQ(word.Sentence.Audio, "问候.mp3");
    EXPECT_EQ(word.Font.Name, "宋体");
    EXPECT_EQ(std::get<ov::TXMLImage>(items[1].Data).Image.Name, "图片\\苹果.JPG");
    EXPECT_EQ(page->GetRoles(), (std::vector<std::string>{"小明"}));
    EXPECT_EQ(page->FindKeyPicture(0, "苹果"), 1);
}

// Undecodable bytes become U+FFFD within their own run of text: a lead byte
// before a closing quote neither swallows the quote nor the text after it,
// and a page that really holds U+FFFD keeps it next to intact Chinese.
TEST_F(PageItemsTest, DamagedGbkStaysWithinItsText) {
    const auto gbk = [](const char* utf8) { return *ov::Utf8ToGbk(utf8); };
    struct Case {
        std::string name, key;
        const char* expectedName;
        const char* expectedKey;
    };
    const Case cases[] = {
        {gbk("苹果.jpg"), gbk("苹果"), "苹果.jpg", "苹果"},
        {"\xFFx", "a\xB0", "\xEF\xBF\xBDx", "a\xEF\xBF\xBD"},
        {"\x84\x31\xA4\x37" + gbk("图"), gbk("猫"), "\xEF\xBF\xBD图", "猫"},  // U+FFFD in GB18030
    };
    std::string pictures;
    int id = 0;
    for (const auto& c : cases)
        pictures += "<p Id=\"" + std::to_string(++id) + "\" Name=\"" + c.name + "\" Visible=\"1\" Group=\"0\" RuleId=\"0\" Key=\"" +
                    c.key + "\" Top=\"0\" Left=\"0\" Width=\"0\" Height=\"0\"/>";
    auto page = Page(LessonXml({{"alli", pictures}}));
    const auto items = page->GetPageItems();
    ASSERT_EQ(items.size(), std::size(cases));
    for (size_t i = 0; i < items.size(); ++i) {
        const auto& image = std::get<ov::TXMLImage>(items[i].Data).Image;
        EXPECT_EQ(image.Name, cases[i].expectedName) << i;
        EXPECT_EQ(image.Key, cases[i].expectedKey) << i;
    }
    EXPECT_EQ(TakeMessageCount(), 0u);
}

// Elements are read in one pass over their attributes; one with more of them
// than that pass keeps, or with a name given twice, reads as a lookup by name.
TEST_F(PageItemsTest, ManyOrRepeatedAttributesReadAsByName) {
    std::string extra;
    for (int i = 0; i < 20; ++i) extra += " X" + std::to_string(i) + "=\"" + std::to_string(i) + "\"";
    const std::string picture = R"(<p Id="1" Name="n")" + extra +
                                R"( Visible="1" Group="0" RuleId="0" Key="k" Top="5" Left="6" Width="7" Top="9" Height="8"/>)";
    auto page = Page(LessonXml({{"alli", picture}}));
    const auto items = page->GetPageItems();
    ASSERT_EQ(items.size(), 1u);
    const ov::TXMLImage expected{{1, "k", 0, "n", true, 0, false}, 5, 6, 7, 8};
    EXPECT_EQ(std::get<ov::TXMLImage>(items[0].Data), expected);
    EXPECT_EQ(TakeMessageCount(), 0u);
}

TEST_F(PageItemsTest, ReadsUtf8WhenTheFileSaysSo) {
    std::string xml = LessonXml({{"alli", R"(<p Id="1" Name="图.jpg" Visible="1" Group="0" RuleId="0" Key="" Top="0" Left="0" Width="0" Height="0"/>)"}});
    xml.replace(xml.find("GB2312"), 6, "UTF-8");
    auto page = Page(xml);
    ov::TXMLImage image;
    page->GetImage(1, image);
    EXPECT_EQ(image.Image.Name, "图.jpg");
    EXPECT_EQ(TakeMessageCount(), 0u);
}

// Pages are tens of kilobytes; a document over 8 MiB is refused unparsed,
// with a line in the log to say why the page stayed empty.
TEST_F(PageItemsTest, RefusesDocumentsOverEightMebibytes) {
    ovtest::LogCapture log;
    for (const size_t size : {size_t{8} << 20, (size_t{8} << 20) + 1}) {
        SCOPED_TRACE(size);
        std::string xml = LessonXml({{"Titles", R"(<r Id="1">title</r>)"}});
        const std::string comment = "<!---->";
        xml.insert(xml.find("<OVENG"), "<!--" + std::string(size - xml.size() - comment.size(), 'x') + "-->");
        ASSERT_EQ(xml.size(), size);
        auto page = Page(xml);
        const bool refused = size > (size_t{8} << 20);
        ov::TRule title;
        page->GetRule(ov::rTitle, 1, title);
        EXPECT_EQ(title.Text, refused ? "" : "title");
        TakeMessageCount();
        EXPECT_EQ(log.lines.empty(), !refused);
    }
    EXPECT_TRUE(log.Has(ov::LogLevel::Warning, "lesson", "document too large"));
}

TEST_F(PageItemsTest, ExpandsNoDeclaredEntities) {
    std::string xml = LessonXml({{"Titles", R"(<r Id="1">&secret;&amp;</r>)"}});
    xml.insert(xml.find("<OVENG"), "<!DOCTYPE OVENG [<!ENTITY secret SYSTEM \"file:///etc/hostname\">]>");
    auto page = Page(xml);
    ov::TRule rule;
    page->GetRule(ov::rTitle, 1, rule);
    EXPECT_EQ(rule.Text, "&secret;&");
}

TEST_F(PageItemsTest, NewLessonHasEverySectionWhereLookupsExpectIt) {
    { ov::LessonDocument page(dir / "Class", "new.ovb", true); }
    EXPECT_EQ(TakeMessageCount(), 0u);
    const std::string bytes = ovtest::ReadFile(dir / "Class" / "new.ovb");
    EXPECT_TRUE(bytes.starts_with("<?xml version=\"1.0\" encoding=\"GB2312\"?>"));
    pugi::xml_document doc;
    ASSERT_TRUE(doc.load_string(bytes.c_str()));
    pugi::xml_node root = doc.document_element();
    EXPECT_STREQ(root.name(), "OVENG");
    EXPECT_STREQ(root.attribute("ver").value(), "6.0");

    namespace layout = ov::layout;
    const std::pair<layout::Path, const char*> pools[] = {
        {layout::kAlls, "alls"},          {layout::kAlli, "alli"},
        {layout::kAllButton, "allbutton"}, {layout::kAllRadio, "allradio"},
        {layout::kAllEdit, "alledit"},     {layout::kAllShape, "allShape"},
        {layout::kAllFlash, "allFlash"},   {layout::kOtherSentences, "sentences"},
        {layout::kOtherImages, "images"},  {layout::kOtherButtons, "buttons"},
        {layout::kOtherEdits, "edits"},    {layout::kRoleActs, "RoleActs"},
    };
    for (const auto& [path, name] : pools) EXPECT_STREQ(layout::Walk(root, path).name(), name);
    const char* sections[ov::kRuleKindCount] = {
        nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
        "Titles", "Sencens", "WordFollowReads", "SentenceFollowReads", "WordFollowWrites", "SentenceFollowWrites",
        "ArrangeWords", "ArrangeSentences", "Discerns", nullptr, "TitleRecites", "WordEden", "Games", "Musics",
        "Tests", "WorldExtends", nullptr, nullptr, nullptr, nullptr, nullptr};
    for (int kind = 0; kind < ov::kRuleKindCount; ++kind) {
        const auto path = layout::SectionOf(static_cast<ov::TOVRule>(kind));
        ASSERT_EQ(path.has_value(), sections[kind] != nullptr) << kind;
        if (path) {
            EXPECT_STREQ(layout::Walk(root, *path).name(), sections[kind]) << kind;
        }
    }
    EXPECT_STREQ(root.child("rules").last_child().name(), "Encampments");
    EXPECT_EQ(std::distance(root.child("rules").begin(), root.child("rules").end()), 12);
}

}  // namespace
