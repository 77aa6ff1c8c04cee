// Word highlighting's cost: the process's CPU time while one sentence of 40
// words plays with its wipe at normal speed (through the info panel's
// display, as the pupil hears it), as a share of one core. Target: below 5 %.
// Runs offscreen unless a display is set; the offscreen platform paints too.
#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QTimer>

#include <cstdio>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include <unistd.h>

#include "BenchFigures.h"
#include "audio/SoundLibrary.h"
#include "support/SilentSound.h"
#include "present/PageSound.h"
#include "present/ScriptPlayer.h"
#include "present/PageView.h"
#include "present/LessonPanel.h"
#include "present/SentenceWord.h"
#include "present/RecordDisplay.h"

namespace {

namespace fs = std::filesystem;

constexpr int kWords = 40;
constexpr int kSoundMs = 8000;
constexpr int kSmokeSoundMs = 500;
constexpr double kCpuLimitPercent = 5;

// Eight lines of five words, one sentence.
std::string Page() {
    std::string words;
    for (int i = 0; i < kWords; ++i) {
        words += "<word Id=\"" + std::to_string(i) + "\" Top=\"" + std::to_string(40 + 30 * (i / 5)) + "\" Left=\"" +
                 std::to_string(20 + 110 * (i % 5)) + "\" Visible=\"True\" CanMove=\"False\">word" +
                 std::to_string(i) + "</word>";
    }
    return "<?xml version=\"1.0\" encoding=\"GB2312\"?>\n<OVENG ver=\"6.0\"><res><alls><sentence Id=\"1\" "
           "Audio=\"s.wav\" Font_Size=\"16\" Font_Style=\"Arial\" Font_Color=\"0\" RuleStyle=\"0\" RuleId=\"0\">" +
           words +
           "</sentence></alls><alli/><allbutton/><allradio/><alledit/><allShape/><allFlash/></res><rules><Titles/>"
           "<Others><sentences/><images/><buttons/><radios/><edits/></Others><Sencens/><Trainings><WordFollowReads/>"
           "<SentenceFollowReads/><WordFollowWrites/><SentenceFollowWrites/><ArrangeWords/><ArrangeSentences/>"
           "<Discerns/></Trainings><Entertains><RoleActs/><TitleRecites/></Entertains><WordEden/><Games/><Musics/>"
           "<Tests/><WorldExtends/><Importants/><Encampments/></rules></OVENG>\n";
}

// Runs the event loop for `ms` without spinning.
void Wait(int ms) {
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
}

double CpuSeconds() {
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) / 1e9;
}

}  // namespace

int main(int argc, char** argv) {
    bench::ReadSmokeFlag(argc, argv);
    if (!qEnvironmentVariableIsSet("DISPLAY")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    // OV_BENCH_VIRTUAL=1 leaves the sound device out, so only the window's
    // share is measured.
    if (qEnvironmentVariableIsSet("OV_BENCH_VIRTUAL"))
        ov::SoundLibrary::Instance().UseVirtualClock();
    else
        ov::SoundLibrary::Instance().UseDevice();
    const fs::path dir = fs::temp_directory_path() / ("ov-highlight-" + std::to_string(getpid()));
    fs::create_directories(dir);
    const int soundMs = bench::Smoke() ? kSmokeSoundMs : kSoundMs;
    ovtest::WriteSilence(dir / "s.wav", soundMs, 16000);
    std::ofstream(dir / "page.ovb") << Page();

    ov::LessonPanel panel(dir, 1280, ov::SdlWaveInputDriver());
    panel.resize(1000, 700);
    panel.show();
    ov::PageView& box = *panel.Box;
    const QString folder = QString::fromStdString(dir.string());
    box.SetFilePath(folder);
    box.SetImagePath(folder);
    box.SetAudioPath(folder + "/");
    box.SetFileName("page.ovb");
    box.SetActive(true);
    QElapsedTimer settle;
    settle.start();
    while (settle.elapsed() < (bench::Smoke() ? 100 : 1000)) Wait(100);

    const double cpuBefore = CpuSeconds();
    QElapsedTimer wall;
    wall.start();
    box.Script().Run(ov::TRule{ov::rOthers, 0, "", "[0,0,1,1]"});
    while (box.Script().LitWord() && wall.elapsed() < 3 * soundMs) Wait(50);
    const double cpu = CpuSeconds() - cpuBefore;
    const double seconds = static_cast<double>(wall.elapsed()) / 1000.0;
    // The same stretch with nothing playing: what the window and the sound
    // library cost on their own.
    const double idleBefore = CpuSeconds();
    wall.restart();
    Wait(bench::Smoke() ? 100 : 3000);
    const double idle = (CpuSeconds() - idleBefore) / (static_cast<double>(wall.elapsed()) / 1000.0);
    std::printf("idle: %.2f %% of one core\n", 100.0 * idle);
    std::printf("highlight: %d words over %.2f s on %s: CPU %.3f s\n", kWords, seconds,
                qPrintable(QGuiApplication::platformName()), cpu);
    bench::Verdict("highlight CPU, share of one core", 100.0 * cpu / seconds, kCpuLimitPercent, "%");
    box.Sound().CloseAll();
    box.SetActive(false);
    fs::remove_all(dir);
    return 0;
}
