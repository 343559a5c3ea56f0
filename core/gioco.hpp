#pragma once
// One game of Cifrolandia: it owns the game's state (counts, record, clock, question, mode)
// and tells the window what to show. The window calls the entry points below for the
// player's actions and the clock's ticks.

#include "core/cronaca.hpp"
#include "core/estrazione.hpp"
#include "core/finestra.hpp"
#include "core/orologio.hpp"
#include "core/record.hpp"
#include "core/ripasso.hpp"

#include <cstdint>
#include <optional>
#include <string>

namespace core {

class Gioco {
public:
    Gioco(Finestra& finestra, ArchivioRecord& archivio,
          Casuale::SorgenteSeme seme = Casuale::semeDallOrologio);

    // A whole start: the start-up dialogs, then the window shown and the first question.
    void avvia();
    // The title: the time left while the window is minimised, the game's name otherwise.
    void aggiornaTitolo();
    // A new number to convert, with a fresh backdrop ("Nuovo calcolo").
    void prossimaDomanda();
    // A character typed in the answer box, as a Windows-1252 code: returns what goes into the
    // box (0 for nothing). Enter judges the answer.
    int tasto(int codice);
    // The end of the game ("Exit", or the clock run out): goodbye, and a new record saved.
    void esci();
    // "Nuovo gioco" and "Allenamento": after the player's yes, the game starts again, timed or
    // as practice.
    void nuovaPartita() { ricomincia(Modo::Gara); }
    void nuovoAllenamento() { ricomincia(Modo::Allenamento); }
    void nuovoAllenamentoInverso() { ricomincia(Modo::AllenamentoInverso); }
    // A tick of the clock's timer, every 500 ms: one clock second.
    void scatto();
    // The window closed by the player: the game ends at once, with nothing saved.
    void chiudi();

    // The pause ("Pausa"): the clock stops and the window covers the question until the game
    // resumes. It never ends the game and never touches the record; the history counts it.
    void pausa();
    void riprendi();
    bool inPausa() const { return cronaca_.inPausa(); }

    // Every game that ends is written there, from now on (the history of games).
    void impostaRegistro(RegistroPartite& registro) { cronaca_.impostaRegistro(registro); }
    // A bound fixed for the whole session (--massimo): the bound is not asked any more.
    void impostaMassimoFisso(std::string massimo) { massimoFisso_ = std::move(massimo); }

    // Practice: no countdown, time never ends the game, and the exit never touches the record.
    // Takes effect at the next start; "Nuovo gioco" goes back to the timed game.
    void impostaModo(Modo modo) { modo_ = modo; }
    Modo modo() const { return modo_; }

    // The state of the game.
    const std::string& massimo() const { return massimo_; }
    int numero() const { return numero_; }
    const std::string& rispostaEsatta() const { return rispostaEsatta_; }
    int esatte() const { return esatte_; }
    int errate() const { return errate_; }
    double recordPunti() const { return recordPunti_; }
    const Orologio& orologio() const { return orologio_; }
    bool finito() const { return finito_; }
    const Ripasso& ripasso() const { return ripasso_; }
    const std::string& cartellaRecord() const { return archivio_.cartella(); }

private:
    void preparaPartita();
    void giudica();
    bool registraRecord();
    void ricomincia(Modo modo);
    void avviaOrologio();
    void fermaOrologio();
    void termina(int stato);
    void concludi(const char* fine);
    void registraPartita(const char* fine);
    std::string testoOrologio() const;
    std::string domanda() const; // what the number box shows

    Finestra& finestra_;
    ArchivioRecord& archivio_;
    Casuale casuale_;

    std::string nome_;
    std::string massimo_;
    int numero_ = 0;
    std::string rispostaEsatta_;
    int esatte_ = 0;
    int errate_ = 0;
    double recordPunti_ = 0; // the number the record file begins with
    Orologio orologio_;
    Ripasso ripasso_;
    Modo modo_ = Modo::Gara;
    Cronaca cronaca_;
    std::optional<std::string> massimoFisso_;

    bool orologioAttivo_ = false;
    bool uscitaInCorso_ = false; // the exit path has begun: it runs once, to its end
    bool finito_ = false;        // the program has been told to end: nothing runs any more
};

// The texts the game shows.
namespace testi {
inline constexpr const char* kTitolo = "Cifrolandia";
inline constexpr const char* kChiediNome = "Come ti chiami?";
inline constexpr const char* kSfida = " vediamo se sei un vero campione  ";
inline constexpr const char* kAvvisoLimite = " Inserisci il numero più grande che potrò utilizzare";
inline constexpr const char* kChiediLimite = "Allora arriverò fino al numero?  ";
inline constexpr const char* kEsatto = "Esatto, è incredibile!!!";
inline constexpr const char* kSbagliato = "Sbagliato!! ";
inline constexpr const char* kNuovaGara = "INIZIAMO UNA NUOVA GARA  ?";
inline constexpr const char* kTitoloNuovaGara = "INIZIARE NUOVA GARA";
inline constexpr const char* kDettaglioNuovaGara =
    "Comincia una nuova gara a tempo, da 15 minuti. Il punteggio di questa partita non sarà "
    "conservato.";
inline constexpr const char* kNuovoAllenamento =
    "Iniziamo un allenamento, senza orologio e senza record?";
inline constexpr const char* kDettaglioAllenamento =
    "In allenamento non c'è il tempo e il record non cambia. Il punteggio di questa partita non "
    "sarà conservato.";
inline constexpr const char* kTitoloNuovoAllenamento = "INIZIARE UN ALLENAMENTO";
inline constexpr const char* kSaluto = "Ciao a presto...";
inline constexpr const char* kData = "Data ";
inline constexpr const char* kAllenamento = "Allenamento";
inline constexpr const char* kTitoloAllenamento = "Cifrolandia – Allenamento";
inline constexpr const char* kNuovoAllenamentoInverso =
    "Iniziamo un allenamento dal romano al numero, senza orologio e senza record?";
inline constexpr const char* kDettaglioAllenamentoInverso =
    "Il gioco mostra un numero romano e tu scrivi in cifre il numero corrispondente. In "
    "allenamento non c'è il tempo e il record non cambia. Il punteggio di questa partita non "
    "sarà conservato.";
inline constexpr const char* kTitoloAllenamentoInverso =
    "Cifrolandia – Allenamento dal romano al numero";
inline constexpr const char* kRecordRegistrato =
    "Ok ho registrato il tuo record, C A M P I O N E\"";
inline constexpr const char* kRegistrazione = "Sto registrando il tuo record...";
inline constexpr const char* kCartellaBloccata =
    "La cartella del record è bloccata da un altro programma: il tuo record non è ancora "
    "registrato.\n\nRiprova: continuo ad aspettare e lo registro appena la cartella si libera.\n"
    "Rinuncia: esco senza registrarlo.";
inline constexpr const char* kRiprovaORinuncia =
    "\n\nRiprova: provo di nuovo a registrarlo.\nRinuncia: esco senza registrarlo.";
inline constexpr const char* kStoricoSpento =
    "Lo storico delle partite non si può scrivere: questa e le prossime partite non vi saranno "
    "annotate.";
} // namespace testi

} // namespace core
