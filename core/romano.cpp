#include "core/romano.hpp"

#include <array>

namespace core {
namespace {

constexpr std::array<int, 13> valori = {1000, 900, 500, 400, 100, 90, 50, 40, 10, 9, 5, 4, 1};
constexpr std::array<const char*, 13> simboli = {"M",  "CM", "D",  "CD", "C",  "XC", "L",
                                                 "XL", "X",  "IX", "V",  "IV", "I"};

} // namespace

std::string numeroRomano(int numero) {
    std::string risultato;
    // The last value is 1, so any number of 0 or more is used up by the last row.
    for (std::size_t riga = 0; numero > 0 && riga < valori.size(); ++riga) {
        while (numero >= valori[riga]) {
            numero -= valori[riga];
            risultato += simboli[riga];
        }
    }
    return risultato;
}

} // namespace core
