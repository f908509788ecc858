#include "logooverlay/LogoList.h"

#include "player/config/IniFile.h"

#include <algorithm>
#include <cctype>
#include <climits>
#include <filesystem>

namespace lodgeview {

int LogoDisplayTime(const std::string& fileName)
{
    const std::string head = fileName.substr(0, 10);
    std::size_t i = 0;
    while (i < head.size() && (head[i] == ' ' || head[i] == '\t'))
        ++i;
    bool negative = false;
    if (i < head.size() && (head[i] == '+' || head[i] == '-'))
        negative = head[i++] == '-';
    long long value = 0;
    for (; i < head.size() && head[i] >= '0' && head[i] <= '9'; ++i)
        value = std::min<long long>(value * 10 + (head[i] - '0'), 1LL + INT_MAX);
    value = negative ? std::max<long long>(-value, INT_MIN) : std::min<long long>(value, INT_MAX);
    return value <= 0 ? 60000 : static_cast<int>(value);
}

std::string LogoFolder(const std::string& baseFolder, const std::string& playerOptions, bool variant)
{
    std::string lower = playerOptions;
    std::transform(lower.begin(), lower.end(), lower.begin(), [](unsigned char c) { return char(std::tolower(c)); });
    const bool deinterlace = lower.find("deinterlace") != std::string::npos;
    return baseFolder + "adv/logo/" + (deinterlace ? "s" : "") + "logo" + (variant ? "a" : "");
}

std::string BuildLogoList(const std::string& folder)
{
    std::string list;
    std::error_code ec;
    for (std::filesystem::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
        std::error_code sizeError;
        if (!it->is_regular_file(sizeError) || it->file_size(sizeError) == 0 || sizeError)
            continue;
        if (!list.empty())
            list += ';';
        list += it->path().string() + ", " + std::to_string(LogoDisplayTime(it->path().filename().string())) + ", 200";
    }
    return list;
}

std::string RebuildLogoIni(const std::string& baseFolder, bool variant)
{
    const std::string options = ReadIniText(baseFolder + "NGTV.INI", "PLAYER", "OPTIONS", "", kToolIniValueMax);
    const std::string list = BuildLogoList(LogoFolder(baseFolder, options, variant));
    WriteIniText(baseFolder + "logo.ini", "LOGO", "logo-file", list);
    return list;
}

} // namespace lodgeview
