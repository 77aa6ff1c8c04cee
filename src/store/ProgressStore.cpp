#include "store/ProgressStore.h"

#include <sqlite3.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <ctime>
#include <system_error>

#include "core/Log.h"
#include "store/SqliteStatement.h"

namespace ov {
namespace {

// Each step takes the schema from its index's version to the next one. A step
// only ever adds, so a newer player's file still reads with an older player.
constexpr std::array<const char*, ProgressStore::kSchemaVersion> kMigrations = {
    // Sentences are kept once and scores point at them: a keen pupil's year of
    // readings repeats the same few hundred sentences.
    R"(CREATE TABLE lesson(code TEXT PRIMARY KEY, caption TEXT NOT NULL) WITHOUT ROWID;
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
                          words INTEGER NOT NULL);)",
    // Words are kept once, and confidence in whole per cent, which takes one
    // byte: a year of readings holds a few hundred thousand of them.
    R"(CREATE TABLE word(id INTEGER PRIMARY KEY, text TEXT NOT NULL UNIQUE);
       CREATE TABLE score_word(score INTEGER NOT NULL, position INTEGER NOT NULL, word INTEGER NOT NULL,
                               heard INTEGER NOT NULL, confidence INTEGER NOT NULL,
                               PRIMARY KEY(score, position)) WITHOUT ROWID;)",
};

// The tables each version has; a file that claims a version but lacks one of
// them has lost part of itself.
constexpr std::array<int, ProgressStore::kSchemaVersion + 1> kTableCount = {0, 7, 9};
constexpr const char* kCountOurTables =
    "SELECT count(*) FROM sqlite_master WHERE type='table' AND name IN "
    "('lesson','span','sentence','score','tally','wrong_answer','drill','word','score_word')";

// Another program reading the file (the tool beside the player) holds it only
// for moments; the worker that writes can afford to wait for it.
constexpr int kWriterBusyMs = 2000;

int64_t Scalar(SqliteDatabase& db, const std::string& sql) {
    SqliteStatement statement = db.Prepare(sql);
    return statement.Step() ? statement.ColumnInt(0) : 0;
}

bool IsDamage(const ESqliteError& e) { return e.Code() == SQLITE_NOTADB || e.Code() == SQLITE_CORRUPT; }

// The version of a file that is ours, 0 for an empty one; throws
// EProgressDamaged for anything else.
int InspectedVersion(SqliteDatabase& db, bool checked = true) {
    try {
        if (checked) {
            SqliteStatement check = db.Prepare("PRAGMA quick_check");
            if (!check.Step() || check.ColumnText(0) != "ok") throw EProgressDamaged("the database fails its check");
        }
        const int64_t version = Scalar(db, "PRAGMA user_version");
        const int64_t tables = Scalar(db, "SELECT count(*) FROM sqlite_master WHERE type IN ('table','view')");
        if (version == 0) {
            if (tables != 0) throw EProgressDamaged("the database holds another program's tables");
            return 0;
        }
        if (version < 0) throw EProgressDamaged("the database has another program's version");
        if (version > ProgressStore::kSchemaVersion) return static_cast<int>(version);
        const int64_t ours = Scalar(db, kCountOurTables);
        if (ours != kTableCount[static_cast<size_t>(version)])
            throw EProgressDamaged("the database lacks tables of its version");
        return static_cast<int>(version);
    } catch (const ESqliteError& e) {
        if (IsDamage(e)) throw EProgressDamaged(e.what());
        throw;
    }
}

SqliteDatabase OpenChecked(const std::filesystem::path& file, SqliteAccess access) {
    try {
        return SqliteDatabase::OpenFile(file, access);
    } catch (const ESqliteError& e) {
        if (IsDamage(e)) throw EProgressDamaged(e.what());
        throw;
    }
}

std::string JoinIds(const std::vector<int32_t>& ids) {
    std::string text;
    for (int32_t id : ids) text += (text.empty() ? "" : ",") + std::to_string(id);
    return text;
}

void MoveAside(const std::filesystem::path& file, const std::filesystem::path& aside) {
    std::error_code ec;
    std::filesystem::rename(file, aside, ec);
    if (ec) throw std::system_error(ec, "moving " + file.string() + " aside");
    // The log and index of the damaged file belong to it, not to the new one.
    for (const char* suffix : {"-wal", "-shm"}) {
        std::filesystem::path companion = file;
        companion += suffix;
        std::filesystem::path companionAside = aside;
        companionAside += suffix;
        if (std::filesystem::exists(companion, ec)) std::filesystem::rename(companion, companionAside, ec);
    }
}

