#include "platform/VolumeSerial.h"

#include <sys/statvfs.h>

namespace lodgeview {

std::optional<std::uint32_t> VolumeSerialNumber(const std::string& path)
{
    struct statvfs info {};
    if (statvfs(path.c_str(), &info) != 0)
        return std::nullopt;
    return static_cast<std::uint32_t>(info.f_fsid);
}

} // namespace lodgeview
