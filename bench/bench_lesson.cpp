// Reading a lesson page: the time of LessonDocument::GetPageItems against pugixml
// parsing the same file from disk with no decoding and no reading of values
// (target: at most 2x), and the time of 1000 FindRule calls on the open page.
//
// The page has 500 words in 40 sentences and 60 pictures, declared "GB2312"
// and written as GBK with Chinese names and captions. The two parses take
// turns within every sample so that a busy machine slows both alike; the
// figures are medians over the samples. The heap is kept, as in a player that
// has run for a while: otherwise glibc hands the freed pages back after every
// round, and page faults from one side's frees land on the other side's time.
#include <malloc.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <string>
#include <vector>

#include <pugixml.hpp>

#include "BenchFigures.h"
#include "BenchText.h"
#include "core/GbkText.h"
#include "lesson/LessonDocument.h"

namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

constexpr int kWords = bench::kPageWords;
constexpr int kSentences = bench::kPageSentences;
constexpr int kPictures = bench::kPagePictures;
constexpr int kSamples = 41;
constexpr int kParsesPerSample = 20;
constexpr int kFindRuleCalls = 1000;
constexpr double kRatioLimit = 2.0;
constexpr const char* kFileName = "Page1.xml";

using bench::Attr;
using bench::Median;

std::string Sentences() {
    static const char* const kEnglish[] = {"Hello", "world", "good", "morning", "teacher", "apple", "school", "book"};
    static const char* const kChinese[] = {"你好", "苹果", "老师", "学校", "早上好"};
    std::string xml = "<alls>";
    int word = 0;
    for (int s = 0; s < kSentences; ++s) {
        xml += "<sentence" + Attr("Id", s + 1) + Attr("Audio", "声音\\第" + std::to_string(s + 1) + "句.mp3") +
               Attr("Font_Size", 12) + Attr("Font_Style", s % 2 ? "宋体" : "Arial") + Attr("Font_Color", 255 * s) +
               Attr("RuleStyle", 0) + Attr("RuleId", s % 5) + ">";
        const int end = (s + 1) * kWords / kSentences;
        for (; word < end; ++word) {
            const std::string text = word % 7 == 3 ? kChinese[word % 5] : kEnglish[word % 8];
            xml += "<word" + Attr("Id", word) + Attr("Top", 20 * s) + Attr("Left", 40 * word % 800) +
                   Attr("Visible", word % 9 ? "True" : "False") + Attr("CanMove", word % 4 ? "False" : "1") + ">" +
                   text + "</word>";
        }
        xml += "</sentence>";
    }
    return xml + "</alls>";
}

std::string Pictures() {
    std::string xml = "<alli>";
    for (int p = 0; p < kPictures; ++p)
        xml += "<picture" + Attr("Id", p + 1) + Attr("Name", "图片\\第" + std::to_string(p + 1) + "张.JPG") +
               Attr("Visible", "True") + Attr("Group", p / 6) + Attr("RuleId", p % 10) +
               Attr("Key", p % 3 ? "" : "苹果") + Attr("Top", p * 7) + Attr("Left", p * 11) + Attr("Width", 120) +
               Attr("Height", 90) + "/>";
    return xml + "</alli>";
}

std::string Rules(const char* section, int count) {
    std::string xml = std::string("<") + section + ">";
    for (int r = 0; r < count; ++r)
        xml += "<rule" + Attr("Id", r) + ">[1," + std::to_string(r) + ",0,1][2," + std::to_string(r) + ",0,1]</rule>";
    return xml + "</" + section + ">";
}

std::string PageXml() {
    return "<?xml version=\"1.0\" encoding=\"GB2312\"?>\n<OVENG ver=\"6.0\">\n<res>\n" + Sentences() + "\n" +
           Pictures() +
           "\n<allbutton><button Id=\"1\" Top=\"5\" Left=\"6\" Height=\"20\" Width=\"70\" RuleId=\"1\" "
           "Caption=\"下一页\"/></allbutton>"
           "<allradio/><alledit><edit Id=\"1\" Top=\"1\" Left=\"2\" Caption=\"\" RuleId=\"0\" Width=\"100\"/></alledit>"
           "<allShape/><allFlash/>\n</res>\n<rules><Titles/><Others>" +
           Rules("sentences", 5) + Rules("images", 10) + Rules("buttons", 2) +
           "<radios/><edits/></Others><Sencens/><Trainings/><Entertains/><WordEden/><Games/><Musics/><Tests/>"
           "</rules>\n</OVENG>\n";
}

