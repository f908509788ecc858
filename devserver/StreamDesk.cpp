#include "devserver/StreamDesk.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <optional>

namespace lodgeview::devserver {
namespace {

std::optional<double> ParseFraction(const std::string& text)
{
    double value = 0;
    const char* end = text.data() + text.size();
    const auto [stop, error] = std::from_chars(text.data(), end, value);
    if (text.empty() || error != std::errc() || stop != end || !std::isfinite(value) || value < 0)
        return std::nullopt;
    return std::min(value, 1.0);
}

} // namespace

Reply StreamDesk::Open(const std::string& clip, const Query& query, PlayTracker::Clock::time_point now)
{
    const auto found = clips_.find(clip);
    if (found == clips_.end())
        return TextReply(404, "no such clip");
    const TsClip& ts = *found->second;

    double fraction = 0;
    if (query.count("POS")) {
        const auto parsed = ParseFraction(QueryValue(query, "POS"));
        if (!parsed)
            return TextReply(400, "POS must be a fraction of the clip");
        fraction = *parsed;
    }
    for (const char* terminal : {"MAC", "ID_MAC"}) {
        if (query.count(terminal)) {
            tracker_.Start(QueryValue(query, terminal), fraction, ts.DurationSeconds(), now);
            break;
        }
    }
    return BytesReply(ts.Bytes(), ts.CutOffset(fraction), "video/mp2t");
}

} // namespace lodgeview::devserver
