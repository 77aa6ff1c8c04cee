// Word-level reading feedback on readings made for the purpose: espeak-ng
// voices, male and female, at 0.8-1.3 times normal speed, half of them pitched
// up 2-4 semitones as child-like voices, half with room noise at 15-20 dB SNR.
// Each sentence is read as written, with one word left out, with one word
// replaced, and replaced by another sentence. Then real speech (Debian's
// pocketsphinx-testdata with its transcripts), the time a sentence takes, the
// first use with the model load, and the memory the model holds. It also
// counts the demo's words the model's dictionary lacks.
//
// A smoke run (`--smoke`) reads one sentence four ways and judges nothing.
#include <time.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <set>
#include <string>
#include <vector>

#include "BenchFigures.h"
#include "FeedbackSentences.h"
#include "speech/ReadingJudge.h"
#include "speech/RecordingPcm.h"
#include "speech/SpeechDecoder.h"
#include "speech/SpeechLoudness.h"
#include "speech/SpokenText.h"

namespace {

namespace fs = std::filesystem;
const char* const kBench = "bench_feedback";

const char* const kVoices[] = {"en-us", "en+f3", "en+m3", "en+f4"};
const char* const kTestData = "/usr/share/pocketsphinx/test/data/librivox";

double Seconds(std::chrono::steady_clock::time_point since) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - since).count();
}

double ThreadCpuSeconds() {
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) * 1e-9;
}

std::string Quoted(const std::string& s) {
    std::string out = "'";
    for (char c : s) out += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return out + "'";
}

struct Voice {
    const char* name;
    double speed;
    int cents;    // 0: the voice as it is
    double snr;   // 0: no noise
};

// The reading as a 16 kHz recording, with room noise mixed in when asked.
std::vector<int16_t> Read(const fs::path& dir, const std::string& text, const Voice& v) {
    const fs::path spoken = dir / "spoken.wav", shifted = dir / "shifted.wav";
    const int wpm = static_cast<int>(175 * v.speed);
    std::string cmd = "espeak-ng -v " + std::string(v.name) + " -s " + std::to_string(wpm) + " -w " +
                      Quoted(spoken.string()) + " " + Quoted(text);
    if (std::system(cmd.c_str()) != 0) bench::Fail(kBench, "espeak-ng could not read: " + text);
    fs::path file = spoken;
    if (v.cents) {
        cmd = "sox " + Quoted(spoken.string()) + " " + Quoted(shifted.string()) + " pitch " + std::to_string(v.cents);
        if (std::system(cmd.c_str()) != 0) bench::Fail(kBench, "sox could not shift the pitch");
        file = shifted;
    }
    std::vector<int16_t> samples = ov::ReadRecording(file.string());
    if (v.snr <= 0) return samples;
    // Brown-ish noise, as a room's hum and rumble, scaled against the speech's loudness.
    const std::vector<bool> speech = ov::SpeechFrames(samples);
    double power = 0;
    int frames = 0;
    for (size_t f = 0; f < speech.size(); ++f) {
        if (!speech[f]) continue;
        ++frames;
        for (int i = 0; i < ov::kFrameSamples; ++i) power += std::pow(samples[f * ov::kFrameSamples + i], 2);
    }
    power /= std::max(1, frames * ov::kFrameSamples);
    std::mt19937 random(static_cast<unsigned>(samples.size()));
    std::normal_distribution<double> white(0.0, 1.0);
    std::vector<double> noise(samples.size());
    double last = 0, noisePower = 0;
    for (double& n : noise) {
        last = 0.97 * last + white(random);
        n = last;
        noisePower += n * n;
    }
    noisePower /= std::max<size_t>(1, noise.size());
    const double gain = std::sqrt(power / std::pow(10.0, v.snr / 10.0) / std::max(noisePower, 1e-9));
    for (size_t i = 0; i < samples.size(); ++i)
        samples[i] = static_cast<int16_t>(std::clamp(samples[i] + noise[i] * gain, -32768.0, 32767.0));
    return samples;
}

