#include "core/inverso.hpp"

#include <algorithm>
#include <charconv>

namespace core {

std::optional<int> leggiRispostaInversa(std::string_view testo) {
    if (testo.empty() ||
        !std::all_of(testo.begin(), testo.end(), [](char c) { return c >= '0' && c <= '9'; })) {
        return std::nullopt;
    }
    int valore = 0;
    // from_chars stops at an overflow instead of wrapping round.
    const auto [fine, errore] = std::from_chars(testo.data(), testo.data() + testo.size(), valore);
    if (errore != std::errc() || fine != testo.data() + testo.size()) {
        return std::nullopt;
    }
    return valore;
}

int filtraTastoInverso(int codice) {
    const bool cifra = codice >= '0' && codice <= '9';
    const bool controllo = codice < 0x20 || codice == 0x7F;
    return cifra || controllo ? codice : 0;
}

} // namespace core