// Where on a lesson's pages a result was had.
void BindPlace(SqliteStatement& statement, const std::string& lesson, int function, int page) {
    statement.Bind(":lesson", lesson);
    statement.Bind(":function", int64_t{function});
    statement.Bind(":page", int64_t{page});
}

bool DefaultWritable(const std::filesystem::path& path) {
    return ::access(path.c_str(), W_OK) == 0;
}

std::optional<ProgressStore> OpenExisting(const std::filesystem::path& file, SqliteAccess access);

// The id an upsert's RETURNING clause gives; the statement is run to its end,
// as SQLite finishes the write only then.
int64_t ReturnedId(SqliteStatement& statement, const char* failure) {
    if (!statement.Step()) throw ESqliteError(failure);
    const int64_t id = statement.ColumnInt(0);
    while (statement.Step()) {
    }
    return id;
}

}  // namespace

std::filesystem::path ProgressStoreFile(const FolderEnvironment& environment) {
    return UserDataFolder(environment) / "progress.db";
}

std::filesystem::path DamagedStoreName(const std::filesystem::path& file, int64_t now) {
    const std::time_t time = static_cast<std::time_t>(now);
    std::tm local{};
    localtime_r(&time, &local);
    char stamp[32];
    std::strftime(stamp, sizeof stamp, "%Y%m%d-%H%M%S", &local);
    std::filesystem::path aside = file;
    aside += std::string(".damaged-") + stamp;
    return aside;
}

std::optional<ProgressStore> ProgressStore::OpenForPlayer(
    const std::filesystem::path& file, int64_t now,
    const std::function<bool(const std::filesystem::path&)>& writable) {
    const auto mayWrite = writable ? writable : DefaultWritable;
    std::error_code ec;
    const std::filesystem::path folder = file.parent_path();
    std::filesystem::create_directories(folder, ec);
    const bool exists = std::filesystem::exists(file, ec);
    const bool readOnly = !mayWrite(folder) || (exists && !mayWrite(file));
    try {
        if (readOnly) {
            if (!exists) {
                Log(LogLevel::Warning, "store", "learning record not kept: cannot write " + folder.string());
                return std::nullopt;
            }
            Log(LogLevel::Warning, "store", "learning record is read-only: " + file.string());
            return OpenExisting(file, SqliteAccess::ReadOnly);
        }
        for (int attempt = 0; attempt < 2; ++attempt) {
            try {
                SqliteDatabase db = OpenChecked(file, SqliteAccess::Create);
                db.SetBusyTimeout(kWriterBusyMs);
                const int version = InspectedVersion(db);
                if (version > kSchemaVersion) {
                    Log(LogLevel::Warning, "store",
                        "learning record of a newer player, kept read-only: " + file.string());
                    return ProgressStore(std::move(db), version, false);
                }
                db.Exec("PRAGMA journal_mode=WAL");
                // In WAL mode a killed program keeps every committed result;
                // only a power cut may take the last few.
                db.Exec("PRAGMA synchronous=NORMAL");
                ProgressStore store(std::move(db), version, true);
                store.Migrate();
                // A player that was killed leaves its log behind, and every
                // later opening reads all of it: it goes into the file now.
                store.db_.Exec("PRAGMA wal_checkpoint(TRUNCATE)");
                return store;
            } catch (const EProgressDamaged& e) {
                if (attempt > 0) throw;
                const std::filesystem::path aside = DamagedStoreName(file, now);
                MoveAside(file, aside);
                Log(LogLevel::Warning, "store",
                    "learning record damaged (" + std::string(e.what()) + "), moved to " + aside.string());
            }
        }
    } catch (const std::exception& e) {
        Log(LogLevel::Warning, "store", "learning record not kept: " + std::string(e.what()));
    }
    return std::nullopt;
}

namespace {

std::optional<ProgressStore> OpenExisting(const std::filesystem::path& file, SqliteAccess access) {
    std::error_code ec;
    const auto size = std::filesystem::file_size(file, ec);
    if (ec || size == 0) return std::nullopt;
    return access == SqliteAccess::ReadOnly ? ProgressStore::OpenForReading(file)
                                            : ProgressStore::OpenForChange(file);
}

}  // namespace

