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

// About two months of a keen pupil's readings.
constexpr int64_t kRecentReadings = 2000;

// Rows of text, lesson, caption, function, page and figure, bound with :count
// (and :recent where used).
std::vector<PractiseItem> ReadItems(SqliteStatement row, PractiseItem::Kind kind, size_t count) {
    row.Bind(":count", static_cast<int64_t>(count));
    row.Bind(":recent", kRecentReadings);
    std::vector<PractiseItem> items;
    while (row.Step())
        items.push_back({kind, Text(row, 0), Text(row, 1), Text(row, 2), Int(row, 3), Int(row, 4), row.ColumnDouble(5)});
    return items;
}

std::vector<PractiseItem> LowSentences(ProgressStore& store, size_t count) {
    // Each sentence's latest score first, from the index of scores by
    // sentence; only the few chosen are joined with their texts.
    return ReadItems(store.Database().Prepare(
        "SELECT sentence.text, sentence.lesson, lesson.caption, sentence.function, sentence.page, per.latest"
        " FROM (SELECT sentence, score AS latest, max(id) AS last FROM score GROUP BY sentence) AS per"
        " JOIN sentence ON sentence.id = per.sentence JOIN lesson ON lesson.code = sentence.lesson"
        " WHERE per.latest < 100 ORDER BY per.latest, per.last DESC LIMIT :count"),
        PractiseItem::Kind::Sentence, count);
}

std::vector<PractiseItem> MissedWords(ProgressStore& store, size_t count) {
    // Each source counts its misses per word first, with the place of the
    // latest; the two are then added up, a word in any letter case as one.
    // Words are counted in the recent readings only: a word missed all last
    // year and read well since needs no more practice. Those readings are a
    // range of the feedback's key; the "+" keeps SQLite from walking every
    // word instead.
    std::string misses =
        "SELECT lower(expected) AS key, expected AS text, count(*) AS misses, tally.at AS at,"
        " tally.lesson AS lesson, tally.function AS function, tally.page AS page, max(tally.id)"
        " FROM wrong_answer JOIN tally ON tally.id = wrong_answer.tally WHERE expected <> ''"
        " GROUP BY lower(expected)";
    if (store.Version() >= 2)
        misses +=
            " UNION ALL SELECT lower(word.text), word.text, heard.misses, score.at, sentence.lesson,"
            " sentence.function, sentence.page, heard.last"
            " FROM (SELECT word, count(*) AS misses, max(score) AS last FROM score_word"
            "       WHERE score > (SELECT max(id) FROM score) - :recent AND +heard = 0 GROUP BY word) AS heard"
            " JOIN word ON word.id = heard.word JOIN score ON score.id = heard.last"
            " JOIN sentence ON sentence.id = score.sentence";
    return ReadItems(store.Database().Prepare(
        "SELECT text, lesson, caption, function, page, misses FROM ("
        "  SELECT missed.text, missed.lesson, lesson.caption, missed.function, missed.page,"
        "         sum(missed.misses) AS misses, max(missed.at) AS last"
        "  FROM (" + misses + ") AS missed JOIN lesson ON lesson.code = missed.lesson"
        "  GROUP BY missed.key)"
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
    // Best and last score per sentence come from the index of scores by
    // sentence; the latest score is the one written last.
    SqliteStatement row = store.Database().Prepare(
        "WITH time AS (SELECT lesson, sum(ended - started) AS seconds, max(started) AS last"
        "              FROM span GROUP BY lesson),"
        " per AS (SELECT sentence, max(score) AS best, max(id) AS last FROM score GROUP BY sentence),"
        " scored AS (SELECT sentence.lesson AS lesson, max(per.best) AS best, max(per.last) AS last"
        "            FROM per JOIN sentence ON sentence.id = per.sentence GROUP BY sentence.lesson)"
        " SELECT lesson.code, lesson.caption, coalesce(time.seconds, 0), coalesce(time.last, 0),"
        "        scored.best, score.score"
        " FROM lesson LEFT JOIN time ON time.lesson = lesson.code LEFT JOIN scored ON scored.lesson = lesson.code"
        " LEFT JOIN score ON score.id = scored.last ORDER BY 4 DESC, lesson.code");
    std::vector<LessonSummary> lessons;
    while (row.Step())
        lessons.push_back({Text(row, 0), Text(row, 1), row.ColumnInt(2), row.ColumnInt(3), OptionalDouble(row, 4),
                           OptionalDouble(row, 5)});
    return lessons;
}

std::vector<ScoreSeries> ReadScoreSeries(ProgressStore& store, const std::vector<std::string>& lessons,
                                         int64_t utcOffset, int64_t since) {
    // A lesson at a time, through the sentences of the lesson: the scores of
    // the other lessons are never read.
    SqliteStatement row = store.Database().Prepare(
        "SELECT (score.at + :offset) / 86400 AS day, avg(score.score) FROM sentence"
        " JOIN score ON score.sentence = sentence.id WHERE sentence.lesson = :lesson AND score.at >= :since"
        " GROUP BY day ORDER BY day");
    SqliteStatement caption = store.Database().Prepare("SELECT caption FROM lesson WHERE code = :lesson");
    std::vector<ScoreSeries> series;
    for (const std::string& lesson : lessons) {
        row.Reset();
        row.Bind(":offset", utcOffset);
        row.Bind(":since", since);
        row.Bind(":lesson", lesson);
        ScoreSeries line{lesson, {}, {}};
        while (row.Step()) line.days.emplace_back(row.ColumnInt(0) * 86400 - utcOffset, row.ColumnDouble(1));
        if (line.days.empty()) continue;
        caption.Reset();
        caption.Bind(":lesson", lesson);
        if (caption.Step()) line.caption = Text(caption, 0);
        series.push_back(std::move(line));
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
