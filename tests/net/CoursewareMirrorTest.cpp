#include <gtest/gtest.h>

#include <chrono>
#include <cstring>
#include <random>
#include <regex>

#include "net/CoursewareMirror.h"
#include "net/SiteManifest.h"
#include "net/SitePublisher.h"
#include "store/LessonData.h"
#include "support/CatalogueTestDb.h"
#include "support/NginxServer.h"
#include "support/TestFiles.h"

namespace {

namespace fs = std::filesystem;
using ov::PackageOutcome;
using ov::RefreshOutcome;

std::string RandomBytes(size_t size, unsigned seed) {
    std::mt19937_64 random(seed);
    std::string bytes(size, '\0');
    for (size_t i = 0; i + 8 <= size; i += 8) {
        const auto word = random();
        std::memcpy(&bytes[i], &word, 8);
    }
    return bytes;
}

// A courseware set published to a folder that nginx serves, and a player's
// cache of it.
class CoursewareMirror : public testing::Test {
protected:
    void SetUp() override {
        if (!fs::exists(ovtest::kNginxProgram)) GTEST_SKIP() << "nginx-light is not installed";
        ovtest::WriteCatalogue(set / "DB/RsDbList.db", {{"01", "课本一"}, {"0101", "第一课 Hello"}},
                               ov::CataloguePassword());
        ovtest::WriteFile(set / "Resources/第一课 Hello.ovpk", "package one");
        ovtest::WriteFile(set / "Resources/Two.ovpk", "package two");
        ovtest::WriteFile(set / "Images/BO.bmp", "picture");
        ovtest::WriteFile(set / "ENoises/rain.wav", "rain");
        Publish();
        server.Start();
    }
    void Publish() { ov::PublishSite(set, site); }
    ov::CoursewareMirror Player(std::uint64_t cap = ov::kDefaultPackageCacheCap) const {
        return ov::CoursewareMirror(server.Url(), cache, cap);
    }
    std::string Cached(const std::string& relative) const { return ovtest::ReadFile(cache / relative); }
    // The log lines of the requests made since `from`.
    std::vector<std::string> RequestsSince(int from) const {
        std::vector<std::string> lines;
        std::istringstream log(server.AccessLog());
        std::string line;
        for (int i = 0; std::getline(log, line); ++i)
            if (i >= from) lines.push_back(line);
        return lines;
    }

