#include "core/cp1252.hpp"
#include "core/numbers.hpp"

#include <gtest/gtest.h>

#include <cmath>

namespace {

struct Iniziale {
    std::string testo;
    double valore;
};

void PrintTo(const Iniziale& i, std::ostream* os) {
    *os << testing::PrintToString(i.testo);
}

class LeadingNumberTest : public testing::TestWithParam<Iniziale> {};

TEST_P(LeadingNumberTest, ReadsTheNumberTheTextBeginsWith) {
    EXPECT_DOUBLE_EQ(core::leggiNumeroIniziale(GetParam().testo), GetParam().valore);
}

INSTANTIATE_TEST_SUITE_P(
    RecordScores, LeadingNumberTest,
    testing::Values(Iniziale{"12\r\n", 12}, Iniziale{"  1 2abc", 12}, Iniziale{"\t-\n4x", -4},
                    Iniziale{"+7", 7}, Iniziale{"&H10", 16}, Iniziale{"&hff\r\n", 255},
                    Iniziale{"&O17", 15}, Iniziale{"&O9", 0}, Iniziale{"&H", 0},
                    Iniziale{"1E1", 10}, Iniziale{"1D2", 100}, Iniziale{"2.5e-1", 0.25},
                    Iniziale{"1.5e", 1.5}, Iniziale{".5", 0.5}, Iniziale{"1,5", 1}, Iniziale{"", 0},
                    Iniziale{"-3", -3}, Iniziale{"abc7", 0}, Iniziale{"-", 0},
                    Iniziale{std::string("\0\xff\x80 9", 5), 0},
                    Iniziale{std::string("9\0"
                                         "9",
                                         3),
                             9}));

TEST(LeadingNumber, HugeExponentsSaturateInsteadOfFailing) {
    EXPECT_TRUE(std::isinf(core::leggiNumeroIniziale("1e999")));
    EXPECT_EQ(core::leggiNumeroIniziale("1e-999"), 0.0);
    EXPECT_TRUE(std::isinf(core::leggiNumeroIniziale("&H" + std::string(400, 'F'))));
}

TEST(StrictNumber, AcceptsOnlyATextThatIsANumber) {
    EXPECT_EQ(core::leggiNumeroStretto(" 42 "), 42);
    EXPECT_EQ(core::leggiNumeroStretto("-5"), -5);
    EXPECT_EQ(core::leggiNumeroStretto("0.5"), 0.5);
    EXPECT_EQ(core::leggiNumeroStretto("1e9"), 1e9);
    EXPECT_EQ(core::leggiNumeroStretto("5."), 5);
    for (const char* no : {"", " ", "abc", "12abc", "1 2", "1e", "&H10", "+", ".", "1,5"}) {
        EXPECT_FALSE(core::leggiNumeroStretto(no).has_value()) << no;
    }
}

TEST(NumberPattern, PadsToTheZerosOfThePatternOnly) {
    EXPECT_EQ(core::formatta(5, "00"), "05");
    EXPECT_EQ(core::formatta(15, "00"), "15");
    EXPECT_EQ(core::formatta(0, "####0"), "0");
    EXPECT_EQ(core::formatta(32768, "####0"), "32768");
    EXPECT_EQ(core::formatta(123, "#0"), "123");
    EXPECT_EQ(core::formatta(-5, "00"), "-05");
}

TEST(Windows1252, EveryByteSurvivesTheRoundTripThroughText) {
    for (int b = 0; b < 256; ++b) {
        const std::string byte(1, static_cast<char>(b));
        EXPECT_EQ(core::utf8InWindows1252(core::windows1252InUtf8(byte)), byte) << b;
    }
}

TEST(Windows1252, AccentedLettersAreOneByteAndOthersBecomeQuestionMarks) {
    EXPECT_EQ(core::utf8InWindows1252("Nicolò è"), "Nicol\xF2 \xE8");
    EXPECT_EQ(core::utf8InWindows1252("€ Š"), "\x80 \x8A");
    EXPECT_EQ(core::utf8InWindows1252("Ω😀"), "??");
    EXPECT_EQ(core::utf8InWindows1252("a\xC3"), "a?");         // cut-off sequence
    EXPECT_EQ(core::utf8InWindows1252("\xED\xA0\x80"), "???"); // surrogate, not a character
    EXPECT_EQ(core::windows1252InUtf8("\x80\x9F"), "€Ÿ");
}

} // namespace
