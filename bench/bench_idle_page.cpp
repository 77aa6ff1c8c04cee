// Idle cost of the player's main window with the demo lesson's page of every
// item kind shown and nothing playing: the process's CPU time over 30 s, as a
// share of one core (target: below 1 %). Runs offscreen unless a display is set.
#include "BenchFigures.h"
#include "core/UniqueFd.h"
#include "present/PageView.h"
#include "present/LessonPanel.h"
#include "shell/ShellLook.h"
#include "shell/MainWindow.h"
#include "store/CipherAndFiles.h"
#include "store/LessonData.h"
#include "store/StoredSecrets.h"

#include <QApplication>
#include <QEventLoop>
#include <QTimer>

#include <sys/resource.h>

#include <cstdio>
#include <filesystem>

namespace {

namespace fs = std::filesystem;

constexpr int kSettleMs = 5000;
constexpr int kMeasureMs = 30000;
constexpr int kSmokeMs = 200;
constexpr double kCpuLimitPercent = 1;

double CpuSeconds() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
           static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

void Wait(int ms) {
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
}

}  // namespace

int main(int argc, char** argv) {
    bench::ReadSmokeFlag(argc, argv);
    if (!qEnvironmentVariableIsSet("DISPLAY")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    ov::ApplyShellLook(app);

    const fs::path page = fs::temp_directory_path() / "ov-idle-page";
    fs::remove_all(page);
    // The demo's page of every item kind, unpacked from its package by the
    // demo build, and read as the player reads it.
    const fs::path lesson = fs::path(OV_DEMO_MEDIA) / "lessons" / "Unit1 Hello" / "OV" / "Class";
    fs::copy(lesson, page, fs::copy_options::recursive);
    const auto container = ov::ReadWholeFile(lesson / "anim2.ov");
    const auto gbk = container ? std::optional(ov::DecryptBuffer(*container, ov::DecipherString(ov::kLessonPageKey, ""), 0))
                               : std::nullopt;
    if (!gbk) {
        std::fprintf(stderr, "bench_idle_page: the demo page cannot be read\n");
        return 1;
    }
    std::FILE* out = std::fopen((page / "page.ovb").c_str(), "wb");
    std::fwrite(gbk->data(), 1, gbk->size(), out);
    std::fclose(out);

    ov::LessonData dm;
    ov::MainWindow window(dm, ov::DataFolders::InOneFolder(page));
    window.resize(1280, 800);
    window.show();
    ov::PageView* box = window.Panel()->Box;
    const QString folder = QString::fromStdString(page.string());
    box->SetFilePath(folder);
    box->SetImagePath(folder);
    box->SetAudioPath(folder + "/");
    box->SetFileName(QStringLiteral("page.ovb"));
    box->SetRuleKind(ov::rDiscern);
    box->SetActive(true);

    const int measureMs = bench::Smoke() ? kSmokeMs : kMeasureMs;
    Wait(bench::Smoke() ? kSmokeMs : kSettleMs);
    const double before = CpuSeconds();
    Wait(measureMs);
    const double used = CpuSeconds() - before;
    std::printf("idle page: %d items, CPU %.3f s over %.1f s\n", static_cast<int>(box->PageItems().size()), used,
                measureMs / 1000.0);
    bench::Verdict("idle page CPU, share of one core", 100.0 * used * 1000 / measureMs, kCpuLimitPercent, "%");
    fs::remove_all(page);
    return 0;
}
