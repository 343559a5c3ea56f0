#include "core/roman.hpp"

#include <gtest/gtest.h>

namespace {

struct Caso {
    std::int16_t numero;
    const char* romano;
};

void PrintTo(const Caso& c, std::ostream* os) {
    *os << c.numero;
}

class NumeroRomanoTest : public testing::TestWithParam<Caso> {};

TEST_P(NumeroRomanoTest, ConvertsAndCountsTheArgumentDownToZero) {
    std::int16_t numero = GetParam().numero;
    EXPECT_EQ(core::NumeroRomano(numero), GetParam().romano);
    EXPECT_EQ(numero, 0);
}

INSTANTIATE_TEST_SUITE_P(Table, NumeroRomanoTest,
                         testing::Values(Caso{0, ""}, Caso{1, "I"}, Caso{4, "IV"}, Caso{9, "IX"},
                                         Caso{14, "XIV"}, Caso{40, "XL"}, Caso{90, "XC"},
                                         Caso{99, "XCIX"}, Caso{400, "CD"}, Caso{900, "CM"},
                                         Caso{388, "CCCLXXXVIII"}, Caso{1994, "MCMXCIV"},
                                         Caso{3799, "MMMDCCXCIX"}, Caso{3888, "MMMDCCCLXXXVIII"},
                                         Caso{3899, "MMMDCCCXCIX"}, Caso{4000, "MMMM"}));

TEST(NumeroRomano, LargestArgumentRepeatsMOncePerThousand) {
    std::int16_t numero = 32767;
    const std::string romano = core::NumeroRomano(numero);
    EXPECT_EQ(romano, std::string(32, 'M') + "DCCLXVII");
    EXPECT_EQ(romano.size(), 40u);
}

TEST(NumeroRomano, NegativeArgumentGivesNothingAndIsLeftAlone) {
    for (std::int16_t n : {std::int16_t{-1}, std::int16_t{-1000}, std::int16_t{-32768}}) {
        std::int16_t numero = n;
        EXPECT_EQ(core::NumeroRomano(numero), "");
        EXPECT_EQ(numero, n);
    }
}

} // namespace
