#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <random>
#include <thread>

#include "store/ProgressRecorder.h"
#include "store/ProgressReport.h"
#include "store/ProgressStore.h"
#include "store/SqliteStatement.h"
#include "support/LogCapture.h"
#include "support/TestFiles.h"

namespace {

using ov::ProgressStore;
using ::testing::ElementsAre;
using ::testing::Field;

int64_t Count(ov::SqliteDatabase& db, const std::string& sql) {
    auto statement = db.Prepare(sql);
    return statement.Step() ? statement.ColumnInt(0) : -1;
}

std::string IntegrityCheck(const std::filesystem::path& file) {
    auto db = ov::SqliteDatabase::OpenFile(file, ov::SqliteAccess::ReadOnly);
    auto check = db.Prepare("PRAGMA integrity_check");
    return check.Step() ? std::string(check.ColumnText(0)) : "";
}

ov::ReadingScore Score(const std::string& lesson, int page, int32_t sentence, double score, int64_t at,
                       std::vector<ov::RecordedWord> words = {}) {
    return {lesson, 9, page, {sentence}, "sentence " + std::to_string(sentence), score, std::move(words), at};
}

ProgressStore OpenNew(const std::filesystem::path& file) {
    auto store = ProgressStore::OpenForPlayer(file, 0);
    if (!store) throw std::runtime_error("no store");
    return std::move(*store);
}

// A record as the first version of the player wrote it, with one score.
void WriteFirstVersion(const std::filesystem::path& file) {
    auto db = ov::SqliteDatabase::OpenFile(file, ov::SqliteAccess::Create);
    db.Exec(R"(CREATE TABLE lesson(code TEXT PRIMARY KEY, caption TEXT NOT NULL) WITHOUT ROWID;
        CREATE TABLE span(id INTEGER PRIMARY KEY, lesson TEXT NOT NULL, function INTEGER,
                          started INTEGER NOT NULL, ended INTEGER);
        CREATE INDEX span_open ON span(lesson) WHERE ended IS NULL;
        CREATE TABLE sentence(id INTEGER PRIMARY KEY, lesson TEXT NOT NULL, function INTEGER NOT NULL,
                              page INTEGER NOT NULL, ids TEXT NOT NULL, text TEXT NOT NULL,
                              UNIQUE(lesson, function, page, ids));
        CREATE TABLE score(id INTEGER PRIMARY KEY, sentence INTEGER NOT NULL, at INTEGER NOT NULL,
                           score REAL NOT NULL);
        CREATE INDEX score_sentence ON score(sentence, score);
        CREATE TABLE tally(id INTEGER PRIMARY KEY, lesson TEXT NOT NULL, function INTEGER NOT NULL,
                           page INTEGER NOT NULL, at INTEGER NOT NULL, right INTEGER NOT NULL,
                           wrong INTEGER NOT NULL);
        CREATE TABLE wrong_answer(tally INTEGER NOT NULL, position INTEGER NOT NULL, typed TEXT NOT NULL,
                                  expected TEXT NOT NULL, PRIMARY KEY(tally, position)) WITHOUT ROWID;
        CREATE TABLE drill(id INTEGER PRIMARY KEY, lesson TEXT NOT NULL, at INTEGER NOT NULL,
                           words INTEGER NOT NULL);
        INSERT INTO lesson VALUES('0101', 'Lesson 1');
        INSERT INTO sentence VALUES(1, '0101', 9, 1, '3', 'Good morning.');
        INSERT INTO score VALUES(1, 1, 100, 62.5);
        PRAGMA user_version = 1;)");
}

TEST(ProgressStore, MigratesToTheCurrentSchema) {
    struct Case {
        const char* name;
        std::function<void(const std::filesystem::path&)> make;
        size_t scoresKept;
    };
    const Case cases[] = {
        {"missing file", [](const std::filesystem::path&) {}, 0},
        {"zero-byte file", [](const std::filesystem::path& f) { ovtest::WriteFile(f, ""); }, 0},
        {"first version", WriteFirstVersion, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ovtest::TempDir dir;
        const auto file = dir / "ovplayer" / "progress.db";
        std::filesystem::create_directories(file.parent_path());
        c.make(file);
        ovtest::LogCapture log;
        {
            ProgressStore store = OpenNew(file);
            EXPECT_TRUE(store.Writable());
            EXPECT_EQ(store.Version(), ProgressStore::kSchemaVersion);
            EXPECT_EQ(Count(store.Database(), "PRAGMA user_version"), ProgressStore::kSchemaVersion);
            EXPECT_EQ(Count(store.Database(), "PRAGMA journal_mode='wal'"), 0);
            store.Record(Score("0101", 1, 3, 80, 200, {{"good", true, 0.9}, {"morning", false, 0.2}}));
            const ov::ProgressExport record = ov::ReadProgress(store);
            ASSERT_EQ(record.scores.size(), c.scoresKept + 1);
            EXPECT_EQ(record.scores.back().words.size(), 2u);
        }
        EXPECT_TRUE(log.lines.empty()) << log.lines.front();
        EXPECT_FALSE(std::filesystem::exists(ov::DamagedStoreName(file, 0)));
    }
}

// A lesson's visit from opening to closing, with one result of each kind.
TEST(ProgressStore, KeepsEveryKindOfEvent) {
    ovtest::TempDir dir;
    ProgressStore store = OpenNew(dir / "progress.db");
    const ov::ProgressEvent events[] = {
        ov::LessonOpened{"0101", "Unit 1 Hello", 1000},
        ov::FunctionOpened{"0101", 9, 1010},
        Score("0101", 2, 7, 55, 1020, {{"hello", true, 0.95}, {"world", false, 0.1}}),
        // The same function once more: its time goes on.
        ov::FunctionOpened{"0101", 9, 1050},
        ov::FunctionOpened{"0101", 20, 1100},
        ov::AnswerTally{"0101", 20, 3, 4, 2, {{"aple", "apple"}, {"", "pear"}}, 1110},
        ov::DrillPass{"0101", 12, 1120},
        ov::LessonClosed{"0101", 1200},
        // A lesson opened again later, its caption unchanged.
        ov::LessonOpened{"0101", "", 5000},
        Score("0101", 2, 7, 75, 5010),
        ov::LessonClosed{"0101", 5100},
    };
    for (const ov::ProgressEvent& event : events) store.Record(event);

    const ov::ProgressExport record = ov::ReadProgress(store);
    ASSERT_EQ(record.lessons.size(), 1u);
    const ov::LessonSummary& lesson = record.lessons[0];
    EXPECT_EQ(lesson.caption, "Unit 1 Hello");
    EXPECT_EQ(lesson.seconds, 300);
    EXPECT_EQ(lesson.lastOpened, 5000);
    EXPECT_EQ(lesson.best, 75);
    EXPECT_EQ(lesson.latest, 75);
    EXPECT_THAT(record.times,
                ElementsAre(Field(&ov::FunctionTime::seconds, 10 + 100), Field(&ov::FunctionTime::seconds, 90),
                            Field(&ov::FunctionTime::seconds, 100)));
    EXPECT_EQ(record.times[0].function, std::nullopt);

    ASSERT_EQ(record.scores.size(), 2u);
    const ov::ReadingScore& first = record.scores[0];
    EXPECT_EQ(first.function, 9);
    EXPECT_EQ(first.page, 2);
    EXPECT_THAT(first.sentences, ElementsAre(7));
    EXPECT_EQ(first.text, "sentence 7");
    EXPECT_THAT(first.words, ElementsAre(Field(&ov::RecordedWord::heard, true), Field(&ov::RecordedWord::heard, false)));
    EXPECT_EQ(first.words[1].word, "world");
    EXPECT_DOUBLE_EQ(first.words[1].confidence, 0.1);
    EXPECT_TRUE(record.scores[1].words.empty());

    ASSERT_EQ(record.tallies.size(), 1u);
    EXPECT_EQ(record.tallies[0].right, 4);
    EXPECT_EQ(record.tallies[0].wrong, 2);
    EXPECT_THAT(record.tallies[0].wrongAnswers, ElementsAre(Field(&ov::WrongAnswer::typed, "aple"),
                                                            Field(&ov::WrongAnswer::typed, "")));
    ASSERT_EQ(record.drills.size(), 1u);
    EXPECT_EQ(record.drills[0].words, 12);

    EXPECT_EQ(ov::ReadProgress(store, 2000).scores.size(), 1u);
    EXPECT_TRUE(ov::ReadProgress(store, 2000).tallies.empty());
}

TEST(ProgressStore, SeriesAreDailyMeansPerLesson) {
    ovtest::TempDir dir;
    ProgressStore store = OpenNew(dir / "progress.db");
    const int64_t day = 86400;
    for (const auto& [lesson, at, score] : std::vector<std::tuple<std::string, int64_t, double>>{
             {"0102", day + 10, 40}, {"0101", day + 10, 50}, {"0101", day + 20, 70}, {"0101", 3 * day, 90}})
        store.Record(Score(lesson, 1, 1, score, at));
    const std::vector<std::string> lessons{"0101", "0199", "0102"};
    const auto series = ov::ReadScoreSeries(store, lessons, 0);
    ASSERT_EQ(series.size(), 2u);
    EXPECT_EQ(series[0].lesson, "0101");
    EXPECT_EQ(series[1].lesson, "0102");
    EXPECT_THAT(series[0].days, ElementsAre(std::pair<int64_t, double>{day, 60}, std::pair<int64_t, double>{3 * day, 90}));
    // Eight hours ahead of UTC, the day starts eight hours earlier.
    EXPECT_EQ(ov::ReadScoreSeries(store, lessons, 8 * 3600)[0].days[0].first, day - 8 * 3600);
    EXPECT_EQ(ov::ReadScoreSeries(store, lessons, 0, 2 * day).size(), 1u);
}

TEST(ProgressStore, PractiseAgainOffersLowSentencesAndMissedWords) {
    ovtest::TempDir dir;
    ProgressStore store = OpenNew(dir / "progress.db");
    store.Record(ov::LessonOpened{"0101", "Lesson 1", 1});
    // Sentence 1 improved to a full score; 2 fell; 3 stays low.
    store.Record(Score("0101", 1, 1, 20, 10));
    store.Record(Score("0101", 1, 1, 100, 11));
    store.Record(Score("0101", 2, 2, 90, 12, {{"apple", false, 0.1}, {"red", true, 0.9}}));
    store.Record(Score("0101", 2, 2, 30, 13, {{"Apple", false, 0.2}}));
    store.Record(Score("0101", 3, 3, 45, 14, {{"red", false, 0.3}}));
    store.Record(ov::AnswerTally{"0101", 10, 4, 0, 1, {{"aple", "apple"}}, 15});

    const auto items = ov::ReadPractiseAgain(store, 10);
    using Kind = ov::PractiseItem::Kind;
    ASSERT_EQ(items.size(), 4u);
    EXPECT_EQ(items[0].kind, Kind::Sentence);
    EXPECT_EQ(items[0].text, "sentence 2");
    EXPECT_EQ(items[0].figure, 30);
    EXPECT_EQ(items[0].page, 2);
    EXPECT_EQ(items[0].caption, "Lesson 1");
    // Missed three times, in two spellings; last missed in the dictation.
    EXPECT_EQ(items[1].kind, Kind::Word);
    EXPECT_EQ(items[1].figure, 3);
    EXPECT_EQ(items[1].function, 10);
    EXPECT_EQ(items[1].page, 4);
    EXPECT_EQ(items[2].text, "sentence 3");
    EXPECT_EQ(items[3].text, "red");
    EXPECT_EQ(ov::ReadPractiseAgain(store, 3).size(), 3u);
}

TEST(ProgressStore, DamagedFilesAreMovedAsideByThePlayerOnly) {
    struct Case {
        const char* name;
        std::function<void(const std::filesystem::path&)> make;
    };
    const Case cases[] = {
        {"random bytes",
         [](const std::filesystem::path& f) {
             std::string bytes(8192, '\0');
             std::mt19937 random(7);
             for (char& c : bytes) c = static_cast<char>(random());
             ovtest::WriteFile(f, bytes);
         }},
        {"another program's database",
         [](const std::filesystem::path& f) {
             ov::SqliteDatabase::OpenFile(f, ov::SqliteAccess::Create).Exec("CREATE TABLE notes(x)");
         }},
        {"our version without its tables",
         [](const std::filesystem::path& f) {
             ov::SqliteDatabase::OpenFile(f, ov::SqliteAccess::Create)
                 .Exec("CREATE TABLE score(x); PRAGMA user_version = 2");
         }},
        {"a database cut short",
         [](const std::filesystem::path& f) {
             ProgressStore store = OpenNew(f);
             for (int i = 0; i < 300; ++i) store.Record(Score("0101", 1, i, 50, i));
             store.Database().Exec("PRAGMA wal_checkpoint(TRUNCATE)");
             std::filesystem::resize_file(f, std::filesystem::file_size(f) / 2);
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ovtest::TempDir dir;
        const auto file = dir / "progress.db";
        c.make(file);
        const std::string bytes = ovtest::ReadFile(file);

        EXPECT_THROW(ProgressStore::OpenForReading(file), ov::EProgressDamaged);
        EXPECT_THROW(ProgressStore::OpenForChange(file), ov::EProgressDamaged);
        EXPECT_EQ(ovtest::ReadFile(file), bytes);

        ovtest::LogCapture log;
        auto store = ProgressStore::OpenForPlayer(file, 1'700'000'000);
        ASSERT_TRUE(store);
        EXPECT_TRUE(store->Writable());
        store->Record(Score("0101", 1, 1, 50, 1));
        EXPECT_EQ(ovtest::ReadFile(ov::DamagedStoreName(file, 1'700'000'000)), bytes);
        EXPECT_EQ(log.lines.size(), 1u);
        EXPECT_TRUE(log.Has(ov::LogLevel::Warning, "store", "damaged"));
    }
}

TEST(ProgressStore, StoresItMayNotWriteAreUsedReadOnly) {
    ovtest::TempDir dir;
    const auto file = dir / "progress.db";
    OpenNew(file).Record(Score("0101", 1, 1, 50, 1));
    const auto never = [](const std::filesystem::path&) { return false; };
    ovtest::LogCapture log;
    auto store = ProgressStore::OpenForPlayer(file, 0, never);
    ASSERT_TRUE(store);
    EXPECT_FALSE(store->Writable());
    EXPECT_EQ(ov::ReadProgress(*store).scores.size(), 1u);
    EXPECT_THROW(store->Record(Score("0101", 1, 1, 50, 2)), ov::ESqliteError);
    EXPECT_TRUE(log.Has(ov::LogLevel::Warning, "store", "read-only"));

    // Nothing to read and nowhere to write: no record, no file.
    const auto absent = dir / "elsewhere" / "progress.db";
    EXPECT_FALSE(ProgressStore::OpenForPlayer(absent, 0, never));
    EXPECT_FALSE(std::filesystem::exists(absent));
    EXPECT_TRUE(log.Has(ov::LogLevel::Warning, "store", "not kept"));
}

TEST(ProgressStore, ANewerPlayersStoreIsReadNotWritten) {
    ovtest::TempDir dir;
    const auto file = dir / "progress.db";
    OpenNew(file).Database().Exec("PRAGMA user_version = 9; CREATE TABLE later(x)");
    auto store = ProgressStore::OpenForPlayer(file, 0);
    ASSERT_TRUE(store);
    EXPECT_FALSE(store->Writable());
    EXPECT_TRUE(ov::ReadProgress(*store).scores.empty());
    EXPECT_FALSE(std::filesystem::exists(ov::DamagedStoreName(file, 0)));
}

TEST(ProgressStore, ReadersOfNothingSeeNoRecordAndMakeNoFile) {
    ovtest::TempDir dir;
    EXPECT_FALSE(ProgressStore::OpenForReading(dir / "progress.db"));
    EXPECT_FALSE(std::filesystem::exists(dir / "progress.db"));
    ovtest::WriteFile(dir / "empty.db", "");
    EXPECT_FALSE(ProgressStore::OpenForReading(dir / "empty.db"));
    EXPECT_FALSE(ProgressStore::OpenForChange(dir / "empty.db"));
}

TEST(ProgressStore, ResetLeavesAnEmptyRecord) {
    ovtest::TempDir dir;
    const auto file = dir / "progress.db";
    OpenNew(file).Record(Score("0101", 1, 1, 50, 1, {{"a", false, 0}}));
    auto store = ProgressStore::OpenForChange(file);
    ASSERT_TRUE(store);
    store->Reset();
    const ov::ProgressExport record = ov::ReadProgress(*store);
    EXPECT_TRUE(record.lessons.empty());
    EXPECT_TRUE(record.scores.empty());
    EXPECT_EQ(store->Version(), ProgressStore::kSchemaVersion);
}

// Two writers on one file, as two players (or the player and a reset) would be.
TEST(ProgressStore, ConcurrentWritersLoseNothing) {
    ovtest::TempDir dir;
    const auto file = dir / "progress.db";
    OpenNew(file);
    auto write = [&](int first) {
        ProgressStore store = OpenNew(file);
        for (int i = first; i < first + 100; ++i) store.Record(Score("0101", 1, i, 50, i));
    };
    std::thread other(write, 1000);
    write(0);
    other.join();
    auto store = ProgressStore::OpenForReading(file);
    EXPECT_EQ(Count(store->Database(), "SELECT count(*) FROM score"), 200);
    EXPECT_EQ(IntegrityCheck(file), "ok");
}

// A player killed at any moment of a write leaves a sound file that lost at
// most the result it was writing. The child acknowledges each committed
// result on a pipe; it is killed after a random number of them, so the kill
// lands anywhere in opening, writing or committing.
TEST(ProgressStore, SurvivesBeingKilledWhileWriting) {
    ovtest::TempDir dir;
    const auto file = dir / "progress.db";
    std::mt19937 random(2024);
    int64_t acknowledged = 0;
    for (int round = 0; round < 200; ++round) {
        int pipeEnds[2];
        ASSERT_EQ(pipe(pipeEnds), 0);
        const pid_t child = fork();
        ASSERT_NE(child, -1);
        if (child == 0) {
            close(pipeEnds[0]);
            try {
                auto store = ProgressStore::OpenForPlayer(file, 0);
                for (int i = 0; store; ++i) {
                    store->Record(Score("0101", 1, i % 50, i % 100, i, {{"word", i % 2 == 0, 0.5}}));
                    const char ack = 1;
                    if (write(pipeEnds[1], &ack, 1) != 1) break;
                }
            } catch (...) {
            }
            _exit(0);
        }
        close(pipeEnds[1]);
        const int wanted = std::uniform_int_distribution<int>(0, 6)(random);
        char ack = 0;
        int got = 0;
        while (got < wanted && read(pipeEnds[0], &ack, 1) == 1) ++got;
        kill(child, SIGKILL);
        int status = 0;
        waitpid(child, &status, 0);
        while (read(pipeEnds[0], &ack, 1) == 1) ++got;
        close(pipeEnds[0]);
        acknowledged += got;

        // Killed before it had made the file at all.
        if (!std::filesystem::exists(file)) continue;
        ASSERT_EQ(IntegrityCheck(file), "ok") << "round " << round;
        auto store = ProgressStore::OpenForReading(file, false);
        const int64_t kept = store ? Count(store->Database(), "SELECT count(*) FROM score") : 0;
        ASSERT_GE(kept, acknowledged) << "round " << round;
        ASSERT_LE(kept, acknowledged + 1) << "round " << round;
        acknowledged = kept;
    }
}

TEST(ProgressRecorder, WritesOnItsOwnThreadAndFlushesOnRequest) {
    ovtest::TempDir dir;
    const auto file = dir / "data" / "progress.db";
    {
        ov::ProgressRecorder recorder(file);
        recorder.Record(ov::LessonOpened{"0101", "Lesson 1", 1});
        for (int i = 0; i < 20; ++i) recorder.Record(Score("0101", 1, i, i, i + 2));
        recorder.Flush();
        auto store = ProgressStore::OpenForReading(file);
        ASSERT_TRUE(store);
        EXPECT_EQ(ov::ReadProgress(*store).scores.size(), 20u);
        recorder.Record(ov::DrillPass{"0101", 5, 30});
    }
    // What was still queued when the recorder went is written, not dropped.
    auto store = ProgressStore::OpenForReading(file);
    EXPECT_EQ(ov::ReadProgress(*store).drills.size(), 1u);
}

}  // namespace
