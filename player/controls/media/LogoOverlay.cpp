#include "player/controls/media/LogoOverlay.h"

namespace lodgeview {
namespace {

// "name=value" of an option without its leading ":".
bool OptionValue(const std::string& option, const std::string& name, std::string& value)
{
    const std::string text = !option.empty() && option[0] == ':' ? option.substr(1) : option;
    if (text.compare(0, name.size() + 1, name + "=") != 0)
        return false;
    value = text.substr(name.size() + 1);
    return true;
}

// A module chain such as "marq:logo" or "logo,marq" names the logo module.
bool ChainHasLogo(const std::string& chain)
{
    std::size_t start = 0;
    while (start <= chain.size()) {
        const std::size_t end = chain.find_first_of(":,", start);
        if (chain.substr(start, end == std::string::npos ? std::string::npos : end - start) == "logo")
            return true;
        if (end == std::string::npos)
            break;
        start = end + 1;
    }
    return false;
}

} // namespace

std::optional<std::string> LogoFileListOf(const std::vector<std::string>& options)
{
    bool enabled = false;
    std::string list, value;
    for (const std::string& option : options) {
        if (OptionValue(option, "sub-filter", value) || OptionValue(option, "sub-source", value))
            enabled = enabled || ChainHasLogo(value);
        else if (OptionValue(option, "logo-file", value))
            list = value;
    }
    if (!enabled || list.empty())
        return std::nullopt;
    return list;
}

} // namespace lodgeview
