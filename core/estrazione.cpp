#include "core/estrazione.hpp"

#include "core/numeri.hpp"

#include <chrono>
#include <cmath>

namespace core {

Casuale::Casuale(SorgenteSeme seme) : seme_(std::move(seme)) {
    rimescola();
}

std::uint64_t Casuale::semeDallOrologio() {
    return static_cast<std::uint64_t>(
        std::chrono::high_resolution_clock::now().time_since_epoch().count());
}

void Casuale::rimescola() {
    generatore_.seed(seme_());
}

double Casuale::prossimo() {
    // The top 53 bits as a fraction: always below 1 (std::generate_canonical may round to 1).
    return static_cast<double>(generatore_() >> 11) * 0x1.0p-53;
}

std::string correggiLimite(const std::string& massimo) {
    const auto valore = leggiNumeroStretto(massimo);
    if (!valore || !(*valore >= 2)) {
        return "100";
    }
    if (*valore > 3900) {
        return "3800";
    }
    return massimo;
}

std::int16_t estraiNumero(Casuale& casuale, double limite) {
    std::int16_t n = 0;
    while (n == 0) {
        n = static_cast<std::int16_t>(std::floor(casuale.prossimo() * limite));
    }
    return n;
}

} // namespace core
