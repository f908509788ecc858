#pragma once
// The VOD server's side of the enciphered exchange: a whole text of any length enciphered in
// one Base64 stream. The terminals read it in 1024-character pieces; since 1024 characters are
// 768 bytes, a whole number of blocks, each piece decodes on its own.
#include <string>

namespace lodgeview {

// Blowfish ECB of plain padded with zero bytes to whole blocks (one block when empty), Base64.
std::string EncipherWholeText(const std::string& key, const std::string& plain);

// The reverse, with the terminals' tolerant Base64 reading; the text ends at the first zero
// byte (the padding). "" when the text is not valid Base64 of whole blocks.
std::string DecipherWholeText(const std::string& key, const std::string& coded);

} // namespace lodgeview
