#pragma once
// The published check-digit test of the resident registration number (13 digits). Only the
// number's structure is examined; nothing is computed from the birth date, sent or stored.
#include <string>

namespace lodgeview {

enum JuminResult : int {
    kJuminValid = 0,
    kJuminNotDigit = -1,
    kJuminCheckDigitMismatch = -2,
    kJuminWrongLength = -3,
};

// kJuminWrongLength unless the text is 13 characters, else JuminCheckDigit's result.
int VerifyJumin(const std::string& text);

// Weights 2,3,4,5,6,7,8,9,2,3,4,5 over digits 1..12; check = (11 - sum mod 11) mod 10 must equal
// digit 13. kJuminNotDigit for any character other than "0".."9"; a text of another length than
// 13 has no check digit to compare and gives kJuminWrongLength.
int JuminCheckDigit(const std::string& text);

} // namespace lodgeview
