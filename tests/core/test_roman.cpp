#include "core/roman.hpp"

#include <gtest/gtest.h>

TEST(NumeroRomano, ConvertsAndCountsTheArgumentDownToZero) {
    // clang-format off
    const std::pair<std::int16_t, const char*> casi[] = {
        {0, ""}, {1, "I"}, {4, "IV"}, {9, "IX"}, {14, "XIV"}, {40, "XL"}, {90, "XC"}, {99, "XCIX"},
        {400, "CD"}, {900, "CM"}, {388, "CCCLXXXVIII"}, {1994, "MCMXCIV"}, {3799, "MMMDCCXCIX"},
        {3888, "MMMDCCCLXXXVIII"}, {4000, "MMMM"}};
    // clang-format on
    for (auto [numero, romano] : casi) {
        std::int16_t argomento = numero;
        EXPECT_EQ(core::NumeroRomano(argomento), romano) << numero;
        EXPECT_EQ(argomento, 0) << numero;
    }
}
