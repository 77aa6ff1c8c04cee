#include "speech/ReadingJudge.h"

#include "speech/EspeakPhonemes.h"
#include "speech/IpaPhones.h"
#include "speech/RecordingPcm.h"
#include "speech/SpeechDecoder.h"
#include "speech/SpeechLoudness.h"

#include <algorithm>
#include <limits>

namespace ov {
namespace {

// The slot a decoded word stands for: "good@3" and its variant "good@3(2)"
// are slot 3; phone and silence words stand for none.
int SlotOf(const std::string& word) {
    const size_t at = word.rfind('@');
    if (at == std::string::npos) return -1;
    int slot = 0;
    for (size_t i = at + 1; i < word.size() && word[i] != '('; ++i) {
        if (word[i] < '0' || word[i] > '9') return -1;
        slot = slot * 10 + (word[i] - '0');
    }
    return slot;
}

std::string Joined(const std::vector<std::string>& phones) {
    std::string out;
    for (const std::string& p : phones) out += (out.empty() ? "" : " ") + p;
    return out;
}

int DurationMs(const std::vector<int16_t>& samples) {
    return static_cast<int>(static_cast<int64_t>(samples.size()) * 1000 / kSpeechRate);
}

// Share of the loud frames that fall inside heard words (or slots).
template <typename Heard>
double Coverage(const std::vector<bool>& speech, const std::vector<Heard>& words) {
    int loud = 0, covered = 0;
    for (size_t f = 0; f < speech.size(); ++f) {
        if (!speech[f]) continue;
        ++loud;
        const int ms = static_cast<int>(f) * kFrameMs + kFrameMs / 2;
        for (const Heard& w : words) {
            if (w.heard && ms >= w.startMs && ms < w.endMs) {
                ++covered;
                break;
            }
        }
    }
    return loud == 0 ? 0.0 : static_cast<double>(covered) / loud;
}


// Silence before and after the reading is left out of the decode: silence is
// made dear in the grammar, so a long tail would rather be taken by the phone
// loop, and the last word with it. A little is kept on each side.
constexpr int kKeptSilenceFrames = 10;

std::pair<size_t, size_t> SpeechSpan(const std::vector<bool>& speech) {
    const auto first = static_cast<size_t>(std::find(speech.begin(), speech.end(), true) - speech.begin());
    const auto last = static_cast<size_t>(speech.rend() - std::find(speech.rbegin(), speech.rend(), true)) - 1;
    const size_t from = first > kKeptSilenceFrames ? first - kKeptSilenceFrames : 0;
    const size_t to = std::min(speech.size(), last + 1 + kKeptSilenceFrames);
    return {from * kFrameSamples, to * kFrameSamples};
}

// A missed word is placed in the gap its heard neighbours leave.
void PlaceMissedWords(std::vector<WordFeedback>& words, int durationMs) {
    for (size_t i = 0; i < words.size(); ++i) {
        if (words[i].heard) continue;
        int start = 0, end = durationMs;
        for (size_t j = i; j-- > 0;)
            if (words[j].heard) {
                start = words[j].endMs;
                break;
            }
        for (size_t j = i + 1; j < words.size(); ++j)
            if (words[j].heard) {
                end = words[j].startMs;
                break;
            }
        words[i].startMs = start;
        words[i].endMs = std::max(start, end);
    }
}

}  // namespace

ReadingJudge::ReadingJudge(SpeechDecoder& decoder, JudgeSettings settings)
    : decoder_(decoder), settings_(std::move(settings)) {
    if (settings_.speeds.empty()) settings_.speeds = {1.0};
    for (const std::string& phone : decoder_.Phones()) {
        const std::string word = "~" + phone;
        if (decoder_.AddWord(word, phone)) phoneWords_.push_back(word);
    }
}

const std::vector<std::string>& ReadingJudge::PronunciationsOf(const std::string& spoken) {
    auto found = pronunciations_.find(spoken);
    if (found != pronunciations_.end()) return found->second;
    std::vector<std::string> prons = decoder_.Pronunciations(spoken);
    if (prons.empty()) {
        const std::string phones = Joined(IpaToPhones(EspeakIpa(spoken)));
        if (!phones.empty()) {
            prons.push_back(phones);
            guessed_.insert(spoken);
        }
    }
    return pronunciations_.emplace(spoken, std::move(prons)).first->second;
}

std::optional<std::string> ReadingJudge::SlotWord(const std::string& spoken, int slot) {
    const std::vector<std::string>& prons = PronunciationsOf(spoken);
    if (prons.empty()) return std::nullopt;
    const std::string name = spoken + "@" + std::to_string(slot);
    if (!decoder_.AddWord(name, prons[0])) return std::nullopt;
    for (size_t v = 1; v < prons.size(); ++v) decoder_.AddWord(name + "(" + std::to_string(v + 1) + ")", prons[v]);
    return name;
}

std::vector<ReadingJudge::SlotTimes> ReadingJudge::Align(const std::vector<Slot>& slots,
                                                         const std::vector<int16_t>& samples, int offsetMs,
                                                         double speed, double& scorePerFrame) {
    std::vector<std::string> names;
    for (const Slot& s : slots) names.push_back(s.name);
    const DecodedPath path = decoder_.Decode(FeedbackGrammar(names, phoneWords_, settings_.weights),
                                             speed == 1.0 ? samples : SpeedWarped(samples, speed));
    std::vector<SlotTimes> times(slots.size());
    scorePerFrame = path.found ? path.scorePerFrame : -std::numeric_limits<double>::infinity();
    for (const DecodedWord& w : path.words) {
        const int slot = SlotOf(w.word);
        if (slot < 0 || slot >= static_cast<int>(slots.size())) continue;
        times[slot] = {true, offsetMs + static_cast<int>(w.firstFrame * kFrameMs * speed),
                       offsetMs + static_cast<int>((w.lastFrame + 1) * kFrameMs * speed)};
    }
    return times;
}

std::optional<ReadingFeedback> ReadingJudge::Judge(const std::vector<std::string>& shown,
                                                   const std::vector<int16_t>& samples, const Cancelled& cancelled) {
    if (cancelled && cancelled()) return std::nullopt;
    const std::vector<TextWord> text = SpokenWords(shown);
    ReadingFeedback feedback;
    std::vector<Slot> slots;
    for (size_t t = 0; t < text.size(); ++t) {
        feedback.words.push_back({text[t].shown, false, 0.0, 0, 0});
        for (const std::string& spoken : text[t].spoken) {
            if (slots.size() >= static_cast<size_t>(kMostWordsJudged))
                throw ESpeechError("the text has more than " + std::to_string(kMostWordsJudged) + " words to read");
            if (auto name = SlotWord(spoken, static_cast<int>(slots.size())))
                slots.push_back({static_cast<int>(t), *name});
        }
    }
    const std::vector<bool> speech = SpeechFrames(samples);
    const int durationMs = DurationMs(samples);
    if (slots.empty() || std::find(speech.begin(), speech.end(), true) == speech.end()) {
        PlaceMissedWords(feedback.words, durationMs);
        return feedback;
    }

    const auto [from, to] = SpeechSpan(speech);
    const std::vector<int16_t> spoken(samples.begin() + static_cast<std::ptrdiff_t>(from),
                                      samples.begin() + static_cast<std::ptrdiff_t>(to));
    const int offsetMs = static_cast<int>(from * 1000 / kSpeechRate);
    std::vector<std::vector<SlotTimes>> byWarp;
    std::vector<double> coverages, scores;
    size_t best = 0;
    double bestScore = -std::numeric_limits<double>::infinity();
    for (double speed : settings_.speeds) {
        if (cancelled && cancelled()) return std::nullopt;
        double score = 0;
        byWarp.push_back(Align(slots, spoken, offsetMs, speed, score));
        coverages.push_back(Coverage(speech, byWarp.back()));
        scores.push_back(score);
    }
    // Decodes of different warps are each normalised against their own best
    // sounds, so one that gave up and called the speech silence can score best
    // per frame. Only warps that put the text's words on nearly as much of the
    // speech as the best one compete, by score.
    const double mostCovered = *std::max_element(coverages.begin(), coverages.end());
    for (size_t w = 0; w < byWarp.size(); ++w) {
        if (coverages[w] < mostCovered - settings_.warpCoverageMargin) continue;
        if (scores[w] > bestScore) {
            bestScore = scores[w];
            best = w;
        }
    }

    // A text word is heard when every part of it is ("twenty five").
    std::vector<int> parts(text.size(), 0), heardParts(text.size(), 0), agreeing(text.size(), 0);
    for (size_t s = 0; s < slots.size(); ++s) {
        WordFeedback& word = feedback.words[slots[s].textWord];
        const int t = slots[s].textWord;
        ++parts[t];
        for (const auto& warp : byWarp) agreeing[t] += warp[s].heard ? 1 : 0;
        const SlotTimes& times = byWarp[best][s];
        if (!times.heard) continue;
        if (heardParts[t]++ == 0) word.startMs = times.startMs;
        word.endMs = times.endMs;
    }
    for (size_t t = 0; t < text.size(); ++t) {
        feedback.words[t].heard = parts[t] > 0 && heardParts[t] == parts[t];
        if (parts[t] > 0)
            feedback.words[t].confidence = static_cast<double>(agreeing[t]) / (parts[t] * byWarp.size());
    }
    if (Coverage(speech, feedback.words) < settings_.leastCoverage) {
        for (WordFeedback& w : feedback.words) w = {w.word, false, 0.0, 0, 0};
    }
    PlaceMissedWords(feedback.words, durationMs);
    return feedback;
}

}  // namespace ov
