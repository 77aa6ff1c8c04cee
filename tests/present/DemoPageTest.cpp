#include "BoxFixture.h"

#include "present/AnswerEdit.h"
#include "present/MovieControl.h"
#include "present/PageFont.h"
#include "present/SentenceWord.h"
#include "present/VideoDisplay.h"
#include "present/VideoPanel.h"
#include "store/CipherAndFiles.h"
#include "store/StoredSecrets.h"

#include <QFontMetrics>
#include <QPushButton>
#include <QTest>

#include <algorithm>
#include <filesystem>
#include <map>
#include <set>

namespace {

namespace fs = std::filesystem;
using boxtest::BoxTest;

// The class folder of a demo lesson as the build packed it, unpacked.
fs::path ClassFolder(const fs::path& lesson) { return lesson / "OV" / "Class"; }

// The lesson's pages as the player reads them: GBK documents by file name.
std::map<std::string, std::string> Pages(const fs::path& classFolder) {
    std::map<std::string, std::string> pages;
    const std::string key = ov::DecipherString(ov::kLessonPageKey, "");
    for (const auto& file : fs::directory_iterator(classFolder))
        if (file.path().extension() == ".ov")
            pages[file.path().filename().string()] = ov::DecryptBuffer(ovtest::ReadFile(file.path()), key, 0);
    return pages;
}

// The page written by hand that shows every item kind, as the lesson source
// lists it: the second animation of "Unit1 Hello".
constexpr char kShowcase[] = "anim2.ov";

// The demo lesson's page of every item kind, with the media the build made,
// opened the way the player will open it.
TEST_F(BoxTest, DemoPageShowsEveryItemKind) {
    const fs::path media = ClassFolder(fs::path(OV_DEMO_MEDIA) / "Unit1 Hello");
    ASSERT_TRUE(fs::exists(media / "scene.jpg"));
    fs::copy(media, dir.path(), fs::copy_options::recursive);
    Open(Pages(media).at(kShowcase));
    ASSERT_TRUE(box->Active());
    EXPECT_TRUE(ov::TakeRecordedMessages().empty());

    std::set<ov::TItemKind> kinds;
    for (const ov::TBoxItem& item : box->PageItems()) kinds.insert(item.Kind);
    EXPECT_EQ(kinds.size(), 7u);
    EXPECT_FALSE(PictureWithId(1)->Picture().isNull());
    EXPECT_EQ(Control<QPushButton>(ov::ikButton)->text(), "听一听");
    EXPECT_EQ(dynamic_cast<ov::TMovieControl*>(Control<QWidget>(ov::ikMovie))->Movie(),
              QString::fromStdString((dir / "Flash/song.swf").string()));

    QTest::mouseClick(PictureWithId(4), Qt::LeftButton, {}, QPoint(4, 4));
    EXPECT_EQ(Control<ov::TAnswerEdit>(ov::ikEdit, 0)->text(), "apple");

    auto* video = Control<ov::VideoPanel>(ov::ikVideo);
    ASSERT_NE(video, nullptr);
    QTRY_VERIFY_WITH_TIMEOUT(video->Display()->HasFrame(), 15000);
    EXPECT_TRUE(ov::TakeRecordedMessages().empty());
}

// Every page the demo lessons' sources make opens the way the player opens
// it: nothing shown to the pupil, every picture drawn.
TEST_F(BoxTest, EveryDemoLessonPageOpens) {
    int pages = 0;
    for (const auto& lesson : fs::directory_iterator(OV_DEMO_MEDIA)) {
        const fs::path media = ClassFolder(lesson.path());
        fs::copy(media, dir.path(), fs::copy_options::recursive | fs::copy_options::overwrite_existing);
        for (const auto& [name, page] : Pages(media)) {
            SCOPED_TRACE(lesson.path().filename().string() + "/" + name);
            box->SetActive(false);
            Open(page);
            ASSERT_TRUE(box->Active());
            EXPECT_TRUE(ov::TakeRecordedMessages().empty());
            for (const ov::TBoxItem& item : box->PageItems()) {
                if (auto* picture = qobject_cast<ov::TPictureItem*>(item.Control)) {
                    EXPECT_FALSE(picture->Picture().isNull()) << picture->Record().Name;
                }
            }
            ++pages;
        }
    }
    EXPECT_GE(pages, 4 * 11);
}

// The built pages as the player lays them out: the words of a sentence one
// space of their font apart (within a pixel), no element over another and
// everything on the 800 x 600 page the courseware is made for.
TEST_F(BoxTest, DemoPagesKeepWordsOneSpaceApartAndElementsApart) {
    ov::SubstituteLessonFaces();
    const QRect screen(0, 0, 800, 600);
    int sentences = 0;
    for (const auto& lesson : fs::directory_iterator(OV_DEMO_MEDIA)) {
        const fs::path media = ClassFolder(lesson.path());
        fs::copy(media, dir.path(), fs::copy_options::recursive | fs::copy_options::overwrite_existing);
        for (const auto& [name, page] : Pages(media)) {
            if (name == kShowcase) continue;
            SCOPED_TRACE(lesson.path().filename().string() + "/" + name);
            box->SetActive(false);
            Open(page);
            std::map<int32_t, std::vector<ov::SentenceWord*>> words;
            std::vector<QWidget*> elements;
            for (const ov::TBoxItem& item : box->PageItems()) {
                if (auto* word = qobject_cast<ov::SentenceWord*>(item.Control))
                    words[word->Word().SentenceId].push_back(word);
                if (item.Control) elements.push_back(item.Control);
            }
            for (auto& [id, sentence] : words) {
                ++sentences;
                std::sort(sentence.begin(), sentence.end(), [](const QWidget* a, const QWidget* b) {
                    return std::pair(a->y(), a->x()) < std::pair(b->y(), b->x());
                });
                for (size_t i = 1; i < sentence.size(); ++i) {
                    const QWidget* before = sentence[i - 1];
                    const QWidget* after = sentence[i];
                    if (after->y() != before->y()) continue;  // wrapped onto the next line
                    const int space = QFontMetrics(before->font()).horizontalAdvance(QLatin1Char(' '));
                    EXPECT_NEAR(after->x() - before->geometry().right() - 1, space, 1)
                        << sentence[i - 1]->text().toStdString() << " " << sentence[i]->text().toStdString();
                }
            }
            for (size_t a = 0; a < elements.size(); ++a) {
                EXPECT_TRUE(screen.contains(elements[a]->geometry())) << elements[a]->metaObject()->className();
                for (size_t b = a + 1; b < elements.size(); ++b)
                    EXPECT_FALSE(elements[a]->geometry().intersects(elements[b]->geometry()))
                        << elements[a]->metaObject()->className() << " " << elements[b]->metaObject()->className();
            }
        }
    }
    EXPECT_GE(sentences, 4 * 30);
}

}  // namespace
