#pragma once
// The owner of the player program: builds the settings, the outside controls and the main
// window, runs the start-up check and connects the pieces. Everything runs on the
// user-interface thread; Run() returns when the event loop ends.
#include "player/service/HttpGet.h"
#include "player/startup/DataModule.h"

#include <memory>
#include <string>
#include <vector>

namespace lodgeview {

class PlayerFrontListener;
class TfrmMorvikPlayer;
class VlcMediaPlayer;

class PlayerApp {
public:
    PlayerApp();
    ~PlayerApp();

    // args: the program's parameters without its name. Returns the process exit code.
    int Run(const std::vector<std::string>& args);

private:
    void TraceFirstPaint();

    TDM dm_;
    CurlHttpClient http_;
    std::unique_ptr<VlcMediaPlayer> vlc_;
    std::unique_ptr<TfrmMorvikPlayer> mainForm_;
    std::unique_ptr<PlayerFrontListener> frontListener_;
};

} // namespace lodgeview
