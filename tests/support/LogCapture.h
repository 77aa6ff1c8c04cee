#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "core/Log.h"

namespace ovtest {

// Collects the log lines written while it lives, as "level area: text" with
// the level's number, instead of sending them to the log file.
class LogCapture {
public:
    LogCapture() {
        previous_ = ov::SetLogSink([this](ov::LogLevel level, std::string_view area, std::string_view text) {
            lines.push_back(std::to_string(static_cast<int>(level)) + " " + std::string(area) + ": " +
                            std::string(text));
        });
    }
    ~LogCapture() { ov::SetLogSink(std::move(previous_)); }
    LogCapture(const LogCapture&) = delete;
    LogCapture& operator=(const LogCapture&) = delete;

    // Whether a line of `level` from `area` contains `part`.
    bool Has(ov::LogLevel level, std::string_view area, std::string_view part) const {
        const std::string lead = std::to_string(static_cast<int>(level)) + " " + std::string(area) + ": ";
        for (const auto& line : lines)
            if (line.starts_with(lead) && line.find(part) != std::string::npos) return true;
        return false;
    }

    std::vector<std::string> lines;

private:
    ov::LogSink previous_;
};

}  // namespace ovtest
