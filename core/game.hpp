#pragma once
// One game of Cifrolandia: the state of the game and every handler of the game window,
// written against the abstract window so that the rules run and are tested without Qt.

#include "core/clock.hpp"
#include "core/draw.hpp"
#include "core/records.hpp"
#include "core/ripasso.hpp"
#include "core/window.hpp"

#include <cstdint>
#include <string>

namespace core {

class Gioco {
public:
    Gioco(Finestra& finestra, ArchivioRecord& archivio,
          Casuale::SorgenteSeme seme = Casuale::semeDallOrologio);

    // A whole start: the dialogs of Form_Load, then the window shown and the first question.
    void avvia();

    // The handlers, one per event of the window.
    void Form_Load();
    void Form_Activate();
    void Form_Resize();
    void cmdNext_Click();
    void txtAnswer_KeyPress(int& KeyAscii);
    void cmdExit1_Click();
    void Next_Click();
    void Timer1_Timer();
    // The practice entry: a new game without the countdown, after the new-game question.
    void Allenamento_Click();

    // Practice: no countdown, time never ends the game, and the exit never touches the record.
    // Takes effect at the next start; "Nuovo gioco" goes back to the timed game.
    void impostaAllenamento(bool allenamento) { allenamento_ = allenamento; }
    bool allenamento() const { return allenamento_; }

    // The state of the game, for the window and for tests.
    const std::string& massimo() const { return massimo_; }
    const std::string& rispostaEsatta() const { return rispostaEsatta_; }
    int esatte() const { return esatte_; }
    int errate() const { return errate_; }
    const Orologio& orologio() const { return orologio_; }
    bool finito() const { return finito_; }
    const Ripasso& ripasso() const { return ripasso_; }
    const std::string& cartellaRecord() const { return archivio_.cartella(); }

private:
    void AvviaTimer();
    void fermaTimer();
    void giudica();
    void termina(int stato);
    void nuovaGara(bool allenamento);
    std::string testoOrologio() const;

    Finestra& finestra_;
    ArchivioRecord& archivio_;
    Casuale casuale_;

    std::int16_t numero_ = 0;
    std::string romano_;
    std::string rispostaEsatta_;
    std::string massimo_;
    int esatte_ = 0;
    int errate_ = 0;
    Orologio orologio_;
    int numeroChiesto_ = 0; // numero_ is left at 0 by the conversion
    Ripasso ripasso_;
    bool allenamento_ = false;

    bool timerAttivo_ = false;
    bool uscitaInCorso_ = false; // the exit path has begun: it runs once, to its end
    bool finito_ = false;        // the program has been told to end: no handler runs any more
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
inline constexpr const char* kSaluto = "Ciao a presto...";
inline constexpr const char* kData = "Data ";
inline constexpr const char* kAllenamento = "Allenamento";
inline constexpr const char* kTitoloAllenamento = "Cifrolandia – Allenamento";
inline constexpr const char* kRecordRegistrato =
    "Ok ho registrato il tuo record, C A M P I O N E\"";
} // namespace testi

} // namespace core
