#pragma once
// MediaPlayer on libVLC 3: a media list player over a media list, rendering into a widget of
// its own.
//
// Every call, and the widgets, belong to the user-interface thread. The only libVLC event used,
// a failed item, is posted to that thread; nothing else runs on libVLC's threads.
//
// Playlist: ids are never reused, not even after ClearItems. PlayItem(id) first plays the items
// added before it that have not been started yet, then the item, then the rest in order; an
// item that was started before is played directly. So "add advertisement, add movie,
// PlayItem(movie)" plays the advertisement and then the movie. An item that fails to open is
// skipped.
//
// Video: VideoWidget() is placed by the caller like any widget, before the first playback. On
// X11 libVLC draws into a native child of it, whose window survives moves between windows;
// elsewhere (offscreen, Wayland) the instance's --vout option decides where video goes. Full
// screen moves that child into a top-level window named kFullscreenWindowName and back. If the
// widget is destroyed while this object lives, playback stops first (libVLC must not draw into
// a dead window), and calls that need video throw.
//
// Logo overlay: when an item's options enable the logo module and list its pictures
// (LogoOverlay.h), the pictures are shown over the video. The overlay belongs to the media
// player, not to an item: the options of the item added last decide it (the player gives every
// item the same options).
#include "player/controls/MediaPlayer.h"

#include <QObject>
#include <QTimer>

#include <memory>
#include <string>
#include <vector>

class QWidget;
struct libvlc_event_t;
struct libvlc_instance_t;
struct libvlc_media_t;
struct libvlc_media_list_t;
struct libvlc_media_player_t;
struct libvlc_media_list_player_t;

namespace lodgeview {

class VlcMediaPlayer final : public MediaPlayer {
public:
    // The full-screen window's object name: the window name of the original control.
    static constexpr const char* kFullscreenWindowName = "VLC DirectX";

    // vlcArgs: libVLC instance arguments, e.g. {"--aout=adummy", "--vout=dummy"} for a silent,
    // headless player. Throws MediaPlayerError with libVLC's message when libVLC cannot start.
    // Needs a QApplication.
    explicit VlcMediaPlayer(const std::vector<std::string>& vlcArgs = {});
    ~VlcMediaPlayer() override;
    VlcMediaPlayer(const VlcMediaPlayer&) = delete;
    VlcMediaPlayer& operator=(const VlcMediaPlayer&) = delete;

    // Owned by this object, also once placed in a layout; null after its parent destroyed it.
    QWidget* VideoWidget() const;
    // The id of the item the player holds (opening, playing, paused or ended), or -1.
    int CurrentItem() const;

    int Add(const std::string& uri, const std::vector<std::string>& options) override;
    void PlayItem(int id) override;
    void Play() override;
    void TogglePause() override;
    void Stop() override;
    int ItemCount() const override;
    // True while an item is opening, playing or paused: whenever Stop() has something to end.
    bool IsPlaying() const override;
    // Stops playback, then empties the list.
    void ClearItems() override;

    // 0 none (stopped, ended, failed), 1 opening, 2 buffering, 3 playing, 4 paused.
    int InputState() const override;
    double Rate() const override;
    void SetRate(double rate) override;  // > 0, 1.0 normal

    // Volume and mute are kept here and applied to libVLC's audio output, which exists only
    // from start-up or a playback start until the next Stop; a change made while there is none
    // is applied as soon as one exists.
    void SetVolume(int volume) override;
    bool Mute() const override;
    void ToggleMute() override;

    // "W:H" with positive integers, or "" for the stream's own ratio.
    void SetAspectRatio(const std::string& ratio) override;
    bool Fullscreen() const override;
    void ToggleFullscreen() override;  // also on a double click on the video
    void SetVisible(bool visible) override;

private:
    class Frame;
    class Surface;
    class FullscreenWindow;
    struct Release {
        void operator()(libvlc_instance_t* p) const;
        void operator()(libvlc_media_t* p) const;
        void operator()(libvlc_media_list_t* p) const;
        void operator()(libvlc_media_player_t* p) const;
        void operator()(libvlc_media_list_player_t* p) const;
    };
    struct Item {
        int id;
        std::unique_ptr<libvlc_media_t, Release> media;
    };

    static void OnEncounteredError(const libvlc_event_t* event, void* self);
    void SkipFailedItem();
    void OnVideoWidgetDestroyed();
    size_t PositionOf(int id) const;
    void AttachVideo();
    void ApplyAudio();
    void ApplyLogo(const std::vector<std::string>& options);

    // Widgets first, so that they outlive libVLC.
    Frame* video_ = nullptr;      // null once destroyed
    Surface* surface_ = nullptr;  // in video_ or in fullscreen_; null once video_ is destroyed
    std::unique_ptr<FullscreenWindow> fullscreen_;
    QObject events_;  // receives posted work on the user-interface thread
    QTimer audioRetry_;

    std::unique_ptr<libvlc_instance_t, Release> vlc_;
    std::unique_ptr<libvlc_media_list_t, Release> list_;
    std::unique_ptr<libvlc_media_player_t, Release> player_;
    std::unique_ptr<libvlc_media_list_player_t, Release> listPlayer_;

    std::vector<Item> items_;      // in list order: an item's position is its index in the list
    size_t firstNotStarted_ = 0;   // items from here on have never been started
    int nextId_ = 1;
    int volume_ = 100;
    bool mute_ = false;
};

} // namespace lodgeview