struct Tally {
    int counted = 0;
    int flagged = 0;
    void Add(bool missed) {
        ++counted;
        flagged += missed ? 1 : 0;
    }
    double Percent() const { return counted ? 100.0 * flagged / counted : 0.0; }
};

void AtLeast(const char* what, const Tally& t, double target) {
    std::printf("%s: %.1f %% of %d (target >= %.0f %%) %s\n", what, t.Percent(), t.counted, target,
                bench::Judgement(t.Percent() >= target));
}

std::vector<std::string> Without(std::vector<std::string> words, size_t at) {
    words.erase(words.begin() + static_cast<std::ptrdiff_t>(at));
    return words;
}

std::string Joined(const std::vector<std::string>& words) {
    std::string s;
    for (const std::string& w : words) s += (s.empty() ? "" : " ") + w;
    return s;
}

ov::ReadingFeedback Judged(ov::ReadingJudge& judge, const std::vector<std::string>& text,
                           const std::vector<int16_t>& samples) {
    auto feedback = judge.Judge(text, samples);
    if (!feedback) bench::Fail(kBench, "a judgement was cancelled");
    return *feedback;
}

void SyntheticSet(ov::ReadingJudge& judge, const fs::path& dir, int sentences) {
    Tally read, leftOut, replaced, other;
    sentences = std::clamp(sentences, 1, static_cast<int>(bench::kFeedbackSentences.size()));
    for (int i = 0; i < bench::Rounds(sentences); ++i) {
        const auto& s = bench::kFeedbackSentences[static_cast<size_t>(i)];
        const auto& next = bench::kFeedbackSentences[static_cast<size_t>(i + 1) % bench::kFeedbackSentences.size()];
        const Voice voice{kVoices[i % 4], 0.8 + 0.1 * ((i * 7) % 6), i % 2 ? 200 + 100 * ((i / 2) % 3) : 0,
                          (i / 2) % 2 ? 15.0 + (i % 6) : 0.0};
        const std::vector<std::string> text = ov::SplitAtSpaces(s.text);
        const auto at = static_cast<size_t>(s.replaced);

        for (const ov::WordFeedback& w : Judged(judge, text, Read(dir, s.text, voice)).words) read.Add(!w.heard);
        leftOut.Add(!Judged(judge, text, Read(dir, Joined(Without(text, at)), voice)).words[at].heard);
        std::vector<std::string> swapped = text;
        swapped[at] = s.instead;
        replaced.Add(!Judged(judge, text, Read(dir, Joined(swapped), voice)).words[at].heard);
        for (const ov::WordFeedback& w : Judged(judge, text, Read(dir, next.text, voice)).words) other.Add(!w.heard);
    }
    AtLeast("left-out words marked missed", leftOut, 95);
    AtLeast("replaced words marked missed", replaced, 85);
    AtLeast("words of the expected sentence marked missed when another was read", other, 85);
    std::printf("words read as written marked missed: %.1f %% of %d (target <= 5 %%) %s\n", read.Percent(),
                read.counted, bench::Judgement(read.Percent() <= 5));
}

void RealSpeech(ov::ReadingJudge& judge) {
    std::ifstream transcripts(std::string(kTestData) + "/transcription");
    if (!transcripts) {
        std::printf("real speech: %s is not installed, skipped\n", kTestData);
        return;
    }
    Tally heard;
    std::string line;
    for (int n = 0; std::getline(transcripts, line) && n < bench::Rounds(100); ++n) {
        const size_t open = line.rfind('('), close = line.rfind(')');
        if (open == std::string::npos || close < open) continue;
        const std::string id = line.substr(open + 1, close - open - 1);
        std::vector<std::string> words;
        for (const std::string& w : ov::SplitAtSpaces(line.substr(0, open)))
            if (w != "<s>" && w != "</s>") words.push_back(w);
        const auto samples = ov::ReadRecording(std::string(kTestData) + "/" + id + ".wav");
        for (const ov::WordFeedback& w : Judged(judge, words, samples).words) heard.Add(w.heard);
    }
    AtLeast("real speech (pocketsphinx-testdata): words marked heard", heard, 90);
}

