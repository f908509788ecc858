#pragma once
// The substitute VOD server: the owner that builds the catalogue, the clips, the desks that
// answer each endpoint, the fault switches, the request log and the announcer, and serves them
// over HTTP (cpp-httplib) from a thread of its own. Every request but the control API's passes
// through one path: fault switches taken, the desk's reply, delay, wire encoding, log entry,
// sending.
#include "devserver/AdDesk.h"
#include "devserver/Announcer.h"
#include "devserver/Catalogue.h"
#include "devserver/Faults.h"
#include "devserver/Options.h"
#include "devserver/RequestLog.h"
#include "devserver/ServiceDesk.h"
#include "devserver/StreamDesk.h"
#include "devserver/Terminals.h"
#include "devserver/TsClip.h"
#include "devserver/WebDesk.h"

#include <chrono>
#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <thread>

namespace httplib {
class Server;
struct Request;
struct Response;
} // namespace httplib

namespace lodgeview::devserver {

class VodServer {
public:
    // Reads the catalogue and every clip it names. Throws CatalogueError, ClipError or
    // std::runtime_error (request log file) with a message for the user.
    explicit VodServer(ServerOptions options);
    ~VodServer();
    VodServer(const VodServer&) = delete;
    VodServer& operator=(const VodServer&) = delete;

    // Binds the port and serves until Stop; then switches on the options' faults and starts
    // their announcements. Throws std::runtime_error when the port cannot be bound.
    void Start();
    void Stop();

    int Port() const { return port_; }
    RequestLog& Log() { return log_; }

    // refuse closes the listening socket for its duration; the others go to the switches.
    void SetFault(const Fault& fault);
    void ClearFaults() { faults_.Clear(); }
    void Announce(const AnnounceTarget& target);
    void StopAnnouncing();

private:
    struct Handled {
        Reply reply;
        std::optional<std::string> record; // for the log: service commands only
    };
    using Route = std::function<Handled(const httplib::Request&)>;

    std::shared_ptr<httplib::Server> MakeHttpServer();
    void Serve(const httplib::Request& req, httplib::Response& res, const Route& route);
    void Control(const httplib::Request& req, httplib::Response& res);
    std::string BaseUrl(const httplib::Request& req) const;
    void ServeLoop();
    // Stops the current listener, if any; lets go of the lock while it waits for it.
    void StopListening(std::unique_lock<std::mutex>& lock);

    ServerOptions options_;
    Catalogue catalogue_;
    ClipShelf clips_;
    OrderBook orders_;
    PlayTracker tracker_;
    ServiceDesk serviceDesk_;
    StreamDesk streamDesk_;
    WebDesk webDesk_;
    AdDesk adDesk_;
    FaultSwitch faults_;
    RequestLog log_;
    std::unique_ptr<Announcer> announcer_;
    int port_ = 0;

    // The listener: one httplib server per listening period, replaced after a refusal.
    std::mutex mutex_;
    std::condition_variable wake_;
    std::shared_ptr<httplib::Server> http_;
    bool listening_ = false; // http_ is (about to be) listening
    bool stopping_ = false;
    std::chrono::steady_clock::time_point refuseUntil_;
    std::thread thread_;
};

} // namespace lodgeview::devserver
