#include "PulseServer.h"

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>

#include <chrono>
#include <cstdlib>
#include <thread>

namespace ovtest {

PulseServer::PulseServer(const std::string& setup) {
    std::filesystem::create_directories(dir_ / "run");
    std::filesystem::create_directories(dir_ / "home");
    const std::string socket = (dir_ / "run" / "native").string();
    address_ = "unix:" + socket;
    const char* path = std::getenv("PATH");
    env_ = {"XDG_RUNTIME_DIR=" + (dir_ / "run").string(), "HOME=" + (dir_ / "home").string(),
            "PULSE_SERVER=" + address_, "PATH=" + std::string(path != nullptr ? path : "/usr/bin:/bin")};
    WriteFile(dir_ / "ci.pa", "load-module module-native-protocol-unix auth-anonymous=1 socket=" + socket +
                                  "\nload-module module-null-sink sink_name=speakers\n"
                                  "set-default-sink speakers\n" +
                                  setup);
}

PulseServer::~PulseServer() {
    for (pid_t pid : background_) {
        kill(pid, SIGTERM);
        waitpid(pid, nullptr, 0);
    }
    if (started_) Run({"pulseaudio", "--kill"});
}

bool PulseServer::Start() {
    if (Run({"pulseaudio", "-D", "-n", "-F", (dir_ / "ci.pa").string(), "--exit-idle-time=-1", "--disallow-exit",
             "--log-target=stderr"}) != 0) {
        return false;
    }
    started_ = true;
    for (int i = 0; i < 50; ++i) {
        if (Run({"pactl", "info"}) == 0) return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
    return false;
}

std::string PulseServer::ShellEnv() const {
    std::string assignments;
    for (const auto& variable : env_) {
        auto equals = variable.find('=');
        assignments += variable.substr(0, equals + 1) + "'" + variable.substr(equals + 1) + "' ";
    }
    return assignments;
}

pid_t PulseServer::Spawn(const std::vector<std::string>& args) {
    std::vector<char*> argv;
    for (const auto& a : args) argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    std::vector<char*> envp;
    for (auto& e : env_) envp.push_back(e.data());
    envp.push_back(nullptr);
    posix_spawn_file_actions_t quiet;
    posix_spawn_file_actions_init(&quiet);
    posix_spawn_file_actions_addopen(&quiet, 1, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&quiet, 2, "/dev/null", O_WRONLY, 0);
    pid_t pid = -1;
    if (posix_spawnp(&pid, argv[0], &quiet, nullptr, argv.data(), envp.data()) != 0) pid = -1;
    posix_spawn_file_actions_destroy(&quiet);
    return pid;
}

int PulseServer::Run(const std::vector<std::string>& args) {
    const pid_t pid = Spawn(args);
    int status = 0;
    if (pid < 0 || waitpid(pid, &status, 0) != pid) return -1;
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

void PulseServer::KeepBusy(const std::string& sink) { background_.push_back(Spawn({"pacat", "-d", sink, "/dev/zero"})); }

}  // namespace ovtest
