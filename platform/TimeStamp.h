#pragma once
#include <chrono>
#include <string>

namespace lodgeview {

// Local time written "YYYYMMDDhhmmss", the form of every time stamp exchanged with the server.
std::string LocalTimeStamp(std::chrono::system_clock::time_point when = std::chrono::system_clock::now());

} // namespace lodgeview
