// record, samples, compare, score: voice recordings and their comparison score.
#include <chrono>
#include <filesystem>
#include <fstream>
#include <iomanip>
#include <iostream>
#include <thread>

#include "ToolCommand.h"
#include "audio/RecordingSimulator.h"
#include "audio/RecordingScore.h"
#include "audio/VoiceRecorder.h"

namespace ovtool {
namespace {

using Samples = std::vector<uint8_t>;

Samples ReadSamples(const std::string& path) {
    std::ifstream in(path);
    if (!in) throw CommandError{kFailed, "cannot read " + path};
    Samples samples;
    std::string word;
    while (in >> word) {
        size_t used = 0;
        int value = -1;
        try {
            value = std::stoi(word, &used);
        } catch (const std::logic_error&) {
        }
        if (used != word.size() || value < 0 || value > 255)
            throw CommandError{kFailed, path + ": \"" + word + "\" is not a sample (0-255)"};
        samples.push_back(static_cast<uint8_t>(value));
    }
    return samples;
}

Samples SimulatedSamples(const std::string& path) {
    auto samples = ov::SimulateSoundSamples(path);
    if (!samples) throw CommandError{kFailed, "not a sound file that can be played: " + path};
    return *samples;
}

int PrintScore(const Samples& orig, const Samples& rec) {
    ov::TGetSoundDataResult scorer;
    std::cout << std::fixed << std::setprecision(6) << ov::CompareRecording(scorer, orig, rec) << '\n';
    return kOk;
}

void RecordFor(ov::VoiceRecorder& recorder, double seconds) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
    for (auto now = std::chrono::steady_clock::now(); now < deadline; now = std::chrono::steady_clock::now()) {
        recorder.ProcessNotifications();
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - now);
        std::this_thread::sleep_for(std::min(left, std::chrono::milliseconds(10)));
    }
}

void AddRecord(CLI::App& app) {
    auto seconds = std::make_shared<double>(0);
    auto folder = std::make_shared<std::string>();
    auto* command = AddCommand(app, "record", "Record from the default input device and save a time-stamped WAV file", [=] {
        ov::VoiceRecorder recorder;
        if (!folder->empty()) recorder.SetRecordFolder((std::filesystem::path(*folder) / "").string());
        recorder.StartRecord();
        if (!recorder.IsRecording()) throw CommandError{kFailed, "no input device could be opened"};
        RecordFor(recorder, *seconds);
        recorder.StopRecord(true);
        std::error_code ec;
        if (!std::filesystem::exists(recorder.LastFileName(), ec)) {
            if (recorder.Input().TotalFrames() == 0) throw CommandError{kFailed, "no sound was captured"};
            throw CommandError{kFailed, "cannot write " + recorder.LastFileName()};
        }
        std::cout << recorder.LastFileName() << '\n';
        return kOk;
    });
    command->add_option("SECONDS", *seconds, "How long to record")->required()->check(CLI::Range(0.01, 3600.0));
    command->add_option("FOLDER", *folder, "Where the recording goes (default: the current folder)");
}

void AddSamples(CLI::App& app) {
    auto file = std::make_shared<std::string>();
    auto* command = AddCommand(app, "samples", "The loudness samples a sound control collects while playing FILE", [=] {
        const Samples samples = SimulatedSamples(*file);
        for (size_t i = 0; i < samples.size(); ++i) std::cout << (i > 0 ? " " : "") << int{samples[i]};
        std::cout << '\n';
        return kOk;
    });
    command->add_option("FILE", *file, "Sound file")->required();
}

// compare and score differ only in where the samples come from.
void AddScoring(CLI::App& app, const char* name, const char* description, Samples (*read)(const std::string&),
                const std::string& what) {
    auto orig = std::make_shared<std::string>();
    auto rec = std::make_shared<std::string>();
    auto* command = AddCommand(app, name, description, [=] {
        const Samples origSamples = read(*orig);
        return PrintScore(origSamples, read(*rec));
    });
    command->add_option("ORIGINAL", *orig, "The original: " + what)->required();
    command->add_option("RECORDING", *rec, "The pupil's recording: " + what)->required();
}

}  // namespace

void AddRecordCommands(CLI::App& app) {
    AddRecord(app);
    AddSamples(app);
    AddScoring(app, "compare", "Score a recording against the original, both sound files", SimulatedSamples,
               "a sound file");
    AddScoring(app, "score", "Score two files of loudness samples as the player does", ReadSamples,
               "loudness samples, integers 0-255 separated by white space");
}

}  // namespace ovtool
