#include "player/startup/SplitFields.h"

#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace lodgeview {
namespace {

TEST(SplitFields, SplitsOutsideBracketsAndTrims)
{
    const struct {
        std::string text;
        char separator;
        std::vector<std::string> expected;
    } cases[] = {
        {"", '|', {}},
        {"abc", '|', {"abc"}},
        {" \t abc \r\n", '|', {"abc"}},
        {"   ", '|', {""}},
        {"a|b", '|', {"a", "b"}},
        {" a |\tb\x01 ", '|', {"a", "b"}},
        {"a|(b|c)|d", '|', {"a", "(b|c)", "d"}},
        {"a|[b|c]|d", '|', {"a", "[b|c]", "d"}},
        {"a|{b|c}|d", '|', {"a", "{b|c}", "d"}},
        {"(a|[b|{c|d}])|e", '|', {"(a|[b|{c|d}])", "e"}},
        {"(a|b]|c", '|', {"(a|b]", "c"}}, // any closer lowers the depth
        {"(a|b)", '|', {"(a|b)"}},
        {"a|", '|', {"a", ""}},
        {"(a|b)|", '|', {"(a|b)", ""}},
        {"a||b", '|', {"a", "", "b"}},
        {"|a", '|', {"", "a"}},
        {"|", '|', {"", ""}},
        {"a,b|c", ',', {"a", "b|c"}},
        // Unclosed brackets at the end keep the rest of the text as the last item.
        {"a|(b", '|', {"a", "(b"}},
        {"a|(b|c", '|', {"a", "(b|c"}},
        {"a|(b|", '|', {"a", "(b|"}},
        // A closer without an opener does not push the depth below zero.
        {"a)|b|c", '|', {"a)", "b", "c"}},
        // Only bytes up to 0x20 are trimmed, not those of 8-bit text.
        {"\xA0x\xE9|y", '|', {"\xA0x\xE9", "y"}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(SplitFields(c.text, c.separator), c.expected) << "\"" << c.text << "\"";
}

} // namespace
} // namespace lodgeview
