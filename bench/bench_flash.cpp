// Flash pages: how soon a movie page shows (the first one starts the web
// engine: target 1.5 s; later ones: 300 ms), the resident memory of all the
// player's processes without a movie and with one playing, and the CPU a
// stopped movie costs across those processes (target: below 1 % of one
// core). Runs offscreen unless a display is set.
#include "BenchFigures.h"
#include "LessonText.h"
#include "OpenPage.h"
#include "TestMovies.h"

#include "present/PageView.h"
#include "present/MovieControl.h"
#include "support/TestFiles.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QTest>
#include <QTimer>

#include <unistd.h>

#include <cstdio>
#include <map>
#include <vector>

namespace {

constexpr int kSettleMs = 3000;
constexpr int kMeasureMs = 20000;
constexpr int kLaterPages = 6;
constexpr int kLookMs = 2000;
constexpr int kSmokeMs = 200;
constexpr qint64 kFirstLimitMs = 1500;
constexpr qint64 kLaterLimitMs = 300;
constexpr double kStoppedLimitPercent = 1;

std::string MoviePage(const std::string& movie) {
    return lessontest::LessonXml(
        {{"allFlash", R"(<f Id="1" Top="10" Left="10" Movie=")" + movie + R"(" Width="400" Height="100"/>)"}});
}

// The program and every process it started (the web engine's), from /proc.
std::vector<int> OurProcesses() {
    std::vector<int> family{getpid()};
    for (size_t i = 0; i < family.size(); ++i) {
        for (const QString& entry : QDir("/proc").entryList(QDir::Dirs)) {
            bool number = false;
            const int pid = entry.toInt(&number);
            if (!number) continue;
            QFile stat("/proc/" + entry + "/stat");
            if (!stat.open(QIODevice::ReadOnly)) continue;
            const QList<QByteArray> fields = stat.readAll().split(')').value(1).split(' ');
            if (fields.value(2).toInt() == family[i]) family.push_back(pid);
        }
    }
    return family;
}

// The sum of one field (in kB) of a /proc file over our processes, in MiB.
double SumMiB(const char* file, const QByteArray& field) {
    double kib = 0;
    for (int pid : OurProcesses()) {
        QFile status(QStringLiteral("/proc/%1/%2").arg(pid).arg(file));
        if (!status.open(QIODevice::ReadOnly)) continue;
        for (const QByteArray& line : status.readAll().split('\n')) {
            if (line.startsWith(field)) kib += line.mid(field.size()).trimmed().split(' ').value(0).toDouble();
        }
    }
    return kib / 1024;
}

// Resident memory, and its proportional share: the web engine's processes
// share most of their libraries, which the plain sum counts once per process.
QString Memory() {
    return QStringLiteral("RSS %1 MiB (PSS %2 MiB) in %3 process(es)")
        .arg(SumMiB("status", "VmRSS:"), 0, 'f', 1)
        .arg(SumMiB("smaps_rollup", "Pss:"), 0, 'f', 1)
        .arg(OurProcesses().size());
}

// CPU seconds used so far by each of our processes, by its name and id.
std::map<QString, double> CpuSeconds() {
    std::map<QString, double> used;
    for (int pid : OurProcesses()) {
        QFile stat(QStringLiteral("/proc/%1/stat").arg(pid));
        if (!stat.open(QIODevice::ReadOnly)) continue;
        const QByteArray line = stat.readAll();
        const QString name = QString::fromUtf8(line.mid(line.indexOf('(') + 1, line.lastIndexOf(')') - line.indexOf('(') - 1));
        const QList<QByteArray> fields = line.mid(line.lastIndexOf(')') + 1).split(' ');
        const double ticks = fields.value(12).toDouble() + fields.value(13).toDouble();  // utime, stime
        used[QStringLiteral("%1 %2").arg(name).arg(pid)] = ticks / double(sysconf(_SC_CLK_TCK));
    }
    return used;
}

ov::TMovieControl* Movie(const ov::PageView& box) {
    for (const ov::TBoxItem& item : box.PageItems()) {
        if (item.Kind == ov::ikMovie) return dynamic_cast<ov::TMovieControl*>(item.Control);
    }
    return nullptr;
}

// Milliseconds from activating the page until its movie plays; -1 when it never does.
qint64 ShowMs(ov::PageView& box, const std::filesystem::path& folder, const std::string& movie) {
    box.SetActive(false);
    QElapsedTimer clock;
    clock.start();
    ovtest::OpenPage(box, folder, MoviePage(movie), ov::rGames);
    ov::TMovieControl* control = Movie(box);
    if (!control) return -1;
    // A plain event loop: QTest::qWaitFor sleeps between rounds of events,
    // and the web engine's many round trips through this thread add up.
    QEventLoop loop;
    QTimer check;
    QObject::connect(&check, &QTimer::timeout, [&] {
        if (control->State() == ov::TMovieState::kPlaying || clock.elapsed() > 30000) loop.quit();
    });
    check.start(5);
    loop.exec();
    return control->State() == ov::TMovieState::kPlaying ? clock.elapsed() : -1;
}

}  // namespace

