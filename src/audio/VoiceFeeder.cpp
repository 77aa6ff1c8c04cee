#include "audio/VoiceFeeder.h"

#include <chrono>

namespace ov {
namespace {

constexpr long kReadFrames = 1024;
// Room a read may need: 1024 frames slowed to 0.5 plus what the tempo
// stage holds back at the end.
constexpr std::size_t kFreeBlocksToRead = 20;
constexpr auto kRefillPeriod = std::chrono::milliseconds(5);

}  // namespace

VoiceFeeder::VoiceFeeder(std::shared_ptr<Voice> voice, Opener opener, std::int64_t knownLength)
    : voice_(std::move(voice)), opener_(std::move(opener)), raw_(2 * kReadFrames), length_(knownLength) {
    thread_ = std::thread([this] { Run(); });
}

VoiceFeeder::~VoiceFeeder() {
    {
        std::lock_guard lock(mutex_);
        stop_ = true;
        wake_.notify_all();
    }
    thread_.join();
}

bool VoiceFeeder::WaitOpened(int timeoutMs) {
    std::unique_lock lock(mutex_);
    wake_.wait_for(lock, std::chrono::milliseconds(timeoutMs), [this] { return phase_ != Phase::Opening; });
    return phase_ == Phase::Running || phase_ == Phase::Finished;
}

void VoiceFeeder::Seek(std::int64_t frame, std::uint32_t epoch) {
    std::lock_guard lock(mutex_);
    seekFrame_ = frame;
    seekEpoch_ = epoch;
    wake_.notify_all();
}

void VoiceFeeder::SetTempo(double tempo) {
    std::lock_guard lock(mutex_);
    requestedTempo_ = tempo;
    wake_.notify_all();
}

void VoiceFeeder::SetLoop(bool loop) {
    std::lock_guard lock(mutex_);
    loop_ = loop;
    if (loop && phase_ == Phase::Finished && seekFrame_ < 0) {
        seekFrame_ = 0;
        seekEpoch_ = epoch_;
    }
    wake_.notify_all();
}

void VoiceFeeder::Wake() { wake_.notify_all(); }

bool VoiceFeeder::OpenSource() {
    source_ = opener_();
    std::lock_guard lock(mutex_);
    phase_ = source_ != nullptr ? Phase::Running : Phase::Failed;
    if (source_ != nullptr) length_.store(source_->LengthFrames(), std::memory_order_release);
    return source_ != nullptr;
}

void VoiceFeeder::ApplyRequests(std::unique_lock<std::mutex>& lock) {
    if (requestedTempo_ != tempo_.Tempo()) tempo_.SetTempo(requestedTempo_);
    if (seekFrame_ < 0) return;
    std::int64_t frame = seekFrame_;
    epoch_ = seekEpoch_;
    seekFrame_ = -1;
    lock.unlock();
    source_->Seek(frame);
    tempo_.Clear();
    flushing_ = false;
    sourcePosition_ = static_cast<double>(frame);
    voice_->feederEpoch.store(epoch_, std::memory_order_release);
    voice_->NoteProgress();
    lock.lock();
    phase_ = Phase::Running;
}

void VoiceFeeder::Run() {
    if (!OpenSource()) {
        voice_->doneEpoch.store(voice_->epoch.load(), std::memory_order_release);
        voice_->NoteProgress();
        wake_.notify_all();
        return;
    }
    wake_.notify_all();
    std::unique_lock lock(mutex_);
    while (!stop_) {
        ApplyRequests(lock);
        // A finished channel sleeps until a seek, a loop or the end wakes it;
        // a full ring is only polled, as the mixer empties it without telling.
        if (phase_ != Phase::Running) {
            wake_.wait(lock);
            continue;
        }
        if (voice_->blocks.Capacity() - voice_->blocks.Count() < kFreeBlocksToRead) {
            wake_.wait_for(lock, kRefillPeriod);
            continue;
        }
        lock.unlock();
        Produce();
        lock.lock();
    }
}

void VoiceFeeder::EmitBlock(AudioBlock& block, long frames, float step) {
    block.frames = static_cast<std::uint32_t>(frames);
    block.sourceStart = static_cast<std::int64_t>(sourcePosition_);
    block.sourceStep = step;
    block.epoch = epoch_;
    sourcePosition_ += frames * static_cast<double>(step);
    voice_->blocks.Push();
}

bool VoiceFeeder::DrainTempo() {
    while (AudioBlock* block = voice_->blocks.BackSlot()) {
        long got = tempo_.Take(block->samples, kBlockFrames);
        if (got == 0) return true;
        EmitBlock(*block, got, static_cast<float>(tempo_.Tempo()));
    }
    return false;
}

void VoiceFeeder::ReachEnd() {
    {
        std::lock_guard lock(mutex_);
        if (loop_ && source_->Seek(0)) {
            sourcePosition_ = 0;
            return;
        }
    }
    // What the tempo stage holds back comes out over the next rounds, as
    // the ring makes room for it.
    if (tempo_.Active() && !flushing_) {
        tempo_.Flush();
        flushing_ = true;
    }
    if (flushing_ && !DrainTempo()) return;
    flushing_ = false;
    {
        std::lock_guard lock(mutex_);
        if (seekFrame_ < 0) phase_ = Phase::Finished;
    }
    voice_->doneEpoch.store(epoch_, std::memory_order_release);
}

void VoiceFeeder::Produce() {
    if (flushing_) {
        ReachEnd();
    } else if (tempo_.Active()) {
        long got = source_->Read(raw_.data(), kReadFrames);
        if (got > 0) {
            tempo_.Put(raw_.data(), got);
            DrainTempo();
        } else {
            ReachEnd();
        }
    } else {
        AudioBlock* block = voice_->blocks.BackSlot();
        long got = source_->Read(block->samples, kBlockFrames);
        if (got > 0) EmitBlock(*block, got, 1.0f);
        if (got < kBlockFrames) ReachEnd();
    }
    voice_->NoteProgress();
}

}  // namespace ov
