// The study side of the main window on the demo courseware, offscreen:
//
// - LessonClick: a click on a lesson of about 30 MB in the catalogue tree up to
//   the word preview painted with its first word, without the pause the full
//   bar gets after unpacking. Each sample also times the bare unpacking of the
//   same package, so a busy machine slows both alike. Targets: median at most
//   0.5 s and at most 1.5x the bare unpacking.
// - FunctionButton/KIND: a study-function button up to its first page painted,
//   for every function of the lesson, the one with the largest page among
//   them. Target: median at most 100 ms.
// - PageTurn/KIND: the lesson panel's next (or, on the last page, previous)
//   page button up to the new page painted, for every function with more than
//   one page. Target: median at most 60 ms.
//
// The lesson is the demo's "Unit1 Hello" with bulky speech and pictures added;
// it is made once in the bench's data folder and remade when the demo changes.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QLineEdit>
#include <QSettings>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <random>
#include <string>
#include <vector>

#include "BenchFigures.h"
#include "BenchMedia.h"
#include "BenchText.h"
#include "StudyWindow.h"
#include "core/GbkText.h"
#include "lesson/FunctionIndexFile.h"
#include "shell/ShellLook.h"
#include "shell/ShellSettings.h"
#include "store/ClassPackageWriter.h"
#include "store/ClassZip.h"
#include "store/StoredSecrets.h"
#include "store/CipherAndFiles.h"
#include "study/WordPanel.h"

namespace {

namespace fs = std::filesystem;

constexpr const char* kLesson = "Unit1 Hello";
constexpr const char* kLessonCode = "01010101";
constexpr size_t kSpeechBytes = 18'000'000;
constexpr size_t kPictureBytes = 11'000'000;
constexpr int kClicks = 9;
constexpr int kFunctionOpenings = 11;
constexpr int kPageTurns = 21;
constexpr double kClickLimitMs = 500;
constexpr double kClickRatioLimit = 1.5;
constexpr double kFunctionLimitMs = 100;
constexpr double kTurnLimitMs = 60;

std::string PackageName() {
    return std::string(kLesson) + ov::GbkToUtf8(ov::DecipherString(ov::kClassPackageSuffix, ov::kDefaultCipherKey));
}

void WriteBytes(const fs::path& file, const std::string& bytes) {
    fs::create_directories(file.parent_path());
    std::ofstream(file, std::ios::binary).write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

// The demo lesson's members plus speech and pictures of the sizes a real
// lesson carries (a tenth of them in a smoke run), packed again.
void MakeBulkyPackage(const fs::path& demoPackage, const fs::path& package, const fs::path& scratch) {
    const size_t speechBytes = kSpeechBytes / (bench::Smoke() ? 10 : 1);
    const size_t pictureBytes = kPictureBytes / (bench::Smoke() ? 10 : 1);
    fs::remove_all(scratch);
    ov::TClassZip zip;
    if (!zip.Unpack(demoPackage.string(), scratch.string(), nullptr)) {
        std::fprintf(stderr, "bench_study: the demo package does not unpack\n");
        std::exit(1);
    }
    const fs::path cls = scratch / "OV" / "Class";
    std::mt19937 random(2026);
    size_t added = 0;
    for (int i = 0; added < speechBytes; ++i) {
        const std::string wav = bench::SpeechWav(random, 400'000 + random() % 800'000);
        WriteBytes(cls / "Sound" / ("text" + std::to_string(i) + ".wav"), wav);
        added += wav.size();
    }
    for (int i = 0; added < speechBytes + pictureBytes; ++i) {
        const std::string jpeg = bench::JpegLike(random, 150'000 + random() % 900'000);
        WriteBytes(cls / "Pictures" / ("photo" + std::to_string(i) + ".jpg"), jpeg);
        added += jpeg.size();
    }
    ov::WriteClassPackage(scratch / "OV", package);
    fs::remove_all(scratch);
}

// A program folder with the demo catalogue and the bulky lesson; settings in
// a folder of its own, so the bench never touches the user's.
fs::path PrepareHome(const fs::path& data) {
    const fs::path demo = OV_DEMO_HOME;
    const fs::path home = data / "home";
    const fs::path demoPackage = demo / "Resources" / PackageName();
    const fs::path package = home / "Resources" / PackageName();
    std::error_code ec;
    if (!fs::exists(package, ec) || fs::last_write_time(package, ec) < fs::last_write_time(demoPackage, ec)) {
        fs::remove_all(home);
        fs::create_directories(home / "Resources");
        fs::copy(demo / "DB", home / "DB", fs::copy_options::recursive);
        MakeBulkyPackage(demoPackage, package, data / "scratch");
    }
    std::printf("lesson package %s: %.1f MB\n", package.filename().c_str(), fs::file_size(package) / 1e6);
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope,
                       QString::fromStdString((data / "settings").string()));
    auto settings = ov::OpenOrvaneSettings();
    settings->remove(QStringLiteral("NewFolder"));
    settings->remove(QStringLiteral("OldFolder"));
    return home;
}

struct Figures {
    std::vector<double> click, unpack;
    std::map<int, double> function, turn;
};

class StudyBench {
public:
    StudyBench(const fs::path& data, const fs::path& home) : data_(data), home_(home), window_("bench_study", home) {
        lesson_ = window_.Node(kLessonCode);
    }

