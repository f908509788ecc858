#pragma once
#include <string>

namespace lodgeview {

// Folder of the running executable with a trailing "/": the installation folder, where every
// program, library, INI file and picture of the system lives. Libraries use it as "the folder
// of the program that loaded me".
std::string ExecutableFolder();

} // namespace lodgeview
