#pragma once
// The window as the game sees it: what it shows (captions, enabled flags, focus, backdrop,
// title, review), the dialogs, the clock's timer, the date and the end of the program.
// The game never reads a caption back: the only text it reads is what the player typed.
// The Qt window implements it; tests use a fake that records every call.

#include "core/ripasso.hpp"

#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace core {

// The controls the game writes, by their names in the window.
enum class Controllo {
    lblNum1,
    lblMessage,
    lblconto,
    lblScore,
    lblScore1,
    lblScore2,
    lblpunti,
    lblnome,
    lblnome1,
    txtAnswer,
    Text2,
    cmdNext,
};

// What is painted behind the controls.
struct Sfondo {
    enum class Tipo { Sistema, Sfumatura, Nero };
    Tipo tipo = Tipo::Sistema;
    int rosso = 0; // for Sfumatura: 256 horizontal bands of RGB(rosso, verde, k), k = 0..255
    int verde = 0; // from the top band to the bottom one
    bool operator==(const Sfondo&) const = default;
};

// The buttons of a message box, and the button that closed it.
enum class Pulsanti {
    Ok,             // OK only, no icon
    SiNo,           // Yes and No, question icon, No the default and the answer to Esc
    ErroreCritico,  // OK only, critical icon
    RiprovaRinuncia // "Riprova" (the default, and the answer to Esc) and "Rinuncia", warning icon
};
enum class Risposta { Ok, Si, No, Riprova, Rinuncia };

// Timed game, or practice without the clock: from number to numeral, or from numeral to number
// (the number box shows a Roman numeral and the answer is typed in digits).
enum class Modo { Gara, Allenamento, AllenamentoInverso };

class Finestra {
public:
    virtual ~Finestra() = default;

    virtual void imposta(Controllo c, std::string_view testo) = 0;
    // What the player has typed in the answer box.
    virtual std::string rispostaScritta() const = 0;
    virtual void abilita(Controllo c, bool abilitato) = 0;
    virtual void daiFuoco(Controllo c) = 0;

    virtual void abilitaTimer(bool abilitato) = 0;
    virtual void dipingiSfondo(const Sfondo& sfondo) = 0;
    virtual void impostaTitolo(std::string_view titolo) = 0;
    virtual bool ridottaAIcona() const = 0;
    // Practice shows no record line and no "Tempo restante" above the clock box.
    virtual void impostaModo(Modo modo) = 0;
    // Practice from numeral to number: the numerals shown are those of 1 to `massimo`, so that
    // the number box is made to hold the widest of them. Told before each numeral is shown.
    virtual void impostaNumeroMassimo(int /*massimo*/) {}

    // Modal dialogs; the title is the application's ("Cifrolandia") when empty. A message's
    // `dettaglio`, when given, is shown below its text in smaller letters.
    virtual std::string chiediTesto(std::string_view domanda) = 0;
    virtual Risposta avvisa(std::string_view testo, Pulsanti pulsanti, std::string_view titolo = {},
                            std::string_view dettaglio = {}) = 0;

    // The review of this game's mistakes, newest first; empty for none.
    virtual void mostraRipasso(const std::vector<Errore>& errori) = 0;

    // Calls `prova` at once and, while it returns false, again every few tens of milliseconds
    // with the window alive (it repaints, keys are kept): meanwhile it shows `inAttesa`, and
    // after a few seconds asks, with `bloccata`, whether to go on ("Riprova", the default) or
    // give up ("Rinuncia"), still calling `prova` while the question is open; the wait ends by
    // itself as soon as `prova` returns true. Returns false only when the player gave up.
    virtual bool attendi(const std::function<bool()>& prova, std::string_view inAttesa,
                         std::string_view bloccata) = 0;

    // The pause: the question, the answer and the verdict covered, and out of the keyboard's
    // reach, until the game resumes (false).
    virtual void mostraPausa(bool inPausa) = 0;
    // A quiet note that does not stop the game (the history cannot be written): no dialog.
    virtual void mostraNota(std::string_view testo) = 0;

    // Today's date as a short date text, day and month of two digits, year of four.
    virtual std::string dataOdierna() const = 0;

    // A new game: hide the window and bring every control back to its initial value.
    virtual void ricarica() = 0;
    // Show the window, maximised.
    virtual void mostra() = 0;
    // End the program at once with this exit status. Does not return in the real window;
    // a test's fake may return, and the game then does nothing more.
    virtual void termina(int stato) = 0;
};

} // namespace core
