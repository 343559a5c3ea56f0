#include "core/cronaca.hpp"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <utility>

namespace core {

std::string RegistroSuFile::istante() const {
    return istanteLocale(std::chrono::system_clock::now());
}

double RegistroSuFile::secondi() const {
    return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

void Cronaca::inizia() {
    inCorso_ = true;
    inPausa_ = false;
    pause_ = 0;
    secondiInPausa_ = 0;
    if (registro_ != nullptr) {
        inizio_ = registro_->istante();
        partenza_ = registro_->secondi();
    }
}

bool Cronaca::pausa() {
    if (!inCorso_ || inPausa_) {
        return false;
    }
    inPausa_ = true;
    ++pause_;
    inizioPausa_ = registro_ != nullptr ? registro_->secondi() : 0;
    return true;
}

bool Cronaca::riprendi() {
    if (!inPausa_) {
        return false;
    }
    inPausa_ = false;
    secondiInPausa_ += registro_ != nullptr ? registro_->secondi() - inizioPausa_ : 0;
    return true;
}

Cronaca::Esito Cronaca::chiudi(Partita partita) {
    riprendi(); // a game ended while paused: its last pause ends with it
    const bool inCorso = std::exchange(inCorso_, false);
    if (!inCorso || registro_ == nullptr || spento_) {
        return Esito::Spento;
    }
    const double adesso = registro_->secondi();
    partita.inizio = inizio_;
    partita.pause = pause_;
    partita.secondiInPausa = std::lround(secondiInPausa_);
    partita.durataSecondi = std::max(0L, std::lround(adesso - partenza_ - secondiInPausa_));
    if (registro_->registra(partita)) {
        return Esito::Scritta;
    }
    spento_ = true;
    return Esito::NonScritta;
}

} // namespace core
