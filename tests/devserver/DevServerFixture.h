#pragma once
// Test fixture: the substitute VOD server in-process on a free loopback port, with the sample
// media the build generated, and the clients the terminals use to talk to it.
#include "devserver/VodServer.h"
#include "player/service/ServiceExchange.h"

#include <httplib.h>

#include <gtest/gtest.h>

#include <memory>
#include <string>

namespace lodgeview::devserver::test {

inline const std::string kMedia = LODGEVIEW_DEVSERVER_MEDIA;
inline const std::string kMac = "52:54:00:12:34:5F";

// The identity fields and ID_MOVIE, as IF-SCS-23 and IF-SCS-14 send them.
inline std::string TerminalRecord(const std::string& movieId, const std::string& mac = kMac)
{
    return PlayRecord({{"TP_VIEW", "20"}, {"NO_ROOM", "100"}, {"ID_MAC", mac}, {"NO_HDD_SERIAL", "0A1B2C3D"},
                       {"ID_EQUIP", "1"}, {"ID_MOVIE", movieId}});
}

class DevServerTest : public ::testing::Test {
protected:
    void SetUp() override { Start(ServerOptions{}); }

    void Start(ServerOptions options)
    {
        options.port = 0;
        if (options.mediaFolder.empty())
            options.mediaFolder = kMedia;
        server_.reset();
        server_ = std::make_unique<VodServer>(options);
        server_->Start();
    }

    std::string PortSuffix() const { return ":" + std::to_string(server_->Port()); }
    std::string Base() const { return "http://127.0.0.1" + PortSuffix(); }
    ServiceClient Client() { return ServiceClient({"127.0.0.1", PortSuffix()}, http_); }
    // A raw GET that keeps status, headers and binary bodies.
    httplib::Result Get(const std::string& target)
    {
        httplib::Client client("127.0.0.1", server_->Port());
        return client.Get(target.c_str());
    }
    // A control request; the body of its answer.
    std::string Control(const std::string& what) { return HttpGet(Base() + "/_control/" + what); }

    CurlHttpClient http_;
    std::unique_ptr<VodServer> server_;
};

} // namespace lodgeview::devserver::test
