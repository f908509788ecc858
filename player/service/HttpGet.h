#pragma once
#include <chrono>
#include <string>

namespace lodgeview {

// Time limits of one GET. A VOD server on the building's LAN answers within milliseconds;
// the limits only keep a dead or hung server from freezing the caller, whose thread waits
// for the reply.
struct HttpTimeouts {
    std::chrono::milliseconds connect{3000};
    std::chrono::milliseconds total{10000};
};

// One GET of url as given (no re-encoding) with a client of its own: user agent
// "Mozilla/3.0 (compatible; Indy Library)", accept "text/html, */*", HTTP/1.1, no proxy,
// redirects not followed. Returns the body with leading and trailing blanks and control
// characters removed; "" on any failure (no connection, status other than 2xx, broken
// transfer, time-out). Safe to call from several threads at once.
std::string HttpGet(const std::string& url, const HttpTimeouts& timeouts = {});

// The HTTP seam of the logic that talks to the VOD server, so that it is tested headless.
class HttpClient {
public:
    virtual ~HttpClient() = default;
    virtual std::string Get(const std::string& url) = 0;
};

class CurlHttpClient final : public HttpClient {
public:
    explicit CurlHttpClient(HttpTimeouts timeouts = {}) : timeouts_(timeouts) {}
    std::string Get(const std::string& url) override { return HttpGet(url, timeouts_); }

private:
    HttpTimeouts timeouts_;
};

} // namespace lodgeview
