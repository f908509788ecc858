#include "devserver/TsClip.h"

#include <algorithm>
#include <cstdint>
#include <fstream>
#include <limits>
#include <sstream>

namespace lodgeview::devserver {
namespace {

constexpr double kPtsPerSecond = 90000.0;

std::uint64_t ReadPts(const std::uint8_t* p)
{
    return (std::uint64_t(p[0] >> 1 & 0x07) << 30) | (std::uint64_t(p[1]) << 22) |
           (std::uint64_t(p[2] >> 1 & 0x7F) << 15) | (std::uint64_t(p[3]) << 7) | std::uint64_t(p[4] >> 1);
}

} // namespace

TsClip::TsClip(std::string bytes)
{
    if (bytes.empty() || bytes.size() % kPacketSize != 0)
        throw ClipError("not a whole number of 188-byte TS packets");
    const auto* data = reinterpret_cast<const std::uint8_t*>(bytes.data());

    struct KeyFrame {
        std::uint64_t pts;
        std::size_t offset;
    };
    std::vector<KeyFrame> keys;
    std::uint64_t minPts = std::numeric_limits<std::uint64_t>::max(), maxPts = 0;
    std::size_t timedPes = 0;
    std::size_t lastPat = std::string::npos;

    for (std::size_t at = 0; at < bytes.size(); at += kPacketSize) {
        const std::uint8_t* packet = data + at;
        if (packet[0] != 0x47)
            throw ClipError("lost the TS packet sync at byte " + std::to_string(at));
        const unsigned pid = (packet[1] & 0x1Fu) << 8 | packet[2];
        const bool unitStart = packet[1] & 0x40;
        const unsigned adaptation = packet[3] >> 4 & 3;
        std::size_t payload = 4;
        bool randomAccess = false;
        if (adaptation & 2) {
            const std::size_t length = packet[4];
            randomAccess = length > 0 && (packet[5] & 0x40);
            payload = 5 + length;
        }
        if (pid == 0) {
            lastPat = at;
            continue;
        }
        // A video PES header with a PTS: start code, stream id 0xE0..0xEF, PTS flag.
        if (!(adaptation & 1) || !unitStart || payload + 14 > kPacketSize)
            continue;
        const std::uint8_t* pes = packet + payload;
        if (pes[0] != 0 || pes[1] != 0 || pes[2] != 1 || (pes[3] & 0xF0) != 0xE0 || !(pes[7] & 0x80))
            continue;
        const std::uint64_t pts = ReadPts(pes + 9);
        minPts = std::min(minPts, pts);
        maxPts = std::max(maxPts, pts);
        ++timedPes;
        if (randomAccess)
            keys.push_back({pts, lastPat == std::string::npos ? at : lastPat});
    }
    if (timedPes == 0)
        throw ClipError("no video with time stamps");

    const double frame = timedPes > 1 ? double(maxPts - minPts) / double(timedPes - 1) : 0;
    duration_ = (double(maxPts - minPts) + frame) / kPtsPerSecond;
    for (const KeyFrame& key : keys)
        cuts_.push_back({double(key.pts - minPts) / kPtsPerSecond, key.offset});
    bytes_ = std::make_shared<const std::string>(std::move(bytes));
}

TsClip TsClip::FromFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    if (!in)
        throw ClipError("cannot read " + path);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    try {
        return TsClip(bytes.str());
    } catch (const ClipError& e) {
        throw ClipError(path + ": " + e.what());
    }
}

std::size_t TsClip::CutOffset(double fraction) const
{
    if (!(fraction > 0))
        return 0;
    if (fraction >= 1)
        return bytes_->size();
    const double at = fraction * duration_;
    std::size_t offset = 0;
    for (const CutPoint& cut : cuts_) {
        if (cut.seconds > at)
            break;
        offset = cut.offset;
    }
    return offset;
}

ClipShelf LoadClips(const std::string& folder, const std::vector<std::string>& names)
{
    ClipShelf shelf;
    for (const std::string& name : names)
        shelf[name] = std::make_shared<const TsClip>(TsClip::FromFile(folder + "/" + name));
    return shelf;
}

} // namespace lodgeview::devserver
