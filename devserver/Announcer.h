#pragma once
// UDP announcements of the server, as the server finder listens for them: one datagram at once
// and one per interval, to an IPv4 destination (loopback by default; a broadcast address works
// too). Each is the ASCII text "TAVIRA_VOD|PORT=" + the HTTP port; the finder only looks at the
// sender's address, so the datagrams leave from the server's own listening address.
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <string>
#include <thread>

namespace lodgeview::devserver {

struct AnnounceTarget {
    std::string host = "127.0.0.1";
    int port = 0;
    std::chrono::milliseconds interval{1000};
};

// "[host:]port"; throws std::invalid_argument.
AnnounceTarget ParseAnnounceTarget(const std::string& text);

class Announcer {
public:
    // sourceHost: the server's listening address ("0.0.0.0" or a name: the system chooses).
    Announcer(std::string sourceHost, int httpPort) : sourceHost_(std::move(sourceHost)), httpPort_(httpPort) {}
    ~Announcer() { Stop(); }
    Announcer(const Announcer&) = delete;
    Announcer& operator=(const Announcer&) = delete;

    // Replaces running announcements. Throws std::runtime_error when the socket cannot be set up
    // and std::invalid_argument for a destination that is no IPv4 address or port.
    void Start(const AnnounceTarget& target);
    void Stop();

    static std::string Datagram(int httpPort) { return "TAVIRA_VOD|PORT=" + std::to_string(httpPort); }

private:
    void StopThread();
    void Run(int socket, AnnounceTarget target);

    std::string sourceHost_;
    int httpPort_;
    std::mutex controlMutex_; // one Start or Stop at a time
    std::mutex mutex_;
    std::condition_variable wake_;
    bool stopping_ = false;
    std::thread thread_;
};

} // namespace lodgeview::devserver
