// Building a lesson page on screen: from `Active := true` on the content box
// to the first paint done, against the time of GetPageItems plus decoding the
// page's pictures (target: median at most 80 ms and at most 3x that sum).
//
// The page has 500 words in 40 sentences, 60 JPEG pictures of 320 x 240 and
// 20 answer edits. The box is shown offscreen at 800 x 600. The two
// measurements take turns within every sample, so a busy machine slows both
// alike; the figures are medians.
#include <QApplication>
#include <QColor>
#include <QImage>
#include <QImageReader>
#include <QPainter>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include <unistd.h>

#include "BenchFigures.h"
#include "BenchText.h"
#include "lesson/LessonDocument.h"
#include "present/PageView.h"

namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

constexpr int kWords = bench::kPageWords;
constexpr int kSentences = bench::kPageSentences;
constexpr int kPictures = bench::kPagePictures;
constexpr int kEdits = 20;
constexpr int kSamples = 21;
constexpr const char* kFileName = "page.ovb";

using bench::Attr;
using bench::Median;

// Appended piece by piece: GCC 12 warns (-Wrestrict) wrongly about the
// inlined copy of a literal put in front of a temporary string.
std::string PictureName(int p) {
    std::string name = "p";
    name += std::to_string(p);
    name += ".jpg";
    return name;
}

std::string PageXml() {
    static const char* const kWordTexts[] = {"Hello", "world", "good", "morning", "teacher", "apple", "你好", "苹果"};
    std::string xml = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<OVENG ver=\"6.0\"><res><alls>";
    int word = 0;
    for (int s = 0; s < kSentences; ++s) {
        xml += "<sentence" + Attr("Id", s + 1) + Attr("Audio", "s.wav") + Attr("Font_Size", 12) +
               Attr("Font_Style", s % 2 ? "宋体" : "Arial") + Attr("Font_Color", 255 * s) + Attr("RuleStyle", 0) +
               Attr("RuleId", s) + ">";
        for (const int end = (s + 1) * kWords / kSentences; word < end; ++word)
            xml += "<word" + Attr("Id", word) + Attr("Top", 20 * s) + Attr("Left", 60 * word % 780) +
                   Attr("Visible", "True") + Attr("CanMove", word % 4 ? "False" : "True") + ">" + kWordTexts[word % 8] +
                   "</word>";
        xml += "</sentence>";
    }
    xml += "</alls><alli>";
    for (int p = 0; p < kPictures; ++p)
        xml += "<picture" + Attr("Id", p + 1) + Attr("Name", PictureName(p)) + Attr("Visible", "True") +
               Attr("Group", p / 6) + Attr("RuleId", p % 10) + Attr("Key", "") + Attr("Top", (p / 3) * 250) +
               Attr("Left", (p % 3) * 330) + Attr("Width", 320) + Attr("Height", 240) + "/>";
    xml += "</alli><allbutton/><allradio/><alledit>";
    for (int e = 0; e < kEdits; ++e)
        xml += "<edit" + Attr("Id", e + 1) + Attr("Top", 30 * e) + Attr("Left", 600) + Attr("Caption", "") +
               Attr("RuleId", 0) + Attr("Width", 100) + "/>";
    xml += "</alledit><allShape/><allFlash/></res><rules><Titles/><Others><sentences><rule Id=\"1\">[1,1,0,1]</rule>"
           "</sentences><images/><buttons/><radios/><edits/></Others><Sencens/><Trainings/><Entertains/><WordEden/>"
           "<Games/><Musics/><Tests/></rules></OVENG>\n";
    return xml;
}

void WritePictures(const fs::path& folder) {
    for (int p = 0; p < kPictures; ++p) {
        QImage picture(320, 240, QImage::Format_RGB32);
        QPainter painter(&picture);
        painter.fillRect(picture.rect(), QColor::fromHsv(p * 6 % 360, 120, 230));
        painter.setPen(Qt::black);
        for (int y = 0; y < 240; y += 12) painter.drawLine(0, y, 320, 240 - y);
        painter.drawText(picture.rect(), Qt::AlignCenter, QString::number(p));
        painter.end();
        picture.save(QString::fromStdString((folder / PictureName(p)).string()), "JPG", 85);
    }
}

double MillisecondsSince(Clock::time_point start) {
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

double ReadAndDecode(const fs::path& folder) {
    const auto start = Clock::now();
    ov::LessonDocument page(folder, kFileName, false);
    const size_t items = page.GetPageItems().size();
    for (int p = 0; p < kPictures; ++p) {
        QImageReader reader(QString::fromStdString((folder / PictureName(p)).string()));
        reader.setDecideFormatFromContent(true);
        if (reader.read().isNull() || items == 0) std::fprintf(stderr, "reading the page failed\n");
    }
    return MillisecondsSince(start);
}

double BuildAndPaint(ov::PageView& box) {
    const auto start = Clock::now();
    box.SetActive(true);
    box.repaint();
    const double elapsed = MillisecondsSince(start);
    if (!box.Active()) std::fprintf(stderr, "the box did not activate\n");
    box.SetActive(false);
    QApplication::processEvents();
    return elapsed;
}

}  // namespace

int main(int argc, char** argv) {
    bench::ReadSmokeFlag(argc, argv);
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const fs::path folder = fs::temp_directory_path() / ("ov-bench-present-" + std::to_string(::getpid()));
    fs::create_directories(folder);
    std::ofstream(folder / kFileName) << PageXml();
    WritePictures(folder);

    ov::PageView box(nullptr);
    box.resize(800, 600);
    const QString path = QString::fromStdString(folder.string());
    box.SetFilePath(path);
    box.SetImagePath(path);
    box.SetAudioPath(path + "/");
    box.SetFileName(kFileName);
    box.show();
    QApplication::processEvents();
    BuildAndPaint(box);  // fonts and plugins load once, as in a running player

    std::vector<double> build, reference;
    for (int i = 0; i < bench::Rounds(kSamples); ++i) {
        reference.push_back(ReadAndDecode(folder));
        build.push_back(BuildAndPaint(box));
    }
    const double buildMs = Median(build), referenceMs = Median(reference);
    bench::Verdict("page build to first paint, median", buildMs, 80, "ms");
    std::printf("GetPageItems + decoding %d pictures: %.1f ms median\n", kPictures, referenceMs);
    bench::Verdict("page build / (GetPageItems + decoding)", buildMs / referenceMs, 3, "x");
    fs::remove_all(folder);
    return 0;
}
