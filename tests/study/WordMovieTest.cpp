#include "study/WordMovie.h"

#include "core/MessageHook.h"
#include "present/MovieControl.h"

#include "TestApp.h"
#include "TestMovies.h"
#include "support/TestFiles.h"

#include <QElapsedTimer>
#include <QEventLoop>
#include <QFrame>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

#include <memory>
#include <optional>

namespace {

class WordMovie : public testing::Test {
protected:
    void SetUp() override {
        ovtest::TestApp();
        ov::TakeRecordedMessages();
        host = std::make_unique<QWidget>();
        host->resize(200, 100);
        host->show();
    }
    // Plays the movie as the drill does: whether it played, nothing when it
    // never finished.
    std::optional<bool> Play(const QString& path) {
        ov::WordMovie movie(path, host.get());
        std::optional<bool> played;
        QEventLoop loop;
        QObject::connect(&movie, &ov::WordMovie::Finished, &loop, [&](bool result) {
            played = result;
            loop.quit();
        });
        QTimer::singleShot(30000, &loop, &QEventLoop::quit);
        loop.exec();
        return played;
    }
    QString Write(const std::string& name, const std::string& bytes) {
        ovtest::WriteFile(dir / name, bytes);
        return QString::fromStdString((dir / name).string());
    }

    ovtest::TempDir dir;
    std::unique_ptr<QWidget> host;
};

// The drill waits out the movie's length (12 frames at 12 a second) after it
// has loaded, and not a second more.
TEST_F(WordMovie, WaitsForTheMoviesLength) {
    const QString path = Write("w_cat.swf", movietest::GlidingSquare(12, false, false));
    {
        // The engine's start is the page's affair, not the word's.
        ov::TMovieControl* warm = ov::CreateMovieControl(host.get(), "warm");
        warm->SetMovie(path);
        const bool loaded = QTest::qWaitFor([&] { return warm->State() != ov::TMovieState::kLoading; }, 30000);
        delete warm->Widget();
        ASSERT_TRUE(loaded);
    }
    QElapsedTimer clock;
    clock.start();
    EXPECT_EQ(Play(path), true);
    EXPECT_GE(clock.elapsed(), 1000);
    EXPECT_LT(clock.elapsed(), 3000);
    EXPECT_TRUE(host->findChildren<QFrame*>().isEmpty());  // the control went
    EXPECT_TRUE(ov::TakeRecordedMessages().empty());
}

TEST_F(WordMovie, AFileThatIsNoMovieIsPassedOverAndTold) {
    QElapsedTimer clock;
    clock.start();
    EXPECT_EQ(Play(Write("w_dog.swf", "RIFF not a movie")), false);
    EXPECT_LT(clock.elapsed(), 500);
    const auto messages = ov::TakeRecordedMessages();
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].text, "未找到资源，编号 : w_dog.swf");
}

}  // namespace
