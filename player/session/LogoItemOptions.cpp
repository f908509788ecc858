#include "player/session/LogoItemOptions.h"

#include "player/config/IniFile.h"

namespace lodgeview {

std::vector<std::string> LogoItemOptions(const std::vector<std::string>& playerOptions, const std::string& appPath)
{
    std::vector<std::string> options = playerOptions;
    const std::string list = ReadIniText(appPath + "logo.ini", "LOGO", "logo-file", "", std::string::npos);
    if (!list.empty())
        options.push_back(":logo-file=" + list);
    return options;
}

} // namespace lodgeview
