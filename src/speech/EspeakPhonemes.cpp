#include "speech/EspeakPhonemes.h"

#include <espeak-ng/speak_lib.h>

#include <mutex>

namespace ov {
namespace {

constexpr int kIpaPhonemes = 0x02;

std::mutex& EspeakLock() {
    static std::mutex lock;
    return lock;
}

bool StartEspeak() {
    static const bool started = [] {
        if (espeak_Initialize(AUDIO_OUTPUT_SYNCHRONOUS, 0, nullptr, espeakINITIALIZE_DONT_EXIT) < 0) return false;
        return espeak_SetVoiceByName("en-us") == EE_OK;
    }();
    return started;
}

}  // namespace

std::string EspeakIpa(const std::string& word) {
    std::lock_guard<std::mutex> guard(EspeakLock());
    if (!StartEspeak()) return {};
    std::string ipa;
    const void* text = word.c_str();
    // It stops at each clause; a word has one, but a stray comma would start another.
    while (text) {
        const char* phonemes = espeak_TextToPhonemes(&text, espeakCHARS_UTF8, kIpaPhonemes);
        if (!phonemes) break;
        ipa += phonemes;
    }
    return ipa;
}

}  // namespace ov