std::optional<ProgressStore> ProgressStore::OpenForReading(const std::filesystem::path& file, bool checked) {
    std::error_code ec;
    const auto size = std::filesystem::file_size(file, ec);
    if (ec || size == 0) return std::nullopt;
    SqliteDatabase db = OpenChecked(file, SqliteAccess::ReadOnly);
    const int version = InspectedVersion(db, checked);
    if (version == 0) return std::nullopt;
    return ProgressStore(std::move(db), version, false);
}

std::optional<ProgressStore> ProgressStore::OpenForChange(const std::filesystem::path& file) {
    std::error_code ec;
    const auto size = std::filesystem::file_size(file, ec);
    if (ec || size == 0) return std::nullopt;
    SqliteDatabase db = OpenChecked(file, SqliteAccess::ReadWrite);
    db.SetBusyTimeout(kWriterBusyMs);
    const int version = InspectedVersion(db);
    if (version == 0) return std::nullopt;
    return ProgressStore(std::move(db), version, version <= kSchemaVersion);
}

void ProgressStore::Migrate() {
    while (version_ < kSchemaVersion) {
        db_.Exec("BEGIN IMMEDIATE");
        try {
            // Another player may have taken the file further meanwhile.
            version_ = static_cast<int>(Scalar(db_, "PRAGMA user_version"));
            if (version_ < kSchemaVersion) {
                db_.Exec(kMigrations[static_cast<size_t>(version_)]);
                db_.Exec("PRAGMA user_version=" + std::to_string(++version_));
            }
            db_.Exec("COMMIT");
        } catch (...) {
            db_.Exec("ROLLBACK");
            throw;
        }
    }
}

void ProgressStore::Record(const ProgressEvent& event) {
    if (!writable_) throw ESqliteError("the learning record is read-only");
    db_.Exec("BEGIN IMMEDIATE");
    try {
        std::visit([this](const auto& e) { Write(e); }, event);
        db_.Exec("COMMIT");
    } catch (...) {
        db_.Exec("ROLLBACK");
        throw;
    }
}

void ProgressStore::Reset() {
    if (!writable_) throw ESqliteError("the learning record is read-only");
    std::string sql = "DELETE FROM lesson; DELETE FROM span; DELETE FROM sentence; DELETE FROM score; "
                      "DELETE FROM tally; DELETE FROM wrong_answer; DELETE FROM drill;";
    if (version_ >= 2) sql += " DELETE FROM word; DELETE FROM score_word;";
    db_.Exec("BEGIN IMMEDIATE");
    try {
        db_.Exec(sql);
        db_.Exec("COMMIT");
    } catch (...) {
        db_.Exec("ROLLBACK");
        throw;
    }
    // Deleted rows would otherwise linger in free pages of the file.
    db_.Exec("VACUUM");
}

void ProgressStore::EnsureLesson(const std::string& lesson, const std::string& caption) {
    SqliteStatement insert = db_.Prepare(
        "INSERT INTO lesson(code, caption) VALUES(:code, :caption) "
        "ON CONFLICT(code) DO UPDATE SET caption = excluded.caption WHERE excluded.caption <> ''");
    insert.Bind(":code", lesson);
    insert.Bind(":caption", caption);
    insert.Step();
}

void ProgressStore::CloseSpans(const std::string& lesson, int64_t at) {
    SqliteStatement close = db_.Prepare(
        "UPDATE span SET ended = max(started, :at) WHERE lesson = :lesson AND ended IS NULL");
    close.Bind(":lesson", lesson);
    close.Bind(":at", at);
    close.Step();
}

void ProgressStore::Write(const LessonOpened& event) {
    EnsureLesson(event.lesson, event.caption);
    // A span a killed player left open counts for nothing rather than for
    // the days until the lesson was opened again.
    SqliteStatement orphans = db_.Prepare("UPDATE span SET ended = started WHERE ended IS NULL");
    orphans.Step();
    SqliteStatement insert = db_.Prepare("INSERT INTO span(lesson, started) VALUES(:lesson, :at)");
    insert.Bind(":lesson", event.lesson);
    insert.Bind(":at", event.at);
    insert.Step();
}