    bench::StudyWindow& Window() { return window_; }

    // Milliseconds from the click on the lesson to the word preview painted.
    double ClickLesson() {
        ov::TWordPanel& words = *window_.Window().WordPanel();
        words.WordEdit->clear();
        QApplication::processEvents();
        const double elapsed = window_.Click(lesson_);
        if (words.isHidden() || words.WordEdit->text().isEmpty()) window_.Fail("the word preview is not shown");
        return elapsed;
    }

    // Milliseconds of TClassZip alone on the same package, into a scratch folder.
    double BareUnpack() {
        const fs::path destination = data_ / "bare";
        fs::remove_all(destination);
        ov::TClassZip zip;
        const auto start = bench::Clock::now();
        const bool unpacked = zip.Unpack((home_ / "Resources" / PackageName()).string(), destination.string(), nullptr);
        const double elapsed = bench::MillisecondsSince(start);
        if (!unpacked) window_.Fail("the package does not unpack");
        return elapsed;
    }

    // The function whose first page is the largest file.
    int LargestFirstPage() {
        const fs::path cls = window_.Window().State().ClassPath;
        ov::FunctionIndexFile index(cls, "OVFunction.ind", false);
        int largest = -1;
        std::uintmax_t largestSize = 0;
        for (const auto& [kind, pages] : window_.FunctionPages()) {
            const std::uintmax_t size = fs::file_size(cls / index.GetPageList(static_cast<ov::TOVRule>(kind))->front());
            if (size <= largestSize) continue;
            largest = kind;
            largestSize = size;
        }
        return largest;
    }

private:
    fs::path data_;
    fs::path home_;
    bench::StudyWindow window_;
    QTreeWidgetItem* lesson_ = nullptr;
};

void ReportMedian(benchmark::State& state, const char* name, const std::vector<double>& samples) {
    state.counters[name] = bench::Median(samples);
}

// The median is the target; the slowest sample shows what a page with a
// video or a cold cache costs now and then.
void ReportMedianAndMax(benchmark::State& state, const std::vector<double>& samples) {
    ReportMedian(state, "median_ms", samples);
    state.counters["max_ms"] = *std::max_element(samples.begin(), samples.end());
}

// Runs `measure` once per iteration and takes its milliseconds as the
// iteration's time.
template <class Measure>
std::vector<double> Samples(benchmark::State& state, Measure measure) {
    std::vector<double> samples;
    for (auto _ : state) {
        samples.push_back(measure());
        state.SetIterationTime(samples.back() / 1000);
    }
    return samples;
}

void LessonClick(benchmark::State& state, StudyBench* study, Figures* figures) {
    figures->click = Samples(state, [&] {
        figures->unpack.push_back(study->BareUnpack());
        return study->ClickLesson();
    });
    ReportMedian(state, "click_ms", figures->click);
    ReportMedian(state, "unpack_ms", figures->unpack);
    state.counters["ratio"] = bench::Median(figures->click) / bench::Median(figures->unpack);
}

void FunctionButton(benchmark::State& state, StudyBench* study, Figures* figures, ov::TOVRule kind) {
    const std::vector<double> samples = Samples(state, [&] { return study->Window().OpenFunction(kind); });
    ReportMedianAndMax(state, samples);
    figures->function[kind] = bench::Median(samples);
}

void PageTurn(benchmark::State& state, StudyBench* study, Figures* figures, ov::TOVRule kind) {
    study->Window().OpenFunction(kind);
    const std::vector<double> samples = Samples(state, [&] { return study->Window().TurnPage(); });
    ReportMedianAndMax(state, samples);
    figures->turn[kind] = bench::Median(samples);
}

template <class... Args>
void Register(const std::string& name, int iterations, void (*run)(benchmark::State&, Args...), Args... args) {
    benchmark::RegisterBenchmark(name.c_str(), run, args...)
        ->UseManualTime()
        ->Iterations(bench::Rounds(iterations))
        ->Unit(benchmark::kMillisecond);
}

void RegisterBenchmarks(StudyBench* study, Figures* figures) {
    Register("LessonClick", kClicks, LessonClick, study, figures);
    for (const auto& [kind, pages] : study->Window().FunctionPages()) {
        const auto rule = static_cast<ov::TOVRule>(kind);
        Register("FunctionButton/" + std::to_string(kind), kFunctionOpenings, FunctionButton, study, figures, rule);
        if (pages > 1) Register("PageTurn/" + std::to_string(kind), kPageTurns, PageTurn, study, figures, rule);
    }
}

// Only the figures of the benchmarks that ran (a filter may leave some out).
void Verdicts(const Figures& f, int largest) {
    if (!f.click.empty()) {
        const double click = bench::Median(f.click), unpack = bench::Median(f.unpack);
        bench::Verdict("lesson click to word preview, median", click, kClickLimitMs, "ms");
        std::printf("bare unpacking of the same package, median: %.1f ms\n", unpack);
        bench::Verdict("click / bare unpacking", click / unpack, kClickRatioLimit, "x");
    }
    for (const auto& [kind, ms] : f.function) {
        const std::string what = "function " + std::to_string(kind) + " button to page painted, median" +
                                 (kind == largest ? " (largest page)" : "");
        bench::Verdict(what.c_str(), ms, kFunctionLimitMs, "ms");
    }
    for (const auto& [kind, ms] : f.turn) {
        const std::string what = "function " + std::to_string(kind) + " page turn to page painted, median";
        bench::Verdict(what.c_str(), ms, kTurnLimitMs, "ms");
    }
}

}  // namespace

int main(int argc, char** argv) {
    bench::ReadSmokeFlag(argc, argv);
    bench::PrepareOffscreen();
    QApplication app(argc, argv);
    ov::ApplyShellLook(app);
    benchmark::Initialize(&argc, argv);

    // A smoke run's smaller lesson is kept apart from the full one.
    const fs::path data = std::string(OV_BENCH_DATA) + (bench::Smoke() ? "-smoke" : "");
    const fs::path home = PrepareHome(data);
    qputenv("OV_HOME", QByteArray::fromStdString(home.string()));
    StudyBench study(data, home);
    study.ClickLesson();  // fonts, plugins and the word database load once, as in a running player
    const int largest = study.LargestFirstPage();

    Figures figures;
    RegisterBenchmarks(&study, &figures);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    fs::remove_all(data / "bare");
    Verdicts(figures, largest);
    return 0;
}
