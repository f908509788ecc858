// The purchase page's status records and the outcomes they give.
#include "payment/StatusRecord.h"

#include <gtest/gtest.h>

namespace lodgeview {
namespace {

TEST(ParseStatusRecord, Grammar)
{
    using Record = std::map<std::string, std::string>;
    const struct {
        const char* text;
        Record record;
    } cases[] = {
        {"", {}},
        {"|||", {}},
        {"A=1", {{"A", "1"}}},
        {"||A=1|||B=2||", {{"A", "1"}, {"B", "2"}}},
        {"A=x=y", {{"A", "x=y"}}},
        {"FLAG", {{"FLAG", "FLAG"}}},
        {"A=1|A=2", {{"A", "2"}}},
        {" A = 1 ", {{" A ", " 1 "}}},
        {"A=", {{"A", ""}}},
        {"=v", {{"", "v"}}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ParseStatusRecord(c.text), c.record) << c.text;
}

TEST(OutcomeOfStatus, Table)
{
    const struct {
        const char* text;
        bool outcome;
        int code;
        const char* order;
    } cases[] = {
        {"RESULT=SUCCEEDED|NO_ORDER=777", true, 0, "777"},
        {"NO_ORDER=777|RESULT=SUCCEEDED", true, 0, "777"},
        {"||RESULT=CLOSE||", true, -2, "-----"},
        {"RESULT=SUCCEEDED|NO_ORDER=A=B", true, 0, "A=B"},
        {"RESULT=SUCCEEDED", true, 0, ""},
        {"RESULT=CLOSE|RESULT=SUCCEEDED", true, 0, ""},
        {"RESULT=CLOSE|NO_ORDER=5", true, -2, "-----"},
        {"RESULT=succeeded", false, 0, ""},
        {"RESULT= SUCCEEDED", false, 0, ""},
        {"RESULT", false, 0, ""},
        {"RESULT=FAILED|NO_ORDER=1", false, 0, ""},
        {"http://server/service/purchase/next.php", false, 0, ""},
        {"", false, 0, ""},
    };
    for (const auto& c : cases) {
        const auto outcome = OutcomeOfStatus(c.text);
        ASSERT_EQ(outcome.has_value(), c.outcome) << c.text;
        if (outcome) {
            EXPECT_EQ(outcome->resultCode, c.code) << c.text;
            EXPECT_EQ(outcome->orderNumber, c.order) << c.text;
        }
    }
}

} // namespace
} // namespace lodgeview
