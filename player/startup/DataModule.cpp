#include "player/startup/DataModule.h"

#include "player/config/IniFile.h"

#include <cerrno>
#include <climits>
#include <cstdlib>

namespace lodgeview {

std::vector<std::string> SplitDelimitedList(const std::string& text, const std::string& delimiter)
{
    std::vector<std::string> entries;
    std::size_t start = 0;
    if (!delimiter.empty()) {
        for (std::size_t at; (at = text.find(delimiter, start)) != std::string::npos; start = at + delimiter.size())
            entries.push_back(text.substr(start, at - start));
    }
    if (start < text.size())
        entries.push_back(text.substr(start));
    return entries;
}

int SelectedValue(const std::string& text)
{
    if (text.empty())
        return 0;
    char* end = nullptr;
    errno = 0;
    const long value = std::strtol(text.c_str(), &end, 10);
    if (*end != '\0' || errno == ERANGE || value < INT_MIN || value > INT_MAX)
        return 0;
    return static_cast<int>(value);
}

void TDM::DataModuleCreate(const std::string& appPath)
{
    AppPath = appPath;
    const std::string ngtv = AppPath + "NGTV.INI";
    const std::string port = ReadIniText(ngtv, "HTTP", "PORT", "");
    PortSuffix = port.empty() ? "" : ":" + port;
    DefaultPlayer = ReadIniText(ngtv, "PLAYER", "DEFAULT_PLAYER", "");
    StartMode = ReadIniText(ngtv, "PLAYER", "MODE", "0");
    OptionDelimiter = ReadIniText(ngtv, "PLAYER", "Delimiter", "|");
    PlayerOptions = SplitDelimitedList(ReadIniText(ngtv, "PLAYER", "Options", kDefaultPlayerOptions), OptionDelimiter);
    IdentifyEnabled = SelectedValue(ReadIniText(AppPath + "NGTV_CONFIG.INI", "IDENTIFY", "SELECTED", "0")) >= 1;
    CartoonEnabled = SelectedValue(ReadIniText(AppPath + "CARTOON.INI", "PRODUCT_MODE", "SELECTED", "0")) == 1;
    VideoExtList = SplitDelimitedList(ReadIniText(ngtv, "SEARCH", "VIDEO_EXT", ""), "^");
    RatioList = SplitDelimitedList(ReadIniText(ngtv, "VIDEO", "RATIO", ""), "^");
    RatioIndex = RatioList.empty() ? -1 : 0;
    NoticeList.clear();
}

} // namespace lodgeview
