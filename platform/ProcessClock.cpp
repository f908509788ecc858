#include "platform/ProcessClock.h"

#include <ctime>
#include <fstream>
#include <sstream>
#include <string>
#include <unistd.h>

namespace lodgeview {

long ProcessAgeMs()
{
    // Field 22 of /proc/self/stat is the start time in clock ticks after boot; the command name
    // (field 2) may hold blanks, so counting starts after its closing parenthesis.
    std::ifstream in("/proc/self/stat");
    std::string stat;
    std::getline(in, stat);
    const std::size_t close = stat.rfind(')');
    if (close == std::string::npos)
        return -1;
    std::istringstream fields(stat.substr(close + 2));
    std::string field;
    for (int i = 3; i < 22 && fields >> field; ++i) {
    }
    unsigned long long startTicks = 0;
    if (!(fields >> startTicks))
        return -1;
    timespec now{};
    clock_gettime(CLOCK_BOOTTIME, &now);
    const long ticksPerSecond = sysconf(_SC_CLK_TCK);
    const double startMs = 1000.0 * static_cast<double>(startTicks) / static_cast<double>(ticksPerSecond);
    return static_cast<long>(now.tv_sec * 1000.0 + now.tv_nsec / 1e6 - startMs);
}

} // namespace lodgeview
