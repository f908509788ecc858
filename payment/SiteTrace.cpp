#include "payment/SiteTrace.h"

#include "platform/Trace.h"

#include <cstring>

namespace lodgeview {

void TraceWithSite(const std::string& message, const char* file, int line)
{
    const char* slash = std::strrchr(file, '/');
    Trace(message + "::[" + (slash ? slash + 1 : file) + "][" + std::to_string(line) + "]");
}

} // namespace lodgeview
