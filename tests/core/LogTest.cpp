#include "core/Log.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "support/TestFiles.h"

namespace {

namespace fs = std::filesystem;

// The default sink reads the environment on each line, and opens its file once
// per process: one test covers the file, the filter and the rotation.
TEST(Log, DefaultSinkWritesWarningsSkipsDebugAndRotates) {
    ovtest::TempDir dir;
    setenv("XDG_STATE_HOME", dir.path().c_str(), 1);
    unsetenv("OV_LOG");
    ov::SetLogSink({});
    ov::Log(ov::LogLevel::Debug, "audio", "not wanted");
    ov::Log(ov::LogLevel::Warning, "audio", "no output device, using the null driver");
    const fs::path file = dir.path() / "ovplayer" / "ovplayer.log";
    const std::string text = ovtest::ReadFile(file);
    EXPECT_EQ(text.find("not wanted"), std::string::npos);
    EXPECT_NE(text.find("warning audio: no output device, using the null driver\n"), std::string::npos);

    const std::string filler(1000, 'x');
    for (int i = 0; i < 300; ++i)
        ov::Log(ov::LogLevel::Error, "store", filler);
    EXPECT_TRUE(fs::exists(fs::path(file).concat(".1")));
    EXPECT_LT(fs::file_size(file), 256u * 1024u);
}

TEST(Log, InstalledSinkReceivesEveryLevel) {
    std::string seen;
    ov::LogSink previous = ov::SetLogSink([&](ov::LogLevel level, std::string_view area, std::string_view text) {
        seen += std::to_string(static_cast<int>(level)) + std::string(area) + std::string(text) + ";";
    });
    ov::Log(ov::LogLevel::Debug, "a", "one");
    ov::Log(ov::LogLevel::Error, "b", "two");
    ov::SetLogSink(previous);
    EXPECT_EQ(seen, "0aone;3btwo;");
}

}  // namespace
