#pragma once
// What the server remembers about the room terminals, each known by its network address text
// (ID_MAC, "" being a valid address of its own). Both classes are safe to use from the HTTP
// worker threads at once.
#include <chrono>
#include <map>
#include <mutex>
#include <optional>
#include <set>
#include <string>
#include <utility>

namespace lodgeview::devserver {

// Purchases made on the purchase page. An order lasts as long as the server runs; buying a
// title twice gives two order numbers.
class OrderBook {
public:
    // Records the purchase and returns its order number.
    std::string Place(const std::string& mac, const std::string& movieId);
    bool Has(const std::string& mac, const std::string& movieId) const;

private:
    mutable std::mutex mutex_;
    std::set<std::pair<std::string, std::string>> bought_;
    long lastOrder_ = 777000;
};

// How far each terminal's movie stream has got: its last start, at a fraction of the movie,
// advanced by the wall-clock time since then. The server streams faster than real time and
// cannot see a pause, so this is the position of a player that kept playing.
class PlayTracker {
public:
    using Clock = std::chrono::steady_clock;

    void Start(const std::string& mac, double fraction, double durationSeconds, Clock::time_point at);
    // Fraction 0..1 reached at `at`; nothing when the terminal has started no stream.
    std::optional<double> Position(const std::string& mac, Clock::time_point at) const;

private:
    struct Run {
        double fraction;
        double durationSeconds;
        Clock::time_point start;
    };
    mutable std::mutex mutex_;
    std::map<std::string, Run> runs_;
};

} // namespace lodgeview::devserver
