// Profile (INI) files as the programs' Windows predecessors used them: plain 8-bit text, sections
// "[name]", "key=value" lines, names matched without regard to ASCII case, first occurrence wins.
// Every call opens, reads or rewrites and closes the file: no caching, no locking.
#pragma once

#include <cstddef>
#include <stdexcept>
#include <string>

namespace lodgeview {

// Longest value each program reads; longer values are cut.
constexpr std::size_t kPlayerIniValueMax = 2047; // RVMC, RVSC
constexpr std::size_t kToolIniValueMax = 259; // OvlSync, RVDM, OverlayKit
constexpr std::size_t kSetupPanelIniValueMax = 254; // SetupPanel

// A profile file could not be read for rewriting or could not be replaced. The message names the
// file and the cause; the file on disk is unchanged.
class IniError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Returns the value of `key` in `section`, blanks trimmed, or `defaultValue` when the file, the
// section or the key is missing or the file cannot be read; either is cut to `maxLength` bytes.
// When `file` does not exist as spelt, a file in the same folder whose name differs only in ASCII
// case is read instead.
std::string ReadIniText(const std::string& file, const std::string& section, const std::string& key,
    const std::string& defaultValue, std::size_t maxLength = kPlayerIniValueMax);

// Sets one key, keeping every other line of the file byte for byte; the lines it writes end in
// CR LF. Creates the file (not its folder) when missing. The file is replaced atomically with its
// permission bits kept, and a symbolic link is written through, not replaced.
// Throws std::invalid_argument for a section or key that is blank or holds CR, LF, "]" (section),
// "=" or a leading "[" (key), and for a value holding CR or LF; throws IniError when it cannot write.
void WriteIniText(
    const std::string& file, const std::string& section, const std::string& key, const std::string& value);

// True when `section` occurs in the file; false also when the file cannot be read.
bool IniSectionExists(const std::string& file, const std::string& section);

// Appends an empty `section` unless the file already has it; creates the file when missing.
// Same name rules, errors and atomic replacement as WriteIniText.
void AddIniSection(const std::string& file, const std::string& section);

} // namespace lodgeview
