#include "core/cp1252.hpp"
#include "core/numeri.hpp"

#include <gtest/gtest.h>

#include <iconv.h>

#include <cmath>

namespace {

const std::string kHex = "&H" + std::string(400, 'F'), kNul("\0\xff\x80 9", 5), kNul9("9\0009", 3);

TEST(NumeroIniziale, LeggeIlNumeroConCuiIniziaIlFileDelRecord) {
    const std::pair<std::string, double> casi[] = {
        {"12\r\n", 12},    {"  1 2abc", 12}, {"\t-\n4x", -4}, {"+7", 7},           {"&H10", 16},
        {"&hff\r\n", 255}, {"&HaF", 175},    {"&HA:", 10},    {"&O17", 15},        {"&o17", 15},
        {"&O18", 1},       {"1h2", 1},       {"&H", 0},       {"1E1", 10},         {"1D2", 100},
        {"2.5e-1", 0.25},  {"1.5e", 1.5},    {".5", 0.5},     {"1,5", 1},          {"", 0},
        {"-3", -3},        {"abc7", 0},      {"-", 0},        {"1e999", INFINITY}, {"1e-999", 0},
        {kHex, INFINITY},  {kNul, 0},        {kNul9, 9},
    };
    for (const auto& [testo, valore] : casi) {
        EXPECT_DOUBLE_EQ(core::leggiNumeroIniziale(testo), valore) << testo;
    }
}

TEST(NumeroStretto, AccettaSoloUnTestoCheEUnNumero) {
    const std::pair<const char*, std::optional<double>> casi[] = {
        {" 42 ", 42}, {"\t-5\t", -5}, {"0.5", 0.5},  {"1e9", 1e9}, {"5.", 5},    {"", {}},
        {" ", {}},    {"abc", {}},    {"12abc", {}}, {"1 2", {}},  {"1e", {}},   {"&H10", {}},
        {"+", {}},    {".", {}},      {"1,5", {}},   {"1.5x", {}}, {"1e5x", {}},
    };
    for (const auto& [testo, valore] : casi) {
        EXPECT_EQ(core::leggiNumeroStretto(testo), valore) << testo;
    }
}

TEST(Schema, RiempieFinoAgliZeriDelloSchema) {
    for (auto [n, schema, testo] :
         {std::tuple{5, "00", "05"}, {-5, "00", "-05"}, {123, "#0", "123"}, {0, "####0", "0"}}) {
        EXPECT_EQ(core::formatta(n, schema), testo);
    }
}

TEST(Windows1252, OgniByteTornaUgualeEGliAltiConcordanoConIconv) {
    iconv_t daCp1252 = iconv_open("UTF-8", "CP1252");
    ASSERT_NE(daCp1252, reinterpret_cast<iconv_t>(-1));
    for (int b = 0; b < 256; ++b) {
        std::string byte(1, static_cast<char>(b)), utf8(8, '\0');
        EXPECT_EQ(core::utf8InWindows1252(core::windows1252InUtf8(byte)), byte) << b;
        char* in = byte.data();
        char* out = utf8.data();
        std::size_t nIn = 1, nOut = utf8.size();
        if (iconv(daCp1252, &in, &nIn, &out, &nOut) == static_cast<std::size_t>(-1)) {
            EXPECT_EQ(core::daWindows1252(b), static_cast<char32_t>(b)) << b; // undefined byte
        } else {
            EXPECT_EQ(core::windows1252InUtf8(byte), utf8.substr(0, 8 - nOut)) << b;
        }
    }
    iconv_close(daCp1252);
}

TEST(Windows1252, CaratteriFuoriDallaTabellaESequenzeMalformateDiventanoPuntiDiDomanda) {
    // Then the smallest character of 2, 3 and 4 bytes, and an overlong one below it; the
    // largest character, and one above; the surrogates between U+D7FF and U+E000.
    // clang-format off
    const std::pair<std::string, std::string> casi[] = {
        {"Nicolò è", "Nicol\xF2 \xE8"}, {"€ Š Ÿ ™", "\x80 \x8A \x9F \x99"}, {"Ω😀", "??"},
        {"a\xC3", "a?"}, {"\xC3\x28", "?("}, {"\x80", "?"}, {"\xF8\x88\x80\x80\x80", "?????"},
        {"\xC2\x80\xC2\x9F\xC4\x80", "???"}, {"\xC1\xBF", "??"}, {"\xE0\xA0\x80", "?"},
        {"\xE0\x9F\xBF", "???"}, {"\xF0\x90\x80\x80", "?"}, {"\xF0\x8F\xBF\xBF", "????"},
        {"\xF4\x8F\xBF\xBF", "?"}, {"\xF4\x90\x80\x80", "????"}, {"\xED\x9F\xBF", "?"},
        {"\xED\xA0\x80", "???"}, {"\xED\xBF\xBF", "???"}, {"\xEE\x80\x80", "?"}};
    // clang-format on
    for (const auto& [testo, byte] : casi) {
        EXPECT_EQ(core::utf8InWindows1252(testo), byte) << testo;
    }
}

} // namespace
