#pragma once
// Test fixture: pages served on loopback from a table the test fills, for tests that drive the
// real browser engine. Unknown paths answer 404.
#include "LoopbackHttpServer.h"

#include <functional>
#include <map>
#include <mutex>
#include <string>

namespace lodgeview::test {

class PageServer {
public:
    PageServer()
    {
        // Chromium keeps idle connections open, and the server's stop would wait them out.
        server_.server().set_keep_alive_max_count(1);
        server_.server().Get(R"(/(.*))", [this](const httplib::Request& request, httplib::Response& response) {
            const std::lock_guard<std::mutex> lock(mutex_);
            const auto route = routes_.find(request.matches[1].str());
            if (route == routes_.end())
                response.status = 404;
            else
                route->second(response);
        });
    }

    void Serve(const std::string& path, const std::string& html)
    {
        Route(path, [html](httplib::Response& response) { response.set_content(html, "text/html; charset=utf-8"); });
    }
    void Redirect(const std::string& path, const std::string& target)
    {
        Route(path, [target](httplib::Response& response) { response.set_redirect(target); });
    }
    void Route(const std::string& path, std::function<void(httplib::Response&)> answer)
    {
        const std::lock_guard<std::mutex> lock(mutex_);
        routes_[path] = std::move(answer);
    }
    std::string Address(const std::string& path, const std::string& host = "127.0.0.1") const
    {
        return "http://" + host + server_.portSuffix() + "/" + path;
    }

private:
    LoopbackHttpServer server_;
    std::mutex mutex_;
    std::map<std::string, std::function<void(httplib::Response&)>> routes_;
};

} // namespace lodgeview::test
