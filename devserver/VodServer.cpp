#include "devserver/VodServer.h"

#include "platform/AppPaths.h"

#include <httplib.h>

#include <algorithm>
#include <cstring>
#include <stdexcept>
#include <utility>

namespace lodgeview::devserver {
namespace {

// Streams hold a worker for as long as the player reads, and the player polls besides.
constexpr std::size_t kWorkers = 32;
// A paused player stops reading its stream; the connection survives a pause this long.
constexpr time_t kWriteTimeoutSeconds = 300;
constexpr std::size_t kChunk = 64 * 1024;
constexpr char kControlPrefix[] = "/_control/";

ServerOptions Resolved(ServerOptions options)
{
    if (options.mediaFolder.empty())
        options.mediaFolder = ExecutableFolder() + "devserver-media";
    if (options.adFolder.empty())
        options.adFolder = options.mediaFolder + "/adv";
    return options;
}

Catalogue LoadCatalogue(const ServerOptions& options)
{
    Catalogue catalogue =
        options.catalogueFile.empty() ? Catalogue::Default() : Catalogue::FromFile(options.catalogueFile);
    if (options.connectCount)
        catalogue.connectCount = *options.connectCount;
    return catalogue;
}

// The Host header, when it can safely stand in the addresses the replies hand out.
bool UsableHost(const std::string& host)
{
    return !host.empty() && host.size() <= 255 && std::all_of(host.begin(), host.end(), [](char c) {
        return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') ||
               (c != '\0' && std::strchr(".-:[]", c) != nullptr);
    });
}

void Send(httplib::Response& res, const WireReply& wire, const std::vector<Fault>& faults)
{
    // A success is left for httplib to settle: 206 when it answers a Range request.
    if (wire.status != 200)
        res.status = wire.status;
    const std::shared_ptr<const std::string> bytes = wire.bytes;
    const std::size_t begin = wire.offset;
    const std::size_t length = bytes->size() - begin;
    if (HasFault(faults, FaultKind::NoLength)) {
        // The end of the body is the end of the connection: once everything is written the
        // provider fails, which makes httplib close instead of waiting for the next request.
        res.set_header("Connection", "close");
        res.set_content_provider(wire.contentType, [bytes, begin, length](std::size_t at, httplib::DataSink& sink) {
            if (at >= length)
                return false;
            return sink.write(bytes->data() + begin + at, std::min(kChunk, length - at));
        });
    } else if (length == 0) {
        res.set_content("", wire.contentType);
    } else {
        const std::size_t limit = HasFault(faults, FaultKind::CutShort) ? length / 2 : length;
        res.set_content_provider(length, wire.contentType,
                                 [bytes, begin, limit](std::size_t at, std::size_t want, httplib::DataSink& sink) {
                                     // Past the limit the connection closes short of Content-Length.
                                     if (at >= limit)
                                         return false;
                                     const std::size_t n = std::min({want, limit - at, kChunk});
                                     return sink.write(bytes->data() + begin + at, n);
                                 });
    }
}

std::string FaultsJson(const std::vector<Fault>& faults)
{
    std::string json = "[";
    for (std::size_t i = 0; i < faults.size(); ++i)
        json += (i ? "," : "") + FaultJson(faults[i]);
    return json + "]";
}

} // namespace

VodServer::VodServer(ServerOptions options)
    : options_(Resolved(std::move(options))),
      catalogue_(LoadCatalogue(options_)),
      clips_(LoadClips(options_.mediaFolder, catalogue_.Clips())),
      serviceDesk_(catalogue_, clips_, orders_, tracker_),
      streamDesk_(clips_, tracker_),
      webDesk_(catalogue_, orders_),
      adDesk_(options_.adFolder),
      log_(options_.logFile)
{
}

VodServer::~VodServer() { Stop(); }

std::shared_ptr<httplib::Server> VodServer::MakeHttpServer()
{
    auto http = std::make_shared<httplib::Server>();
    http->new_task_queue = [] { return new httplib::ThreadPool(kWorkers); };
    http->set_write_timeout(kWriteTimeoutSeconds, 0);
    // Browsers keep idle connections open; a short keep-alive lets Stop() end without waiting
    // out the library's default of five seconds.
    http->set_keep_alive_timeout(1);

    http->Get("/_control/.*", [this](const httplib::Request& req, httplib::Response& res) { Control(req, res); });
    auto route = [this, &http](const char* pattern, Route handler) {
        http->Get(pattern, [this, handler](const httplib::Request& req, httplib::Response& res) {
            Serve(req, res, handler);
        });
    };
    auto service = [this](ServiceEndpoint endpoint) {
        return [this, endpoint](const httplib::Request& req) {
            ServiceCall call;
            call.endpoint = endpoint;
            call.command = req.get_param_value("CMD");
            if (req.has_param("PDU"))
                call.pdu = req.get_param_value("PDU");
            if (req.has_param("PARAM"))
                call.param = req.get_param_value("PARAM");
            call.baseUrl = BaseUrl(req);
            ServiceAnswer answer = serviceDesk_.Answer(call);
            return Handled{std::move(answer.reply), std::move(answer.record)};
        };
    };
    route(R"(/ZUVU_SCS/pcs\.do)", service(ServiceEndpoint::Pcs));
    route(R"(/ZUVU_SCS/scs\.do)", service(ServiceEndpoint::Scs));
    route(R"(/ZUVU_SCS/adv\.do)", [this](const httplib::Request& req) {
        return Handled{adDesk_.AdList(req.params, BaseUrl(req)), {}};
    });
    route(R"(/ZUVU_SCS/adv/.+)", [this](const httplib::Request& req) { return Handled{adDesk_.File(req.path), {}}; });
    route(R"(/ZUVU_MS/pc/movie\.do)", [this](const httplib::Request&) {
        return Handled{webDesk_.MenuPage(MenuLayout::Strip), {}};
    });
    route(R"(/ZUVU_MS/pc/new_movie\.do)", [this](const httplib::Request&) {
        return Handled{webDesk_.MenuPage(MenuLayout::Column), {}};
    });
    route(R"(/ZUVU_MS/redirect\.do)", [this](const httplib::Request& req) {
        return Handled{webDesk_.RedirectPage(req.params), {}};
    });
    route(R"(/ZUVU_MS/cartoon\.do)", [this](const httplib::Request& req) {
        return Handled{webDesk_.CartoonReply(req.params, BaseUrl(req)), {}};
    });
    route(R"(/ZUVU_MS/cartoon_view\.do)", [this](const httplib::Request&) { return Handled{webDesk_.CartoonPage(), {}}; });
    route(R"(/service/purchase/MVK_PURCHASE_INFO\.PHP)", [this](const httplib::Request& req) {
        return Handled{webDesk_.PurchasePage(req.params), {}};
    });
    route(R"(/service/purchase/MVK_PURCHASE_ORDER\.PHP)", [this](const httplib::Request& req) {
        return Handled{webDesk_.PlaceOrder(req.params), {}};
    });
    route(R"(/media/([^/]+))", [this](const httplib::Request& req) {
        return Handled{streamDesk_.Open(req.matches[1], req.params, PlayTracker::Clock::now()), {}};
    });
    // Anything else is logged too: a terminal asking for a wrong address is worth seeing.
    route(".*", [](const httplib::Request&) { return Handled{TextReply(404, "not found"), {}}; });
    return http;
}

void VodServer::Serve(const httplib::Request& req, httplib::Response& res, const Route& route)
{
    const std::string command = req.get_param_value("CMD");
    const std::vector<Fault> faults = faults_.Take(command, req.path);
    Handled handled;
    try {
        handled = route(req);
    } catch (const std::exception& e) {
        handled.reply = TextReply(500, std::string("server error: ") + e.what());
    }
    for (const Fault& fault : faults) {
        if (fault.kind == FaultKind::Delay)
            std::this_thread::sleep_for(fault.duration);
    }
    WireReply wire;
    try {
        wire = ToWire(std::move(handled.reply), faults);
    } catch (const std::exception& e) {
        wire = ToWire(TextReply(500, std::string("server error: ") + e.what()), {});
    }

    LogEntry entry;
    entry.remote = req.remote_addr;
    entry.path = req.path;
    entry.target = req.target;
    entry.command = command;
    entry.record = handled.record;
    entry.status = wire.status;
    for (const Fault& fault : faults)
        entry.faults.push_back(FaultName(fault.kind));
    log_.Add(std::move(entry));

    Send(res, wire, faults);
}

void VodServer::Control(const httplib::Request& req, httplib::Response& res)
{
    const std::string what = req.path.substr(std::strlen(kControlPrefix));
    auto json = [&res](int status, const std::string& body) {
        res.status = status;
        res.set_content(body + "\n", "application/json");
    };
    try {
        if (what == "log") {
            const long since = req.has_param("since") ? std::stol(req.get_param_value("since")) : 0;
            std::string lines;
            for (const LogEntry& entry : log_.Entries(since))
                lines += RequestLog::Json(entry) + "\n";
            res.set_content(lines, "application/x-ndjson");
        } else if (what == "log/clear") {
            log_.Clear();
            json(200, "{}");
        } else if (what == "fault") {
            const std::string name = req.get_param_value("name");
            if (name == "none") {
                ClearFaults();
            } else {
                std::map<std::string, std::string> settings;
                for (const auto& [key, value] : req.params) {
                    if (key != "name")
                        settings[key] = value;
                }
                SetFault(MakeFault(name, settings));
            }
            json(200, FaultsJson(faults_.Active()));
        } else if (what == "faults") {
            json(200, FaultsJson(faults_.Active()));
        } else if (what == "announce") {
            if (req.has_param("stop")) {
                StopAnnouncing();
            } else {
                const std::string host = req.has_param("host") ? req.get_param_value("host") : "127.0.0.1";
                AnnounceTarget target = ParseAnnounceTarget(host + ":" + req.get_param_value("port"));
                if (req.has_param("interval"))
                    target.interval = std::chrono::milliseconds(std::stol(req.get_param_value("interval")));
                Announce(target);
            }
            json(200, "{}");
        } else {
            json(404, "{\"error\":\"no such control\"}");
        }
    } catch (const std::exception& e) {
        json(400, "{\"error\":" + JsonString(e.what()) + "}");
    }
}

std::string VodServer::BaseUrl(const httplib::Request& req) const
{
    const std::string host = req.get_header_value("Host");
    return "http://" + (UsableHost(host) ? host : options_.host + ":" + std::to_string(port_));
}

void VodServer::Start()
{
    auto http = MakeHttpServer();
    const int port = options_.port == 0 ? http->bind_to_any_port(options_.host)
                                        : (http->bind_to_port(options_.host, options_.port) ? options_.port : -1);
    if (port <= 0)
        throw std::runtime_error("cannot listen on " + options_.host + " port " + std::to_string(options_.port));
    port_ = port;
    announcer_ = std::make_unique<Announcer>(options_.host, port_);
    {
        std::lock_guard<std::mutex> lock(mutex_);
        http_ = std::move(http);
        listening_ = true;
    }
    thread_ = std::thread(&VodServer::ServeLoop, this);
    for (const Fault& fault : options_.faults)
        SetFault(fault);
    if (options_.announce)
        Announce(*options_.announce);
}

void VodServer::ServeLoop()
{
    std::unique_lock<std::mutex> lock(mutex_);
    for (;;) {
        const std::shared_ptr<httplib::Server> http = http_;
        lock.unlock();
        http->listen_after_bind();
        lock.lock();
        listening_ = false;
        while (!stopping_ && std::chrono::steady_clock::now() < refuseUntil_)
            wake_.wait_until(lock, refuseUntil_);
        if (stopping_)
            return;
        // Listen again on the same port; the closed socket may hold it for a moment.
        std::shared_ptr<httplib::Server> next = MakeHttpServer();
        while (!next->bind_to_port(options_.host, port_)) {
            if (wake_.wait_for(lock, std::chrono::milliseconds(50), [this] { return stopping_; }))
                return;
        }
        http_ = std::move(next);
        listening_ = true;
    }
}

void VodServer::StopListening(std::unique_lock<std::mutex>& lock)
{
    if (!listening_)
        return;
    listening_ = false;
    const std::shared_ptr<httplib::Server> http = http_;
    // The serve loop needs the lock to begin listening, and httplib ignores a stop that comes
    // before its listening loop has begun.
    lock.unlock();
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    while (!http->is_running() && std::chrono::steady_clock::now() < deadline)
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    http->stop();
    lock.lock();
}

void VodServer::Stop()
{
    {
        std::unique_lock<std::mutex> lock(mutex_);
        stopping_ = true;
        StopListening(lock);
    }
    wake_.notify_all();
    if (thread_.joinable())
        thread_.join();
    if (announcer_)
        announcer_->Stop();
}

void VodServer::SetFault(const Fault& fault)
{
    if (fault.kind != FaultKind::Refuse) {
        faults_.Set(fault);
        return;
    }
    std::unique_lock<std::mutex> lock(mutex_);
    refuseUntil_ = std::chrono::steady_clock::now() + fault.duration;
    StopListening(lock);
}

void VodServer::Announce(const AnnounceTarget& target)
{
    if (!announcer_)
        throw std::logic_error("announcements need a started server");
    announcer_->Start(target);
}

void VodServer::StopAnnouncing()
{
    if (announcer_)
        announcer_->Stop();
}

} // namespace lodgeview::devserver
