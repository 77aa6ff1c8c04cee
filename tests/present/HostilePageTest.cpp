// Pages a careless or hostile author could ship, built by a real box.
#include "BoxFixture.h"

#include "present/SentenceWord.h"
#include "support/LogCapture.h"

#include <utility>
#include <vector>

namespace {

using boxtest::BoxTest;
using lessontest::LessonXml;

std::string Pictures(int count, const std::string& prefix) {
    std::string pictures;
    for (int i = 0; i < count; ++i) pictures += boxtest::Picture(i, prefix + std::to_string(i) + ".png", "", -1, i);
    return pictures;
}

std::string Words(int count) {
    std::string words;
    for (int i = 0; i < count; ++i) words += boxtest::Word(i, i, "w", false);
    return boxtest::Sentence(1, words);
}

struct ShownMessage {
    std::string text;
    bool active;  // the box's state when the message came: the build is over
    qsizetype items;
};

// Each page shows the pupil one message, only once the build is over, and
// logs the rest; a page with too many elements is not built at all.
TEST_F(BoxTest, HostilePagesShowOneMessageAfterTheBuild) {
    // The lesson is a folder of its own, so that a picture can lie beside it.
    WritePicture("outside.png", boxtest::kPlain);
    const auto lesson = dir / "lesson";
    const struct {
        const char* name;
        std::string page;
        std::string message;
        bool active;
        qsizetype items;
        std::vector<std::pair<std::string, std::string>> logged;  // area, part of a warning
    } cases[] = {
        {"5,000 missing pictures", LessonXml({{"alli", Pictures(5000, "missing")}}),
         "未找到资源，编号 : missing0.png", true, 5000,
         {{"present", "also: 提示: 未找到资源，编号 : missing20.png"}, {"present", "and 4979 more"}}},
        {"6,000 words", LessonXml({{"alls", Words(6000)}}), "未找到资源文件", false, 0,
         {{"present", "6000 elements"}}},
        {"5,000 words and pictures", LessonXml({{"alls", Words(4000)}, {"alli", Pictures(1000, "missing")}}),
         "未找到资源，编号 : missing0.png", true, 5000, {}},
        {"a picture outside the lesson", LessonXml({{"alli", boxtest::Picture(1, "../outside.png", "", -1, 0)}}),
         "未找到资源，编号 : ../outside.png", true, 1, {}},
        {"a video outside the lesson",
         LessonXml({{"allradio", R"(<v Id="1" Top="0" Left="0" Width="9" Height="9" Movie="../outside.png"/>)"}}),
         "未找到资源，编号 : ../outside.png", true, 1, {}},
        {"an unclosed tag", "<OVENG><res><alls>\n  <s>", "未找到资源文件", true, 0,
         {{"lesson", "not XML"}, {"lesson", "line 2, column"}}},
        {"a stray GBK lead byte in a value",
         LessonXml({{"alls", boxtest::Sentence(1, "<w Id=\"0\" Top=\"0\" Left=\"0\" Visible=\"True\" "
                                                  "CanMove=\"True\x81\">w</w>")}}),
         "未找到资源文件", true, 0, {{"lesson", "page.ovb"}}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ovtest::LogCapture log;
        std::vector<ShownMessage> shown;
        ov::SetMessageHandler([&](const ov::Message& m) {
            EXPECT_EQ(m.caption, "提示");
            shown.push_back({m.text, box->Active(), box->PageItems().size()});
            return 1;
        });
        ovtest::OpenPage(*box, lesson, c.page, ov::rDiscern);
        ov::SetMessageHandler({});
        ASSERT_EQ(shown.size(), 1u);
        EXPECT_EQ(shown[0].text, c.message);
        EXPECT_EQ(shown[0].active, c.active);
        EXPECT_EQ(shown[0].items, c.items);
        EXPECT_EQ(box->Active(), c.active);
        EXPECT_EQ(box->Document() != nullptr, c.active);
        for (const auto& [area, part] : c.logged) EXPECT_TRUE(log.Has(ov::LogLevel::Warning, area, part)) << part;
        box->SetActive(false);
    }
    // The picture outside the lesson is not shown, though it exists, nor is
    // a sound of that name played.
    EXPECT_FALSE(box->AudioFile("../outside.png").endsWith("outside.png"));
    ovtest::OpenPage(*box, lesson, LessonXml({{"alli", boxtest::Picture(1, "../outside.png", "", -1, 0)}}),
                     ov::rDiscern);
    ASSERT_NE(PictureWithId(1), nullptr);
    EXPECT_TRUE(PictureWithId(1)->Picture().isNull());
}

// Numbers far beyond any screen are brought into range before any sum; the
// sanitizer build turns an overflow here into a failure.
TEST_F(BoxTest, HugeSizesAndPositionsAreBroughtIntoRange) {
    const std::string huge = "2147483647";
    Open(LessonXml({{"alls", "<s Id=\"1\" Audio=\"\" Font_Size=\"" + huge +
                                 "\" Font_Style=\"Arial\" Font_Color=\"0\" RuleStyle=\"0\" RuleId=\"0\">"
                                 "<w Id=\"0\" Top=\"-2147483648\" Left=\"" + huge +
                                 "\" Visible=\"True\" CanMove=\"True\">big</w></s>"},
                    {"allShape", "<r Id=\"1\" Top=\"" + huge + "\" Left=\"-5\" Height=\"" + huge + "\" Width=\"" +
                                     huge + "\"/>"}}));
    ASSERT_TRUE(box->Active());
    auto* word = Control<ov::SentenceWord>(ov::ikWord);
    ASSERT_NE(word, nullptr);
    EXPECT_EQ(word->font().pixelSize(), 500);
    EXPECT_EQ(word->pos(), QPoint(100000, -100000));
    auto* frame = Control<QWidget>(ov::ikFrame);
    ASSERT_NE(frame, nullptr);
    EXPECT_EQ(frame->geometry(), QRect(-5, 100000, 100000, 100000));
    EXPECT_TRUE(ov::TakeRecordedMessages().empty());
}

}  // namespace
