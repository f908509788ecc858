#pragma once
/* MacProbe: the network address of the room PC, as text. */
#ifdef __cplusplus
extern "C" {
#endif

#define MACPROBE_BUFFER_SIZE 255

/* Writes the address of the first non-loopback network interface with a hardware address,
 * as upper-case hexadecimal pairs joined by ":" and zero-terminated, into buffer, which
 * holds MACPROBE_BUFFER_SIZE bytes. Returns 0 then; a negative value, with buffer untouched,
 * when there is no such interface. */
int GetMacAddr(char* buffer);

#ifdef __cplusplus
}
#endif

#ifdef __cplusplus
#include <string>
namespace lodgeview {
// The same search over a sysfs-style folder of interfaces (one sub-folder per interface with
// the files "address" and "ifindex"); "" when none qualifies. The interface with the lowest
// index wins, so the choice is stable across calls.
std::string FindMacAddress(const std::string& netClassDir);
}
#endif
