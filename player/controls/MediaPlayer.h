#pragma once
// The media player the player drives: a playlist with per-item options, the input's state and
// rate, audio volume and mute, the video's aspect ratio, full screen and visibility. The
// operations are those of the media-player control the design was made with, with its results.
// Every failing call throws MediaPlayerError, which ends the calling handler.
#include <stdexcept>
#include <string>
#include <vector>

namespace lodgeview {

struct MediaPlayerError : std::runtime_error {
    using std::runtime_error::runtime_error;
};

// Values of MediaPlayer::InputState(). Other values (opening, buffering, ...) count as neither.
enum InputStateCode : int {
    kInputNone = 0,    // no input: stopped, ended or failed
    kInputPlaying = 3,
    kInputPaused = 4,
};

class MediaPlayer {
public:
    virtual ~MediaPlayer() = default;

    // playlist.add: appends an item and returns its id; options are given to that item alone.
    virtual int Add(const std::string& uri, const std::vector<std::string>& options) = 0;
    // playlist.playItem: starts the item; the items after it follow in order (an advertisement
    // added before the movie plays first, then the movie).
    virtual void PlayItem(int id) = 0;
    virtual void Play() = 0;         // resume, or start the first item
    virtual void TogglePause() = 0;
    virtual void Stop() = 0;
    virtual int ItemCount() const = 0;
    virtual bool IsPlaying() const = 0;
    virtual void ClearItems() = 0;   // playlist.items.clear

    virtual int InputState() const = 0;
    virtual double Rate() const = 0;
    virtual void SetRate(double rate) = 0;

    virtual void SetVolume(int volume) = 0;  // 0..200
    virtual bool Mute() const = 0;
    virtual void ToggleMute() = 0;

    virtual void SetAspectRatio(const std::string& ratio) = 0;  // e.g. "16:9"
    virtual bool Fullscreen() const = 0;
    virtual void ToggleFullscreen() = 0;
    virtual void SetVisible(bool visible) = 0;
};

} // namespace lodgeview
