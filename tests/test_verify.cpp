// The check-digit test of the resident registration number and the dialog's input rules.
#include "player/verify/JuminVerify.h"
#include "player/verify/VerifyDialog.h"

#include <QApplication>
#include <QClipboard>
#include <QLineEdit>
#include <QTest>
#include <gtest/gtest.h>

namespace lodgeview {
namespace {

TEST(VerifyJumin, CheckDigitAndErrors)
{
    // Weighted sums of the first twelve digits: 900101123456 -> 124 (mod 11 = 3, check 8),
    // 400000000000 -> 8 (check 3), 000000000000 -> 0 (check 1), 000000000009 -> 45 (mod 11 = 1,
    // check 0).
    const struct {
        const char* text;
        int result;
    } cases[] = {
        {"9001011234568", kJuminValid},
        {"9001011234567", kJuminCheckDigitMismatch},
        {"4000000000003", kJuminValid},   // sum mod 11 = 8: check 3
        {"4000000000004", kJuminCheckDigitMismatch},
        {"0000000000001", kJuminValid},   // sum mod 11 = 0: check (11) mod 10 = 1
        {"0000000000090", kJuminValid},   // sum 45, mod 11 = 1: check 10 mod 10 = 0
        {"0000000000091", kJuminCheckDigitMismatch},
        {"900101123456", kJuminWrongLength},
        {"90010112345688", kJuminWrongLength},
        {"", kJuminWrongLength},
        {"90010a1234568", kJuminNotDigit},
        {"900101-123456", kJuminNotDigit},
        {"900101 234568", kJuminNotDigit},
    };
    for (const auto& c : cases)
        EXPECT_EQ(VerifyJumin(c.text), c.result) << c.text;
    EXPECT_EQ(JuminCheckDigit("12ab"), kJuminNotDigit);
    EXPECT_EQ(JuminCheckDigit("123"), kJuminWrongLength) << "no check digit to read";
}

TEST(TfrmVerify, TypingTakesDigitsAndBackspaceOnly)
{
    TfrmVerify dialog;
    QTest::keyClicks(dialog.EditJumin01(), "9a0-01 01x2");
    EXPECT_EQ(dialog.EditJumin01()->text(), "900101") << "six characters at most";
    QTest::keyClick(dialog.EditJumin01(), Qt::Key_Backspace);
    EXPECT_EQ(dialog.EditJumin01()->text(), "90010");
    QTest::keyClicks(dialog.EditJumin02(), "12345689");
    EXPECT_EQ(dialog.EditJumin02()->text(), "1234568");
    EXPECT_EQ(dialog.Number(), "900101234568");
    EXPECT_EQ(VerifyJumin(dialog.Number().toStdString()), kJuminWrongLength);
}

TEST(TfrmVerify, PastedLettersAreCaughtByTheCheck)
{
    TfrmVerify dialog;
    QApplication::clipboard()->setText("90a101");
    dialog.EditJumin01()->paste();
    dialog.EditJumin02()->setText("1234568");
    EXPECT_EQ(VerifyJumin(dialog.Number().toStdString()), kJuminNotDigit);
}

} // namespace
} // namespace lodgeview
