#include <gtest/gtest.h>

#include "LessonText.h"

namespace {

using lessontest::LessonXml;
using lessontest::TakeMessageCount;
using namespace ov;

class RulesTest : public lessontest::LessonTest {
protected:
    std::unique_ptr<LessonDocument> page = FixturePage("page.xml");
};

TEST_F(RulesTest, GetRuleReadsTheSectionOfEachKind) {
    const std::pair<TOVRule, const char*> found[] = {
        {rTitle, "[1,1,0,1]"},        {rScene, "[7,1,0,1]"},     {rWordFollowRead, "[8,1,0,1]"},
        {rSentenceFollowRead, "[9,1,0,1]"}, {rTitleRecite, "[16,1,0,1]"}, {rWordEden, "[17,1,0,1]"},
        {rMusic, "[19,1,0,1]"},       {rWorldExtend, "[21,1,0,1]"},
    };
    for (const auto& [kind, text] : found) {
        TRule rule{rImage, 0, "keep", ""};
        page->GetRule(kind, 1, rule);
        EXPECT_EQ(rule, (TRule{kind, 1, "keep", text})) << int(kind);
    }
    // Kinds without rules of their own, and Ids that match nothing, leave the output.
    for (TOVRule kind : {rOthers, rArrangeWord, rDiscern, rRoleAct, rImportant, rTeacher}) {
        TRule rule{rImage, 5, "keep", "old"};
        page->GetRule(kind, 1, rule);
        EXPECT_EQ(rule, (TRule{rImage, 5, "keep", "old"})) << int(kind);
    }
    TRule rule;
    page->GetRule(rSentenceFollowRead, 3, rule);
    EXPECT_EQ(rule, TRule{});
    EXPECT_EQ(TakeMessageCount(), 0u);
}

TEST_F(RulesTest, FindRuleGoesFromThePoolElementToItsRuleOnlyForOthers) {
    struct Case {
        TOVRule kind, control;
        int32_t elementId;
        TRule expected;
    };
    const TRule untouched{rImage, -1, "keep", "old"};
    const Case cases[] = {
        {rOthers, rLabel, 1, {rOthers, 5, "keep", "[1,1,0,1][1,1,1,1]"}},
        {rOthers, rImage, 3, {rOthers, 2, "keep", "[0,3,0,1]"}},
        {rOthers, rButton, 1, {rOthers, 1, "keep", "[3,1,0,1]"}},
        {rOthers, rButton, 99, {rOthers, 0, "keep", "[0,0,0,0]"}},  // missing element: rule 0
        {rOthers, rEdit, 7, {rOthers, 3, "keep", "[4,7,0,1]"}},
        {rOthers, rImage, 5, untouched},  // no picture rule 0
        {rTitle, rButton, 1, untouched},
        {rSentenceFollowRead, rLabel, 1, untouched},
        {rOthers, rRadioButton, 1, untouched},
    };
    for (const auto& c : cases) {
        TRule rule = untouched;
        page->FindRule(c.kind, c.control, c.elementId, rule);
        EXPECT_EQ(rule, c.expected) << int(c.kind) << " " << int(c.control) << " " << c.elementId;
    }
    EXPECT_EQ(TakeMessageCount(), 0u);
}

TEST_F(RulesTest, PoolRuleIdsComeFromTheFirstElementWithTheId) {
    EXPECT_EQ(page->GetPoolRuleId(rLabel, 1), 5);  // the first of two sentences with Id 1
    EXPECT_EQ(page->GetPoolRuleId(rButton, 2), 9);
    EXPECT_EQ(page->GetPoolRuleId(rButton, 3), 0);
    EXPECT_EQ(page->GetPoolRuleId(rRadioButton, 1), 0);
    EXPECT_EQ(page->GetPoolRuleId(rOthers, 1), 0);
    EXPECT_EQ(TakeMessageCount(), 0u);
}

TEST_F(RulesTest, RolesListAndPlay) {
    EXPECT_EQ(page->GetRoles(), (std::vector<std::string>{"Tom", "Amy"}));
    TRule rule{rImage, 42, "", ""};
    page->GetRoleRule("Amy", rule);
    EXPECT_EQ(rule, (TRule{rRoleAct, 42, "Amy", "[15,2,0,1]"}));
    TRule missing{rImage, 42, "", ""};
    page->GetRoleRule("amy", missing);
    EXPECT_EQ(missing, (TRule{rImage, 42, "", ""}));
    EXPECT_EQ(TakeMessageCount(), 0u);
}

TEST_F(RulesTest, FailuresShowOneMessageEach) {
    auto broken = Page(LessonXml({{"RoleActs", R"(<r Role="A">[a]</r><r>[b]</r><r Role="C">[c]</r>)"},
                                  {"buttons", R"(<r Id="x">[x]</r>)"},
                                  {"allbutton", R"(<b Id="1" RuleId="?"/>)"},
                                  {"Titles", R"(<r Id="1">[1]</r><r Id="2">[2<b/>]</r><r Id="3"/>)"}}),
                     "broken.ovb");
    EXPECT_EQ(broken->GetRoles(), std::nullopt);  // the whole list is dropped
    EXPECT_EQ(TakeMessageCount(), 1u);
    TRule role;
    broken->GetRoleRule("C", role);  // the role-less element is skipped
    EXPECT_EQ(role.Text, "[c]");
    EXPECT_EQ(TakeMessageCount(), 0u);

    // The pool's failure is its own; the rule lookup then fails on the Id "x".
    TRule rule;
    EXPECT_EQ(broken->GetPoolRuleId(rButton, 1), 0);
    EXPECT_EQ(TakeMessageCount(), 1u);
    broken->FindRule(rOthers, rButton, 1, rule);
    EXPECT_EQ(TakeMessageCount(), 2u);
    EXPECT_EQ(rule, TRule{});

    for (int id : {2, 3}) {  // rule text that is markup, or empty
        broken->GetRule(rTitle, id, rule);
        EXPECT_EQ(TakeMessageCount(), 1u) << id;
    }
}

TEST_F(RulesTest, HasRulesAnswersTrueWhenInDoubt) {
    EXPECT_TRUE(page->HasRules());
    EXPECT_FALSE(Page(LessonXml(), "empty.ovb")->HasRules());
    EXPECT_TRUE(Page(LessonXml({{"sentences", "<!-- only a comment -->"}}), "comment.ovb")->HasRules());
    EXPECT_EQ(TakeMessageCount(), 0u);
    EXPECT_TRUE(Page("not xml", "bad.ovb")->HasRules());
    EXPECT_EQ(TakeMessageCount(), 1u);
    LessonDocument missing(dir.path(), "missing.ovb", false);
    EXPECT_TRUE(missing.HasRules());
    EXPECT_EQ(TakeMessageCount(), 1u);
}

TEST_F(RulesTest, ANodeBeforeASectionShiftsEveryLookupBehindIt) {
    std::string xml = LessonXml({{"Titles", R"(<r Id="1">[title]</r>)"}, {"Sencens", R"(<r Id="1">[scene]</r>)"}});
    xml.insert(xml.find("<rules>"), "<extra/>");
    auto shifted = Page(xml, "shifted.ovb");
    TRule rule;
    shifted->GetRule(rTitle, 1, rule);  // "rules" is read as "res", whose first pool holds no rule
    EXPECT_EQ(rule, TRule{});
    EXPECT_EQ(TakeMessageCount(), 1u);

    // A comment is passed over by lookups but still takes a position.
    shifted = Page(LessonXml({{"Games", R"(<g Id="0"/><!-- c --><g Id="1"/>)"}}), "comment.ovb");
    EXPECT_EQ(shifted->GetNeighbourItem(2, 0, rGames), 1);
    EXPECT_EQ(shifted->GetNeighbourItem(1, 1, rGames), 1);
    EXPECT_EQ(TakeMessageCount(), 0u);
    xml = LessonXml({{"Titles", R"(<r Id="1">[title]</r>)"}});
    xml.insert(xml.find("<Titles>"), "<?author note?><!-- note -->");
    shifted = Page(xml, "pi.ovb");
    shifted->GetRule(rScene, 1, rule);  // "Titles" now stands where scenes belong
    EXPECT_EQ(rule, (TRule{rScene, 1, "", "[title]"}));
    EXPECT_EQ(TakeMessageCount(), 0u);
    TRule title;
    shifted->GetRule(rTitle, 1, title);  // the processing instruction has no rules
    EXPECT_EQ(title, TRule{});
    EXPECT_EQ(TakeMessageCount(), 0u);
}

TEST_F(RulesTest, PicturesAndSentencesByTheirIds) {
    TXMLImage image;
    image.Image.Key = "kept";
    image.Image.RuleId = 77;
    image.Image.Selected = true;
    page->GetImage(5, image);
    EXPECT_EQ(image, (TXMLImage{{5, "kept", 0, "dog.jpg", true, 77, true}, 200, 210, 220, 230}));

    EXPECT_TRUE(page->IsChoicePicture(3));
    EXPECT_FALSE(page->IsChoicePicture(4));  // "Key" present and empty
    EXPECT_FALSE(page->IsChoicePicture(99));
    EXPECT_EQ(page->FindKeyPicture(0, "dog"), 5);
    EXPECT_EQ(page->FindKeyPicture(1, "dog"), 6);
    EXPECT_EQ(page->FindKeyPicture(0, "Dog"), -1);
    EXPECT_EQ(page->FindKeyPicture(-1, ""), 4);

    std::string word = "old";
    page->GetChoiceWord(3, word);
    EXPECT_EQ(word, "cat");
    page->GetChoiceWord(99, word);
    EXPECT_EQ(word, "");

    std::string audio = "old";
    page->GetSentenceAudio(1, audio);
    EXPECT_EQ(audio, "s1.mp3");
    page->GetSentenceAudio(3, audio);
    EXPECT_EQ(audio, "s1.mp3");

    TXMLSentences sentence;
    sentence.Font.Name = "kept";
    page->GetSentenceRecord(2, sentence);
    EXPECT_EQ(sentence, (TXMLSentences{2, "s2.mp3", {0, "kept", 0}, 0, 6, {}}));
    EXPECT_EQ(TakeMessageCount(), 0u);
}

TEST_F(RulesTest, APictureWithoutKeyIsAChoiceWhoseWordCannotBeRead) {
    auto noKey = Page(LessonXml({{"alli", R"(<p Id="1" Name="n" Visible="1" Group="2"/><p Id="2" Group="x"/>)"}}), "nokey.ovb");
    EXPECT_TRUE(noKey->IsChoicePicture(1));
    EXPECT_EQ(TakeMessageCount(), 0u);
    std::string word = "old";
    noKey->GetChoiceWord(1, word);
    EXPECT_EQ(word, "");
    EXPECT_EQ(TakeMessageCount(), 1u);
    EXPECT_EQ(noKey->FindKeyPicture(2, "k"), -1);  // stops at the Group that is no number
    EXPECT_EQ(TakeMessageCount(), 1u);

    TXMLImage image;
    noKey->GetImage(1, image);  // filled up to the first missing attribute
    EXPECT_EQ(image.Image.Id, 1);
    EXPECT_EQ(image.Top, 0);
    EXPECT_EQ(TakeMessageCount(), 1u);
}

}  // namespace
