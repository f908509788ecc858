#include "payment/StatusRecord.h"

namespace lodgeview {

std::map<std::string, std::string> ParseStatusRecord(const std::string& text)
{
    std::map<std::string, std::string> record;
    std::size_t start = text.find_first_not_of('|');
    while (start != std::string::npos) {
        const std::size_t end = text.find('|', start);
        const std::string token = text.substr(start, end == std::string::npos ? std::string::npos : end - start);
        const std::size_t equals = token.find('=');
        if (equals == std::string::npos)
            record[token] = token;
        else
            record[token.substr(0, equals)] = token.substr(equals + 1);
        start = end == std::string::npos ? end : text.find_first_not_of('|', end);
    }
    return record;
}

std::optional<PurchaseOutcome> OutcomeOfStatus(const std::string& text)
{
    const auto record = ParseStatusRecord(text);
    const auto result = record.find("RESULT");
    if (result == record.end())
        return std::nullopt;
    if (result->second == "SUCCEEDED") {
        const auto order = record.find("NO_ORDER");
        return PurchaseOutcome{0, order == record.end() ? "" : order->second};
    }
    if (result->second == "CLOSE")
        return PurchaseOutcome{-2, "-----"};
    return std::nullopt;
}

} // namespace lodgeview
