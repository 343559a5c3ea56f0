#include "core/ripasso.hpp"

namespace core {

void Ripasso::annota(Errore errore) {
    errori_.insert(errori_.begin(), std::move(errore));
}

std::vector<std::string> Ripasso::righe() const {
    std::vector<std::string> righe;
    righe.reserve(errori_.size());
    for (const Errore& e : errori_) {
        righe.push_back(rigaDi(e));
    }
    return righe;
}

std::string rigaDi(const Errore& errore) {
    const std::string scritto = errore.scritto.empty() ? "(vuota)" : errore.scritto;
    return std::to_string(errore.numero) + ": " + scritto + " \u2192 " + errore.esatto;
}

} // namespace core