void Speed(ov::ReadingJudge& judge, const fs::path& dir) {
    const std::string text = "Good morning, boys and girls! My name is Mike. Nice to meet you. How are you today?";
    const std::vector<int16_t> samples = Read(dir, text, {"en-us", 1.0, 0, 0});
    const double start = ThreadCpuSeconds();
    Judged(judge, ov::SplitAtSpaces(text), samples);
    const double seconds = static_cast<double>(samples.size()) / ov::kSpeechRate;
    bench::Verdict("judging time per second of a sentence (one core)", (ThreadCpuSeconds() - start) / seconds, 0.5,
                   "s/s");
}

void DemoWords(ov::SpeechDecoder& decoder) {
    std::set<std::string> words, lacking;
    for (const auto& entry : fs::directory_iterator(OV_DEMO_SOURCE "/lessons")) {
        if (entry.path().extension() != ".lesson") continue;
        std::ifstream in(entry.path());
        std::string line;
        while (std::getline(in, line)) {
            if (line.empty() || line[0] == '#' || line.rfind("role", 0) == 0) continue;
            const size_t colon = line.find(':');
            const std::string text = line.rfind("line", 0) == 0 && colon != std::string::npos
                                         ? line.substr(colon + 1)
                                         : line.substr(std::min(line.size(), line.find(' ') + 1));
            for (const ov::TextWord& w : ov::SpokenWords(ov::SplitAtSpaces(text)))
                for (const std::string& spoken : w.spoken) words.insert(spoken);
        }
    }
    for (const std::string& w : words)
        if (decoder.Pronunciations(w).empty()) lacking.insert(w);
    std::printf("demo words pronounced by espeak-ng (not in the dictionary): %zu of %zu", lacking.size(),
                words.size());
    for (const std::string& w : lacking) std::printf(" %s", w.c_str());
    std::printf("\n");
}

}  // namespace

// `--garbage P`, `--skip P`, `--margin M`, `--coverage C`, `--sentences N` try other settings
// of the judge on the set, for tuning.
ov::JudgeSettings SettingsFrom(int argc, char** argv, int& sentences) {
    ov::JudgeSettings settings;
    for (int i = 1; i + 1 < argc; i += 2) {
        const std::string name = argv[i];
        const double value = std::atof(argv[i + 1]);
        if (name == "--garbage") settings.weights.garbagePhone = value;
        else if (name == "--skip") settings.weights.skip = value;
        else if (name == "--margin") settings.warpCoverageMargin = value;
        else if (name == "--coverage") settings.leastCoverage = value;
        else if (name == "--sentences") sentences = static_cast<int>(value);
        else bench::Fail(kBench, "unknown option " + name);
    }
    return settings;
}

int main(int argc, char** argv) {
    bench::ReadSmokeFlag(argc, argv);
    int sentences = static_cast<int>(bench::kFeedbackSentences.size());
    const ov::JudgeSettings settings = SettingsFrom(argc, argv, sentences);
    char pattern[] = "/tmp/ov-bench-feedback-XXXXXX";
    if (!mkdtemp(pattern)) bench::Fail(kBench, "no temporary folder");
    const fs::path dir = pattern;

    const std::vector<int16_t> hello = Read(dir, "Hello!", {"en-us", 1.0, 0, 0});
    const double before = bench::ResidentMb();
    const auto loadStart = std::chrono::steady_clock::now();
    ov::SpeechDecoder decoder;
    ov::ReadingJudge judge(decoder, settings);
    Judged(judge, ov::SplitAtSpaces("Hello!"), hello);
    const double firstUse = Seconds(loadStart);
    const double grown = bench::ResidentMb() - before;

    SyntheticSet(judge, dir, sentences);
    RealSpeech(judge);
    Speed(judge, dir);
    bench::Verdict("first use, with the model load", firstUse, 1.5, "s");
    bench::Verdict("resident memory the loaded model adds", grown, 100, "MB");
    DemoWords(decoder);
    std::error_code ec;
    fs::remove_all(dir, ec);
    return 0;
}
