#include <gtest/gtest.h>

#include <pugixml.hpp>

#include "lesson/FunctionIndexFile.h"
#include "LessonText.h"

namespace {

using lessontest::TakeMessageCount;
using Pages = std::optional<std::vector<std::string>>;

class IndexTest : public lessontest::LessonTest {
protected:
    ov::FunctionIndexFile Index(const std::string& functions) {
        std::string xml = "<?xml version=\"1.0\" encoding=\"GB2312\"?><OVENG ver=\"6.0\"><Function>";
        xml += functions;
        xml += "</Function></OVENG>";
        ovtest::WriteFile(dir / "OVFunction.ind", xml);
        return ov::FunctionIndexFile(dir.path(), "OVFunction.ind", false);
    }
};

TEST_F(IndexTest, NewIndexHas27EmptyNumberedSlotsInGb2312) {
    const auto folder = dir / "Class";  // created, one level
    { ov::FunctionIndexFile index(folder, "OVFunction.ind", true); }
    EXPECT_EQ(TakeMessageCount(), 0u);
    const std::string bytes = ovtest::ReadFile(folder / "OVFunction.ind");
    EXPECT_TRUE(bytes.starts_with("<?xml version=\"1.0\" encoding=\"GB2312\"?>")) << bytes;

    pugi::xml_document doc;
    ASSERT_TRUE(doc.load_string(bytes.c_str()));
    pugi::xml_node root = doc.document_element();
    EXPECT_STREQ(root.name(), "OVENG");
    EXPECT_STREQ(root.attribute("ver").value(), "6.0");
    std::vector<std::string> names;
    for (pugi::xml_node slot : root.child("Function").children()) {
        names.push_back(slot.name());
        EXPECT_FALSE(slot.first_child()) << slot.name();
    }
    ASSERT_EQ(names.size(), 27u);
    EXPECT_EQ(names.front(), "Function_0");
    EXPECT_EQ(names.back(), "Function_26");
}

TEST_F(IndexTest, CreatingBelowAMissingParentFailsAtConstructionOnly) {
    ov::FunctionIndexFile index(dir / "no" / "such", "OVFunction.ind", true);
    EXPECT_EQ(TakeMessageCount(), 1u);
    EXPECT_FALSE(index.Exists());
    EXPECT_EQ(index.GetPageList(ov::rGames), std::nullopt);
    EXPECT_EQ(TakeMessageCount(), 0u);
    EXPECT_FALSE(std::filesystem::exists(dir / "no"));
}

TEST_F(IndexTest, AMissingFileShowsAtTheFirstRead) {
    ov::FunctionIndexFile index(dir.path(), "OVFunction.ind", false);
    EXPECT_EQ(TakeMessageCount(), 0u);
    EXPECT_EQ(index.GetPageList(ov::rSentenceFollowRead), std::nullopt);
    EXPECT_EQ(TakeMessageCount(), 1u);
}

TEST_F(IndexTest, SplitListKeepsEmptyParts) {
    const std::pair<const char*, Pages> cases[] = {
        {"", std::nullopt},
        {"a.ov", Pages{{"a.ov"}}},
        {"a.ov|b.ov", Pages{{"a.ov", "b.ov"}}},
        {"a.ov|", Pages{{"a.ov", ""}}},
        {"a.ov||b.ov", Pages{{"a.ov", "", "b.ov"}}},
        {"|", Pages{{"", ""}}},
    };
    for (const auto& [text, pages] : cases) EXPECT_EQ(ov::FunctionIndexFile::SplitList(text), pages) << text;
}

TEST_F(IndexTest, PageListsAreReadByPositionAndTolerateNoText) {
    auto index = Index("<Function_0>p1.ov|p2.ov</Function_0><x/><Function_2><a/></Function_2>");
    EXPECT_EQ(index.GetPageList(ov::rImage), (Pages{{"p1.ov", "p2.ov"}}));
    EXPECT_EQ(index.GetPageList(ov::rLabel), std::nullopt);
    EXPECT_EQ(index.GetPageList(ov::rRadioButton), std::nullopt);
    EXPECT_EQ(TakeMessageCount(), 0u);
    EXPECT_EQ(index.GetPageList(ov::rButton), std::nullopt);  // no slot at that position
    EXPECT_EQ(TakeMessageCount(), 1u);
}

TEST_F(IndexTest, NeighbourPagesFollowTheListExactly) {
    auto index = Index("<Function_0>A|B|C</Function_0><Function_1/>");
    struct Case {
        ov::TNeighbour direction;
        const char* current;
        const char* expected;  // nothing: a failure that leaves the output
    };
    const Case cases[] = {
        {ov::nbFirst, "C", "A"},    {ov::nbPrevious, "A", "A"}, {ov::nbPrevious, "C", "B"},
        {ov::nbPrevious, "X", "C"}, {ov::nbPrevious, "a", "C"}, {ov::nbNext, "A", "B"},
        {ov::nbNext, "C", "C"},     {ov::nbLast, "A", "C"},     {ov::nbNext, "X", nullptr},
        {ov::nbNext, "b", nullptr},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.direction) + " " + c.current);
        std::string output = "unchanged";
        index.GetNeighbourPage(ov::rImage, c.current, output, c.direction);
        EXPECT_EQ(output, c.expected ? c.expected : "unchanged");
        EXPECT_EQ(TakeMessageCount(), c.expected ? 0u : 1u);
    }
    std::string output = "unchanged";
    index.GetNeighbourPage(ov::rLabel, "A", output, ov::nbFirst);  // no text is a failure here
    EXPECT_EQ(output, "unchanged");
    EXPECT_EQ(TakeMessageCount(), 1u);
}

TEST_F(IndexTest, AuthoredPageListsRoundTripAsGbk) {
    { ov::FunctionIndexFile index(dir.path(), "OVFunction.ind", true); }
    {
        ov::FunctionIndexFile index(dir.path(), "ovfunction.IND", false);  // courseware names ignore case
        ASSERT_TRUE(index.SetPageList(ov::rGames, "第一页.ov|p2.ov"));
        index.Save();
        EXPECT_FALSE(index.IsOpen());
    }
    EXPECT_NE(ovtest::ReadFile(dir / "OVFunction.ind").find(*ov::Utf8ToGbk("第一页.ov|p2.ov")), std::string::npos);
    ov::FunctionIndexFile index(dir.path(), "OVFunction.ind", false);
    EXPECT_EQ(index.GetPageList(ov::rGames), (Pages{{"第一页.ov", "p2.ov"}}));
    EXPECT_FALSE(index.SetPageList(static_cast<ov::TOVRule>(27), "x.ov"));
    EXPECT_EQ(TakeMessageCount(), 1u);
}

TEST_F(IndexTest, SaveRaisesOnAnUnwritableFileAndStillCloses) {
    auto index = Index("<Function_0>A</Function_0>");
    ASSERT_TRUE(index.GetPageList(ov::rImage));
    std::filesystem::remove(dir / "OVFunction.ind");
    std::filesystem::create_directory(dir / "OVFunction.ind");
    EXPECT_THROW(
        {
            try {
                index.Save();
            } catch (const ov::eError& e) {
                EXPECT_STREQ(e.what(), "保存XML文件出错");
                throw;
            }
        },
        ov::eError);
    EXPECT_FALSE(index.IsOpen());
}

}  // namespace
