#include "store/ProgressReport.h"

#include <charconv>
#include <unordered_map>

#include "store/ProgressStore.h"
#include "store/SqliteStatement.h"

namespace ov {
namespace {

std::string Text(const SqliteStatement& row, int column) { return std::string(row.ColumnText(column)); }
int Int(const SqliteStatement& row, int column) { return static_cast<int>(row.ColumnInt(column)); }

std::optional<double> OptionalDouble(const SqliteStatement& row, int column) {
    if (row.ColumnIsNull(column)) return std::nullopt;
    return row.ColumnDouble(column);
}

std::vector<int32_t> SplitIds(std::string_view text) {
    std::vector<int32_t> ids;
    while (!text.empty()) {
        const size_t comma = text.find(',');
        const std::string_view part = text.substr(0, comma);
        int32_t id = 0;
        if (std::from_chars(part.data(), part.data() + part.size(), id).ec == std::errc()) ids.push_back(id);
        text = comma == std::string_view::npos ? std::string_view() : text.substr(comma + 1);
    }
    return ids;
}

// Rows of text, lesson, caption, function, page and figure, bound with :count.
std::vector<PractiseItem> ReadItems(SqliteStatement row, PractiseItem::Kind kind, size_t count) {
    row.Bind(":count", static_cast<int64_t>(count));
    std::vector<PractiseItem> items;
    while (row.Step())
        items.push_back({kind, Text(row, 0), Text(row, 1), Text(row, 2), Int(row, 3), Int(row, 4), row.ColumnDouble(5)});
    return items;
}

std::vector<PractiseItem> LowSentences(ProgressStore& store, size_t count) {
    return ReadItems(store.Database().Prepare(
        "SELECT text, lesson, caption, function, page, latest FROM ("
        "  SELECT sentence.text, sentence.lesson, lesson.caption, sentence.function, sentence.page,"
        "         score.score AS latest, max(score.id) AS last"
        "  FROM score JOIN sentence ON sentence.id = score.sentence"
        "  JOIN lesson ON lesson.code = sentence.lesson GROUP BY score.sentence)"
        " WHERE latest < 100 ORDER BY latest, last DESC LIMIT :count"),
        PractiseItem::Kind::Sentence, count);
}

std::vector<PractiseItem> MissedWords(ProgressStore& store, size_t count) {
    std::string misses =
        "SELECT wrong_answer.expected AS text, tally.lesson AS lesson, tally.function AS function,"
        " tally.page AS page, tally.at AS at"
        " FROM wrong_answer JOIN tally ON tally.id = wrong_answer.tally WHERE wrong_answer.expected <> ''";
    if (store.Version() >= 2)
        misses +=
            " UNION ALL SELECT word.text, sentence.lesson, sentence.function, sentence.page, score.at"
            " FROM score_word JOIN word ON word.id = score_word.word JOIN score ON score.id = score_word.score"
            " JOIN sentence ON sentence.id = score.sentence WHERE score_word.heard = 0";
    return ReadItems(store.Database().Prepare(
        "SELECT text, lesson, caption, function, page, misses FROM ("
        "  SELECT missed.text, missed.lesson, lesson.caption, missed.function, missed.page,"
        "         count(*) AS misses, max(missed.at) AS last"
        "  FROM (" + misses + ") AS missed JOIN lesson ON lesson.code = missed.lesson"
        "  GROUP BY lower(missed.text))"
        " ORDER BY misses DESC, last DESC LIMIT :count"),
        PractiseItem::Kind::Word, count);
}

void ReadWords(ProgressStore& store, int64_t since, std::vector<ReadingScore>& scores,
               const std::unordered_map<int64_t, size_t>& byId) {
    if (store.Version() < 2) return;
    SqliteStatement row = store.Database().Prepare(
        "SELECT score_word.score, word.text, score_word.heard, score_word.confidence"
        " FROM score_word JOIN word ON word.id = score_word.word JOIN score ON score.id = score_word.score"
        " WHERE score.at >= :since ORDER BY score_word.score, score_word.position");
    row.Bind(":since", since);
    while (row.Step())
        if (auto found = byId.find(row.ColumnInt(0)); found != byId.end())
            scores[found->second].words.push_back({Text(row, 1), row.ColumnInt(2) != 0, row.ColumnInt(3) / 100.0});
}

std::vector<ReadingScore> ReadScores(ProgressStore& store, int64_t since) {
    SqliteStatement row = store.Database().Prepare(
        "SELECT score.id, sentence.lesson, sentence.function, sentence.page, sentence.ids, sentence.text,"
        " score.score, score.at FROM score JOIN sentence ON sentence.id = score.sentence"
        " WHERE score.at >= :since ORDER BY score.id");
    row.Bind(":since", since);
    std::vector<ReadingScore> scores;
    std::unordered_map<int64_t, size_t> byId;
    while (row.Step()) {
        byId.emplace(row.ColumnInt(0), scores.size());
        scores.push_back({Text(row, 1), Int(row, 2), Int(row, 3), SplitIds(row.ColumnText(4)), Text(row, 5),
                          row.ColumnDouble(6), {}, row.ColumnInt(7)});
    }
    ReadWords(store, since, scores, byId);
    return scores;
}

std::vector<AnswerTally> ReadTallies(ProgressStore& store, int64_t since) {
    SqliteStatement row = store.Database().Prepare(
        "SELECT id, lesson, function, page, right, wrong, at FROM tally WHERE at >= :since ORDER BY id");
    row.Bind(":since", since);
    std::vector<AnswerTally> tallies;
    std::unordered_map<int64_t, size_t> byId;
    while (row.Step()) {
        byId.emplace(row.ColumnInt(0), tallies.size());
        tallies.push_back({Text(row, 1), Int(row, 2), Int(row, 3), Int(row, 4), Int(row, 5), {}, row.ColumnInt(6)});
    }
    SqliteStatement answer = store.Database().Prepare(
        "SELECT wrong_answer.tally, typed, expected FROM wrong_answer JOIN tally ON tally.id = wrong_answer.tally"
        " WHERE tally.at >= :since ORDER BY wrong_answer.tally, position");
    answer.Bind(":since", since);
    while (answer.Step())
        if (auto found = byId.find(answer.ColumnInt(0)); found != byId.end())
            tallies[found->second].wrongAnswers.push_back({Text(answer, 1), Text(answer, 2)});
    return tallies;
}

}  // namespace

std::vector<LessonSummary> ReadLessonSummaries(ProgressStore& store) {
    // The latest score is the one written last; with SQLite a bare column
    // beside max() comes from the row that holds the maximum.
    SqliteStatement row = store.Database().Prepare(
        "WITH time AS (SELECT lesson, sum(ended - started) AS seconds, max(started) AS last"
        "              FROM span GROUP BY lesson),"
        " best AS (SELECT sentence.lesson AS lesson, max(score.score) AS best"
        "          FROM score JOIN sentence ON sentence.id = score.sentence GROUP BY sentence.lesson),"
        " latest AS (SELECT sentence.lesson AS lesson, score.score AS latest, max(score.id)"
        "            FROM score JOIN sentence ON sentence.id = score.sentence GROUP BY sentence.lesson)"
        " SELECT lesson.code, lesson.caption, coalesce(time.seconds, 0), coalesce(time.last, 0),"
        "        best.best, latest.latest"
        " FROM lesson LEFT JOIN time ON time.lesson = lesson.code LEFT JOIN best ON best.lesson = lesson.code"
        " LEFT JOIN latest ON latest.lesson = lesson.code ORDER BY 4 DESC, lesson.code");
    std::vector<LessonSummary> lessons;
    while (row.Step())
        lessons.push_back({Text(row, 0), Text(row, 1), row.ColumnInt(2), row.ColumnInt(3), OptionalDouble(row, 4),
                           OptionalDouble(row, 5)});
    return lessons;
}

std::vector<ScoreSeries> ReadScoreSeries(ProgressStore& store, int64_t utcOffset, int64_t since) {
    SqliteStatement row = store.Database().Prepare(
        "SELECT sentence.lesson, lesson.caption, (score.at + :offset) / 86400 AS day, avg(score.score)"
        " FROM score JOIN sentence ON sentence.id = score.sentence JOIN lesson ON lesson.code = sentence.lesson"
        " WHERE score.at >= :since GROUP BY sentence.lesson, day ORDER BY sentence.lesson, day");
    row.Bind(":offset", utcOffset);
    row.Bind(":since", since);
    std::vector<ScoreSeries> series;
    while (row.Step()) {
        if (series.empty() || series.back().lesson != row.ColumnText(0))
            series.push_back({Text(row, 0), Text(row, 1), {}});
        series.back().days.emplace_back(row.ColumnInt(2) * 86400 - utcOffset, row.ColumnDouble(3));
    }
    return series;
}

std::vector<PractiseItem> ReadPractiseAgain(ProgressStore& store, size_t count) {
    const std::vector<PractiseItem> sentences = LowSentences(store, count);
    const std::vector<PractiseItem> words = MissedWords(store, count);
    std::vector<PractiseItem> items;
    for (size_t i = 0; items.size() < count && (i < sentences.size() || i < words.size()); ++i) {
        if (i < sentences.size()) items.push_back(sentences[i]);
        if (i < words.size() && items.size() < count) items.push_back(words[i]);
    }
    return items;
}

ProgressExport ReadProgress(ProgressStore& store, int64_t since) {
    ProgressExport record;
    record.lessons = ReadLessonSummaries(store);
    SqliteStatement time = store.Database().Prepare(
        "SELECT lesson, function, sum(ended - started) FROM span WHERE started >= :since AND ended IS NOT NULL"
        " GROUP BY lesson, function ORDER BY lesson, function");
    time.Bind(":since", since);
    while (time.Step())
        record.times.push_back({Text(time, 0),
                                time.ColumnIsNull(1) ? std::nullopt : std::optional<int>(Int(time, 1)),
                                time.ColumnInt(2)});
    record.scores = ReadScores(store, since);
    record.tallies = ReadTallies(store, since);
    SqliteStatement drill =
        store.Database().Prepare("SELECT lesson, words, at FROM drill WHERE at >= :since ORDER BY id");
    drill.Bind(":since", since);
    while (drill.Step()) record.drills.push_back({Text(drill, 0), Int(drill, 1), drill.ColumnInt(2)});
    return record;
}

}  // namespace ov
