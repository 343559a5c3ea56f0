// The reference program: the bare window of reference_window.hpp, started the ways the
// benchmark needs.
//
//   bench_reference              the window shown at once (start-up: exec to window mapped)
//   bench_reference --dialog     one bare input box first; its answer shows the window with a
//                                question and starts the clock, as the game's last start-up
//                                dialog does
//   bench_reference --clock N    on the offscreen platform: prints the seconds from the start
//                                of its 500 ms precise timer to its N-th tick, and exits

#include "reference_window.hpp"

#include <QApplication>
#include <QElapsedTimer>
#include <QInputDialog>
#include <QLineEdit>

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

void mostra(bench::FinestraNuda& finestra) {
    finestra.showMaximized();
    finestra.raise();
    finestra.activateWindow();
    finestra.nuovaDomanda();
    finestra.avviaOrologio();
}

int orologio(int argc, char* argv[], int scatti) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    bench::FinestraNuda finestra;
    finestra.showMaximized();
    finestra.nuovaDomanda();
    QElapsedTimer tempo;
    tempo.start();
    finestra.avviaOrologio();
    int visti = 0;
    QObject::connect(&finestra.orologio(), &QTimer::timeout, &app, [&] {
        if (++visti == scatti) {
            std::printf("%.6f\n", static_cast<double>(tempo.nsecsElapsed()) / 1e9);
            std::fflush(stdout);
            QApplication::exit(0);
        }
    });
    return QApplication::exec();
}

} // namespace

int main(int argc, char* argv[]) {
    const bool dialogo = argc > 1 && std::strcmp(argv[1], "--dialog") == 0;
    if (argc > 2 && std::strcmp(argv[1], "--clock") == 0) {
        return orologio(argc, argv, std::atoi(argv[2]));
    }

    QApplication app(argc, argv);
    QApplication::setQuitOnLastWindowClosed(false);
    bench::FinestraNuda finestra;
    if (!dialogo) {
        mostra(finestra);
        return QApplication::exec();
    }
    QTimer::singleShot(0, &finestra, [&finestra] {
        QInputDialog box;
        box.setWindowTitle(QStringLiteral("Riferimento"));
        box.setLabelText(QStringLiteral("Come ti chiami?"));
        box.exec();
        mostra(finestra);
    });
    return QApplication::exec();
}
