#include "audio/Mixer.h"

#include <algorithm>
#include <cassert>
#include <cstring>
#if defined(__SSE__)
#include <xmmintrin.h>
#endif

namespace ov {
namespace {

// Filter tails decay into denormals, which cost a hundred times a normal
// multiply; flushing them keeps the callback's time flat.
void FlushDenormals() {
#if defined(__SSE__)
    _mm_setcsr(_mm_getcsr() | 0x8040);
#endif
}

}  // namespace

Mixer::Mixer() : mix_(2 * kMaxRenderFrames), scratch_(2 * kMaxRenderFrames) {}

Voice* Mixer::TakeRetired() {
    Voice** front = retired_.Front();
    if (front == nullptr) return nullptr;
    Voice* voice = *front;
    retired_.Pop();
    return voice;
}

int Mixer::Find(const Voice* voice) const {
    for (int i = 0; i < kMaxVoices; ++i) {
        if (voices_[i] == voice) return i;
    }
    return -1;
}

void Mixer::Apply(const MixerCommand& c) {
    switch (c.kind) {
    case MixerCommand::Kind::Add: {
        // The library counts voices before it adds one, and adds each once.
        assert(c.voice != nullptr && Find(c.voice) < 0);
        const int slot = Find(nullptr);
        assert(slot >= 0);
        if (slot >= 0) voices_[slot] = c.voice;
        break;
    }
    case MixerCommand::Kind::Remove: {
        const int slot = Find(c.voice);
        assert(slot >= 0);
        if (slot >= 0) voices_[slot] = nullptr;
        // The retired ring holds every voice there can be, so none is lost.
        [[maybe_unused]] const bool retired = retired_.TryPush(c.voice);
        assert(retired);
        break;
    }
    case MixerCommand::Kind::Play:
        c.voice->playing = true;
        c.voice->ended.store(false, std::memory_order_release);
        break;
    case MixerCommand::Kind::Pause:
        c.voice->playing = false;
        break;
    case MixerCommand::Kind::Gains:
        c.voice->gainLeft = c.left;
        c.voice->gainRight = c.right;
        break;
    case MixerCommand::Kind::Band:
        assert(c.band >= 0 && c.band < kEqBands);
        c.voice->equaliser[c.band].SetCoefficients(c.coefficients);
        break;
    case MixerCommand::Kind::Master:
        master_ = c.left;
        break;
    }
}

long Mixer::PullBlocks(Voice& voice, long frames) {
    std::uint32_t epoch = voice.epoch.load(std::memory_order_acquire);
    long done = 0;
    while (done < frames) {
        AudioBlock* block = voice.blocks.Front();
        if (block == nullptr) {
            if (voice.doneEpoch.load(std::memory_order_acquire) == epoch && voice.blocks.Front() == nullptr) {
                voice.playing = false;
                voice.ended.store(true, std::memory_order_release);
            }
            break;
        }
        if (block->epoch != epoch) epoch = voice.epoch.load(std::memory_order_acquire);
        if (block->epoch != epoch) {
            voice.blocks.Pop();
            voice.blockOffset = 0;
            continue;
        }
        assert(block->frames <= kBlockFrames && voice.blockOffset < block->frames);
        long take = std::min<long>(block->frames - voice.blockOffset, frames - done);
        std::memcpy(&scratch_[2 * done], &block->samples[2 * voice.blockOffset], sizeof(float) * 2 * take);
        done += take;
        voice.blockOffset += static_cast<std::uint32_t>(take);
        voice.position.store(block->sourceStart + static_cast<std::int64_t>(voice.blockOffset * block->sourceStep),
                             std::memory_order_release);
        if (voice.blockOffset == block->frames) {
            voice.blocks.Pop();
            voice.blockOffset = 0;
        }
    }
    return done;
}

void Mixer::DropStale(Voice& voice) {
    std::uint32_t epoch = voice.epoch.load(std::memory_order_acquire);
    while (AudioBlock* block = voice.blocks.Front()) {
        if (block->epoch == epoch) return;
        voice.blocks.Pop();
        voice.blockOffset = 0;
    }
}

void Mixer::MixVoice(Voice& voice, long frames) {
    long done = PullBlocks(voice, frames);
    if (voice.ended.load(std::memory_order_relaxed) && done == 0) return;
    // A stream waiting for data plays silence rather than stopping.
    std::fill(scratch_.begin() + 2 * done, scratch_.begin() + 2 * frames, 0.0f);
    for (auto& band : voice.equaliser) band.Process(scratch_.data(), frames);
    voice.wave.Write(scratch_.data(), voice.ended.load(std::memory_order_relaxed) ? done : frames);
    voice.framesPlayed.fetch_add(static_cast<std::uint64_t>(done), std::memory_order_release);
    for (long i = 0; i < frames; ++i) {
        mix_[2 * i] += scratch_[2 * i] * voice.gainLeft;
        mix_[2 * i + 1] += scratch_[2 * i + 1] * voice.gainRight;
    }
}

void Mixer::RenderChunk(std::int16_t* out, long frames) {
    std::fill(mix_.begin(), mix_.begin() + 2 * frames, 0.0f);
    for (Voice* voice : voices_) {
        if (voice != nullptr && voice->playing) MixVoice(*voice, frames);
    }
    for (long i = 0; i < 2 * frames; ++i) out[i] = ToSample16(mix_[i] * master_);
}

void Mixer::ApplyCommands() {
    while (MixerCommand* command = commands_.Front()) {
        Apply(*command);
        commands_.Pop();
    }
}

void Mixer::Render(std::int16_t* out, long frames) {
    assert(frames >= 0 && (frames == 0 || out != nullptr));
    FlushDenormals();
    ApplyCommands();
    for (long done = 0; done < frames;) {
        long chunk = std::min(frames - done, kMaxRenderFrames);
        RenderChunk(out + 2 * done, chunk);
        done += chunk;
    }
}

}  // namespace ov
