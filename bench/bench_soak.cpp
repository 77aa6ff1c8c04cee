// Many lessons in a row in the main window offscreen, on a copy of the demo
// program folder: each opened by a click in the catalogue tree, every study
// function of it opened and its pages turned. Checked after every step, and
// while a package unpacks:
//
// - at most two letter folders in Resources;
// - after a function opens, its first page is the only decrypted page of the
//   lesson's folder;
// - resident memory after the last lesson within 10 MB of after each of the
//   demo's lessons opened once, no rise over the last 150 lessons, and at
//   most 110 MB at any point of them.
//
//   bench_soak [--smoke] [LESSONS]   (200 by default, 1 in a smoke run)
#include <QApplication>
#include <QEventLoop>
#include <QSettings>
#include <QTimer>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <numeric>
#include <string>
#include <vector>

#include "BenchFigures.h"
#include "StudyWindow.h"
#include "shell/ShellLook.h"
#include "shell/ShellSettings.h"

namespace {

namespace fs = std::filesystem;

constexpr int kDefaultLessons = 200;
constexpr double kMemoryGrowthLimitMb = 10;
// Memory is flat when it rises by no more than the allocator's noise.
constexpr double kMemoryRiseLimitMb = 1;
constexpr double kPlateauLimitMb = 110;
constexpr size_t kPlateauLessons = 150;
// The rise over the plateau compares the mean of its first lessons with that
// of its last, so that a lesson that happens to hold more at its end is no rise.
constexpr size_t kRiseLessons = 20;
constexpr int kSettleStepMs = 500;
constexpr int kSettleLimitMs = 10000;
constexpr int kLetterFolderLimit = 2;
constexpr int kMemoryReportEvery = 20;

// Every lesson of the demo: the catalogue code each lesson source gives.
std::vector<QString> DemoLessons() {
    std::vector<QString> lessons;
    for (const auto& source : fs::directory_iterator(fs::path(OV_DEMO_SOURCE) / "lessons")) {
        if (source.path().extension() != ".lesson") continue;
        std::ifstream text(source.path());
        for (std::string line; std::getline(text, line);)
            if (line.starts_with("code = ")) lessons.push_back(QString::fromStdString(line.substr(7)));
    }
    std::sort(lessons.begin(), lessons.end());
    return lessons;
}

fs::path PrepareHome(const fs::path& data) {
    const fs::path home = data / "home";
    fs::remove_all(data);
    fs::create_directories(home);
    fs::copy(OV_DEMO_HOME, home, fs::copy_options::recursive);
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope,
                       QString::fromStdString((data / "settings").string()));
    return home;
}

// Resident memory once it stops moving. The media framework loads the video
// decoders (and the many libraries they link) on its own thread while a video
// page is shown; when the page goes first, that one-time cost lands on a later
// lesson instead.
double SettledResidentMb() {
    double before = bench::ResidentMb();
    for (int waited = 0; waited < kSettleLimitMs; waited += kSettleStepMs) {
        QEventLoop loop;
        QTimer::singleShot(kSettleStepMs, &loop, &QEventLoop::quit);
        loop.exec();
        const double now = bench::ResidentMb();
        if (std::abs(now - before) < 0.5) return now;
        before = now;
    }
    return before;
}

double Mean(std::vector<double>::const_iterator first, std::vector<double>::const_iterator last) {
    return std::accumulate(first, last, 0.0) / static_cast<double>(last - first);
}

int LetterFolders(const fs::path& resources) {
    int count = 0;
    std::error_code ec;
    for (const auto& entry : fs::directory_iterator(resources, ec)) {
        const std::string name = entry.path().filename().string();
        if (entry.is_directory(ec) && name.size() == 1 && name.front() >= 'A' && name.front() <= 'Z') ++count;
    }
    return count;
}

int DecryptedPages(const fs::path& folder) {
    int count = 0;
    std::error_code ec;
    for (const auto& entry : fs::recursive_directory_iterator(folder, ec))
        if (entry.path().extension() == ".ovb") ++count;
    return count;
}

class LessonSoak {
public:
    explicit LessonSoak(const fs::path& home) : resources_(home / "Resources"), window_("bench_soak", home) {
        // Timers run while a lesson unpacks on its worker, so this also looks
        // at the folders while a package is half unpacked.
        QObject::connect(&watch_, &QTimer::timeout, [this] { CheckLetterFolders(); });
        watch_.start(0);
    }