void ProgressStore::Write(const FunctionOpened& event) {
    // Opened again while it is open: its time simply goes on.
    SqliteStatement same = db_.Prepare(
        "SELECT count(*) FROM span WHERE lesson = :lesson AND ended IS NULL AND function IS :function");
    same.Bind(":lesson", event.lesson);
    if (event.function) same.Bind(":function", int64_t{*event.function});
    if (same.Step() && same.ColumnInt(0) > 0) return;
    CloseSpans(event.lesson, event.at);
    EnsureLesson(event.lesson, "");
    SqliteStatement insert =
        db_.Prepare("INSERT INTO span(lesson, function, started) VALUES(:lesson, :function, :at)");
    insert.Bind(":lesson", event.lesson);
    if (event.function) insert.Bind(":function", int64_t{*event.function});
    insert.Bind(":at", event.at);
    insert.Step();
}

void ProgressStore::Write(const LessonClosed& event) { CloseSpans(event.lesson, event.at); }

void ProgressStore::Write(const ReadingScore& event) {
    EnsureLesson(event.lesson, "");
    SqliteStatement sentence = db_.Prepare(
        "INSERT INTO sentence(lesson, function, page, ids, text) VALUES(:lesson, :function, :page, :ids, :text) "
        "ON CONFLICT(lesson, function, page, ids) DO UPDATE SET text = excluded.text RETURNING id");
    BindPlace(sentence, event.lesson, event.function, event.page);
    sentence.Bind(":ids", JoinIds(event.sentences));
    sentence.Bind(":text", event.text);
    const int64_t sentenceId = ReturnedId(sentence, "a sentence was not kept");
    SqliteStatement score = db_.Prepare("INSERT INTO score(sentence, at, score) VALUES(:sentence, :at, :score)");
    score.Bind(":sentence", sentenceId);
    score.Bind(":at", event.at);
    score.Bind(":score", event.score);
    score.Step();
    if (event.words.empty()) return;
    const int64_t scoreId = db_.LastInsertId();
    SqliteStatement word = db_.Prepare(
        "INSERT INTO word(text) VALUES(:text) ON CONFLICT(text) DO UPDATE SET text = excluded.text RETURNING id");
    SqliteStatement heard = db_.Prepare(
        "INSERT INTO score_word(score, position, word, heard, confidence) "
        "VALUES(:score, :position, :word, :heard, :confidence)");
    for (size_t i = 0; i < event.words.size(); ++i) {
        const RecordedWord& feedback = event.words[i];
        word.Reset();
        word.Bind(":text", feedback.word);
        const int64_t wordId = ReturnedId(word, "a word was not kept");
        heard.Reset();
        heard.Bind(":score", scoreId);
        heard.Bind(":position", static_cast<int64_t>(i));
        heard.Bind(":word", wordId);
        heard.Bind(":heard", int64_t{feedback.heard ? 1 : 0});
        heard.Bind(":confidence", std::lround(std::clamp(feedback.confidence, 0.0, 1.0) * 100));
        heard.Step();
    }
}

void ProgressStore::Write(const AnswerTally& event) {
    EnsureLesson(event.lesson, "");
    SqliteStatement tally = db_.Prepare(
        "INSERT INTO tally(lesson, function, page, at, right, wrong) "
        "VALUES(:lesson, :function, :page, :at, :right, :wrong)");
    BindPlace(tally, event.lesson, event.function, event.page);
    tally.Bind(":at", event.at);
    tally.Bind(":right", int64_t{event.right});
    tally.Bind(":wrong", int64_t{event.wrong});
    tally.Step();
    const int64_t tallyId = db_.LastInsertId();
    SqliteStatement answer = db_.Prepare(
        "INSERT INTO wrong_answer(tally, position, typed, expected) VALUES(:tally, :position, :typed, :expected)");
    for (size_t i = 0; i < event.wrongAnswers.size(); ++i) {
        answer.Reset();
        answer.Bind(":tally", tallyId);
        answer.Bind(":position", static_cast<int64_t>(i));
        answer.Bind(":typed", event.wrongAnswers[i].typed);
        answer.Bind(":expected", event.wrongAnswers[i].expected);
        answer.Step();
    }
}

void ProgressStore::Write(const DrillPass& event) {
    EnsureLesson(event.lesson, "");
    SqliteStatement drill = db_.Prepare("INSERT INTO drill(lesson, at, words) VALUES(:lesson, :at, :words)");
    drill.Bind(":lesson", event.lesson);
    drill.Bind(":at", event.at);
    drill.Bind(":words", int64_t{event.words});
    drill.Step();
}

}  // namespace ov
