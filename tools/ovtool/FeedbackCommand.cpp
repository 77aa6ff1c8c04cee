// feedback: which words of a text a recording holds.
#include <cmath>
#include <iostream>

#include <nlohmann/json.hpp>

#include "ToolCommand.h"
#include "speech/ProcessJudge.h"
#include "speech/ReadingJudge.h"
#include "speech/RecordingPcm.h"
#include "speech/SpeechDecoder.h"
#include "speech/SpokenText.h"

namespace ovtool {
namespace {

nlohmann::ordered_json ToJson(const ov::ReadingFeedback& feedback) {
    nlohmann::ordered_json words = nlohmann::ordered_json::array();
    for (const ov::WordFeedback& w : feedback.words) {
        words.push_back({{"word", w.word},
                         {"heard", w.heard},
                         {"confidence", std::round(w.confidence * 100) / 100},
                         {"start_ms", w.startMs},
                         {"end_ms", w.endMs}});
    }
    return {{"words", words}, {"heard", feedback.Heard()}, {"missed", feedback.Missed()}};
}

}  // namespace

void AddFeedbackCommand(CLI::App& app) {
    auto text = std::make_shared<std::string>();
    auto recording = std::make_shared<std::string>();
    auto* command = AddCommand(app, "feedback", "Which words of TEXT the reading in RECORDING holds, as JSON", [=] {
        std::vector<int16_t> samples;
        try {
            samples = ov::ReadRecording(*recording);
        } catch (const ov::ERecordingError& e) {
            throw CommandError{kFailed, e.what()};
        }
        try {
            const auto feedback = ov::ProcessJudge().Judge(ov::SplitAtSpaces(*text), samples);
            std::cout << ToJson(*feedback).dump() << '\n';
        } catch (const ov::ESpeechError& e) {
            throw CommandError{kFailed, e.what()};
        }
        return kOk;
    });
    command->add_option("TEXT", *text, "The text that was read")->required();
    command->add_option("RECORDING", *recording, "The reading: a sound file of at most 60 s")->required();
}

}  // namespace ovtool
