#pragma once
// Base64 with the standard alphabet, "=" as pad and no line breaks.
#include <cstddef>
#include <cstdint>
#include <optional>

namespace lodgeview {

constexpr std::size_t Base64EncodedLength(std::size_t bytes) { return (bytes + 2) / 3 * 4; }

// Writes Base64EncodedLength(len) characters to out (no terminating zero); returns that count.
std::size_t Base64Encode(const std::uint8_t* in, std::size_t len, char* out);

// The terminal protocol's tolerant decoder. Reads at most maxChars characters and stops early
// at a zero byte or the pad "="; a blank counts as "+" (a URL decoder turned the "+" signs into
// blanks), any other character outside the alphabet is skipped. Writes the whole bytes decoded
// (at most maxChars * 3 / 4) to out and returns their count. Returns nothing when the pad
// ended the text after 0 or 1 characters of a group of four; out may then hold partial output.
std::optional<std::size_t> Base64DecodeTolerant(const char* text, std::size_t maxChars, std::uint8_t* out);

} // namespace lodgeview
