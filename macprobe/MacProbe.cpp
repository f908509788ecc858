#include "macprobe/MacProbe.h"

#include <algorithm>
#include <cctype>
#include <climits>
#include <cstring>
#include <filesystem>
#include <fstream>

namespace lodgeview {
namespace {

std::string ReadFirstLine(const std::filesystem::path& file)
{
    std::ifstream in(file);
    std::string line;
    std::getline(in, line);
    return line;
}

// "aa:bb:cc:dd:ee:ff" with at least one non-zero byte; loopback and tunnels have none.
bool IsHardwareAddress(const std::string& text)
{
    if (text.size() != 17)
        return false;
    bool nonZero = false;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (i % 3 == 2) {
            if (c != ':')
                return false;
        } else if (!std::isxdigit(static_cast<unsigned char>(c))) {
            return false;
        } else if (c != '0') {
            nonZero = true;
        }
    }
    return nonZero;
}

} // namespace

std::string FindMacAddress(const std::string& netClassDir)
{
    std::error_code ec;
    std::string best;
    long bestIndex = LONG_MAX;
    for (const auto& entry : std::filesystem::directory_iterator(netClassDir, ec)) {
        if (entry.path().filename() == "lo")
            continue;
        const std::string address = ReadFirstLine(entry.path() / "address");
        if (!IsHardwareAddress(address))
            continue;
        const std::string indexText = ReadFirstLine(entry.path() / "ifindex");
        const long index = indexText.empty() ? LONG_MAX - 1 : std::strtol(indexText.c_str(), nullptr, 10);
        if (index < bestIndex) {
            bestIndex = index;
            best = address;
        }
    }
    std::transform(best.begin(), best.end(), best.begin(), [](unsigned char c) { return char(std::toupper(c)); });
    return best;
}

} // namespace lodgeview

extern "C" __attribute__((visibility("default"))) int GetMacAddr(char* buffer)
{
    const std::string address = lodgeview::FindMacAddress("/sys/class/net");
    if (address.empty() || address.size() >= MACPROBE_BUFFER_SIZE)
        return -1;
    std::memcpy(buffer, address.c_str(), address.size() + 1);
    return 0;
}
