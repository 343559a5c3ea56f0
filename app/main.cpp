// Cifrolandia: a quiz on Roman numerals for school pupils.

#include "app/riga_di_comando.hpp"
#include "core/cronaca.hpp"
#include "core/gioco.hpp"
#include "core/record.hpp"
#include "ui/ambiente.hpp"
#include "ui/risultati.hpp"
#include "ui/tavola.hpp"
#include "ui/traduzioni.hpp"

#include <QApplication>
#include <QFile>
#include <QIcon>
#include <QTimer>

#include <cstdio>
#include <string_view>
#include <vector>

int main(int argc, char* argv[]) {
    // Before Qt starts: --help, --version and a wrong option need no display.
    const app::RigaDiComando riga =
        app::leggiRigaDiComando(std::vector<std::string_view>(argv + 1, argv + argc),
                                core::ArchivioRecord::cartellaPredefinita());
    std::fputs(riga.uscita.c_str(), stdout);
    std::fputs(riga.errori.c_str(), stderr);
    if (!riga.avvia) {
        return riga.stato;
    }

    ui::preparaAmbienteQt();
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Cifrolandia"));
    // The installed menu entry, so that desktops show its name and icon for the window.
    QApplication::setDesktopFileName(QStringLiteral("it.cifrolandia.Cifrolandia"));
    // The game ends through its own paths (the exit button, the clock, closing the window),
    // not when a start-up dialog closes while the window is still hidden.
    QApplication::setQuitOnLastWindowClosed(false);
    ui::caricaTraduzioniItaliane(app);
    // No icon theme of the system is looked up: the game shows its own pictures, and Qt's
    // dialogs then take their buttons' icons from Qt itself at once, instead of reading the
    // system's whole icon theme index before the first dialog appears.
    QIcon::setThemeSearchPaths({QStringLiteral(":/icons")});

    if (riga.opzioni.risultati) {
        // A teacher's look at the games: no game starts, and the program ends with the window.
        auto* risultati = new ui::FinestraRisultati(ui::percorsoStorico());
        QObject::connect(risultati, &QObject::destroyed, &app, &QCoreApplication::quit);
        risultati->show();
        return QApplication::exec();
    }

    core::ArchivioRecord archivio(core::ArchivioRecord::cartellaPredefinita());
    core::RegistroSuFile registro(QFile::encodeName(ui::percorsoStorico()).toStdString());
    ui::Tavola tavola;
    core::Gioco gioco(tavola, archivio);
    tavola.collega(gioco);
    gioco.impostaModo(riga.opzioni.allenamentoInverso ? core::Modo::AllenamentoInverso
                      : riga.opzioni.allenamento      ? core::Modo::Allenamento
                                                      : core::Modo::Gara);
    gioco.impostaRegistro(registro);
    if (!riga.opzioni.massimo.empty()) {
        gioco.impostaMassimoFisso(riga.opzioni.massimo);
    }
    if (riga.opzioni.tastiera) {
        tavola.mostraTastierino(true); // shown anyway on a touch screen
    }
    QTimer::singleShot(0, &tavola, [&gioco] { gioco.avvia(); });
    return QApplication::exec();
}
