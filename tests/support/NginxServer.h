#pragma once

#include <sys/types.h>

#include <filesystem>
#include <string>

#include "core/TemporaryFolder.h"

namespace ovtest {

// Debian's nginx serving a folder on a free loopback port, as an ordinary
// user, with its configuration, logs and temporary files in a folder of its
// own. The access log has one line per request:
//   METHOD URI STATUS BYTES "RANGE" "IF-NONE-MATCH"
// /moved/... answers with a redirect to ftp://, a scheme no player follows.
// It also serves the folder over https, with a self-signed certificate that
// no system trusts.
class NginxServer {
public:
    explicit NginxServer(std::filesystem::path root);
    ~NginxServer();
    NginxServer(const NginxServer&) = delete;
    NginxServer& operator=(const NginxServer&) = delete;

    // Starts it (again, on the same port) and returns once it accepts
    // connections. Throws std::runtime_error when it does not come up.
    void Start();
    // Kills it at once, mid-transfer if need be, as a server pulled off the network.
    void Stop();
    bool Running() const { return pid_ > 0; }

    int Port() const { return port_; }
    std::string Url() const { return "http://127.0.0.1:" + std::to_string(port_); }
    std::string UntrustedHttpsUrl() const { return "https://127.0.0.1:" + std::to_string(tlsPort_); }
    std::string AccessLog() const;
    // Requests logged so far.
    int Requests() const;

private:
    ov::TemporaryFolder folder_;
    std::filesystem::path root_;
    int port_ = 0;
    int tlsPort_ = 0;
    pid_t pid_ = 0;
};

// Where Debian installs it; tests that need it skip when it is missing.
inline constexpr const char* kNginxProgram = "/usr/sbin/nginx";

}  // namespace ovtest