    // `settle`: each page stays until memory stops moving, so that what its
    // media load once is loaded.
    void OpenLesson(const QString& code, bool settle) {
        window_.Click(window_.Node(code));
        CheckLetterFolders();
        for (const auto& [kind, pages] : window_.FunctionPages()) {
            window_.OpenFunction(static_cast<ov::TOVRule>(kind));
            if (settle) SettledResidentMb();
            CheckLetterFolders();
            CheckDecryptedPages();
            for (size_t turn = 1; turn < pages; ++turn) {
                window_.TurnPage();
                if (settle) SettledResidentMb();
                CheckLetterFolders();
            }
        }
        ++lessons_;
    }

    int MostLetterFolders() const { return mostFolders_; }
    int Lessons() const { return lessons_; }

private:
    void CheckLetterFolders() { mostFolders_ = std::max(mostFolders_, LetterFolders(resources_)); }

    void CheckDecryptedPages() {
        const int pages = DecryptedPages(window_.Window().State().ClassPath);
        if (pages != 1)
            window_.Fail("lesson " + std::to_string(lessons_ + 1) + ": " + std::to_string(pages) +
                         " decrypted pages after a function opened");
    }

    fs::path resources_;
    bench::StudyWindow window_;
    QTimer watch_;
    int mostFolders_ = 0;
    int lessons_ = 0;
};

}  // namespace

int main(int argc, char** argv) {
    bench::ReadSmokeFlag(argc, argv);
    bench::PrepareOffscreen();
    QApplication app(argc, argv);
    ov::ApplyShellLook(app);
    const int count = argc > 1 ? std::atoi(argv[1]) : bench::Rounds(kDefaultLessons);
    if (count < 1) bench::Fail("bench_soak", "usage: bench_soak [LESSONS]");

    const fs::path data = OV_BENCH_DATA;
    const fs::path home = PrepareHome(data);
    qputenv("OV_HOME", QByteArray::fromStdString(home.string()));
    const std::vector<QString> lessons = DemoLessons();
    if (lessons.empty()) bench::Fail("bench_soak", "the demo catalogue has no lessons");

    LessonSoak soak(home);
    const auto start = bench::Clock::now();
    // Resident memory after each lesson, and after each of the demo's lessons
    // once, given the time to load what their media need (a smoke run judges
    // nothing and does not wait): a one-time cost and no leak.
    std::vector<double> memory;
    double round = 0;
    for (size_t i = 0; i < static_cast<size_t>(count); ++i) {
        soak.OpenLesson(lessons[i % lessons.size()], !bench::Smoke() && i < lessons.size());
        memory.push_back(bench::ResidentMb());
        if (i + 1 == lessons.size()) round = SettledResidentMb();
        if ((i + 1) % kMemoryReportEvery == 0) std::printf("after %zu lessons: %.1f MB\n", i + 1, memory.back());
    }
    if (round == 0) round = SettledResidentMb();
    const double last = memory.back();

    std::printf("%d lessons (%zu of the demo in turn) in %.1f s\n", soak.Lessons(), lessons.size(),
                bench::MillisecondsSince(start) / 1000);
    std::printf(
        "resident memory after the first lesson %.1f MB, after each lesson once %.1f MB, after the last %.1f MB\n",
        memory.front(), round, last);
    bench::Verdict("resident memory growth after each lesson once", last - round, kMemoryGrowthLimitMb, "MB");
    if (memory.size() >= kPlateauLessons) {
        const auto plateau = memory.cend() - kPlateauLessons;
        const double rise = Mean(memory.cend() - kRiseLessons, memory.cend()) - Mean(plateau, plateau + kRiseLessons);
        bench::Verdict("resident memory rise over the last 150 lessons (mean of the last 20 against the first 20)",
                       rise, kMemoryRiseLimitMb, "MB");
        bench::Verdict("most resident memory over the last 150 lessons", *std::max_element(plateau, memory.cend()),
                       kPlateauLimitMb, "MB");
    }
    bench::Verdict("most letter folders on disk at once", soak.MostLetterFolders(), kLetterFolderLimit, "");
    fs::remove_all(data);
    return 0;
}
