#pragma once
// The program's command line, read before Qt starts: --help, --version and a wrong option
// need no window and no display.

#include <string>
#include <string_view>
#include <vector>

namespace app {

// Exit status of a command line the program does not understand.
inline constexpr int kStatoRigaSbagliata = 2;

struct Opzioni {
    bool allenamento = false;        // --allenamento: a practice game
    bool allenamentoInverso = false; // --allenamento-inverso: practice from numeral to number
    bool tastiera = false;           // --tastiera: the on-screen keypad shown
    bool risultati = false;          // --risultati: the results window alone, no game
    std::string massimo;             // --massimo N: the bound of every game; empty: asked as usual
};

struct RigaDiComando {
    bool avvia = false; // start the game with `opzioni`; otherwise end at once with `stato`
    Opzioni opzioni;
    int stato = 0;
    std::string uscita; // for standard output
    std::string errori; // for standard error
};

// Reads the arguments that follow the program's name. Qt's own options (-platform, -style,
// -session...) are accepted and left for QApplication to take; anything else unknown is an
// error. `cartellaRecord` is the record directory that the usage names.
RigaDiComando leggiRigaDiComando(const std::vector<std::string_view>& argomenti,
                                 std::string_view cartellaRecord);

} // namespace app
