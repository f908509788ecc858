#include "player/verify/JuminVerify.h"

#include <algorithm>

namespace lodgeview {

int VerifyJumin(const std::string& text)
{
    if (text.size() != 13)
        return kJuminWrongLength;
    const int check = JuminCheckDigit(text);
    return check < 0 ? check : kJuminValid;
}

int JuminCheckDigit(const std::string& text)
{
    if (!std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; }))
        return kJuminNotDigit;
    if (text.size() != 13)
        return kJuminWrongLength;
    static constexpr int kWeights[12] = {2, 3, 4, 5, 6, 7, 8, 9, 2, 3, 4, 5};
    int sum = 0;
    for (int i = 0; i < 12; ++i)
        sum += (text[static_cast<std::size_t>(i)] - '0') * kWeights[i];
    const int check = (11 - sum % 11) % 10;
    return check == text[12] - '0' ? kJuminValid : kJuminCheckDigitMismatch;
}

} // namespace lodgeview
