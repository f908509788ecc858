#pragma once
// The player's start-up check: the command line, the installation path in the registry, and
// the site name (stored, or looked up once on the server and stored).
#include "player/service/HttpGet.h"
#include "player/startup/DataModule.h"

#include <string>
#include <vector>

namespace lodgeview {

inline constexpr char kNestgateKey[] = "Software\\Nestgate\\";

struct StartupOutcome {
    bool proceed = true;
    std::string message;  // shown modally before the player quits when proceed is false
};

// args are the program's parameters (without the program name). On success fills ServerHost,
// PortSuffix, EquipId, RoomNo and SiteName of dm.
StartupOutcome RunStartupCheck(const std::vector<std::string>& args, TDM& dm, HttpClient& http);

// IF-SCS-17: the site name from the server, "" when the lookup fails in any way (no answer,
// failed reply, a reply that is not well-formed XML).
std::string GetSiteName(const TDM& dm, HttpClient& http);

// The main window's caption: "Lodgeview TV", with "  [site]" when a site name is known.
std::string MainCaption(const std::string& siteName);

} // namespace lodgeview
