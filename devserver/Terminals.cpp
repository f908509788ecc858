#include "devserver/Terminals.h"

#include <algorithm>

namespace lodgeview::devserver {

std::string OrderBook::Place(const std::string& mac, const std::string& movieId)
{
    std::lock_guard<std::mutex> lock(mutex_);
    bought_.emplace(mac, movieId);
    return std::to_string(++lastOrder_);
}

bool OrderBook::Has(const std::string& mac, const std::string& movieId) const
{
    std::lock_guard<std::mutex> lock(mutex_);
    return bought_.count({mac, movieId}) > 0;
}

void PlayTracker::Start(const std::string& mac, double fraction, double durationSeconds, Clock::time_point at)
{
    std::lock_guard<std::mutex> lock(mutex_);
    runs_[mac] = {std::clamp(fraction, 0.0, 1.0), durationSeconds, at};
}

std::optional<double> PlayTracker::Position(const std::string& mac, Clock::time_point at) const
{
    std::lock_guard<std::mutex> lock(mutex_);
    const auto it = runs_.find(mac);
    if (it == runs_.end())
        return std::nullopt;
    const Run& run = it->second;
    if (run.durationSeconds <= 0)
        return 1.0;
    const double elapsed = std::chrono::duration<double>(at - run.start).count();
    return std::clamp(run.fraction + elapsed / run.durationSeconds, 0.0, 1.0);
}

} // namespace lodgeview::devserver
