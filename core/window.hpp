#pragma once
// The window as the game's handlers see it: the controls they read and write, the dialogs,
// the clock's timer, the backdrop, the title, the date and the end of the program.
// The Qt window implements it; tests use a fake that records every call.

#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace core {

// The controls the handlers touch, by their names in the window.
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

// Buttons codes of a message box, and the answers it gives.
inline constexpr int kSoloOk = 0;
inline constexpr int kSiNoDomandaNoPredefinito = 292; // Yes and No, question icon, No default
inline constexpr int kErroreCritico = 16;             // OK only, critical icon
inline constexpr int kRispostaOk = 1;
inline constexpr int kRispostaSi = 6;
inline constexpr int kRispostaNo = 7;

class Finestra {
public:
    virtual ~Finestra() = default;

    // Captions of labels and texts of text boxes, read back exactly as written.
    virtual void imposta(Controllo c, std::string_view testo) = 0;
    virtual std::string testo(Controllo c) const = 0;
    virtual void abilita(Controllo c, bool abilitato) = 0;
    virtual bool abilitato(Controllo c) const = 0;
    virtual void daiFuoco(Controllo c) = 0;

    virtual void abilitaTimer(bool abilitato) = 0;
    virtual void dipingiSfondo(const Sfondo& sfondo) = 0;
    virtual void impostaTitolo(std::string_view titolo) = 0;
    virtual bool ridottaAIcona() const = 0;

    // Modal dialogs; the title is the application's ("Cifrolandia") when empty.
    virtual std::string inputBox(std::string_view domanda) = 0;
    virtual int messageBox(std::string_view testo, int pulsanti, std::string_view titolo = {}) = 0;

    // The review of this game's mistakes, one line each, newest first; empty for none.
    // A window without a place for it shows nothing.
    virtual void mostraRipasso(const std::vector<std::string>& righe) { (void)righe; }

    // Calls `prova` at once and, while it returns false, again every few tens of milliseconds
    // with the window alive (it repaints, keys are kept): meanwhile it shows `inAttesa`, and
    // after a few seconds asks, with `bloccata`, whether to go on ("Riprova", the default) or
    // give up ("Rinuncia"), still calling `prova` while the question is open; the wait ends by
    // itself as soon as `prova` returns true. Returns false only when the player gave up.
    virtual bool attendi(const std::function<bool()>& prova, std::string_view inAttesa,
                         std::string_view bloccata) = 0;

    // Today's date as a short date text, day and month of two digits, year of four.
    virtual std::string dataOdierna() const = 0;

    // A new game: hide the window and bring every control back to its initial value.
    virtual void ricarica() = 0;
    // Show the window, maximised.
    virtual void mostra() = 0;
    // End the program at once with this exit status. Does not return in the real window;
    // a test's fake may return, and the game then runs no further handler.
    virtual void termina(int stato) = 0;
};

} // namespace core
