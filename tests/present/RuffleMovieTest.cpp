#include "BoxFixture.h"
#include "TestMovies.h"

#include "present/AnswerCheck.h"
#include "present/MovieControl.h"

#include <QTest>
#include <QWebEngineView>

namespace {

using boxtest::BoxTest;
using lessontest::LessonXml;
using ov::TakeRecordedMessages;
using State = ov::TMovieState;

constexpr int kStartMs = 30000;  // the first movie starts the web engine

std::string MoviePage(const std::string& movie) {
    return LessonXml({{"alls", boxtest::Sentence(1, boxtest::Word(0, 10, "Hello", false, 300))},
                      {"allFlash", R"(<f Id="4" Top="30" Left="10" Movie=")" + movie + R"(" Width="400" Height="100"/>)"}});
}

ov::TMovieControl* MovieOf(const ov::PageView& box) {
    for (const ov::TBoxItem& item : box.PageItems()) {
        if (item.Kind == ov::ikMovie) return dynamic_cast<ov::TMovieControl*>(item.Control);
    }
    return nullptr;
}

bool Settled(const ov::TMovieControl& movie) {
    return QTest::qWaitFor([&] { return movie.State() != State::kLoading && movie.FrameCount() > 0; },
                           kStartMs) &&
           movie.State() != State::kFailed;
}

QImage Shot(ov::TMovieControl& movie) {
    return movie.Widget()->findChild<QWebEngineView*>()->grab().toImage();
}

// Whether the picture changes within a few frames' time.
bool Moves(ov::TMovieControl& movie) {
    const QImage before = Shot(movie);
    return QTest::qWaitFor([&] { return Shot(movie) != before; }, 1500);
}

class MovieTest : public BoxTest, public testing::WithParamInterface<bool> {};

// Movies start by themselves once loaded, as the Flash control's did; Play and
// StopPlay then steer what Ruffle really does.
TEST_P(MovieTest, PlaysStopsAndPlaysAgain) {
    ovtest::WriteFile(dir / "Flash/square.swf", movietest::GlidingSquare(240, GetParam()));
    box->show();
    Open(MoviePage("Flash/square.swf"));
    ov::TMovieControl* movie = MovieOf(*box);
    ASSERT_NE(movie, nullptr);
    EXPECT_EQ(movie->Widget()->geometry(), QRect(10, 30, 400, 100));
    ASSERT_TRUE(Settled(*movie));
    EXPECT_EQ(movie->FrameCount(), 240);
    EXPECT_DOUBLE_EQ(movie->FrameRate(), 12);
    EXPECT_TRUE(movie->Playing());
    EXPECT_TRUE(Moves(*movie));

    box->StopMovies();
    EXPECT_FALSE(movie->Playing());
    EXPECT_TRUE(QTest::qWaitFor([&] { return movie->State() == State::kStopped; }, 1000));
    QTest::qWait(200);
    EXPECT_FALSE(Moves(*movie));
    EXPECT_FALSE(movie->Playing());

    box->PlayMovies();
    EXPECT_TRUE(movie->Playing());
    EXPECT_TRUE(Moves(*movie));
    EXPECT_TRUE(TakeRecordedMessages().empty());
}

INSTANTIATE_TEST_SUITE_P(PlainAndCompressed, MovieTest, testing::Bool());

// A game replaces the page's items with its movie, which must be seen.
TEST_F(BoxTest, AGameShowsItsMovieOnTheClearedPage) {
    ovtest::WriteFile(dir / "game.swf", movietest::GlidingSquare(12));
    box->show();
    Open(LessonXml({{"alls", boxtest::Sentence(1, boxtest::Word(0, 10, "Hello", false, 300))},
                    {"Games", R"(<g Id="0" Top="50" Left="60" Width="400" Height="100" Movie="game.swf"/>)"}}),
         ov::rGames);
    ov::GotoItem(*box, ov::rGames, false, 0);
    ASSERT_EQ(box->PageItems().size(), 1);
    ov::TMovieControl* movie = MovieOf(*box);
    ASSERT_NE(movie, nullptr);
    EXPECT_EQ(movie->Widget()->geometry(), QRect(60, 50, 400, 100));
    EXPECT_TRUE(movie->Widget()->parentWidget()->rect().contains(movie->Widget()->geometry()));
    EXPECT_FALSE(movie->Widget()->visibleRegion().isEmpty());
    ASSERT_TRUE(Settled(*movie));
}

int DarkPixels(const QImage& image) {
    int dark = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) dark += qGray(image.pixel(x, y)) < 96;
    }
    return dark;
}

// Ruffle has no Chinese glyphs of its own: without the font we give it, the
// text of a movie stays blank.
TEST_F(BoxTest, ChineseTextInAMovieShows) {
    ovtest::WriteFile(dir / "words.swf", movietest::Words("苹果香蕉"));
    box->show();
    Open(MoviePage("words.swf"));
    ov::TMovieControl* movie = MovieOf(*box);
    ASSERT_NE(movie, nullptr);
    ASSERT_TRUE(Settled(*movie));
    EXPECT_TRUE(QTest::qWaitFor([&] { return DarkPixels(Shot(*movie)) > 400; }, 3000));
}

// The rectangle keeps naming the file, the page stays and the pupil is told
// once.
TEST_F(BoxTest, AMovieThatCannotPlayLeavesItsNameAndTellsOnce) {
    for (const char* movie : {"Flash/absent.swf", "Flash/picture.swf"}) {
        SCOPED_TRACE(movie);
        ovtest::WriteFile(dir / "Flash/picture.swf", "GIF89a not a movie");
        Open(MoviePage(movie));
        ov::TMovieControl* control = MovieOf(*box);
        ASSERT_NE(control, nullptr);
        EXPECT_EQ(control->State(), State::kFailed);
        EXPECT_EQ(control->Widget()->findChild<QWebEngineView*>(), nullptr);
        EXPECT_FALSE(control->Playing());
        box->PlayMovies();
        EXPECT_FALSE(control->Playing());
        EXPECT_TRUE(box->Active());
        const auto messages = TakeRecordedMessages();
        ASSERT_EQ(messages.size(), 1u);
        EXPECT_EQ(messages[0].caption, "提示");
        EXPECT_EQ(messages[0].text, std::string("未找到资源，编号 : ") + movie);
        box->SetActive(false);
    }
}

}  // namespace
