#include "study/WordDrill.h"

#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

namespace {

using ov::WordDrill;
using State = WordDrill::State;

constexpr int kSoundMs = 500;

// The window's side of the drill on a virtual clock: waits and sounds end
// when Run() brings the clock to them. It keeps the times at which words were
// shown and sounds started.
class VirtualHost : public ov::WordDrillHost {
public:
    void ShowWord(int index) override { shown.push_back({now, index + 1}); }
    void RaisePen(bool raised) override { pen += raised ? 1 : -1; }
    SoundStart PlaySound(const std::string& path) override {
        const std::string name = path.substr(path.rfind('/') + 1);
        if (!files.count(name)) return SoundStart::kMissing;
        played.push_back({now, name});
        if (unplayable.count(name)) return SoundStart::kFailed;
        soundEnd = now + kSoundMs;
        return SoundStart::kPlaying;
    }
    void StopSound() override { soundEnd.reset(); }
    void StartWait(int ms) override { waitEnd = now + ms; }
    void CancelWait() override { waitEnd.reset(); }
    void PassCompleted(int words) override { passes.push_back(words); }

    struct Shown {
        int at;
        int word;
        bool operator==(const Shown&) const = default;
    };
    struct Played {
        int at;
        std::string file;
        bool operator==(const Played&) const = default;
    };
    int now = 0;
    int pen = 0;
    std::optional<int> waitEnd;
    std::optional<int> soundEnd;
    std::set<std::string> files;
    std::set<std::string> unplayable;
    std::vector<Shown> shown;
    std::vector<Played> played;
    std::vector<int> passes;
};

std::vector<ov::DrillWord> Words(int count) {
    std::vector<ov::DrillWord> words;
    for (int i = 1; i <= count; ++i) words.push_back({"word" + std::to_string(i), "", "", ""});
    return words;
}

class Drill : public testing::Test {
protected:
    void Load(int count, const std::vector<std::string>& extensions = {".wav"}) {
        for (int i = 1; i <= count; ++i)
            for (const std::string& extension : extensions) host.files.insert("w_word" + std::to_string(i) + extension);
        drill.SetWords("/lesson", Words(count));
    }
    // Moves the clock on, event by event, until the drill is idle with
    // nothing pending; `actions` run at their times as the pupil's clicks.
    void Run(std::map<int, std::function<void()>> actions = {}) {
        for (int guard = 0; guard < 10000; ++guard) {
            std::optional<int> next;
            for (const std::optional<int>& at : {host.waitEnd, host.soundEnd})
                if (at && (!next || *at < *next)) next = at;
            if (!actions.empty() && (!next || actions.begin()->first <= *next)) {
                host.now = actions.begin()->first;
                const auto action = actions.begin()->second;
                actions.erase(actions.begin());
                action();
                continue;
            }
            if (!next) return;
            host.now = *next;
            if (host.soundEnd == next) {
                host.soundEnd.reset();
                drill.SoundFinished();
            } else {
                host.waitEnd.reset();
                drill.WaitElapsed();
            }
        }
        FAIL() << "the drill never ends";
    }
    std::vector<int> ShownWords() const {
        std::vector<int> words;
        for (const auto& shown : host.shown) words.push_back(shown.word);
        return words;
    }

