#include "speech/ProcessJudge.h"

#include "speech/ReadingJudge.h"
#include "speech/SpeechDecoder.h"

#include <memory>
#include <mutex>

namespace ov {

ReadingJudge& ProcessJudge() {
    static std::mutex lock;
    static std::unique_ptr<SpeechDecoder> decoder;
    static std::unique_ptr<ReadingJudge> judge;
    std::lock_guard<std::mutex> guard(lock);
    if (!judge) {
        decoder = std::make_unique<SpeechDecoder>();
        judge = std::make_unique<ReadingJudge>(*decoder);
    }
    return *judge;
}

}  // namespace ov
