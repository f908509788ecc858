#pragma once
// The programs' debug output: one line per trace on standard error, prefixed with the
// program's name. No program writes a log file.
#include <string>

namespace lodgeview {

void Trace(const std::string& line);

} // namespace lodgeview
