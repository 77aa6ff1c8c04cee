#include <gtest/gtest.h>

#include "net/CoursewareSource.h"
#include "net/SiteManifest.h"

namespace {

const std::string kSha(64, 'a');

std::string Listing(const std::string& path, const std::string& size = "3", const std::string& sha = kSha) {
    return R"({"version": 1, "files": [{"path": )" + path + R"(, "size": )" + size + R"(, "sha256": ")" + sha +
           R"("}], "codes": ["01"]})";
}

TEST(SiteManifest, ReadsWhatItWrites) {
    const ov::SiteManifest manifest{{{"DB/RsDbList.db", 12, kSha}, {"Resources/第一课 Hello.ovpk", 3 * 1024, kSha}},
                                    {"01", "0101"}};
    const ov::SiteManifest read = ov::ParseManifest(ov::ManifestText(manifest));
    EXPECT_EQ(read.files, manifest.files);
    EXPECT_EQ(read.codes, manifest.codes);
    ASSERT_NE(read.Find("Resources/第一课 Hello.ovpk"), nullptr);
    EXPECT_EQ(read.Find("Resources/第一课 Hello.ovpk")->size, 3u * 1024);
    EXPECT_EQ(read.Find("Resources/missing.ovpk"), nullptr);
}

// A manifest is taken whole or not at all: one bad entry refuses it.
TEST(SiteManifest, RefusesAnythingButAListOfSiteFiles) {
    const struct {
        const char* why;
        std::string text;
    } cases[] = {
        {"not JSON", "<html>502 Bad Gateway</html>"},
        {"not an object", "[1]"},
        {"another version", R"({"version": 2, "files": []})"},
        {"no file list", R"({"version": 1})"},
        {"parent folder", Listing(R"("../x")")},
        {"parent folder inside", Listing(R"("Resources/../../x")")},
        {"absolute path", Listing(R"("/etc/passwd")")},
        {"backslash", Listing(R"("Resources\\..\\x")")},
        {"folder of its own", Listing(R"("Resources/A/OV/Class/p1.ovb")")},
        {"hidden name", Listing(R"("Resources/.server.json")")},
        {"not a courseware folder", Listing(R"("Records/1.wav")")},
        {"the manifest itself", Listing(R"("manifest.json")")},
        {"control character", Listing(R"("Images/a\nb")")},
        {"empty name", Listing(R"("Images/")")},
        {"doubled separator", Listing(R"("Images//a.bmp")")},
        {"negative size", Listing(R"("Images/a.bmp")", "-1")},
        {"size as text", Listing(R"("Images/a.bmp")", "\"3\"")},
        {"short digest", Listing(R"("Images/a.bmp")", "3", "abc")},
        {"upper-case digest", Listing(R"("Images/a.bmp")", "3", std::string(64, 'A'))},
        {"listed twice", R"({"version": 1, "files": [{"path": "Images/a", "size": 1, "sha256": ")" + kSha +
                             R"("}, {"path": "Images/a", "size": 1, "sha256": ")" + kSha + R"("}]})"},
        {"over 16 MB", std::string(ov::kManifestLimit + 1, ' ')},
    };
    for (const auto& c : cases) EXPECT_THROW(ov::ParseManifest(c.text), ov::EManifestError) << c.why;
    EXPECT_NO_THROW(ov::ParseManifest(Listing(R"("Images/a.bmp")")));
}

TEST(CoursewareSource, TheEnvironmentOverridesTheSettingAndUrlsAreChecked) {
    EXPECT_EQ(ov::ChooseCoursewareUrl(nullptr, "http://lab/courseware/"), "http://lab/courseware");
    EXPECT_EQ(ov::ChooseCoursewareUrl("", "http://lab"), "http://lab");
    EXPECT_EQ(ov::ChooseCoursewareUrl("https://other", "http://lab"), "https://other");
    EXPECT_EQ(ov::ChooseCoursewareUrl(nullptr, ""), "");
    for (const char* good : {"http://192.168.1.10/courseware", "https://school.example/ov"})
        EXPECT_FALSE(ov::WhyNotCoursewareUrl(good)) << good;
    for (const char* bad : {"ftp://lab/x", "file:///srv/ov", "lab/courseware", "http://", "http://lab/a b",
                            "http://lab/?q=1"})
        EXPECT_TRUE(ov::WhyNotCoursewareUrl(bad)) << bad;
}

}  // namespace
