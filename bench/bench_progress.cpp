// The learning record under a keen pupil's year: 50,000 results.
//
// - recording a result costs the window at most 1 ms (median of 1,000);
// - "学习记录" opens with 50,000 results to its chart painted in at most 200 ms;
// - the file holds 50,000 results in at most 10 MB.
//
// Every reading is kept with word feedback for each of its words, so the size
// is that of a record the reading feedback has filled. The year is generated
// once into the bench's data folder and reused.
//
// `--screenshot FILE` saves the window at 1280 x 800 with a month of results
// instead. A smoke run (`--smoke`) does the same steps with 2,000 results.
#include <QApplication>
#include <QChartView>
#include <QPixmap>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include "BenchFigures.h"
#include "shell/RecordWindow.h"
#include "shell/ShellLook.h"
#include "store/ProgressRecorder.h"
#include "store/ProgressStore.h"

namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

constexpr int kResults = 50000;
constexpr int kSmokeResults = 2000;
constexpr int kRecordCalls = 1000;
constexpr double kRecordLimitMs = 1;
constexpr double kOpenLimitMs = 200;
constexpr double kSizeLimitMb = 10;

const char* const kWords[] = {"good", "morning", "my", "name", "is", "Mike", "hello", "what's", "your", "friend",
                              "teacher", "bye", "nice", "to", "meet", "you", "this", "apple", "red", "book"};

double Ms(Clock::duration d) { return std::chrono::duration<double, std::milli>(d).count(); }

ov::ReadingScore Reading(std::mt19937& random, const std::string& lesson, int64_t at, double skill) {
    std::uniform_int_distribution<int> sentence(1, 24), word(0, std::size(kWords) - 1), length(4, 8);
    std::normal_distribution<double> noise(0, 12);
    ov::ReadingScore score{lesson, 9, 1 + sentence(random) / 8, {sentence(random)}, {}, 0, {}, at};
    const int words = length(random);
    for (int i = 0; i < words; ++i) {
        const std::string text = kWords[word(random)];
        const double confidence = std::clamp(skill + noise(random) / 100, 0.0, 1.0);
        score.words.push_back({text, confidence > 0.5, confidence});
        score.text += (i ? " " : "") + text;
    }
    score.score = std::clamp(skill * 100 + noise(random), 0.0, 100.0);
    return score;
}

// `results` results over `days` days before `end`, in lessons taken in turn,
// a pupil getting better at each: eight of ten are readings, the rest counted
// pages and drill passes.
void Generate(const fs::path& file, int results, int days, int64_t end) {
    auto store = ov::ProgressStore::OpenForPlayer(file, end);
    if (!store || !store->Writable()) bench::Fail("bench_progress", "no store at " + file.string());
    std::mt19937 random(26);
    const int perDay = std::max(1, results / days);
    int made = 0;
    for (int day = 0; made < results; ++day) {
        const int64_t morning = end - static_cast<int64_t>(days - day % days) * 86400 + 8 * 3600;
        const int lessonNumber = day / 6 % 60;
        const std::string lesson = "0101" + std::to_string(100 + lessonNumber);
        const double skill = 0.45 + 0.08 * (day % 6);
        store->Record(ov::LessonOpened{lesson, "Unit " + std::to_string(lessonNumber / 4 + 1) + " Lesson " +
                                                   std::to_string(lessonNumber % 4 + 1), morning});
        store->Record(ov::FunctionOpened{lesson, 9, morning + 60});
        for (int i = 0; i < perDay && made < results; ++i, ++made) {
            const int64_t at = morning + 120 + i * 20;
            if (i % 10 < 8)
                store->Record(Reading(random, lesson, at, skill));
            else if (i % 10 == 8)
                store->Record(ov::AnswerTally{lesson, 10, 1, 4, 2, {{"frend", "friend"}, {"", "teacher"}}, at});
            else
                store->Record(ov::DrillPass{lesson, 12, at});
        }
        store->Record(ov::LessonClosed{lesson, morning + 120 + perDay * 20});
    }
    store->Database().Exec("PRAGMA wal_checkpoint(TRUNCATE)");
}

