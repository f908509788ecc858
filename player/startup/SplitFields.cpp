#include "player/startup/SplitFields.h"

namespace lodgeview {
namespace {

bool IsBlankOrControl(char c) { return static_cast<unsigned char>(c) <= 0x20; }

std::string Trimmed(const std::string& text, std::size_t begin, std::size_t end)
{
    while (begin < end && IsBlankOrControl(text[begin]))
        ++begin;
    while (end > begin && IsBlankOrControl(text[end - 1]))
        --end;
    return text.substr(begin, end - begin);
}

} // namespace

std::vector<std::string> SplitFields(const std::string& text, char separator)
{
    std::vector<std::string> items;
    if (text.find(separator) == std::string::npos) {
        if (!text.empty())
            items.push_back(Trimmed(text, 0, text.size()));
        return items;
    }
    std::size_t depth = 0;
    std::size_t start = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '(' || c == '[' || c == '{') {
            ++depth;
        } else if ((c == ')' || c == ']' || c == '}') && depth > 0) {
            --depth;
        } else if (c == separator && depth == 0) {
            items.push_back(Trimmed(text, start, i));
            start = i + 1;
        }
    }
    // The last item ends with the text whatever the depth, and is empty after a final separator.
    items.push_back(Trimmed(text, start, text.size()));
    return items;
}

} // namespace lodgeview
