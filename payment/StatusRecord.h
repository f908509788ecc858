#pragma once
// The purchase page reports its outcome through its status text: a record of key=value tokens
// separated by "|", e.g. "RESULT=SUCCEEDED|NO_ORDER=777".
#include <map>
#include <optional>
#include <string>

namespace lodgeview {

// Runs of "|" count as one and "|" at either end is ignored; a token splits at its first "="
// (nothing trimmed, case kept); a token without "=" is its own key and value; a later token
// with the same key replaces the earlier value.
std::map<std::string, std::string> ParseStatusRecord(const std::string& text);

struct PurchaseOutcome {
    int resultCode;           // 0 bought, -2 not bought
    std::string orderNumber;  // NO_ORDER with a success, "-----" with a close
};

// RESULT=SUCCEEDED gives 0 with NO_ORDER (empty when absent); RESULT=CLOSE gives -2 with
// "-----"; any other text (other RESULT values, link addresses, progress texts) gives nothing.
std::optional<PurchaseOutcome> OutcomeOfStatus(const std::string& text);

} // namespace lodgeview
