#include "app/riga_di_comando.hpp"

#include "core/numeri.hpp"

#include <algorithm>
#include <array>

namespace app {
namespace {

// Qt's options for every application (QGuiApplication, QApplication), without their dash.
constexpr std::array<std::string_view, 12> kOpzioniQtConValore = {
    "platform",        "platformpluginpath",
    "platformtheme",   "plugin",
    "qwindowgeometry", "qwindowicon",
    "qwindowtitle",    "style",
    "stylesheet",      "session",
    "display",         "geometry"};
constexpr std::array<std::string_view, 6> kOpzioniQtSenzaValore = {
    "reverse", "widgetcount", "nograb", "dograb", "sync", "qmljsdebugger"};

bool tra(const auto& elenco, std::string_view nome) {
    return std::find(elenco.begin(), elenco.end(), nome) != elenco.end();
}

std::string uso(std::string_view cartellaRecord) {
    return "Uso: cifrolandia [--allenamento | --allenamento-inverso] [--massimo N] [--tastiera]\n"
           "     cifrolandia --risultati\n"
           "     cifrolandia --help | --version\n"
           "\n"
           "Cifrolandia, il gioco dei numeri romani: mostra un numero e chi gioca lo scrive\n"
           "in numeri romani, contro un orologio di quindici minuti che corre al doppio\n"
           "della velocità: i suoi 15 minuti durano 7 minuti e mezzo reali.\n"
           "\n"
           "Opzioni:\n"
           "  --allenamento          partita di allenamento: senza orologio, il record non\n"
           "                         cambia\n"
           "  --allenamento-inverso  allenamento al contrario: il gioco mostra un numero\n"
           "                         romano e chi gioca lo scrive in cifre\n"
           "  --massimo N            il numero più grande delle domande, per tutte le\n"
           "                         partite: non viene chiesto (da 2 in su; oltre 3900\n"
           "                         vale 3800)\n"
           "  --tastiera             mostra la tastiera sullo schermo, per le lavagne\n"
           "                         interattive e gli schermi tattili\n"
           "  --risultati            mostra solo la finestra dei risultati delle partite\n"
           "                         giocate\n"
           "  --help                 mostra questo aiuto ed esce\n"
           "  --version              mostra il nome e la versione ed esce\n"
           "Sono accettate anche le opzioni comuni dei programmi Qt, come -platform e -style.\n"
           "\n"
           "Cartella del record: " +
           std::string(cartellaRecord) +
           "\n"
           "(la variabile d'ambiente CIFROLANDIA_RECORD_DIR ne indica un'altra).\n"
           "\n"
           "Stato d'uscita: 0 fine normale; 1 cartella del record non utilizzabile all'avvio,\n"
           "o record non salvato; 2 riga di comando sbagliata.\n";
}

RigaDiComando sbagliata(const std::string& errore, std::string_view cartellaRecord) {
    RigaDiComando riga;
    riga.stato = kStatoRigaSbagliata;
    riga.errori = "cifrolandia: " + errore + "\n\n" + uso(cartellaRecord);
    return riga;
}

RigaDiComando fine(std::string uscita) {
    RigaDiComando riga;
    riga.uscita = std::move(uscita);
    return riga;
}

} // namespace

RigaDiComando leggiRigaDiComando(const std::vector<std::string_view>& argomenti,
                                 std::string_view cartellaRecord) {
    RigaDiComando riga;
    riga.avvia = true;
    for (std::size_t i = 0; i < argomenti.size(); ++i) {
        const std::string_view argomento = argomenti[i];
        if (argomento == "--help") {
            return fine(uso(cartellaRecord));
        }
        if (argomento == "--version") {
            return fine("Cifrolandia " CIFROLANDIA_VERSIONE "\n"
                        "Licenza GPL-3.0 o successiva <https://www.gnu.org/licenses/gpl.html>:\n"
                        "questo è software libero, e non c'è alcuna garanzia.\n");
        }
        if (argomento == "--allenamento") {
            riga.opzioni.allenamento = true;
            continue;
        }
        if (argomento == "--allenamento-inverso") {
            riga.opzioni.allenamentoInverso = true;
            continue;
        }
        if (argomento == "--tastiera") {
            riga.opzioni.tastiera = true;
            continue;
        }
        if (argomento == "--risultati") {
            riga.opzioni.risultati = true;
            continue;
        }
        if (argomento == "--massimo" || argomento.starts_with("--massimo=")) {
            // Read as a typed bound is (core::correggiLimite), but a bound that would fall back
            // to 100 is a mistake of the command line, not a choice.
            const bool attaccato = argomento.size() > 9;
            if (!attaccato && i + 1 == argomenti.size()) {
                return sbagliata("--massimo vuole un numero", cartellaRecord);
            }
            const std::string_view valore = attaccato ? argomento.substr(10) : argomenti[++i];
            const auto numero = core::leggiNumeroStretto(valore);
            if (!numero || !(*numero >= 2)) {
                return sbagliata("--massimo vuole un numero da 2 in su, non: " +
                                     std::string(valore),
                                 cartellaRecord);
            }
            riga.opzioni.massimo = valore;
            continue;
        }
        if (!argomento.starts_with('-')) {
            return sbagliata("argomento inatteso: " + std::string(argomento), cartellaRecord);
        }
        // Qt takes its options with one dash or two, and some as -nome=valore.
        std::string_view nome = argomento.substr(argomento.starts_with("--") ? 2 : 1);
        const bool valoreAttaccato = nome.find('=') != std::string_view::npos;
        nome = nome.substr(0, nome.find('='));
        if (tra(kOpzioniQtConValore, nome)) {
            i += valoreAttaccato ? 0 : 1; // its value follows, whatever it looks like
        } else if (!tra(kOpzioniQtSenzaValore, nome)) {
            return sbagliata("opzione sconosciuta: " + std::string(argomento), cartellaRecord);
        }
    }
    return riga;
}

} // namespace app
