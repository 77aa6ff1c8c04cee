#include <gtest/gtest.h>

#include "lessonsource/LessonSource.h"

namespace {

using ovtool::ParseLessonSource;
using ovtool::SourceError;

// The smallest lesson: its name and catalogue place.
constexpr char kLesson[] =
    "[lesson]\n"
    "name = Unit1 Hello\n"
    "textbook = 01 新起点英语\n"
    "grade = 0101 三年级上册\n"
    "unit = 010101 Unit 1 问候\n"
    "code = 01010101\n";

TEST(LessonSource, ReadsEverySection) {
    const auto source = ParseLessonSource(std::string(kLesson) +
                                          "# a comment\r\n"
                                          "[roles]\n"
                                          "Miss White = en+f3\n"
                                          "\n"
                                          "[words]\n"
                                          "hello | həˈləʊ | 你好 | Hello!\\nHi! | sound: hello.mp3\n"
                                          "bye | baɪ | 再见 | | picture: bye.png\n"
                                          "[dialogue]\n"
                                          "picture = park.jpg\n"
                                          "Miss White: Hello! What's your name?\n"
                                          "Mike: My name is Mike. | sound: s.wav\n"
                                          "[dictation]\nhello\n"
                                          "[discrimination]\nhello | bye | hi\n"
                                          "[test]\nname | hi\nfriend\n"
                                          "[arrangement]\nMy name is Mike.\n"
                                          "[song]\ntitle = The Hello Song\nmovie = song.json\nHello, hello!\n"
                                          "[animation]\nWatch. 看动画。 | movie: a.json\npage: hand.ov.xml\n"
                                          "[games]\nGame 1. | movie: g.json\n"
                                          "[scene sounds]\n雨声 = rain.wav\n"
                                          "[files]\nVideo/clip.mp4 = clip.mp4\n");
    EXPECT_EQ(source.name, "Unit1 Hello");
    EXPECT_EQ(source.catalogue[2].name, "Unit 1 问候");
    EXPECT_EQ(source.catalogue[3].code, "01010101");
    ASSERT_EQ(source.words.size(), 2u);
    EXPECT_EQ(source.words[0].example, "Hello!\nHi!");
    EXPECT_EQ(source.words[0].sound.path, "hello.mp3");
    EXPECT_EQ(source.words[0].sound.place.line, 12);
    EXPECT_EQ(source.words[0].sound.place.column, 44);
    EXPECT_EQ(source.words[1].picture.path, "bye.png");
    EXPECT_EQ(source.scene.path, "park.jpg");
    EXPECT_EQ(source.Roles(), (std::vector<std::string>{"Miss White", "Mike"}));
    EXPECT_EQ(source.voices.at("Miss White"), "en+f3");
    EXPECT_EQ(source.dialogue[1].sound.path, "s.wav");
    EXPECT_EQ(source.discrimination[0].words, (std::vector<std::string>{"hello", "bye", "hi"}));
    ASSERT_EQ(source.test.size(), 2u);
    EXPECT_FALSE(source.test[0].typed);
    EXPECT_TRUE(source.test[1].typed);
    EXPECT_EQ(source.arrangement[0], "My name is Mike.");
    EXPECT_EQ(source.songTitle, "The Hello Song");
    EXPECT_EQ(source.song[0].text, "Hello, hello!");
    EXPECT_EQ(source.animations[1].page.path, "hand.ov.xml");
    EXPECT_EQ(source.games[0].movie.path, "g.json");
    EXPECT_EQ(source.sceneSounds.at("雨声").path, "rain.wav");
    EXPECT_EQ(source.files[0].target, "Video/clip.mp4");
    EXPECT_EQ(source.NamedFiles().size(), 10u);
}

TEST(LessonSource, MistakesNameTheirLineAndColumn) {
    const struct {
        const char* text;  // after the lesson section, which ends on line 6
        int line;
        int column;
        const char* message;
    } cases[] = {
        {"[word]\n", 7, 2, "unknown section [word]"},
        {"[words]\nhello | həˈləʊ\n", 8, 15, "missing field: the meaning"},
        {"[words]\nhello |  | 你好\n", 8, 10, "missing field: the phonetic symbol"},
        {"[words]\nhi | haɪ | 你好\nbye | baɪ | 再见\nhi | haɪ | 嗨\n", 10, 1, "duplicate word hi (first on line 8)"},
        {"[dialogue]\nMike said hello\n", 8, 1, "missing field: the role before \":\""},
        {"[dialogue]\nMike:  \n", 8, 8, "missing field: the sentence after \"Mike:\""},
        {"[dialogue]\nMike: I like ☃ snow.\n", 8, 14, "GBK cannot hold \"☃\""},
        {"[words]\nnaïve | naɪˈiːv | 天真的\n", 8, 3, "GBK cannot hold \"ï\""},
        {"[discrimination]\nhello\n", 8, 6, "missing field: a choice needs another word after |"},
        {"[song]\nHello, hello!\n", 1, 1, "missing field: [song] has no title ="},
        {"[animation]\nWatch the cartoon.\n", 8, 19, "missing field: movie: or page:"},
        {"[roles]\nMike\n", 8, 1, "expected NAME = VALUE"},
        {"[words]\nhello | həˈləʊ | 你好 | Hi! | sound:\n", 8, 29, "missing field: the file after sound:"},
        {"[words]\nand/or | ænd | 和\n", 8, 4, "a word cannot hold / or \\"},
        {"[files]\n../../run.sh = run.sh\n", 8, 1, "../../run.sh would lie outside the lesson"},
        {"[scene sounds]\n/tmp/雨声 = rain.wav\n", 8, 1, "/tmp/雨声 would lie outside the lesson"},
        {"[dictation]\nhi\n[dictation]\n", 9, 2, "a second [dictation] section"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        try {
            ParseLessonSource(std::string(kLesson) + c.text);
            ADD_FAILURE() << "no error";
        } catch (const SourceError& e) {
            EXPECT_EQ(e.what(), std::string(c.message));
            EXPECT_EQ(e.Place().line, c.line);
            EXPECT_EQ(e.Place().column, c.column);
        }
    }
}

TEST(LessonSource, CatalogueCodesMustHangTogether) {
    const struct {
        const char* text;
        int line;
        int column;
        const char* says;
    } cases[] = {
        {"[lesson]\nname = L\ntextbook = 01 书\ngrade = 0201 年级\nunit = 020101 单元\ncode = 02010101\n", 4, 9,
         "catalogue code 0201 of the grade clashes with its textbook's 01"},
        {"[lesson]\nname = L\ntextbook = 1 书\ngrade = 11 年级\nunit = 1101 单元\ncode = 110101\n", 3, 12,
         "catalogue code 1 of the textbook clashes"},
        {"[lesson]\nname = L\ntextbook = 01 书\ngrade = 0101 年级\nunit = 010101 单元\ncode = 010101%1\n", 6, 8,
         "catalogue code 010101%1 of the lesson clashes"},
        {"[lesson]\nname = L\ntextbook = 01 书\ngrade = 0101 年级\ncode = 01010101\n", 1, 1,
         "missing field: [lesson] has no unit ="},
        {"[lesson]\nname = L\ntextbook = 01\n", 3, 14, "missing field: the textbook's name after its code"},
        {"[lesson]\nname = L\nteacher = me\n", 3, 1, "unknown key teacher in [lesson]"},
        {"[words]\nhi | haɪ | 你好\n", 1, 1, "missing field: the source has no [lesson] section"},
        {"hello\n[lesson]\n", 1, 1, "an item before any [section]"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        try {
            ParseLessonSource(c.text);
            ADD_FAILURE() << "no error";
        } catch (const SourceError& e) {
            EXPECT_NE(std::string(e.what()).find(c.says), std::string::npos) << e.what();
            EXPECT_EQ(e.Place().line, c.line);
            EXPECT_EQ(e.Place().column, c.column);
        }
    }
}

}  // namespace
