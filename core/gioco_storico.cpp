// The game's side of the history and of the pause: what a game that ends leaves in the
// history, and the clock stopped while the question is covered.
#include "core/gioco.hpp"

#include <algorithm>

namespace core {

void Gioco::registraPartita(const char* fine) {
    if (cronaca_.inPausa()) {
        finestra_.mostraPausa(false);
    }
    Partita partita;
    partita.nome = nome_;
    partita.massimo = massimo_;
    partita.modo = modo_ == Modo::Allenamento          ? "allenamento"
                   : modo_ == Modo::AllenamentoInverso ? "allenamento-inverso"
                                                       : "gara";
    partita.esatte = esatte_;
    partita.errate = errate_;
    partita.fine = fine;
    // The review keeps them newest first; the history in the order they were made.
    partita.errori.assign(ripasso_.errori().rbegin(), ripasso_.errori().rend());
    if (cronaca_.chiudi(std::move(partita)) == Cronaca::Esito::NonScritta) {
        finestra_.mostraNota(testi::kStoricoSpento); // once: nothing more is tried
    }
}

void Gioco::chiudi() {
    if (!uscitaInCorso_ && !finito_) {
        registraPartita(fini::kFinestraChiusa);
    }
    termina(0);
}

void Gioco::pausa() {
    if (uscitaInCorso_ || finito_ || !cronaca_.pausa()) {
        return;
    }
    fermaOrologio();
    finestra_.mostraPausa(true);
}

void Gioco::riprendi() {
    if (uscitaInCorso_ || finito_ || !cronaca_.riprendi()) {
        return;
    }
    finestra_.mostraPausa(false);
    if (modo_ == Modo::Gara) { // the countdown goes on from where it stopped
        orologioAttivo_ = true;
        finestra_.abilitaTimer(true);
    }
}

} // namespace core
