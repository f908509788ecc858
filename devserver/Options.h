#pragma once
// The substitute VOD server's settings and its command line.
#include "devserver/Announcer.h"
#include "devserver/Faults.h"

#include <optional>
#include <string>
#include <vector>

namespace lodgeview::devserver {

struct ServerOptions {
    std::string host = "127.0.0.1";
    int port = 8080;                         // 0: any free port
    std::string mediaFolder;                 // "": devserver-media beside the executable
    std::string adFolder;                    // "": adv in the media folder
    std::string catalogueFile;               // "": the built-in catalogue
    std::optional<long> connectCount;        // replaces the catalogue's CONNECT_CNT
    std::string logFile;                     // "": the request log stays in memory
    std::vector<Fault> faults;               // switched on at start
    std::optional<AnnounceTarget> announce;  // announcements from the start
};

struct CommandLine {
    ServerOptions options;
    bool help = false;
    bool printCatalogue = false;
};

// The arguments after the program name. Throws std::invalid_argument with a message for the user.
CommandLine ParseCommandLine(const std::vector<std::string>& args);

const char* HelpText();

} // namespace lodgeview::devserver
