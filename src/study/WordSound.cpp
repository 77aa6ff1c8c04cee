#include "study/WordSound.h"

#include "study/WordMovie.h"

#include <QString>
#include <QWidget>

#include <filesystem>

namespace ov {
namespace {

constexpr int kPollMs = 10;

bool IsMovie(const std::string& path) { return std::filesystem::path(path).extension() == ".swf"; }

}  // namespace

WordSound::WordSound(QWidget* movieHost) : QObject(movieHost), movieHost_(movieHost) {
    poll_.setInterval(kPollMs);
    connect(&poll_, &QTimer::timeout, this, &WordSound::Poll);
}

WordSound::~WordSound() { Stop(); }

WordDrillHost::SoundStart WordSound::Play(const std::string& path) {
    Stop();
    std::error_code ec;
    if (!std::filesystem::exists(path, ec)) return WordDrillHost::SoundStart::kMissing;
    if (IsMovie(path)) {
        movie_ = std::make_unique<WordMovie>(QString::fromStdString(path), movieHost_);
        connect(movie_.get(), &WordMovie::Finished, this, &WordSound::MovieFinished);
        return WordDrillHost::SoundStart::kPlaying;
    }
    auto& library = SoundLibrary::Instance();
    channel_ = library.OpenFile(path);
    if (channel_ == 0) return WordDrillHost::SoundStart::kFailed;
    // A sound the mixer never started would never end.
    if (!library.Play(channel_)) {
        Stop();
        return WordDrillHost::SoundStart::kFailed;
    }
    poll_.start();
    return WordDrillHost::SoundStart::kPlaying;
}

void WordSound::Stop() {
    poll_.stop();
    if (channel_ != 0) SoundLibrary::Instance().Free(channel_);
    channel_ = 0;
    movie_.reset();
}

void WordSound::Poll() {
    if (!SoundLibrary::Instance().Ended(channel_)) return;
    Stop();
    emit Finished();
}

void WordSound::MovieFinished() {
    // Called from inside the movie's own signal: it goes once that is over.
    movie_.release()->deleteLater();
    emit Finished();
}

}  // namespace ov
