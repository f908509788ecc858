#pragma once
// Test fixture: a real HTTP server on 127.0.0.1 and a free port, serving from its own thread
// until destroyed.
#include <httplib.h>

#include <chrono>
#include <stdexcept>
#include <string>
#include <thread>

namespace lodgeview::test {

class LoopbackHttpServer {
public:
    LoopbackHttpServer()
    {
        port_ = server_.bind_to_any_port("127.0.0.1");
        if (port_ <= 0)
            throw std::runtime_error("cannot bind a loopback port");
        thread_ = std::thread([this] { server_.listen_after_bind(); });
        while (!server_.is_running())
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    ~LoopbackHttpServer()
    {
        server_.stop();
        thread_.join();
    }
    LoopbackHttpServer(const LoopbackHttpServer&) = delete;
    LoopbackHttpServer& operator=(const LoopbackHttpServer&) = delete;

    httplib::Server& server() { return server_; }
    int port() const { return port_; }
    std::string portSuffix() const { return ":" + std::to_string(port_); }

private:
    httplib::Server server_;
    int port_ = 0;
    std::thread thread_;
};

} // namespace lodgeview::test
