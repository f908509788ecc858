#pragma once
// Texts inside the programs are UTF-8; 8-bit texts exchanged with the VOD server (the PDU
// records, the ad-list reply) are in the terminals' wire code page, CP949.
#include <stdexcept>
#include <string>

namespace lodgeview {

struct CodePageError : std::runtime_error {
    using std::runtime_error::runtime_error;
};

// Throw CodePageError when a character has no form in the target code page.
std::string Utf8ToCp949(const std::string& utf8);
std::string Cp949ToUtf8(const std::string& cp949);

bool IsValidUtf8(const std::string& text);

} // namespace lodgeview
