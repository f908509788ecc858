#pragma once

#include <string>
#include <vector>

namespace lodgeview {

// Splits `text` at every `separator` outside brackets. "(", "[" and "{" raise the nesting depth and
// ")", "]" and "}" lower it, whatever their kind; a closer without an opener is plain text. Items
// are trimmed of bytes <= 0x20 at both ends.
// - Text without the separator gives one item, or none when empty.
// - A separator as the last character adds a trailing empty item: "a|" gives "a", "".
// - Brackets still open at the end do not swallow the rest: "a|(b" gives "a", "(b".
std::vector<std::string> SplitFields(const std::string& text, char separator);

} // namespace lodgeview
