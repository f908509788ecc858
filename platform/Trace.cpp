#include "platform/Trace.h"

#include <cstdio>
#include <errno.h>

namespace lodgeview {

void Trace(const std::string& line)
{
    // One call per line: lines of concurrent threads do not interleave.
    std::fprintf(stderr, "%s: %s\n", program_invocation_short_name, line.c_str());
}

} // namespace lodgeview
