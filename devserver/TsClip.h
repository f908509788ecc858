#pragma once
// MPEG-TS clips held in memory, with the index that lets a stream start part-way: the video's
// key frames (packets whose adaptation field sets the random-access flag) and, for each, the
// last PAT before it. A stream cut there begins with the program tables and reaches a key frame
// within a few packets, so a player starts decoding at once.
#include <cstddef>
#include <map>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

namespace lodgeview::devserver {

struct ClipError : std::runtime_error {
    using std::runtime_error::runtime_error;
};

class TsClip {
public:
    static constexpr std::size_t kPacketSize = 188;

    // Throws ClipError when the bytes are not whole TS packets or hold no timed video.
    explicit TsClip(std::string bytes);
    static TsClip FromFile(const std::string& path);

    const std::shared_ptr<const std::string>& Bytes() const { return bytes_; }
    // From the first video time stamp to the last plus one frame.
    double DurationSeconds() const { return duration_; }
    // Where a stream that starts at `fraction` of the duration (clamped to 0..1) begins: 0 for
    // 0, the end of the clip for 1, otherwise the cut point of the last key frame at or before
    // that time. Always a packet boundary.
    std::size_t CutOffset(double fraction) const;

private:
    struct CutPoint {
        double seconds; // key frame time from the clip's start
        std::size_t offset;
    };
    std::shared_ptr<const std::string> bytes_;
    double duration_ = 0;
    std::vector<CutPoint> cuts_;
};

// The clips of the media folder that the catalogue names, by file name.
using ClipShelf = std::map<std::string, std::shared_ptr<const TsClip>>;
ClipShelf LoadClips(const std::string& folder, const std::vector<std::string>& names);

} // namespace lodgeview::devserver
