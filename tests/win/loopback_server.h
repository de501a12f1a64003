#pragma once
// A small HTTP server on 127.0.0.1 for the Windows tests: a free port, one scripted answer
// per connection, the requests kept as they arrived. It lives only as long as the test
// that made it, serves a bounded number of connections and never runs longer than 60 s.
#include <winsock2.h>
#include <ws2tcpip.h>

#include <atomic>
#include <chrono>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace vp::test {

class LoopbackServer {
  public:
    enum class Mode {
        Respond, // the status line, the headers and the body
        Silent,  // accepts and reads, then never answers
        Endless, // headers, then body bytes without end
        Trickle, // the reply, one byte every trickleMs
    };
    struct Reply {
        int status = 200;
        std::string body;
        std::string headers; // more header lines, each ended by CR LF
        unsigned trickleMs = 400;
        bool trickleBodyOnly = false; // the status line and headers at once
    };

    explicit LoopbackServer(Mode mode) : LoopbackServer(mode, Reply{}, 4) {}
    LoopbackServer(Mode mode, Reply reply, int maxConnections = 4)
        : mode_(mode), reply_(std::move(reply)), maxConnections_(maxConnections) {
        static const bool started = [] {
            WSADATA data;
            return WSAStartup(MAKEWORD(2, 2), &data) == 0;
        }();
        (void)started;
        listener_ = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
        sockaddr_in addr{};
        addr.sin_family = AF_INET;
        addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        addr.sin_port = 0;
        bind(listener_, reinterpret_cast<sockaddr*>(&addr), sizeof(addr));
        int len = sizeof(addr);
        getsockname(listener_, reinterpret_cast<sockaddr*>(&addr), &len);
        port_ = ntohs(addr.sin_port);
        listen(listener_, 4);
        thread_ = std::thread([this] { Run(); });
    }
    ~LoopbackServer() {
        stop_ = true;
        thread_.join();
        closesocket(listener_);
    }
    LoopbackServer(const LoopbackServer&) = delete;
    LoopbackServer& operator=(const LoopbackServer&) = delete;

    int Port() const { return port_; }
    std::u16string Url(const std::string& path = "/news/updater.bin") const {
        const std::string url = "http://127.0.0.1:" + std::to_string(port_) + path;
        return std::u16string(url.begin(), url.end());
    }
    std::vector<std::string> Requests() {
        std::lock_guard<std::mutex> lock(mutex_);
        return requests_;
    }
    size_t BytesSent() const { return sent_; }

    // A port on which nothing listens: bound once, then let go.
    static int UnusedPort() {
        LoopbackServer probe(Mode::Respond, Reply{}, 0);
        return probe.Port();
    }

  private:
    using Clock = std::chrono::steady_clock;

    bool Expired() const { return stop_ || Clock::now() - born_ > std::chrono::seconds(60); }

    // Waits up to 50 ms for the socket to become readable.
    static bool Readable(SOCKET s) {
        fd_set set;
        FD_ZERO(&set);
        FD_SET(s, &set);
        timeval tv{0, 50000};
        return select(0, &set, nullptr, nullptr, &tv) > 0;
    }

    void Run() {
        for (int served = 0; served < maxConnections_ && !Expired();) {
            if (!Readable(listener_))
                continue;
            SOCKET client = accept(listener_, nullptr, nullptr);
            if (client == INVALID_SOCKET)
                continue;
            ++served;
            Serve(client);
            closesocket(client);
        }
    }

    void Serve(SOCKET client) {
        // A client that stops reading cannot hold the server.
        const DWORD sendTimeout = 2000;
        setsockopt(client, SOL_SOCKET, SO_SNDTIMEO, reinterpret_cast<const char*>(&sendTimeout),
                   sizeof(sendTimeout));
        std::string request;
        char buffer[4096];
        size_t index = 0;
        {
            std::lock_guard<std::mutex> lock(mutex_);
            index = requests_.size();
            requests_.emplace_back();
        }
        // Kept as it arrives, so that a test sees what came of a request never ended.
        while (request.find("\r\n\r\n") == std::string::npos && !Expired()) {
            if (!Readable(client))
                continue;
            const int n = recv(client, buffer, sizeof(buffer), 0);
            if (n <= 0)
                break;
            request.append(buffer, static_cast<size_t>(n));
            std::lock_guard<std::mutex> lock(mutex_);
            requests_[index] = request;
        }
        switch (mode_) {
        case Mode::Respond:
            SendAll(client, Response());
            break;
        case Mode::Trickle: {
            const std::string response = Response();
            size_t i = 0;
            if (reply_.trickleBodyOnly) {
                i = response.size() - reply_.body.size();
                if (!SendAll(client, response.substr(0, i)))
                    break;
            }
            for (; i < response.size() && !Expired(); ++i) {
                if (!SendAll(client, response.substr(i, 1)))
                    break;
                for (unsigned waited = 0; waited < reply_.trickleMs && !Expired(); waited += 10)
                    std::this_thread::sleep_for(std::chrono::milliseconds(10));
            }
            break;
        }
        case Mode::Silent:
            while (!Expired())
                std::this_thread::sleep_for(std::chrono::milliseconds(20));
            break;
        case Mode::Endless: {
            if (!SendAll(client, "HTTP/1.1 200 OK\r\nContent-Type: text/plain\r\n"
                                 "Connection: close\r\n\r\n"))
                break;
            const std::string chunk(65536, 'x');
            // Far more than any limit, yet bounded.
            while (!Expired() && sent_ < (64u << 20) && SendAll(client, chunk)) {
            }
            break;
        }
        }
        shutdown(client, SD_BOTH);
    }

    std::string Response() const {
        return "HTTP/1.1 " + std::to_string(reply_.status) +
               (reply_.status < 300 ? " OK" : " Not Found") +
               "\r\nContent-Type: text/plain\r\nContent-Length: " +
               std::to_string(reply_.body.size()) + "\r\n" + reply_.headers +
               "Connection: close\r\n\r\n" + reply_.body;
    }

    bool SendAll(SOCKET s, const std::string& data) {
        size_t at = 0;
        while (at < data.size()) {
            const int n = send(s, data.data() + at, static_cast<int>(data.size() - at), 0);
            if (n <= 0)
                return false;
            at += static_cast<size_t>(n);
            sent_ += static_cast<size_t>(n);
        }
        return true;
    }

    Mode mode_;
    Reply reply_;
    int maxConnections_;
    SOCKET listener_ = INVALID_SOCKET;
    int port_ = 0;
    std::thread thread_;
    std::atomic<bool> stop_{false};
    std::atomic<size_t> sent_{0};
    std::mutex mutex_;
    std::vector<std::string> requests_;
    const Clock::time_point born_ = Clock::now();
};

} // namespace vp::test
