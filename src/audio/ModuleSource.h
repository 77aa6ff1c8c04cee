#pragma once

#include "audio/SoundSource.h"

#include <libopenmpt/libopenmpt.h>

#include <vector>

namespace ov {

// Tracker music rendered by libopenmpt straight at the output rate.
class ModuleSource final : public SoundSource {
public:
    // Null when the bytes are no module libopenmpt knows.
    static std::unique_ptr<ModuleSource> FromBytes(const std::vector<char>& bytes);
    ~ModuleSource() override;

    long Read(float* frames, long count) override;
    bool Seek(std::int64_t frame) override;
    std::int64_t LengthFrames() const override;

private:
    explicit ModuleSource(openmpt_module* module) : module_(module) {}
    openmpt_module* module_;
};

}  // namespace ov
