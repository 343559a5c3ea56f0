#include "core/game.hpp"

#include "core/keys.hpp"
#include "core/numbers.hpp"
#include "core/roman.hpp"

#include <cmath>

namespace core {

namespace {
constexpr const char* kRegistrazione = "Sto registrando il tuo record...";
constexpr const char* kCartellaBloccata =
    "La cartella dei record è bloccata da un altro programma: il tuo record non è ancora "
    "registrato.\n\nRiprova: continuo ad aspettare e lo registro appena la cartella si libera.\n"
    "Rinuncia: esco senza registrarlo.";
} // namespace

Gioco::Gioco(Finestra& finestra, ArchivioRecord& archivio, Casuale::SorgenteSeme seme)
    : finestra_(finestra), archivio_(archivio), casuale_(std::move(seme)) {}

void Gioco::avvia() {
    Form_Load();
    if (finito_) {
        return;
    }
    finestra_.mostra();
    Form_Resize(); // the title, also when showing the window again changes no size
    Form_Activate();
}

void Gioco::Form_Load() {
    esatte_ = 0;
    errate_ = 0;
    ripasso_.svuota();
    finestra_.mostraRipasso({});
    fermaTimer();

    // Control characters (a pasted tab, an escape sequence) would break the one-line nrom.txt.
    const std::string nome = senzaCaratteriDiControllo(finestra_.inputBox(testi::kChiediNome));
    finestra_.messageBox(std::string(" ") + nome + testi::kSfida, kSoloOk);
    finestra_.imposta(Controllo::lblnome1, nome);
    finestra_.messageBox(testi::kAvvisoLimite, kSoloOk);
    massimo_ = finestra_.inputBox(testi::kChiediLimite);

    AvviaTimer();

    const ArchivioRecord::Apertura apertura = archivio_.apri();
    if (!apertura.ok) {
        // The game never starts with a record it could not keep.
        fermaTimer();
        finestra_.messageBox(apertura.errore, kErroreCritico);
        termina(1);
        return;
    }
    finestra_.imposta(Controllo::lblpunti, apertura.record.punti);
    finestra_.imposta(Controllo::lblnome, apertura.record.nome);

    orologio_.restanti = static_cast<std::int16_t>(std::nearbyint(orologio_.secondi + 900));
    finestra_.imposta(Controllo::lblconto, testoOrologio());
}

void Gioco::Form_Activate() {
    cmdNext_Click();
}

void Gioco::Form_Resize() {
    // While minimised the title shows the time left, and follows the clock (Timer1_Timer);
    // in practice the clock label reads "Allenamento".
    finestra_.impostaTitolo(finestra_.ridottaAIcona() ? finestra_.testo(Controllo::lblconto)
                            : allenamento_            ? testi::kTitoloAllenamento
                                                      : testi::kTitolo);
}

void Gioco::cmdNext_Click() {
    if (finito_) {
        return;
    }
    finestra_.imposta(Controllo::txtAnswer, "");
    finestra_.imposta(Controllo::lblMessage, "");

    casuale_.rimescola();
    massimo_ = correggiLimite(massimo_);
    const std::int16_t n = estraiNumero(casuale_, *leggiNumeroStretto(massimo_));
    finestra_.imposta(Controllo::lblNum1, formatta(n, "#0"));

    numero_ = n;
    numeroChiesto_ = n;
    romano_ = NumeroRomano(numero_);
    finestra_.imposta(Controllo::Text2, romano_);
    rispostaEsatta_ = romano_;
    finestra_.abilita(Controllo::cmdNext, false);

    casuale_.rimescola();
    Sfondo sfondo{Sfondo::Tipo::Sfumatura, 0, 0};
    sfondo.rosso = static_cast<int>(casuale_.prossimo() * 256);
    sfondo.verde = static_cast<int>(casuale_.prossimo() * 256);
    finestra_.dipingiSfondo(sfondo);

    finestra_.daiFuoco(Controllo::txtAnswer);
}

void Gioco::txtAnswer_KeyPress(int& KeyAscii) {
    KeyAscii = normalizzaTasto(KeyAscii);
    if (KeyAscii != 13) {
        return;
    }
    KeyAscii = 0; // the Enter never reaches the box
    if (!finito_) {
        giudica();
    }
}

void Gioco::giudica() {
    if (finestra_.testo(Controllo::txtAnswer) == rispostaEsatta_) {
        ++esatte_;
        finestra_.imposta(Controllo::lblMessage, testi::kEsatto);
    } else {
        ++errate_;
        ripasso_.annota({numeroChiesto_, finestra_.testo(Controllo::txtAnswer), rispostaEsatta_});
        finestra_.mostraRipasso(ripasso_.righe());
        finestra_.imposta(Controllo::lblMessage, testi::kSbagliato + rispostaEsatta_);
        finestra_.dipingiSfondo(Sfondo{Sfondo::Tipo::Nero, 0, 0});
        finestra_.imposta(Controllo::lblScore1, formatta(errate_, "####0"));
    }
    finestra_.imposta(Controllo::lblScore, formatta(esatte_, "####0"));
    finestra_.imposta(Controllo::lblScore2, formatta(esatte_ + errate_, "####0"));
    finestra_.abilita(Controllo::cmdNext, true);
    finestra_.daiFuoco(Controllo::cmdNext);
}

void Gioco::cmdExit1_Click() {
    if (uscitaInCorso_ || finito_) {
        return;
    }
    uscitaInCorso_ = true;
    fermaTimer();

    finestra_.messageBox(std::string(testi::kSaluto) + testi::kData + finestra_.dataOdierna(),
                         kSoloOk);
    if (allenamento_) {
        termina(0); // a practice score is not a competition score: the record stays as it is
        return;
    }

    const double record = leggiNumeroIniziale(finestra_.testo(Controllo::lblpunti));
    const std::string punti = finestra_.testo(Controllo::lblScore);
    const double punteggio = leggiNumeroStretto(punti).value_or(0);
    if (record >= punteggio) {
        termina(0);
        return;
    }

    // Another program may hold the record directory's lock: the game waits with the window
    // alive, and only the player can give up.
    ArchivioRecord::Salvataggio esito;
    const auto prova = [&] {
        esito = archivio_.salva(punti, finestra_.testo(Controllo::lblnome1));
        return esito.esito != ArchivioRecord::Esito::Occupato;
    };
    if (!finestra_.attendi(prova, kRegistrazione, kCartellaBloccata)) {
        // The score is lost, knowingly: the status says that the game did not end as it should.
        termina(1);
        return;
    }
    switch (esito.esito) {
    case ArchivioRecord::Esito::Salvato:
        finestra_.messageBox(testi::kRecordRegistrato, kSoloOk);
        termina(0);
        break;
    case ArchivioRecord::Esito::NonSuperato:
        // Another game set a record at least as high meanwhile; it stands.
        termina(0);
        break;
    case ArchivioRecord::Esito::Errore:
    case ArchivioRecord::Esito::Occupato:
        finestra_.messageBox(esito.messaggio, kErroreCritico);
        termina(1);
        break;
    }
}

void Gioco::Next_Click() {
    nuovaGara(false);
}

void Gioco::Allenamento_Click() {
    nuovaGara(true);
}

void Gioco::nuovaGara(bool allenamento) {
    if (uscitaInCorso_ || finito_) {
        return;
    }
    const int risposta =
        finestra_.messageBox(testi::kNuovaGara, kSiNoDomandaNoPredefinito, testi::kTitoloNuovaGara);
    // The clock keeps running while the question is open and may have ended the game.
    if (uscitaInCorso_ || finito_ || risposta != kRispostaSi) {
        return;
    }
    allenamento_ = allenamento;
    finestra_.ricarica();
    avvia();
}

void Gioco::Timer1_Timer() {
    if (!timerAttivo_ || uscitaInCorso_ || finito_) {
        return;
    }
    if (finestra_.testo(Controllo::lblconto) == kOrologioFermo) {
        cmdExit1_Click();
        return;
    }
    orologio_.scatta();
    const std::string testo = orologio_.testo();
    finestra_.imposta(Controllo::lblconto, testo);
    if (finestra_.ridottaAIcona()) {
        finestra_.impostaTitolo(testo);
    }
}

void Gioco::AvviaTimer() {
    orologio_.riparti();
    if (!allenamento_) { // practice has no countdown: the timer stays stopped
        timerAttivo_ = true;
        finestra_.abilitaTimer(true);
    }
    finestra_.imposta(Controllo::lblconto, testoOrologio());
}

std::string Gioco::testoOrologio() const {
    return allenamento_ ? testi::kAllenamento : orologio_.testo();
}

void Gioco::fermaTimer() {
    timerAttivo_ = false;
    finestra_.abilitaTimer(false);
}

void Gioco::termina(int stato) {
    finito_ = true;
    fermaTimer();
    finestra_.termina(stato);
}

} // namespace core
