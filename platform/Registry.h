// The stand-in for the Windows registry (HKEY_CURRENT_USER): one profile file with a section per key
// path, named as the path without its trailing backslash ("Software\Nestgate\" is
// [Software\Nestgate]), and a name=value line per value. Key and value names ignore ASCII case.
#pragma once

#include <string>

namespace lodgeview {

// $NESTGATE_REGISTRY when set and non-empty, else $XDG_CONFIG_HOME/Nestgate/registry.ini with
// XDG_CONFIG_HOME defaulting to $HOME/.config.
std::string RegistryFilePath();

// Opens the key with create (an empty section is added when missing, the file and its folder too)
// and returns the value, "" when missing. Throws std::invalid_argument for a key path that is blank or
// holds "]", CR or LF, and std::runtime_error when the key cannot be created.
std::string ReadRegText(const std::string& key, const std::string& name);

enum class RegValueKind { String = 0, Integer = 1, Boolean = 2, DateTime = 3, Float = 4, Currency = 5 };

// Opens the key without create: returns false and writes nothing when the key does not exist.
// Writes the value's text; Integer must be a 32-bit decimal integer and Boolean "0" or "1", else
// std::invalid_argument. Throws IniError when the file cannot be rewritten.
bool WriteRegValue(const std::string& key, const std::string& name, const std::string& value,
    RegValueKind kind = RegValueKind::String);

} // namespace lodgeview