    ovtest::TempDir root;
    fs::path set = root / "set";
    fs::path site = root / "www";
    fs::path cache = root / "cache/ovplayer";
    ovtest::NginxServer server{site};
};

TEST_F(CoursewareMirror, FirstStartOnlineThenRestartsOfflineAndRevalidatesWhenBack) {
    auto first = Player();
    const auto refreshed = first.Refresh();
    EXPECT_EQ(refreshed.outcome, RefreshOutcome::Updated) << refreshed.detail;
    // The manifest, the catalogue, the picture and the scene sound.
    EXPECT_EQ(refreshed.requests, 4);
    EXPECT_EQ(Cached("DB/RsDbList.db"), ovtest::ReadFile(set / "DB/RsDbList.db"));
    EXPECT_EQ(Cached("ENoises/rain.wav"), "rain");
    EXPECT_FALSE(fs::exists(cache / "Resources/Two.ovpk"));
    EXPECT_EQ(first.FetchPackage("第一课 Hello.ovpk"), PackageOutcome::Fetched);
    EXPECT_EQ(Cached("Resources/第一课 Hello.ovpk"), "package one");

    server.Stop();
    auto offline = Player();
    EXPECT_EQ(offline.Refresh().outcome, RefreshOutcome::Unreachable);
    EXPECT_NE(offline.Manifest().Find("DB/RsDbList.db"), nullptr);
    EXPECT_EQ(offline.FetchPackage("第一课 Hello.ovpk"), PackageOutcome::Cached);
    EXPECT_EQ(offline.FetchPackage("Two.ovpk"), PackageOutcome::Unreachable);
    EXPECT_EQ(offline.FetchPackage("Three.ovpk"), PackageOutcome::NotListed);

    server.Start();
    const int before = server.Requests();
    const auto back = Player().Refresh();
    EXPECT_EQ(back.outcome, RefreshOutcome::Current);
    const auto requests = RequestsSince(before);
    ASSERT_EQ(requests.size(), 1u);
    EXPECT_TRUE(requests[0].starts_with("GET /manifest.json 304")) << requests[0];
}

TEST_F(CoursewareMirror, AnInterruptedDownloadResumesWhereItStopped) {
    const std::string big = RandomBytes(30u << 20, 7);
    ovtest::WriteFile(set / "Resources/Big.ovpk", big);
    Publish();
    auto player = Player();
    ASSERT_EQ(player.Refresh().outcome, RefreshOutcome::Updated);

    std::uint64_t lastSeen = 0;
    const auto stopped = player.FetchPackage("Big.ovpk", [&](std::uint64_t have, std::uint64_t) {
        if (have > (10u << 20)) server.Stop();
        lastSeen = have;
        return true;
    });
    EXPECT_EQ(stopped, PackageOutcome::Unreachable);
    ASSERT_GT(lastSeen, 10u << 20);
    ASSERT_LT(lastSeen, 30u << 20);
    EXPECT_FALSE(fs::exists(cache / "Resources/Big.ovpk"));

    server.Start();
    const int before = server.Requests();
    std::uint64_t firstSeen = 0;
    EXPECT_EQ(player.FetchPackage("Big.ovpk",
                                  [&](std::uint64_t have, std::uint64_t) {
                                      if (firstSeen == 0) firstSeen = have;
                                      return true;
                                  }),
              PackageOutcome::Fetched);
    EXPECT_GT(firstSeen, lastSeen - 1);
    EXPECT_TRUE(Cached("Resources/Big.ovpk") == big);
    const auto requests = RequestsSince(before);
    ASSERT_EQ(requests.size(), 1u);
    std::smatch range;
    ASSERT_TRUE(std::regex_search(requests[0], range, std::regex(R"(206 (\d+) "bytes=(\d+)-")"))) << requests[0];
    EXPECT_EQ(std::stoull(range[2]), lastSeen);
    EXPECT_EQ(std::stoull(range[1]), big.size() - lastSeen);
}

TEST_F(CoursewareMirror, APackageChangedOnTheServerIsFetchedAgain) {
    auto player = Player();
    ASSERT_EQ(player.Refresh().outcome, RefreshOutcome::Updated);
    ASSERT_EQ(player.FetchPackage("Two.ovpk"), PackageOutcome::Fetched);
    ovtest::WriteFile(set / "Resources/Two.ovpk", "package two, second edition");
    Publish();

    auto restarted = Player();
    const int before = server.Requests();
    const auto refreshed = restarted.Refresh();
    EXPECT_EQ(refreshed.outcome, RefreshOutcome::Updated);
    // A new manifest for the new ETag; the other files are the same.
    EXPECT_EQ(refreshed.requests, 1);
    EXPECT_TRUE(RequestsSince(before)[0].starts_with("GET /manifest.json 200"));
    EXPECT_FALSE(fs::exists(cache / "Resources/Two.ovpk"));
    EXPECT_EQ(restarted.FetchPackage("Two.ovpk"), PackageOutcome::Fetched);
    EXPECT_EQ(Cached("Resources/Two.ovpk"), "package two, second edition");
}

// What a hostile or broken server sends is refused, and the copy the player
// had stays in use unchanged.
TEST_F(CoursewareMirror, RefusesWhatDoesNotMatchTheManifest) {
    auto player = Player();
    ASSERT_EQ(player.Refresh().outcome, RefreshOutcome::Updated);
    const std::string catalogue = Cached("DB/RsDbList.db");
    const std::string manifest = ovtest::ReadFile(site / "manifest.json");

    // Same size, other bytes: caught by the digest only.
    ovtest::WriteFile(site / "Resources/Two.ovpk", "package 2!!");
    EXPECT_EQ(player.FetchPackage("Two.ovpk"), PackageOutcome::Refused);
    // A longer file than listed: the transfer is dropped.
    ovtest::WriteFile(site / "Resources/第一课 Hello.ovpk", "package one and a payload");
    EXPECT_EQ(player.FetchPackage("第一课 Hello.ovpk"), PackageOutcome::Refused);
    EXPECT_FALSE(fs::exists(cache / "Resources/Two.ovpk"));
    EXPECT_FALSE(fs::exists(cache / "Resources/第一课 Hello.ovpk"));
    EXPECT_TRUE(fs::is_empty(cache / ".partial"));
    // Bytes kept from a broken download that the server's file no longer
    // reaches: dropped, not asked for again and again.
    const std::string partial = (cache / ".partial" / player.Manifest().Find("Resources/Two.ovpk")->sha256).string();
    ovtest::WriteFile(partial, "packa");
    ovtest::WriteFile(site / "Resources/Two.ovpk", "pac");
    EXPECT_EQ(player.FetchPackage("Two.ovpk"), PackageOutcome::Refused);
    EXPECT_FALSE(fs::exists(partial));

    const struct {
        const char* why;
        std::string text;
    } manifests[] = {
        {"a parent folder", std::regex_replace(manifest, std::regex("Images/BO.bmp"), "../x")},
        {"not JSON", "<html>Welcome to nginx!</html>"},
        {"over 16 MB", std::string(ov::kManifestLimit + 100, ' ')},
        {"a tampered catalogue", std::regex_replace(manifest, std::regex(R"("sha256": "[0-9a-f]{8})"),
                                                    R"("sha256": "00000000)")},
    };
    // nginx's validators are the file's time in whole seconds and its size: a
    // manifest of the same size written within the second would get a 304.
    const auto published = fs::last_write_time(site / "manifest.json");
    int later = 0;
    for (const auto& bad : manifests) {
        ovtest::WriteFile(site / "manifest.json", bad.text);
        fs::last_write_time(site / "manifest.json", published + std::chrono::seconds(2 * ++later));
        EXPECT_EQ(Player().Refresh().outcome, RefreshOutcome::Refused) << bad.why;
        EXPECT_EQ(Cached("DB/RsDbList.db"), catalogue) << bad.why;
        EXPECT_EQ(Player().Manifest().files, player.Manifest().files) << bad.why;
    }
    // A redirect to another scheme is not followed.
    const auto moved = ov::CoursewareMirror(server.Url() + "/moved", root / "other").Refresh();
    EXPECT_EQ(moved.outcome, RefreshOutcome::Refused) << moved.detail;
    // Nor is a server whose certificate the system does not trust.
    const auto untrusted = ov::CoursewareMirror(server.UntrustedHttpsUrl(), root / "other").Refresh();
    EXPECT_EQ(untrusted.outcome, RefreshOutcome::Refused) << untrusted.detail;
}

TEST_F(CoursewareMirror, TheCacheCapEvictsThePackageOpenedLongestAgo) {
    for (const char* name : {"A", "B", "C"}) ovtest::WriteFile(set / "Resources" / (std::string(name) + ".ovpk"),
                                                              std::string(100, *name));
    Publish();
    auto player = Player(250);
    ASSERT_EQ(player.Refresh().outcome, RefreshOutcome::Updated);
    ASSERT_EQ(player.FetchPackage("A.ovpk"), PackageOutcome::Fetched);
    ASSERT_EQ(player.FetchPackage("B.ovpk"), PackageOutcome::Fetched);
    // A opened again: B is now the one opened longest ago. The clock may not
    // have moved between the two, so B's time is put back by hand.
    fs::last_write_time(cache / "Resources/B.ovpk", fs::last_write_time(cache / "Resources/B.ovpk") - std::chrono::hours(1));
    ASSERT_EQ(player.FetchPackage("A.ovpk"), PackageOutcome::Cached);
    ASSERT_EQ(player.FetchPackage("C.ovpk"), PackageOutcome::Fetched);
    EXPECT_TRUE(fs::exists(cache / "Resources/A.ovpk"));
    EXPECT_FALSE(fs::exists(cache / "Resources/B.ovpk"));
    EXPECT_TRUE(fs::exists(cache / "Resources/C.ovpk"));
}

}  // namespace
