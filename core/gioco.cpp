#include "core/gioco.hpp"

#include "core/inverso.hpp"
#include "core/numeri.hpp"
#include "core/romano.hpp"
#include "core/tasti.hpp"

#include <cmath>

namespace core {

namespace {
constexpr int kInvio = 13;
} // namespace

Gioco::Gioco(Finestra& finestra, ArchivioRecord& archivio, Casuale::SorgenteSeme seme)
    : finestra_(finestra), archivio_(archivio), casuale_(std::move(seme)) {}

void Gioco::avvia() {
    preparaPartita();
    if (finito_) {
        return;
    }
    cronaca_.inizia();
    finestra_.mostra();
    aggiornaTitolo(); // also when showing the window again changes no size
    prossimaDomanda();
}

// The start-up dialogs, with the window hidden: the name, the bound, the record.
void Gioco::preparaPartita() {
    esatte_ = 0;
    errate_ = 0;
    ripasso_.svuota();
    finestra_.mostraRipasso({});
    finestra_.impostaModo(modo_);
    fermaOrologio();

    // Control characters (a pasted tab, an escape sequence) would break the one-line nrom.txt.
    nome_ = senzaCaratteriDiControllo(finestra_.chiediTesto(testi::kChiediNome));
    finestra_.avvisa(" " + nome_ + testi::kSfida, Pulsanti::Ok);
    finestra_.imposta(Controllo::lblnome1, nome_);
    if (massimoFisso_) {
        massimo_ = *massimoFisso_; // set for the session: neither asked nor announced
    } else {
        finestra_.avvisa(testi::kAvvisoLimite, Pulsanti::Ok);
        massimo_ = finestra_.chiediTesto(testi::kChiediLimite);
    }

    avviaOrologio();

    const ArchivioRecord::Apertura apertura = archivio_.apri();
    if (!apertura.ok) {
        // The game never starts with a record it could not keep.
        fermaOrologio();
        finestra_.avvisa(apertura.errore, Pulsanti::ErroreCritico);
        termina(1);
        return;
    }
    recordPunti_ = leggiNumeroIniziale(apertura.record.punti);
    finestra_.imposta(Controllo::lblpunti, apertura.record.punti);
    finestra_.imposta(Controllo::lblnome, apertura.record.nome);
}

void Gioco::aggiornaTitolo() {
    finestra_.impostaTitolo(finestra_.ridottaAIcona()           ? testoOrologio()
                            : modo_ == Modo::Allenamento        ? testi::kTitoloAllenamento
                            : modo_ == Modo::AllenamentoInverso ? testi::kTitoloAllenamentoInverso
                                                                : testi::kTitolo);
}

void Gioco::prossimaDomanda() {
    if (finito_) {
        return;
    }
    finestra_.imposta(Controllo::txtAnswer, "");
    finestra_.imposta(Controllo::lblMessage, "");

    casuale_.rimescola();
    massimo_ = correggiLimite(massimo_);
    const double limite = *leggiNumeroStretto(massimo_);
    numero_ = estraiNumero(casuale_, limite);
    const bool inverso = modo_ == Modo::AllenamentoInverso;
    if (inverso) {
        // estraiNumero draws below the bound: 99 at most for 100, 2 for 2.5.
        finestra_.impostaNumeroMassimo(static_cast<int>(std::ceil(limite)) - 1);
    }
    finestra_.imposta(Controllo::lblNum1, domanda());
    rispostaEsatta_ = inverso ? formatta(numero_, "#0") : numeroRomano(numero_);
    finestra_.imposta(Controllo::Text2, rispostaEsatta_);
    finestra_.abilita(Controllo::cmdNext, false);

    casuale_.rimescola();
    Sfondo sfondo{Sfondo::Tipo::Sfumatura, 0, 0};
    sfondo.rosso = static_cast<int>(casuale_.prossimo() * 256);
    sfondo.verde = static_cast<int>(casuale_.prossimo() * 256);
    finestra_.dipingiSfondo(sfondo);

    finestra_.daiFuoco(Controllo::txtAnswer);
}

int Gioco::tasto(int codice) {
    if (cronaca_.inPausa()) {
        return 0; // nothing is typed while the question is covered
    }
    // From numeral to number the box takes digits only: a letter never reaches it.
    codice =
        modo_ == Modo::AllenamentoInverso ? filtraTastoInverso(codice) : normalizzaTasto(codice);
    if (codice != kInvio) {
        return codice;
    }
    if (!finito_) {
        giudica();
    }
    return 0; // the Enter never reaches the box
}

void Gioco::giudica() {
    const std::string risposta = finestra_.rispostaScritta();
    const bool esatta = modo_ == Modo::AllenamentoInverso
                            ? leggiRispostaInversa(risposta) == numero_ // "024" is 24 too
                            : risposta == rispostaEsatta_;
    if (esatta) {
        ++esatte_;
        finestra_.imposta(Controllo::lblMessage, testi::kEsatto);
    } else {
        ++errate_;
        ripasso_.annota({domanda(), risposta, rispostaEsatta_});
        finestra_.mostraRipasso(ripasso_.errori());
        finestra_.imposta(Controllo::lblMessage, testi::kSbagliato + rispostaEsatta_);
        finestra_.dipingiSfondo(Sfondo{Sfondo::Tipo::Nero, 0, 0});
        finestra_.imposta(Controllo::lblScore1, formatta(errate_, "####0"));
    }
    finestra_.imposta(Controllo::lblScore, formatta(esatte_, "####0"));
    finestra_.imposta(Controllo::lblScore2, formatta(esatte_ + errate_, "####0"));
    finestra_.abilita(Controllo::cmdNext, true);
    finestra_.daiFuoco(Controllo::cmdNext);
}

void Gioco::esci() {
    concludi(fini::kUscita);
}

void Gioco::concludi(const char* fine) {
    if (uscitaInCorso_ || finito_) {
        return;
    }
    uscitaInCorso_ = true;
    fermaOrologio();
    registraPartita(fine);

    finestra_.avvisa(std::string(testi::kSaluto) + testi::kData + finestra_.dataOdierna(),
                     Pulsanti::Ok);
    // A practice score is not a competition score, and only a higher score is a record.
    if (modo_ != Modo::Gara || recordPunti_ >= esatte_) {
        termina(0);
        return;
    }
    // The score is lost only when the player says so: the status then says that the game did
    // not end as it should.
    termina(registraRecord() ? 0 : 1);
}

// Saves the score as the new record, as many times as the player asks when a save fails.
// Returns false when the player gave up.
bool Gioco::registraRecord() {
    const std::string punti = formatta(esatte_, "####0");
    for (;;) {
        // Another program may hold the directory's lock: the game waits with the window alive.
        ArchivioRecord::Salvataggio esito;
        const auto prova = [&] {
            esito = archivio_.salva(punti, nome_);
            return esito.esito != ArchivioRecord::Esito::Occupato;
        };
        if (!finestra_.attendi(prova, testi::kRegistrazione, testi::kCartellaBloccata)) {
            return false;
        }
        switch (esito.esito) {
        case ArchivioRecord::Esito::Salvato:
            finestra_.avvisa(testi::kRecordRegistrato, Pulsanti::Ok);
            return true;
        case ArchivioRecord::Esito::NonSuperato:
            return true; // another game set a record at least as high meanwhile; it stands
        case ArchivioRecord::Esito::Errore:
        case ArchivioRecord::Esito::Occupato:
            if (finestra_.avvisa(esito.messaggio + testi::kRiprovaORinuncia,
                                 Pulsanti::RiprovaRinuncia) == Risposta::Rinuncia) {
                return false;
            }
            break;
        }
    }
}

void Gioco::ricomincia(Modo modo) {
    if (uscitaInCorso_ || finito_) {
        return;
    }
    const bool gara = modo == Modo::Gara;
    const bool inverso = modo == Modo::AllenamentoInverso;
    const Risposta risposta = finestra_.avvisa(
        gara      ? testi::kNuovaGara
        : inverso ? testi::kNuovoAllenamentoInverso
                  : testi::kNuovoAllenamento,
        Pulsanti::SiNo, gara ? testi::kTitoloNuovaGara : testi::kTitoloNuovoAllenamento,
        gara      ? testi::kDettaglioNuovaGara
        : inverso ? testi::kDettaglioAllenamentoInverso
                  : testi::kDettaglioAllenamento);
    // The clock keeps running while the question is open and may have ended the game.
    if (uscitaInCorso_ || finito_ || risposta != Risposta::Si) {
        return;
    }
    registraPartita(gara ? fini::kNuovoGioco : fini::kAllenamento);
    modo_ = modo;
    finestra_.ricarica();
    avvia();
}

void Gioco::scatto() {
    if (!orologioAttivo_) { // stopped while paused and before any ending begins
        return;
    }
    if (orologio_.restanti <= 0) { // the first tick after the clock reached 00:00:00
        concludi(fini::kTempo);
        return;
    }
    orologio_.scatta();
    finestra_.imposta(Controllo::lblconto, orologio_.testo());
    if (finestra_.ridottaAIcona()) {
        finestra_.impostaTitolo(orologio_.testo());
    }
}

void Gioco::avviaOrologio() {
    orologio_.riparti();
    if (modo_ == Modo::Gara) { // practice has no countdown: the timer stays stopped
        orologioAttivo_ = true;
        finestra_.abilitaTimer(true);
    }
    finestra_.imposta(Controllo::lblconto, testoOrologio());
}

std::string Gioco::testoOrologio() const {
    return modo_ != Modo::Gara ? testi::kAllenamento : orologio_.testo();
}

std::string Gioco::domanda() const {
    return modo_ == Modo::AllenamentoInverso ? numeroRomano(numero_) : formatta(numero_, "#0");
}

void Gioco::fermaOrologio() {
    orologioAttivo_ = false;
    finestra_.abilitaTimer(false);
}

void Gioco::termina(int stato) {
    finito_ = true;
    fermaOrologio();
    finestra_.termina(stato);
}

} // namespace core
