#pragma once

#include <filesystem>
#include <functional>
#include <optional>
#include <stdexcept>
#include <string>

#include "core/DataFolders.h"
#include "store/ProgressRecords.h"
#include "store/SqliteDatabase.h"

namespace ov {

// A file that is not a learning record: random bytes, another program's
// database, a record whose tables are gone or that fails its check.
class EProgressDamaged : public std::runtime_error {
    using std::runtime_error::runtime_error;
};

// The pupil's learning record: one SQLite file in write-ahead-log mode, so a
// reader beside the player never blocks it and a killed player loses at most
// the result it was writing. Each result is one transaction.
class ProgressStore {
public:
    // The first version kept scores, answer counts, drill passes and study
    // time; the second adds what the reading feedback heard of each word.
    static constexpr int kSchemaVersion = 2;

    // The player's store, never fatal: a missing file is created, an older one
    // migrated, a damaged one moved aside as <file>.damaged-<time> and started
    // anew. A file or folder the player may not write (as `writable` says) is
    // used read-only. Nothing when there is no store to be had; every choice
    // other than the plain one leaves one log line.
    static std::optional<ProgressStore> OpenForPlayer(
        const std::filesystem::path& file, int64_t now,
        const std::function<bool(const std::filesystem::path&)>& writable = {});
    // A reader's view that changes nothing on disk: nothing when the file is
    // missing or empty; throws EProgressDamaged when it is not a learning
    // record, ESqliteError when it cannot be read at all (locked, unreadable).
    // Unless `checked` is false, every page is read once to find damage.
    static std::optional<ProgressStore> OpenForReading(const std::filesystem::path& file, bool checked = true);
    // As OpenForReading, but for changing: the tool's reset.
    static std::optional<ProgressStore> OpenForChange(const std::filesystem::path& file);

    bool Writable() const { return writable_; }
    int Version() const { return version_; }
    SqliteDatabase& Database() { return db_; }

    // Throws ESqliteError; on failure nothing of the event is kept.
    void Record(const ProgressEvent& event);
    // Every record gone, in one transaction; the schema stays.
    void Reset();

private:
    ProgressStore(SqliteDatabase db, int version, bool writable)
        : db_(std::move(db)), version_(version), writable_(writable) {}
    void Migrate();
    void Write(const LessonOpened& event);
    void Write(const FunctionOpened& event);
    void Write(const LessonClosed& event);
    void Write(const ReadingScore& event);
    void Write(const AnswerTally& event);
    void Write(const DrillPass& event);
    void EnsureLesson(const std::string& lesson, const std::string& caption);
    void CloseSpans(const std::string& lesson, int64_t at);

    SqliteDatabase db_;
    int version_;
    bool writable_;
};

// The pupil's learning record: $XDG_DATA_HOME/ovplayer/progress.db.
std::filesystem::path ProgressStoreFile(const FolderEnvironment& environment);

// "<file>.damaged-YYYYMMDD-HHMMSS" for a damaged store found at `now`.
std::filesystem::path DamagedStoreName(const std::filesystem::path& file, int64_t now);

}  // namespace ov
