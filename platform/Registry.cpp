#include "platform/Registry.h"

#include <pwd.h>
#include <unistd.h>

#include <charconv>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <limits>
#include <stdexcept>

#include "player/config/IniFile.h"

namespace lodgeview {
namespace {

namespace fs = std::filesystem;

// Registry values are not cut the way profile values of the programs are.
constexpr std::size_t kUnlimited = std::numeric_limits<std::size_t>::max();

std::string Environment(const char* name)
{
    const char* value = std::getenv(name);
    return value != nullptr ? value : "";
}

fs::path HomeFolder()
{
    const std::string home = Environment("HOME");
    if (!home.empty())
        return home;
    if (const passwd* entry = ::getpwuid(::getuid()); entry != nullptr && entry->pw_dir != nullptr)
        return entry->pw_dir;
    throw std::runtime_error("registry: neither $HOME nor a home folder for this user is known");
}

std::string SectionOf(const std::string& key)
{
    const std::size_t end = key.find_last_not_of('\\');
    return end == std::string::npos ? std::string() : key.substr(0, end + 1);
}

bool IsInt32(const std::string& text)
{
    std::int32_t parsed = 0;
    const char* end = text.data() + text.size();
    const std::from_chars_result result = std::from_chars(text.data(), end, parsed);
    return !text.empty() && result.ec == std::errc() && result.ptr == end;
}

} // namespace

std::string RegistryFilePath()
{
    const std::string explicitPath = Environment("NESTGATE_REGISTRY");
    if (!explicitPath.empty())
        return explicitPath;
    // A relative XDG_CONFIG_HOME is invalid and ignored, as the XDG base directory rules require.
    const fs::path xdg = Environment("XDG_CONFIG_HOME");
    const fs::path config = xdg.is_absolute() ? xdg : HomeFolder() / ".config";
    return (config / "Nestgate" / "registry.ini").string();
}

std::string ReadRegText(const std::string& key, const std::string& name)
{
    const std::string file = RegistryFilePath();
    const std::string section = SectionOf(key);
    if (IniSectionExists(file, section))
        return ReadIniText(file, section, name, "", kUnlimited);
    const fs::path folder = fs::path(file).parent_path();
    if (!folder.empty())
        fs::create_directories(folder);
    AddIniSection(file, section);
    return "";
}

bool WriteRegValue(const std::string& key, const std::string& name, const std::string& value, RegValueKind kind)
{
    if (kind == RegValueKind::Integer && !IsInt32(value))
        throw std::invalid_argument("registry value '" + name + "' is not a 32-bit integer: " + value);
    if (kind == RegValueKind::Boolean && value != "0" && value != "1")
        throw std::invalid_argument("registry value '" + name + "' is not a boolean 0 or 1: " + value);
    const std::string file = RegistryFilePath();
    const std::string section = SectionOf(key);
    if (!IniSectionExists(file, section))
        return false;
    WriteIniText(file, section, name, value);
    return true;
}

} // namespace lodgeview
