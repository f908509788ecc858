#pragma once
// A media player for logic tests: a playlist in memory whose state the test sets.
#include "player/controls/MediaPlayer.h"

#include <algorithm>

namespace lodgeview::test {

class FakeMediaPlayer : public MediaPlayer {
public:
    struct Item {
        int id;
        std::string uri;
        std::vector<std::string> options;
    };

    int Add(const std::string& uri, const std::vector<std::string>& options) override
    {
        items.push_back({nextId, uri, options});
        return nextId++;
    }
    void PlayItem(int id) override
    {
        if (std::none_of(items.begin(), items.end(), [id](const Item& i) { return i.id == id; }))
            throw MediaPlayerError("no item " + std::to_string(id));
        playing = id;
        state = kInputPlaying;
    }
    void Play() override { state = kInputPlaying; }
    void TogglePause() override { state = state == kInputPlaying ? kInputPaused : kInputPlaying; }
    void Stop() override
    {
        ++stops;
        state = kInputNone;
    }
    int ItemCount() const override { return static_cast<int>(items.size()); }
    bool IsPlaying() const override { return state == kInputPlaying; }
    void ClearItems() override { items.clear(); }
    int InputState() const override { return state; }
    double Rate() const override { return rate; }
    void SetRate(double r) override { rate = r; }
    void SetVolume(int v) override
    {
        if (v < 0 || v > 200)
            throw MediaPlayerError("volume out of range");
        volume = v;
    }
    bool Mute() const override { return muted; }
    void ToggleMute() override { muted = !muted; }
    void SetAspectRatio(const std::string& r) override { aspectRatio = r; }
    bool Fullscreen() const override { return fullscreen; }
    void ToggleFullscreen() override { fullscreen = !fullscreen; }
    void SetVisible(bool v) override { visible = v; }

    std::vector<Item> items;
    int nextId = 1, playing = 0, state = kInputNone, volume = 100, stops = 0;
    double rate = 1.0;
    bool muted = false, fullscreen = false, visible = true;
    std::string aspectRatio;
};

} // namespace lodgeview::test