void WritePage(const fs::path& file) {
    const auto gbk = ov::Utf8ToGbk(PageXml());
    if (!gbk) throw std::runtime_error("the page text does not fit GBK");
    std::ofstream(file, std::ios::binary).write(gbk->data(), static_cast<std::streamsize>(gbk->size()));
}

template <typename Body>
double MicrosecondsEach(int times, Body body) {
    const auto start = Clock::now();
    for (int i = 0; i < times; ++i) body();
    return std::chrono::duration<double, std::micro>(Clock::now() - start).count() / times;
}

void BareParse(const fs::path& file) {
    pugi::xml_document document;
    const unsigned options = pugi::parse_default | pugi::parse_comments | pugi::parse_pi;
    if (!document.load_file(file.c_str(), options, pugi::encoding_utf8)) throw std::runtime_error("bare parse failed");
}

size_t ReadPage(ov::LessonDocument& page) {
    const size_t items = page.GetPageItems().size();
    if (items != kWords + kPictures + 2) throw std::runtime_error("the page lost items");
    return items;
}

void ComparePageItems(const fs::path& folder) {
    ov::LessonDocument page(folder, kFileName, false);
    std::vector<double> bare, items, ratios;
    const int parses = bench::Rounds(kParsesPerSample);
    for (int s = 0; s < bench::Rounds(kSamples); ++s) {
        bare.push_back(MicrosecondsEach(parses, [&] { BareParse(folder / kFileName); }));
        items.push_back(MicrosecondsEach(parses, [&] { ReadPage(page); }));
        ratios.push_back(items.back() / bare.back());
    }
    std::printf("page of %ju bytes, %d entries\n", static_cast<uintmax_t>(fs::file_size(folder / kFileName)),
                kWords + kPictures + 2);
    std::printf("bare pugixml parse:  %8.1f us (median of %zu samples of %d)\n", Median(bare), bare.size(), parses);
    std::printf("GetPageItems:        %8.1f us\n", Median(items));
    bench::Verdict("GetPageItems / bare parse, median of per-sample ratios", Median(ratios), kRatioLimit, "x");
}

void TimeFindRule(const fs::path& folder) {
    ov::LessonDocument page(folder, kFileName, false);
    ov::TRule rule;
    page.FindRule(ov::rOthers, ov::rImage, 1, rule);  // loads the page, which then stays open
    std::vector<double> samples;
    for (int s = 0; s < bench::Rounds(kSamples); ++s) {
        samples.push_back(MicrosecondsEach(1, [&] {
            for (int i = 0; i < kFindRuleCalls; ++i) {
                const bool picture = i % 2 == 0;
                page.FindRule(ov::rOthers, picture ? ov::rImage : ov::rLabel, picture ? 1 + i % kPictures : 1 + i % kSentences,
                              rule);
            }
        }));
    }
    std::printf("%d FindRule calls: %8.1f us (open page, median of %zu)\n", kFindRuleCalls, Median(samples),
                samples.size());
}

}  // namespace

int main(int argc, char** argv) {
    bench::ReadSmokeFlag(argc, argv);
    mallopt(M_TRIM_THRESHOLD, 256 << 20);
    mallopt(M_MMAP_THRESHOLD, 64 << 20);
    const fs::path folder = fs::temp_directory_path() / ("ov-bench-lesson-" + std::to_string(::getpid()));
    fs::create_directories(folder);
    int status = 0;
    try {
        WritePage(folder / kFileName);
        ComparePageItems(folder);
        TimeFindRule(folder);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "bench_lesson: %s\n", e.what());
        status = 1;
    }
    fs::remove_all(folder);
    return status;
}
