#pragma once
// Test fixture: the substitute VOD server in-process on a free loopback port, with the sample
// clips the build generated (the test target defines LODGEVIEW_DEVSERVER_MEDIA); stopped when
// destroyed.
#include "devserver/VodServer.h"

#include <string>

namespace lodgeview::test {

class SampleVodServer {
public:
    SampleVodServer() : server_(Options()) { server_.Start(); }
    ~SampleVodServer() { server_.Stop(); }
    SampleVodServer(const SampleVodServer&) = delete;
    SampleVodServer& operator=(const SampleVodServer&) = delete;

    devserver::VodServer& server() { return server_; }
    std::string portSuffix() const { return ":" + std::to_string(server_.Port()); }
    // "http://127.0.0.1:<port>" + path
    std::string Url(const std::string& path) const { return "http://127.0.0.1" + portSuffix() + path; }

private:
    static devserver::ServerOptions Options()
    {
        devserver::ServerOptions options;
        options.port = 0;
        options.mediaFolder = LODGEVIEW_DEVSERVER_MEDIA;
        return options;
    }

    devserver::VodServer server_;
};

} // namespace lodgeview::test
