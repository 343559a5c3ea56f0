#include "core/estrazione.hpp"
#include "core/tasti.hpp"

#include <gtest/gtest.h>

#include <map>

namespace {

TEST(Estrazione, OgniNumeroSottoIlLimiteEsceUgualmenteEIlLimiteMai) {
    for (int limite : {2, 4, 100}) {
        core::Casuale casuale([] { return 20261206u; });
        std::map<int, int> conteggi;
        for (int i = 0; i < 2000 * (limite - 1); ++i) {
            ++conteggi[core::estraiNumero(casuale, limite)];
        }
        ASSERT_EQ(conteggi.size(), static_cast<std::size_t>(limite - 1));
        EXPECT_EQ(std::pair(conteggi.begin()->first, conteggi.rbegin()->first),
                  std::pair(1, limite - 1));
        for (auto [numero, volte] : conteggi) {
            EXPECT_NEAR(volte, 2000, 250) << numero; // about 5.5 standard deviations
        }
    }
}

TEST(Estrazione, DueSemiDannoDueSequenzeDiverse) {
    std::vector<int> sequenze[2];
    for (int seme : {0, 1}) {
        core::Casuale casuale([seme] { return seme + 1u; });
        for (int i = 0; i < 20; ++i) {
            sequenze[seme].push_back(core::estraiNumero(casuale, 3900));
        }
    }
    EXPECT_NE(sequenze[0], sequenze[1]);
}

TEST(Limite, TestiSenzaEstrazioneDiventano100EQuelliGrandi3800) {
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

TEST(Tasti, LeLettereDiventanoMaiuscoleELaADiventaB) {
    const std::map<int, int> attesi = {
        {'x', 'X'},   {'i', 'I'},   {'z', 'Z'},   {'a', 'B'},   {'A', 'B'},
        {'b', 'B'},   {'M', 'M'},   {'`', '`'},   {'{', '{'},   {8, 8},
        {13, 13},     {0xE0, 0xC0}, {0xE8, 0xC8}, {0xF2, 0xD2}, {0xFE, 0xDE},
        {0xFF, 0x9F}, {0x9A, 0x8A}, {0x9C, 0x8C}, {0x9E, 0x8E}, {0x99, 0x99},
        {0x9B, 0x9B}, {0x9D, 0x9D}, {0x9F, 0x9F}, {0xF7, 0xF7}, {0xDF, 0xDF},
    };
    for (auto [tasto, atteso] : attesi) {
        EXPECT_EQ(core::normalizzaTasto(tasto), atteso) << tasto;
    }
}

} // namespace
