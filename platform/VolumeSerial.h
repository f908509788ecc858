#pragma once
#include <cstdint>
#include <optional>
#include <string>

namespace lodgeview {

// The serial number of the volume holding path: the file-system id of statvfs, cut to 32
// bits. Nothing when the volume cannot be read.
std::optional<std::uint32_t> VolumeSerialNumber(const std::string& path);

} // namespace lodgeview
