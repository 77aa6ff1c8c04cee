// formats, duration, play, mci: the sound library from the command line.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <iomanip>
#include <iostream>
#include <sstream>
#include <unistd.h>

#include "ToolCommand.h"
#include "audio/AudioDevices.h"
#include "audio/AudioObject.h"
#include "audio/MediaCommand.h"
#include "audio/NetworkSource.h"
#include "LetTimePass.h"

namespace ovtool {
namespace {

constexpr int kTickMs = 10;

// The library plays on the device unless the command asks for the virtual
// clock, which runs as fast as the decoders and makes the output repeatable.
void ChooseOutput(bool virtualClock) {
    auto& library = ov::SoundLibrary::Instance();
    if (virtualClock) {
        library.UseVirtualClock();
    } else if (!library.UseDevice()) {
        throw CommandError{kFailed, "no audio output could be opened"};
    } else {
        std::cerr << "ovtool: audio driver " << ov::AudioDevices::Instance().DriverName() << '\n';
    }
}

void AddFormats(CLI::App& app) {
    AddCommand(app, "formats", "List the sound formats the player plays and the output format", [] {
        std::cout << "output\t44100 Hz, stereo, 16-bit\n"
                     "streams\tmp1 mp2 mp3 wav ogg (decoded by content: libsndfile, libmpg123)\n"
                     "trackers\tmod s3m it umx mo3 mtm xm (libopenmpt)\n"
                     "network\thttp:// ftp:// (fetched with libcurl)\n"
                     "filter\t"
                  << ov::TAudioObject().GetFilter() << '\n';
        return kOk;
    });
}

void AddDuration(CLI::App& app) {
    auto file = std::make_shared<std::string>();
    auto* command = AddCommand(app, "duration", "Print a sound file's duration in milliseconds", [=] {
        ov::SoundLibrary::Instance().UseVirtualClock();
        int ms = ov::TAudioEngine().GetFileDuration(*file);
        if (ms < 0) throw CommandError{kFailed, "not a sound file that can be played: " + *file};
        std::cout << ms << '\n';
        return kOk;
    });
    command->add_option("FILE", *file, "Sound file")->required();
}

struct PlayOptions {
    std::string file;
    int speed = 1000;
    int volume = 100;
    std::vector<std::string> bands;
    bool loop = false;
    bool virtualClock = false;
};

void ApplyBands(ov::TAudioEngine& engine, const std::vector<std::string>& bands) {
    for (const std::string& text : bands) {
        int hz = 0;
        float db = 0;
        char colon = 0;
        std::istringstream in(text);
        bool parsed = static_cast<bool>(in >> hz >> colon >> db) && colon == ':' && in.peek() == EOF;
        const auto& centres = ov::TAudioEngine::kBandCentres;
        auto band = std::find(centres.begin(), centres.end(), hz);
        if (!parsed || band == centres.end()) {
            throw CommandError{kBadArguments, "--eq takes HZ:DB with HZ one of 80 170 310 600 1000 3000 6000 "
                                              "10000 12000 14000, not " + text};
        }
        engine.SetBandGain(static_cast<int>(band - centres.begin()), db);
    }
}

std::string StateName(std::int32_t state) {
    switch (state) {
    case ov::TAudioEngine::kPlaying: return "playing";
    case ov::TAudioEngine::kPaused: return "paused";
    case ov::TAudioEngine::kFinished: return "finished";
    default: return "stopped";
    }
}

void PrintProgress(ov::TAudioEngine& engine, bool sameLine) {
    std::cout << (sameLine ? "\r" : "") << std::fixed << std::setprecision(2) << engine.GetPosition() / 1000.0
              << " s / " << engine.GetLength() / 1000.0 << " s  " << StateName(engine.GetState())
              << (sameLine ? "   " : "\n") << std::flush;
}

int PlayFile(const PlayOptions& o) {
    ChooseOutput(o.virtualClock);
    ov::TAudioEngine engine;
    ApplyBands(engine, o.bands);
    engine.SetTempo(o.speed);
    engine.SetLoop(o.loop);
    engine.SetVolume(o.volume);
    if (ov::IsNetworkName(o.file)) {
        if (!engine.PlayURL(o.file)) throw CommandError{kFailed, "the stream could not be opened: " + o.file};
        std::cerr << "ovtool: a network stream has no end; stop it with Ctrl-C\n";
    } else {
        engine.Play(o.file);
    }
    if (engine.GetState() != ov::TAudioEngine::kPlaying) {
        throw CommandError{kFailed, "not a sound file that can be played: " + o.file};
    }
    bool sameLine = isatty(STDOUT_FILENO) != 0;
    int sinceProgress = 0;
    auto started = std::chrono::steady_clock::now();
    int outputMs = 0;
    while (engine.GetState() == ov::TAudioEngine::kPlaying) {
        ov::LetTimePass(kTickMs);
        outputMs += kTickMs;
        engine.EngineTick();
        sinceProgress += kTickMs;
        if (sinceProgress >= (sameLine ? 100 : 500)) {
            PrintProgress(engine, sameLine);
            sinceProgress = 0;
        }
    }
    auto wall = std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - started);
    std::cout << (sameLine ? "\n" : "") << "finished after " << outputMs << " ms of output (" << wall.count()
              << " ms wall)\n";
    return kOk;
}

void AddPlay(CLI::App& app) {
    auto o = std::make_shared<PlayOptions>();
    auto* command = AddCommand(app, "play", "Play a sound file to its end, showing its progress", [=] {
        return PlayFile(*o);
    });
    command->add_option("FILE", o->file, "Sound file (any supported format, by content) or http:// ftp:// URL")
        ->required();
    command->add_option("--speed", o->speed, "Speed in thousandths of normal, pitch kept (default 1000)")
        ->check(CLI::Range(250, 4000));
    command->add_option("--volume", o->volume, "Output volume 0-100 (default 100)")->check(CLI::Range(0, 100));
    command->add_option("--eq", o->bands, "Equaliser gains HZ:DB, comma-separated; HZ is a band centre")
        ->delimiter(',');
    command->add_flag("--loop", o->loop, "Play over and over (stop with Ctrl-C)");
    command->add_flag("--virtual", o->virtualClock, "No device: render on the virtual clock as fast as possible");
}

void AddMci(CLI::App& app) {
    auto commands = std::make_shared<std::vector<std::string>>();
    auto virtualClock = std::make_shared<bool>(false);
    auto* command = AddCommand(app, "mci", "Run media command strings in order, printing code, reply and error text of each; exit 1 when one failed",
                               [=] {
        ChooseOutput(*virtualClock);
        ov::MediaCommand media;
        bool allOk = true;
        for (const std::string& text : *commands) {
            std::istringstream words(text);
            std::string verb;
            int ms = 0;
            if (words >> verb && verb == "wait" && words >> ms) {
                ov::LetTimePass(ms);
                continue;
            }
            std::string reply;
            int code = media.Send(text, &reply);
            allOk = allOk && code == 0;
            std::cout << code << '\t' << reply << '\t' << (code == 0 ? "" : ov::MediaCommand::ErrorText(code)) << '\n';
        }
        return allOk ? kOk : kFailed;
    });
    command->add_option("COMMAND", *commands, "Command strings, e.g. \"play ZOzadaZI\"; \"wait MS\" lets time pass")
        ->required();
    command->add_flag("--virtual", *virtualClock, "No device: waits advance the virtual clock");
}

}  // namespace

void AddAudioCommands(CLI::App& app) {
    AddFormats(app);
    AddDuration(app);
    AddPlay(app);
    AddMci(app);
}

}  // namespace ovtool
