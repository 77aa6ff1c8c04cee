// A school lab on one web server: forty players fetch the same lesson from one
// nginx on loopback at once, every package verified; then all of them restart
// with a warm cache. Prints the time against what the loopback's bandwidth
// allows, the server's requests, and how long a warm start asks the server.
#include <algorithm>
#include <chrono>
#include <cstring>
#include <fstream>
#include <memory>
#include <random>
#include <regex>
#include <sstream>
#include <thread>
#include <vector>

#include "BenchFigures.h"
#include "net/CoursewareMirror.h"
#include "net/FileDigest.h"
#include "net/HttpFetch.h"
#include "net/SitePublisher.h"
#include "store/LessonData.h"
#include "support/CatalogueTestDb.h"
#include "support/NginxServer.h"
#include "support/TestFiles.h"

namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

constexpr const char* kBench = "bench_courseware_server";
constexpr const char* kLesson = "Unit1 Hello.ovpk";

double Seconds(Clock::duration d) { return std::chrono::duration<double>(d).count(); }

void MakeSet(const fs::path& set, size_t packageBytes) {
    ovtest::WriteCatalogue(set / "DB/RsDbList.db", {{"01", "课本一"}, {"0101", "Unit1 Hello"}}, ov::CataloguePassword());
    std::mt19937_64 random(1);
    std::string bytes(packageBytes, '\0');
    for (size_t i = 0; i + 8 <= bytes.size(); i += 8) {
        const auto word = random();
        std::memcpy(&bytes[i], &word, 8);
    }
    ovtest::WriteFile(set / "Resources" / kLesson, bytes);
    ovtest::WriteFile(set / "Images/BO.bmp", std::string(4096, 'p'));
    ovtest::WriteFile(set / "ENoises/rain.wav", std::string(8192, 'r'));
}

// The best of a few single downloads, in bytes per second: what one client
// gets from this nginx over loopback.
double LoopbackBandwidth(const std::string& url, std::uint64_t size) {
    double best = 0;
    for (int i = 0; i < 3; ++i) {
        const auto start = Clock::now();
        const auto result = ov::HttpFetch({url, {}, 0, size, {}, {}}, [](std::string_view) { return true; });
        if (result.outcome != ov::FetchOutcome::Whole) bench::Fail(kBench, "a single download failed: " + result.error);
        best = std::max(best, static_cast<double>(size) / Seconds(Clock::now() - start));
    }
    return best;
}

// Requests of the access log from line `from` on, counted by answer.
struct Answers {
    int whole = 0, notModified = 0, other = 0;
};
Answers CountAnswers(const ovtest::NginxServer& server, int from) {
    Answers answers;
    std::istringstream log(server.AccessLog());
    std::string line;
    for (int i = 0; std::getline(log, line); ++i) {
        if (i < from) continue;
        if (line.find(" 200 ") != std::string::npos) ++answers.whole;
        else if (line.find(" 304 ") != std::string::npos) ++answers.notModified;
        else ++answers.other;
    }
    return answers;
}

}  // namespace

