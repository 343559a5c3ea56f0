// Cifrolandia: a quiz on Roman numerals for school pupils.

#include "core/game.hpp"
#include "core/records.hpp"
#include "ui/tavola.hpp"
#include "ui/translations.hpp"

#include <QApplication>
#include <QIcon>
#include <QTimer>

int main(int argc, char* argv[]) {
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

    core::ArchivioRecord archivio(core::ArchivioRecord::cartellaPredefinita());
    ui::Tavola tavola;
    core::Gioco gioco(tavola, archivio);
    tavola.collega(gioco);
    gioco.impostaAllenamento(QApplication::arguments().contains(QStringLiteral("--allenamento")));
    QTimer::singleShot(0, &tavola, [&gioco] { gioco.avvia(); });
    return QApplication::exec();
}