double FileMb(const fs::path& file) {
    std::error_code ec;
    double bytes = static_cast<double>(fs::file_size(file, ec));
    fs::path wal = file;
    wal += "-wal";
    if (fs::exists(wal, ec)) bytes += static_cast<double>(fs::file_size(wal, ec));
    return bytes / 1e6;
}

// From the window's making to its chart painted: the chart's own layout is
// done by then, as the pupil sees it.
double OpenWindowMs(const fs::path& file) {
    const auto start = Clock::now();
    ov::RecordWindow window(file);
    window.show();
    QApplication::processEvents();
    window.Chart->viewport()->repaint();
    const double ms = Ms(Clock::now() - start);
    if (!file.empty() && window.SeriesCount() == 0) bench::Fail("bench_progress", "the chart has no lines");
    return ms;
}

double RecordMedianMs(const fs::path& file, int calls) {
    ov::ProgressRecorder recorder(file);
    std::mt19937 random(7);
    std::vector<double> times;
    for (int i = 0; i < calls; ++i) {
        ov::ReadingScore score = Reading(random, "0101100", ov::ProgressNow(), 0.7);
        const auto start = Clock::now();
        recorder.Record(std::move(score));
        times.push_back(Ms(Clock::now() - start));
    }
    recorder.Flush();
    std::nth_element(times.begin(), times.begin() + static_cast<long>(times.size() / 2), times.end());
    return times[times.size() / 2];
}

fs::path DataFolder() {
    const fs::path folder = fs::path(OV_BENCH_DATA);
    fs::create_directories(folder);
    return folder;
}

int Screenshot(const fs::path& png) {
    const fs::path file = DataFolder() / "progress-month.db";
    fs::remove(file);
    Generate(file, 30 * 24, 30, ov::ProgressNow());
    ov::RecordWindow window(file);
    window.resize(1280, 800);
    window.show();
    QApplication::processEvents();
    if (!window.grab().save(QString::fromStdString(png.string()))) bench::Fail("bench_progress", "cannot save " + png.string());
    std::printf("window with a month of results: %s\n", png.c_str());
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    bench::ReadSmokeFlag(argc, argv);
    QApplication app(argc, argv);
    ov::ApplyShellLook(app);
    if (argc == 3 && std::string(argv[1]) == "--screenshot") return Screenshot(argv[2]);

    const int results = bench::Smoke() ? kSmokeResults : kResults;
    const fs::path file = DataFolder() / ("progress-" + std::to_string(results) + ".db");
    if (!fs::exists(file) || bench::Smoke()) {
        fs::remove(file);
        const auto start = Clock::now();
        Generate(file, results, 365, ov::ProgressNow());
        std::printf("generated %d results in %.1f s\n", results, Ms(Clock::now() - start) / 1000);
    }
    const double mb = FileMb(file);
    // The player has drawn its own window before the pupil asks for the
    // record: fonts, style and the chart's code are loaded by then.
    OpenWindowMs({});
    std::vector<double> opens;
    for (int i = 0; i < bench::Rounds(5); ++i) opens.push_back(OpenWindowMs(file));
    std::printf("openings: first %.1f ms, slowest %.1f ms\n", opens.front(), *std::max_element(opens.begin(), opens.end()));
    std::sort(opens.begin(), opens.end());

    const fs::path scratch = DataFolder() / "progress-record.db";
    fs::remove(scratch);
    const double record = RecordMedianMs(scratch, bench::Smoke() ? 50 : kRecordCalls);

    bench::Verdict("record a result on the window's thread, median", record, kRecordLimitMs, "ms");
    bench::Verdict("open the learning record to its chart painted, median", opens[opens.size() / 2], kOpenLimitMs,
                   "ms");
    bench::Verdict("record file with the results", mb, kSizeLimitMb, "MB");
    return 0;
}
