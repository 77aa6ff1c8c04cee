#include "support/NginxServer.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <signal.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <chrono>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <thread>

#include "core/UniqueFd.h"

namespace ovtest {
namespace {

namespace fs = std::filesystem;

sockaddr_in Loopback(int port) {
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(static_cast<uint16_t>(port));
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    return address;
}

// A port the kernel hands out as free; nginx binds it a moment later.
int FreePort() {
    ov::UniqueFd probe(::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0));
    sockaddr_in address = Loopback(0);
    socklen_t length = sizeof address;
    if (::bind(probe.get(), reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
        ::getsockname(probe.get(), reinterpret_cast<sockaddr*>(&address), &length) != 0)
        throw std::runtime_error("no free loopback port");
    return ntohs(address.sin_port);
}

bool Accepts(int port) {
    ov::UniqueFd probe(::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0));
    const sockaddr_in address = Loopback(port);
    return ::connect(probe.get(), reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0;
}

}  // namespace

NginxServer::NginxServer(fs::path root)
    : folder_(fs::temp_directory_path(), "nginx-"), root_(std::move(root)), port_(FreePort()), tlsPort_(FreePort()) {
    const fs::path dir = folder_.Path();
    fs::create_directories(dir / "temp");
    const std::string makeCertificate = "openssl req -x509 -newkey ec -pkeyopt ec_paramgen_curve:prime256v1 -nodes "
                                        "-days 2 -subj /CN=127.0.0.1 -keyout '" + (dir / "key.pem").string() +
                                        "' -out '" + (dir / "cert.pem").string() + "' 2>/dev/null";
    if (std::system(makeCertificate.c_str()) != 0) throw std::runtime_error("openssl made no certificate");
    std::ofstream conf(dir / "nginx.conf");
    conf << "daemon off;\nmaster_process off;\nworker_processes 1;\n"
         << "pid " << (dir / "nginx.pid").string() << ";\n"
         << "error_log " << (dir / "error.log").string() << " warn;\n"
         << "events { worker_connections 512; }\n"
         << "http {\n"
         << "  types { application/json json; }\n  default_type application/octet-stream;\n"
         << "  log_format requests '$request_method $uri $status $body_bytes_sent \"$http_range\" "
            "\"$http_if_none_match\"';\n"
         << "  access_log " << (dir / "access.log").string() << " requests;\n"
         << "  client_body_temp_path " << (dir / "temp").string() << ";\n"
         << "  proxy_temp_path " << (dir / "temp").string() << ";\n"
         << "  fastcgi_temp_path " << (dir / "temp").string() << ";\n"
         << "  uwsgi_temp_path " << (dir / "temp").string() << ";\n"
         << "  scgi_temp_path " << (dir / "temp").string() << ";\n"
         << "  sendfile on;\n"
         << "  server {\n    listen 127.0.0.1:" << port_ << ";\n    root " << root_.string() << ";\n"
         << "    location /moved/ { return 302 ftp://127.0.0.1/; }\n  }\n"
         << "  server {\n    listen 127.0.0.1:" << tlsPort_ << " ssl;\n    root " << root_.string() << ";\n"
         << "    ssl_certificate " << (dir / "cert.pem").string() << ";\n"
         << "    ssl_certificate_key " << (dir / "key.pem").string() << ";\n  }\n}\n";
}

NginxServer::~NginxServer() { Stop(); }

void NginxServer::Start() {
    if (pid_ > 0) return;
    const fs::path dir = folder_.Path();
    const std::string prefix = dir.string() + "/";
    const std::string conf = (dir / "nginx.conf").string();
    const std::string errorLog = (dir / "error.log").string();
    pid_ = ::fork();
    if (pid_ == 0) {
        ::execl(kNginxProgram, "nginx", "-p", prefix.c_str(), "-c", conf.c_str(), "-e", errorLog.c_str(),
                static_cast<char*>(nullptr));
        ::_exit(127);
    }
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (!Accepts(port_)) {
        int status = 0;
        if (::waitpid(pid_, &status, WNOHANG) == pid_ || std::chrono::steady_clock::now() > deadline) {
            pid_ = 0;
            std::ifstream log(errorLog);
            std::ostringstream text;
            text << log.rdbuf();
            throw std::runtime_error("nginx did not start: " + text.str());
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
}

void NginxServer::Stop() {
    if (pid_ <= 0) return;
    ::kill(pid_, SIGKILL);
    ::waitpid(pid_, nullptr, 0);
    pid_ = 0;
}

std::string NginxServer::AccessLog() const {
    std::ifstream log(folder_.Path() / "access.log");
    std::ostringstream text;
    text << log.rdbuf();
    return text.str();
}

int NginxServer::Requests() const {
    const std::string log = AccessLog();
    return static_cast<int>(std::count(log.begin(), log.end(), '\n'));
}

}  // namespace ovtest