int main(int argc, char** argv) {
    bench::ReadSmokeFlag(argc, argv);
    if (!fs::exists(ovtest::kNginxProgram)) bench::Fail(kBench, "nginx-light is not installed");
    const int players = bench::Smoke() ? 4 : 40;
    const size_t packageBytes = bench::Smoke() ? (2u << 20) : (30u << 20);
    ovtest::TempDir root;
    MakeSet(root / "set", packageBytes);
    ov::PublishSite(root / "set", root / "www");
    ovtest::NginxServer server(root / "www");
    server.Start();
    const std::string source = ov::FileSha256(root / "set/Resources" / kLesson);

    const double bandwidth = LoopbackBandwidth(ov::SiteFileUrl(server.Url(), std::string("Resources/") + kLesson),
                                               packageBytes);
    // One player alone, writing and verifying as every player does: what this
    // machine's disk and cores allow, where the forty share one disk.
    const auto soloStart = Clock::now();
    {
        ov::CoursewareMirror solo(server.Url(), root / "solo");
        solo.Refresh();
        if (solo.FetchPackage(kLesson) != ov::PackageOutcome::Fetched) bench::Fail(kBench, "one player alone failed");
    }
    const double soloSeconds = Seconds(Clock::now() - soloStart);
    fs::remove_all(root / "solo");
    const int before = server.Requests();

    // Every player in its own cache, as on its own computer: a cold start,
    // then the lesson clicked.
    std::vector<std::unique_ptr<ov::CoursewareMirror>> mirrors;
    for (int i = 0; i < players; ++i) mirrors.push_back(std::make_unique<ov::CoursewareMirror>(server.Url(), root / ("pc" + std::to_string(i))));
    std::vector<ov::PackageOutcome> outcomes(players);
    const auto start = Clock::now();
    {
        std::vector<std::jthread> threads;
        for (int i = 0; i < players; ++i)
            threads.emplace_back([&, i] {
                if (mirrors[i]->Refresh().outcome != ov::RefreshOutcome::Updated) return;
                outcomes[i] = mirrors[i]->FetchPackage(kLesson);
            });
    }
    const double total = Seconds(Clock::now() - start);
    int identical = 0;
    for (int i = 0; i < players; ++i)
        if (outcomes[i] == ov::PackageOutcome::Fetched &&
            ov::FileSha256(mirrors[i]->Folder() / "Resources" / kLesson) == source)
            ++identical;
    const Answers cold = CountAnswers(server, before);

    // A restart of every player with nothing changed on the server.
    const int warmFrom = server.Requests();
    std::vector<double> warmMs;
    for (int i = 0; i < players; ++i) {
        const auto refreshStart = Clock::now();
        ov::CoursewareMirror restarted(server.Url(), root / ("pc" + std::to_string(i)));
        if (restarted.Refresh().outcome != ov::RefreshOutcome::Current) bench::Fail(kBench, "a warm restart refetched");
        warmMs.push_back(Seconds(Clock::now() - refreshStart) * 1000);
    }
    std::sort(warmMs.begin(), warmMs.end());
    const Answers warm = CountAnswers(server, warmFrom);
    // With the server gone the start waits for the refused connection only.
    server.Stop();
    const auto offlineStart = Clock::now();
    ov::CoursewareMirror(server.Url(), root / "pc0").Refresh();
    const double offlineMs = Seconds(Clock::now() - offlineStart) * 1000;

    const double ideal = static_cast<double>(players) * static_cast<double>(packageBytes) / bandwidth;
    std::printf("%d players, a %.0f MB lesson, one nginx on loopback (%.0f MB/s for one client)\n", players,
                static_cast<double>(packageBytes) / (1 << 20), bandwidth / (1 << 20));
    std::printf("packages verified and byte-identical: %d of %d %s\n", identical, players,
                bench::Judgement(identical == players));
    std::printf("all fetched in %.2f s; %d x %.0f MB / bandwidth = %.2f s; ratio %.2f (target <= 2.00) %s\n", total,
                players, static_cast<double>(packageBytes) / (1 << 20), ideal, total / ideal,
                bench::Judgement(total <= 2 * ideal));
    std::printf("against one player alone with its disk and digest (%.2f s): %d x that = %.2f s; ratio %.2f "
                "(target <= 1.50) %s\n",
                soloSeconds, players, players * soloSeconds, total / (players * soloSeconds),
                bench::Judgement(total <= 1.5 * players * soloSeconds));
    std::printf("cold start requests: %d whole answers (%d per player: manifest, catalogue, picture, sound, package), "
                "%d other %s\n",
                cold.whole, cold.whole / players, cold.other, bench::Judgement(cold.whole == 5 * players && cold.other == 0));
    std::printf("warm restart requests: %d not-modified answers, %d whole, %d other (target: one small answer per "
                "player) %s\n",
                warm.notModified, warm.whole, warm.other,
                bench::Judgement(warm.notModified == players && warm.whole == 0 && warm.other == 0));
    bench::Verdict("warm restart: the server's answer awaited before the tree, median", warmMs[warmMs.size() / 2],
                   100, "ms");
    bench::Verdict("warm restart: the server's answer awaited before the tree, slowest", warmMs.back(), 100, "ms");
    bench::Verdict("server stopped: the wait before the tree", offlineMs, 100, "ms");
    return 0;
}
