#include "core/romano.hpp"

#include <gtest/gtest.h>

TEST(NumeroRomano, ConverteOgniValore) {
    // clang-format off
    const std::pair<int, const char*> casi[] = {
        {0, ""}, {1, "I"}, {4, "IV"}, {9, "IX"}, {14, "XIV"}, {40, "XL"}, {90, "XC"}, {99, "XCIX"},
        {400, "CD"}, {900, "CM"}, {388, "CCCLXXXVIII"}, {1994, "MCMXCIV"}, {3799, "MMMDCCXCIX"},
        {3888, "MMMDCCCLXXXVIII"}, {4000, "MMMM"}};
    // clang-format on
    for (auto [numero, romano] : casi) {
        EXPECT_EQ(core::numeroRomano(numero), romano) << numero;
    }
}
