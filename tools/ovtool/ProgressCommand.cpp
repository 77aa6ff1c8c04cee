// progress: the pupil's learning record for a teacher, as JSON or CSV, and its reset.
#include <algorithm>
#include <ctime>
#include <iomanip>
#include <iostream>
#include <memory>
#include <sstream>
#include <unordered_map>

#include <nlohmann/json.hpp>

#include "ToolCommand.h"
#include "store/ProgressReport.h"
#include "store/ProgressStore.h"

namespace ovtool {
namespace {

using Json = nlohmann::ordered_json;

struct ProgressOptions {
    bool csv = false;
    bool reset = false;
    bool yes = false;
    std::string since;
    std::string db;
};

std::string LocalTime(int64_t at) {
    const std::time_t time = static_cast<std::time_t>(at);
    std::tm local{};
    localtime_r(&time, &local);
    char text[40];
    std::strftime(text, sizeof text, "%Y-%m-%dT%H:%M:%S%z", &local);
    return text;
}

// Local midnight at the start of DATE (YYYY-MM-DD).
int64_t DayStart(const std::string& date) {
    std::tm day{};
    std::istringstream in(date);
    in >> std::get_time(&day, "%Y-%m-%d");
    if (in.fail() || in.peek() != std::char_traits<char>::eof())
        throw CommandError{kBadArguments, "--since wants a date as YYYY-MM-DD, not \"" + date + "\""};
    day.tm_isdst = -1;
    return static_cast<int64_t>(std::mktime(&day));
}

Json FunctionJson(const std::optional<int>& function) { return function ? Json(*function) : Json(nullptr); }
Json ScoreJson(const std::optional<double>& score) { return score ? Json(*score) : Json(nullptr); }

Json RecordJson(const ov::ProgressExport& record) {
    Json lessons = Json::array();
    for (const ov::LessonSummary& lesson : record.lessons) {
        Json functions = Json::array();
        for (const ov::FunctionTime& time : record.times)
            if (time.lesson == lesson.lesson)
                functions.push_back({{"function", FunctionJson(time.function)}, {"seconds", time.seconds}});
        lessons.push_back({{"lesson", lesson.lesson},
                           {"caption", lesson.caption},
                           {"seconds", lesson.seconds},
                           {"lastOpened", lesson.lastOpened ? Json(LocalTime(lesson.lastOpened)) : Json(nullptr)},
                           {"best", ScoreJson(lesson.best)},
                           {"latest", ScoreJson(lesson.latest)},
                           {"functions", functions}});
    }
    Json scores = Json::array();
    for (const ov::ReadingScore& score : record.scores) {
        Json words = Json::array();
        for (const ov::RecordedWord& word : score.words)
            words.push_back({{"word", word.word}, {"heard", word.heard}, {"confidence", word.confidence}});
        scores.push_back({{"time", LocalTime(score.at)},
                          {"lesson", score.lesson},
                          {"function", score.function},
                          {"page", score.page},
                          {"sentences", score.sentences},
                          {"text", score.text},
                          {"score", score.score},
                          {"words", words}});
    }
    Json tallies = Json::array();
    for (const ov::AnswerTally& tally : record.tallies) {
        Json wrong = Json::array();
        for (const ov::WrongAnswer& answer : tally.wrongAnswers)
            wrong.push_back({{"typed", answer.typed}, {"expected", answer.expected}});
        tallies.push_back({{"time", LocalTime(tally.at)},
                           {"lesson", tally.lesson},
                           {"function", tally.function},
                           {"page", tally.page},
                           {"right", tally.right},
                           {"wrong", tally.wrong},
                           {"wrongAnswers", wrong}});
    }
    Json drills = Json::array();
    for (const ov::DrillPass& drill : record.drills)
        drills.push_back({{"time", LocalTime(drill.at)}, {"lesson", drill.lesson}, {"words", drill.words}});
    return {{"lessons", lessons}, {"scores", scores}, {"tallies", tallies}, {"drills", drills}};
}

std::string CsvField(const std::string& text) {
    if (text.find_first_of(",\"\r\n") == std::string::npos) return text;
    std::string quoted = "\"";
    for (char c : text) quoted += c == '"' ? std::string("\"\"") : std::string(1, c);
    return quoted + "\"";
}

std::string Joined(const std::vector<std::string>& parts) {
    std::string text;
    for (const std::string& part : parts) text += (text.empty() ? "" : "; ") + part;
    return text;
}

std::string Number(double value) {
    std::ostringstream out;
    out << value;
    return out.str();
}

// One row per result, oldest first, so a spreadsheet sorts and filters it.
void PrintCsv(const ov::ProgressExport& record, std::ostream& out) {
    std::unordered_map<std::string, std::string> captions;
    for (const ov::LessonSummary& lesson : record.lessons) captions[lesson.lesson] = lesson.caption;
    std::vector<std::pair<int64_t, std::vector<std::string>>> rows;
    auto row = [&](int64_t at, const char* kind, const std::string& lesson, std::vector<std::string> rest) {
        std::vector<std::string> fields{LocalTime(at), kind, lesson, captions[lesson]};
        fields.insert(fields.end(), rest.begin(), rest.end());
        rows.emplace_back(at, std::move(fields));
    };
    for (const ov::ReadingScore& score : record.scores) {
        std::vector<std::string> ids, words;
        for (int32_t id : score.sentences) ids.push_back(std::to_string(id));
        for (const ov::RecordedWord& word : score.words)
            words.push_back(word.word + ":" + (word.heard ? "heard" : "missed") + ":" + Number(word.confidence));
        row(score.at, "score", score.lesson,
            {std::to_string(score.function), std::to_string(score.page), Joined(ids), score.text, Number(score.score),
             "", "", "", Joined(words)});
    }
    for (const ov::AnswerTally& tally : record.tallies) {
        std::vector<std::string> wrong;
        for (const ov::WrongAnswer& answer : tally.wrongAnswers) wrong.push_back(answer.typed + "/" + answer.expected);
        row(tally.at, "tally", tally.lesson,
            {std::to_string(tally.function), std::to_string(tally.page), "", "", "", std::to_string(tally.right),
             std::to_string(tally.wrong), Joined(wrong), ""});
    }
    for (const ov::DrillPass& drill : record.drills)
        row(drill.at, "drill", drill.lesson, {"", "", "", std::to_string(drill.words), "", "", "", "", ""});
    std::stable_sort(rows.begin(), rows.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
    out << "time,kind,lesson,caption,function,page,sentences,text,score,right,wrong,wrong_answers,words\n";
    for (const auto& [at, fields] : rows) {
        for (size_t i = 0; i < fields.size(); ++i) out << (i ? "," : "") << CsvField(fields[i]);
        out << '\n';
    }
}

// A damaged store is the player's to move aside: the tool only says so.
template <typename Open>
auto OpenStore(const std::filesystem::path& file, Open open) {
    try {
        return open(file);
    } catch (const ov::EProgressDamaged& e) {
        throw CommandError{kFailed, file.string() + " is damaged: " + e.what()};
    }
}

int RunProgress(const ProgressOptions& options) {
    const std::filesystem::path file =
        options.db.empty() ? ov::ProgressStoreFile(ov::FolderEnvironment::Current()) : std::filesystem::path(options.db);
    if (options.reset) {
        if (!options.yes) throw CommandError{kBadArguments, "--reset deletes the whole record; add --yes"};
        auto store = OpenStore(file, [](const std::filesystem::path& f) { return ov::ProgressStore::OpenForChange(f); });
        if (store) store->Reset();
        return kOk;
    }
    const int64_t since = options.since.empty() ? 0 : DayStart(options.since);
    auto store = OpenStore(file, [](const std::filesystem::path& f) { return ov::ProgressStore::OpenForReading(f); });
    const ov::ProgressExport record = store ? ov::ReadProgress(*store, since) : ov::ProgressExport{};
    if (options.csv)
        PrintCsv(record, std::cout);
    else
        std::cout << RecordJson(record).dump(2) << '\n';
    return kOk;
}

}  // namespace

void AddProgressCommand(CLI::App& app) {
    auto options = std::make_shared<ProgressOptions>();
    auto* command = AddCommand(app, "progress", "Print the pupil's learning record (JSON, or CSV with --csv)",
                               [options] { return RunProgress(*options); });
    command->add_flag("--csv", options->csv, "One CSV row per result, with a header");
    command->add_option("--since", options->since, "Only results from this day on (YYYY-MM-DD)");
    command->add_option("--db", options->db, "The record file (default: $XDG_DATA_HOME/ovplayer/progress.db)");
    command->add_flag("--reset", options->reset, "Delete every record (needs --yes)");
    command->add_flag("--yes", options->yes, "Confirm --reset");
}

}  // namespace ovtool
