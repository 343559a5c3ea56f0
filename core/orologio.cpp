#include "core/orologio.hpp"

#include "core/numeri.hpp"

#include <cmath>

namespace core {

void Orologio::riparti() {
    ore = 0;
    minuti = 15;
    secondi = 0;
    restanti = 900;
}

void Orologio::scatta() {
    if (secondi == 0 && minuti > 0) {
        secondi = 60;
        --minuti;
    }
    secondi -= 1;
    --restanti;
}

std::string Orologio::testo() const {
    const auto s = static_cast<long long>(std::nearbyint(secondi));
    return formatta(ore, "00") + ":" + formatta(minuti, "00") + ":" + formatta(s, "00");
}

} // namespace core
