#include "devserver/Announcer.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <stdexcept>

namespace lodgeview::devserver {
namespace {

sockaddr_in Ipv4(const std::string& host, int port)
{
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(static_cast<std::uint16_t>(port));
    if (inet_pton(AF_INET, host.c_str(), &address.sin_addr) != 1)
        throw std::invalid_argument("not an IPv4 address: " + host);
    return address;
}

} // namespace

AnnounceTarget ParseAnnounceTarget(const std::string& text)
{
    AnnounceTarget target;
    const std::size_t colon = text.rfind(':');
    const std::string port = colon == std::string::npos ? text : text.substr(colon + 1);
    if (colon != std::string::npos)
        target.host = text.substr(0, colon);
    const bool digits = !port.empty() && port.size() <= 5 && port.find_first_not_of("0123456789") == std::string::npos;
    target.port = digits ? std::stoi(port) : 0;
    if (target.port < 1 || target.port > 65535)
        throw std::invalid_argument("announcement port must be 1 to 65535: \"" + text + "\"");
    Ipv4(target.host, target.port);
    return target;
}

void Announcer::Start(const AnnounceTarget& target)
{
    std::lock_guard<std::mutex> control(controlMutex_);
    Ipv4(target.host, target.port); // refuses a bad destination before the running ones stop
    if (target.interval < std::chrono::milliseconds(10))
        throw std::invalid_argument("announcement interval must be at least 10 ms");
    StopThread();
    const int s = ::socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0);
    if (s < 0)
        throw std::runtime_error(std::string("cannot open a UDP socket: ") + std::strerror(errno));
    const int on = 1;
    ::setsockopt(s, SOL_SOCKET, SO_BROADCAST, &on, sizeof on);
    sockaddr_in source{};
    source.sin_family = AF_INET;
    if (inet_pton(AF_INET, sourceHost_.c_str(), &source.sin_addr) == 1 &&
        ::bind(s, reinterpret_cast<const sockaddr*>(&source), sizeof source) != 0) {
        const int error = errno;
        ::close(s);
        throw std::runtime_error("cannot send announcements from " + sourceHost_ + ": " + std::strerror(error));
    }
    std::lock_guard<std::mutex> lock(mutex_);
    stopping_ = false;
    thread_ = std::thread(&Announcer::Run, this, s, target);
}

void Announcer::Stop()
{
    std::lock_guard<std::mutex> control(controlMutex_);
    StopThread();
}

void Announcer::StopThread()
{
    {
        std::lock_guard<std::mutex> lock(mutex_);
        stopping_ = true;
    }
    wake_.notify_all();
    if (thread_.joinable())
        thread_.join();
}

void Announcer::Run(int socket, AnnounceTarget target)
{
    const sockaddr_in destination = Ipv4(target.host, target.port);
    const std::string datagram = Datagram(httpPort_);
    std::unique_lock<std::mutex> lock(mutex_);
    while (!stopping_) {
        // A lost datagram is not an error: the next one follows after the interval.
        ::sendto(socket, datagram.data(), datagram.size(), 0, reinterpret_cast<const sockaddr*>(&destination),
                 sizeof destination);
        wake_.wait_for(lock, target.interval, [this] { return stopping_; });
    }
    ::close(socket);
}

} // namespace lodgeview::devserver
