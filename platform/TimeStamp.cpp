#include "platform/TimeStamp.h"

#include <ctime>

namespace lodgeview {

std::string LocalTimeStamp(std::chrono::system_clock::time_point when)
{
    const std::time_t t = std::chrono::system_clock::to_time_t(when);
    std::tm local{};
    localtime_r(&t, &local);
    char text[16];
    std::strftime(text, sizeof text, "%Y%m%d%H%M%S", &local);
    return text;
}

} // namespace lodgeview