    ov::StudyState flags;
    VirtualHost host;
    WordDrill drill{host, flags};
};

// One word takes the second before it, its sound and the interval less a
// millisecond.
constexpr int kWordMs = WordDrill::kBeforeWordMs + kSoundMs + 1999;

TEST_F(Drill, ThreeWordsTwoPassesEachWithItsSoundAndTheInterval) {
    Load(3);
    drill.Start(2, 2);
    EXPECT_EQ(drill.Pass(), 1);
    Run();
    std::vector<VirtualHost::Shown> expected;
    for (int i = 0; i < 6; ++i) expected.push_back({1000 + i * kWordMs, i % 3 + 1});
    EXPECT_EQ(host.shown, expected);
    ASSERT_EQ(host.played.size(), 6u);
    EXPECT_EQ(host.played[4], (VirtualHost::Played{1000 + 4 * kWordMs, "w_word2.wav"}));
    EXPECT_EQ(host.now, 6 * kWordMs) << "the last interval is waited out too";
    EXPECT_EQ(drill.CurrentState(), State::kIdle);
    EXPECT_EQ(host.pen, 0);
    EXPECT_EQ(host.passes, (std::vector<int>{3, 3}));
}

TEST_F(Drill, EverySoundFileOfAWordInItsOrderAndMissingOnesSkipped) {
    Load(2, {".mp3", ".swf", ".wav"});
    host.files.erase("w_word2.mp3");
    host.unplayable.insert("w_word1.swf");  // still takes its interval
    drill.Start(1, 2);
    Run();
    const int word2 = 1000 + 2 * 2499 + 1999 + 1000;
    const std::vector<VirtualHost::Played> expected = {{1000, "w_word1.wav"},
                                                       {1000 + 2499, "w_word1.mp3"},
                                                       {1000 + 2 * 2499, "w_word1.swf"},
                                                       {word2, "w_word2.wav"},
                                                       {word2 + 2499, "w_word2.swf"}};
    EXPECT_EQ(host.played, expected);
}

TEST_F(Drill, AWordThatNamesAFileOutsideTheLessonHasNoSound) {
    host.files = {"w_.wav", "passwd.wav"};
    drill.SetWords("/lesson", {{"x/../../../etc/passwd", "", "", ""}});
    drill.Start(1, 2);
    Run();
    EXPECT_TRUE(host.played.empty());
    EXPECT_EQ(host.shown.size(), 1u);
}

TEST_F(Drill, AWordWithoutSoundsStaysForTheSecondBeforeTheNext) {
    Load(3, {});
    drill.Start(1, 2);
    Run();
    EXPECT_EQ(host.shown, (std::vector<VirtualHost::Shown>{{1000, 1}, {2000, 2}, {3000, 3}}));
}

TEST_F(Drill, PauseDuringTheSecondWordResumesWithTheThirdThenFullPasses) {
    Load(5);
    drill.Start(2, 2);
    Run({{1000 + kWordMs + 200, [&] { drill.Pause(); }}});
    EXPECT_EQ(ShownWords(), (std::vector<int>{1, 2}));
    EXPECT_EQ(host.now, 2 * kWordMs) << "word 2's sound and interval run out";
    EXPECT_EQ(flags.ResumeRecNo, 2);

    host.shown.clear();
    drill.Start(2, 2);
    Run();
    EXPECT_EQ(ShownWords(), (std::vector<int>{3, 4, 5, 1, 2, 3, 4, 5}));
    EXPECT_EQ(flags.ResumeRecNo, 0);
}

TEST_F(Drill, PauseDuringTheLastWordShowsItOnceMoreThenFullPasses) {
    Load(3);
    drill.Start(1, 2);
    Run({{1000 + 2 * kWordMs + 100, [&] { drill.Pause(); }}});
    EXPECT_EQ(flags.ResumeRecNo, 3);
    host.shown.clear();
    drill.Start(2, 2);
    Run();
    EXPECT_EQ(ShownWords(), (std::vector<int>{3, 1, 2, 3}));
}

TEST_F(Drill, StopLetsTheWordsSoundsFinishAndTheNextStartBeginsAgain) {
    Load(3, {".wav", ".mp3"});
    drill.Start(1, 2);
    Run({{1100, [&] { drill.Stop(); }}});
    EXPECT_EQ(ShownWords(), (std::vector<int>{1}));
    EXPECT_EQ(host.played.size(), 2u) << "the word's second sound still plays";
    EXPECT_TRUE(host.passes.empty()) << "a stopped pass is no pass";
    host.shown.clear();
    drill.Start(1, 2);
    Run();
    EXPECT_EQ(ShownWords(), (std::vector<int>{1, 2, 3}));
    EXPECT_EQ(host.passes, (std::vector<int>{3}));
}

// What each of the pupil's actions does to a running drill, in each state:
// 3 words, one pass, a sound each. Word 1 is awaited until 1000, sounds until
// 1500 and is followed by its interval until 3499.
TEST_F(Drill, ActionsMidDrill) {
    struct Case {
        const char* name;
        int at;
        State before;
        std::function<void(WordDrill&)> action;
        State after;
        std::vector<int> shown;  // by the end of the drill
        int resume;
        bool startsAgain;  // a later "开始" runs a drill
    };
    const auto start = [](WordDrill& d) { d.Start(1, 2); };
    const auto pause = [](WordDrill& d) { d.Pause(); };
    const auto stop = [](WordDrill& d) { d.Stop(); };
    const auto reload = [](WordDrill& d) { d.SetWords("/other", Words(2)); };
    const auto close = [](WordDrill& d) { d.CloseWords(); };
    const auto end = [](WordDrill& d) { d.End(); };
    const Case cases[] = {
        {"second start, waiting", 500, State::kWaiting, start, State::kWaiting, {1, 2, 3}, 0, true},
        {"second start, sounding", 1200, State::kSounding, start, State::kSounding, {1, 2, 3}, 0, true},
        {"second start, interval", 2000, State::kInterval, start, State::kInterval, {1, 2, 3}, 0, true},
        {"pause, waiting", 500, State::kWaiting, pause, State::kWaiting, {1}, 1, true},
        {"pause, sounding", 1200, State::kSounding, pause, State::kSounding, {1}, 1, true},
        {"pause, interval", 2000, State::kInterval, pause, State::kInterval, {1}, 1, true},
        {"stop, waiting", 500, State::kWaiting, stop, State::kWaiting, {1}, 0, true},
        {"stop, sounding", 1200, State::kSounding, stop, State::kSounding, {1}, 0, true},
        {"stop, interval", 2000, State::kInterval, stop, State::kInterval, {1}, 0, true},
        {"another lesson's list, waiting", 500, State::kWaiting, reload, State::kIdle, {}, 0, true},
        {"another lesson's list, sounding", 1200, State::kSounding, reload, State::kIdle, {1}, 0, true},
        {"another function, sounding", 1200, State::kSounding, close, State::kIdle, {1}, 0, false},
        {"another function, interval", 2000, State::kInterval, close, State::kIdle, {1}, 0, false},
        {"window closing, sounding", 1200, State::kSounding, end, State::kIdle, {1}, 0, true},
        {"window closing, interval", 2000, State::kInterval, end, State::kIdle, {1}, 0, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        flags = {};
        host = {};
        Load(3);
        drill.Start(1, 2);
        Run({{c.at, [&] {
                  EXPECT_EQ(drill.CurrentState(), c.before);
                  c.action(drill);
                  EXPECT_EQ(drill.CurrentState(), c.after);
                  if (c.after == State::kIdle) {
                      EXPECT_FALSE(host.waitEnd || host.soundEnd) << "nothing left pending";
                      EXPECT_EQ(host.pen, 0);
                  }
              }}});
        EXPECT_EQ(ShownWords(), c.shown);
        EXPECT_EQ(flags.ResumeRecNo, c.resume);
        EXPECT_EQ(host.pen, 0);
        drill.End();
        drill.Start(1, 2);
        EXPECT_EQ(drill.CurrentState() != State::kIdle, c.startsAgain);
        drill.End();
    }
}

TEST_F(Drill, StartDoesNothingWithoutAListOrPasses) {
    drill.Start(1, 2);
    EXPECT_EQ(drill.CurrentState(), State::kIdle);
    Load(2);
    drill.Start(0, 2);
    EXPECT_EQ(drill.CurrentState(), State::kIdle);
    drill.SetWords("/empty", {});
    drill.Start(3, 2);
    EXPECT_EQ(drill.CurrentState(), State::kIdle);
    EXPECT_TRUE(host.shown.empty());
}

}  // namespace
