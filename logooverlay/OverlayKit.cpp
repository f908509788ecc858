#include "logooverlay/OverlayKit.h"

#include "logooverlay/LogoList.h"
#include "platform/AppPaths.h"

#include <cstdio>
#include <exception>

extern "C" __attribute__((visibility("default"))) unsigned char LogoChange(unsigned char variant)
{
    try {
        const std::string list = lodgeview::RebuildLogoIni(lodgeview::ExecutableFolder(), variant != 0);
        std::fprintf(stderr, "OverlayKit: logo-file=%s\n", list.c_str());
    } catch (const std::exception& e) {
        // The caller ignores the result; a failed write is only traced.
        std::fprintf(stderr, "OverlayKit: %s\n", e.what());
    }
    return 0;
}
