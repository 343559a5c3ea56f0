#include "core/draw.hpp"
#include "core/keys.hpp"
#include "core/numbers.hpp"

#include <gtest/gtest.h>

#include <map>

namespace {

core::Casuale semeFisso() {
    return core::Casuale([] { return 20261206u; });
}

class DrawFrequencyTest : public testing::TestWithParam<int> {};

TEST_P(DrawFrequencyTest, EveryNumberBelowTheBoundComesUpEvenlyAndTheBoundNever) {
    const int limite = GetParam();
    core::Casuale casuale = semeFisso();
    std::map<int, int> conteggi;
    const int estrazioni = 2000 * (limite - 1);
    for (int i = 0; i < estrazioni; ++i) {
        ++conteggi[core::estraiNumero(casuale, limite)];
    }
    ASSERT_EQ(conteggi.size(), static_cast<std::size_t>(limite - 1));
    EXPECT_EQ(conteggi.begin()->first, 1);
    EXPECT_EQ(conteggi.rbegin()->first, limite - 1);
    for (auto [numero, volte] : conteggi) {
        EXPECT_NEAR(volte, 2000, 250) << numero; // about 5.5 standard deviations
    }
}

INSTANTIATE_TEST_SUITE_P(Bounds, DrawFrequencyTest, testing::Values(2, 4, 100));

TEST(DrawBound, TextsThatGiveNoDrawBecomeAHundredAndLargeOnesThreeThousandEightHundred) {
    const std::map<std::string, std::string> attesi = {
        {"", "100"},       {"abc", "100"},   {"-5", "100"},           {"1", "100"},
        {"0.5", "100"},    {"1.5", "100"},   {"1.0000000001", "100"}, {"0", "100"},
        {"3900", "3900"},  {"3901", "3800"}, {"5000", "3800"},        {"1e9", "3800"},
        {"1e999", "3800"}, {"2", "2"},       {" 50 ", " 50 "},        {"12abc", "100"},
    };
    for (const auto& [testo, atteso] : attesi) {
        EXPECT_EQ(core::correggiLimite(testo), atteso) << '"' << testo << '"';
    }
}

TEST(DrawBound, ACorrectedBoundAlwaysDrawsQuickly) {
    core::Casuale casuale = semeFisso();
    for (const char* testo : {"", "abc", "-5", "1", "0.5", "1.0000000001", "2", "2.5", "1e9"}) {
        const double limite = *core::leggiNumeroStretto(core::correggiLimite(testo));
        for (int i = 0; i < 200; ++i) {
            const int n = core::estraiNumero(casuale, limite);
            ASSERT_GE(n, 1);
            ASSERT_LT(n, limite);
        }
    }
}

TEST(Keys, LettersAreCapitalisedAndATurnsIntoB) {
    const std::map<int, int> attesi = {
        {'x', 'X'},   {'i', 'I'},   {'v', 'V'},   {'a', 'B'},   {'A', 'B'},   {'b', 'B'},
        {'M', 'M'},   {'1', '1'},   {' ', ' '},   {8, 8},       {13, 13},     {0xE8, 0xC8},
        {0xF2, 0xD2}, {0xFF, 0x9F}, {0x9A, 0x8A}, {0xF7, 0xF7}, {0xDF, 0xDF},
    };
    for (auto [tasto, atteso] : attesi) {
        EXPECT_EQ(core::normalizzaTasto(tasto), atteso) << tasto;
    }
}

} // namespace
