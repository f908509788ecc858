#include "platform/AppPaths.h"

#include <filesystem>

namespace lodgeview {

std::string ExecutableFolder()
{
    std::error_code ec;
    const auto exe = std::filesystem::read_symlink("/proc/self/exe", ec);
    if (ec)
        return "./";
    return exe.parent_path().string() + "/";
}

} // namespace lodgeview
