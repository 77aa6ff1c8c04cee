#include "audio/ModuleSource.h"

namespace ov {

std::unique_ptr<ModuleSource> ModuleSource::FromBytes(const std::vector<char>& bytes) {
    if (bytes.empty()) return nullptr;
    openmpt_module* module = openmpt_module_create_from_memory2(
        bytes.data(), bytes.size(), openmpt_log_func_silent, nullptr, openmpt_error_func_ignore, nullptr,
        nullptr, nullptr, nullptr);
    if (module == nullptr) return nullptr;
    return std::unique_ptr<ModuleSource>(new ModuleSource(module));
}

ModuleSource::~ModuleSource() { openmpt_module_destroy(module_); }

long ModuleSource::Read(float* frames, long count) {
    return static_cast<long>(
        openmpt_module_read_interleaved_float_stereo(module_, kOutputRate, static_cast<size_t>(count), frames));
}

bool ModuleSource::Seek(std::int64_t frame) {
    openmpt_module_set_position_seconds(module_, static_cast<double>(frame) / kOutputRate);
    return true;
}

std::int64_t ModuleSource::LengthFrames() const {
    return static_cast<std::int64_t>(openmpt_module_get_duration_seconds(module_) * kOutputRate);
}

}  // namespace ov