int main(int argc, char** argv) {
    bench::ReadSmokeFlag(argc, argv);
    const int settleMs = bench::Smoke() ? kSmokeMs : kSettleMs;
    if (!qEnvironmentVariableIsSet("DISPLAY")) qputenv("QT_QPA_PLATFORM", "offscreen");
    std::setvbuf(stdout, nullptr, _IOLBF, 0);
    ov::PrepareMovieEngine();
    QApplication app(argc, argv);
    ovtest::TempDir folder;
    ovtest::WriteFile(folder / "Flash/a.swf", movietest::GlidingSquare(24));
    ovtest::WriteFile(folder / "Flash/b.swf", movietest::GlidingSquare(36, true));

    ov::PageView box(nullptr);
    box.resize(800, 600);
    box.show();
    ovtest::OpenPage(box, folder.path(), lessontest::LessonXml(), ov::rGames);
    QTest::qWait(settleMs);
    std::printf("without Flash pages: %s, web engine started: %s\n", qPrintable(Memory()),
                ov::MovieEngineLoaded() ? "yes" : "no");

    const qint64 first = ShowMs(box, folder.path(), "Flash/a.swf");
    if (first < 0) bench::Fail("bench_flash", "the first movie does not play");
    bench::Verdict("first Flash page shown", static_cast<double>(first), kFirstLimitMs, "ms");
    qint64 slowest = 0;
    QStringList each;
    for (int i = 0; i < bench::Rounds(kLaterPages); ++i) {
        // A pupil looks at a page before turning it.
        QTest::qWait(bench::Smoke() ? kSmokeMs : kLookMs);
        const qint64 later = ShowMs(box, folder.path(), i % 2 ? "Flash/a.swf" : "Flash/b.swf");
        slowest = later < 0 || slowest < 0 ? -1 : std::max(slowest, later);
        each << QString::number(later);
    }
    if (slowest < 0) bench::Fail("bench_flash", "a later movie does not play");
    std::printf("later Flash pages shown in %s ms\n", qPrintable(each.join(", ")));
    bench::Verdict("slowest later Flash page shown", static_cast<double>(slowest), kLaterLimitMs, "ms");

    QTest::qWait(settleMs);
    std::printf("one movie playing: %s\n", qPrintable(Memory()));

    box.StopMovies();
    QTest::qWait(settleMs);
    const std::map<QString, double> before = CpuSeconds();
    // An event loop of its own: QTest::qWait wakes every few milliseconds.
    QEventLoop idle;
    const int measureMs = bench::Smoke() ? kSmokeMs : kMeasureMs;
    QTimer::singleShot(measureMs, &idle, &QEventLoop::quit);
    idle.exec();
    double used = 0;
    for (const auto& [process, seconds] : CpuSeconds()) {
        const double share = seconds - (before.count(process) ? before.at(process) : 0);
        std::printf("  %s: %.2f %%\n", qPrintable(process), 100.0 * share * 1000 / measureMs);
        used += share;
    }
    std::printf("stopped movie: CPU %.3f s over %.1f s\n", used, measureMs / 1000.0);
    bench::Verdict("stopped movie CPU, share of one core", 100.0 * used * 1000 / measureMs, kStoppedLimitPercent, "%");
    box.SetActive(false);
    ov::CloseMovieEngine();
    return 0;
}
