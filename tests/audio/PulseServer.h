#pragma once

#include "support/TestFiles.h"

#include <sys/types.h>

#include <filesystem>
#include <string>
#include <vector>

namespace ovtest {

// A private PulseAudio server with a null sink "speakers", started and
// stopped by the test; clients reach it only through the environment this
// gives them, never the user's own server.
class PulseServer {
public:
    // `setup` adds lines to the server's start script, for more sinks and sources.
    explicit PulseServer(const std::string& setup = "");
    ~PulseServer();
    PulseServer(const PulseServer&) = delete;
    PulseServer& operator=(const PulseServer&) = delete;

    // False when no server can run here; tests then skip.
    bool Start();
    const std::string& Address() const { return address_; }
    // The variable assignments that lead a shell command's clients here.
    std::string ShellEnv() const;
    const std::filesystem::path& Folder() const { return dir_.path(); }

    // Runs a program with the server's environment, its output discarded.
    pid_t Spawn(const std::vector<std::string>& args);
    // Spawns and waits; the exit code, -1 when it did not exit normally.
    int Run(const std::vector<std::string>& args);
    // Keeps a stream open on a sink, so the server does not idle between sounds.
    void KeepBusy(const std::string& sink);

private:
    TempDir dir_;
    std::string address_;
    std::vector<std::string> env_;
    std::vector<pid_t> background_;
    bool started_ = false;
};

}  // namespace ovtest
