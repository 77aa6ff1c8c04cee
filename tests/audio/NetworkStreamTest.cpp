#include "AudioFixtures.h"
#include "VirtualClock.h"
#include "audio/AudioObject.h"
#include "support/TestFiles.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <atomic>
#include <thread>

namespace {

using ov::TAudioEngine;
using ovtest::AudioFixtures;

// Serves one file to every request on 127.0.0.1, the way a plain web server does.
class LocalHttpServer {
public:
    explicit LocalHttpServer(std::string body) : body_(std::move(body)) {
        listener_ = socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        bind(listener_, reinterpret_cast<sockaddr*>(&address), sizeof address);
        listen(listener_, 4);
        socklen_t length = sizeof address;
        getsockname(listener_, reinterpret_cast<sockaddr*>(&address), &length);
        port_ = ntohs(address.sin_port);
        thread_ = std::thread([this] { Serve(); });
    }
    ~LocalHttpServer() {
        shutdown(listener_, SHUT_RDWR);
        close(listener_);
        thread_.join();
    }
    int Port() const { return port_; }

private:
    void Serve() {
        for (;;) {
            int client = accept(listener_, nullptr, nullptr);
            if (client < 0) return;
            char request[4096];
            if (read(client, request, sizeof request) > 0) {
                std::string reply = "HTTP/1.0 200 OK\r\nContent-Length: " + std::to_string(body_.size()) +
                                    "\r\nContent-Type: application/octet-stream\r\n\r\n" + body_;
                for (std::size_t sent = 0; sent < reply.size();) {
                    ssize_t n = write(client, reply.data() + sent, reply.size() - sent);
                    if (n <= 0) break;
                    sent += static_cast<std::size_t>(n);
                }
            }
            close(client);
        }
    }

    std::string body_;
    int listener_ = -1;
    int port_ = 0;
    std::thread thread_;
};

class NetworkStreamTest : public ovtest::VirtualClockTest {};

TEST_F(NetworkStreamTest, PlaysAsItArrivesAndHasNoEnd) {
    const auto& f = AudioFixtures::Get();
    for (const auto& file : {f.toneWav, f.mp3}) {
        SCOPED_TRACE(file.filename().string());
        LocalHttpServer server(ovtest::ReadFile(file));
        ov::TAudioObject audio;
        std::string url = "HTTP://127.0.0.1:" + std::to_string(server.Port()) + "/" + file.filename().string();
        audio.Play(url);
        ASSERT_EQ(audio.GetState(), TAudioEngine::kPlaying);
        auto out = Advance(2000);
        EXPECT_GT(ovtest::Rms(out, 44100, 44100), 5000);
        Advance(2000);
        audio.EngineTick();
        EXPECT_EQ(audio.GetState(), TAudioEngine::kPlaying) << "network streams have no end detection";
    }
}

TEST_F(NetworkStreamTest, AFailedStreamStillReportsPlayingAtPositionZero) {
    int port;
    {
        LocalHttpServer gone("");
        port = gone.Port();
    }
    ov::TAudioObject audio;
    EXPECT_FALSE(audio.PlayURL("http://127.0.0.1:" + std::to_string(port) + "/x.mp3"));
    EXPECT_EQ(audio.GetState(), TAudioEngine::kPlaying);
    EXPECT_EQ(audio.GetPosition(), 0);
}

}  // namespace
