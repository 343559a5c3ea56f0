// Times, inside one process on Qt's offscreen platform, what the game does between two frames:
// the real game window and game (the game's own libraries) beside the bare reference window.
//
//   bench_inprocess --round WxH WARMUP SAMPLES QUESTIONS
//       Both windows maximised on a WxH screen, played question after question, the two
//       alternating sample by sample (a sample is the mean over QUESTIONS questions). For each
//       question: the answer is written into the answer box (not timed); then
//         verdict: from an Enter key press handed to Qt as the window system would, to the
//                  verdict painted (Qt has painted the dirty region and flushed it);
//         round:   Gioco::prossimaDomanda (draw, numeral, labels, new backdrop colours) and the
//                  repaint of the whole backdrop that follows, flushed.
//         tick:    one tick of the clock (what Timer1's timeout runs) and its label repainted.
//       Answers alternate right and wrong; a wrong one paints the whole backdrop black. Then,
//       a few times per sample:
//         resize:  the window, at its normal size, resized to the whole screen: the game lays
//                  out, scales and repaints every control, the reference only repaints.
//       Prints one line per sample: "<figure> <game|reference> <milliseconds>".
//   bench_inprocess --clock N
//       The game started (its dialogs answered in-process), then the seconds from the start of
//       its Timer1 to its N-th tick.
//
// The start-up dialogs are answered by overriding the window's dialog functions, so nothing
// modal is ever shown.

#include "reference_window.hpp"

#include "core/gioco.hpp"
#include "core/record.hpp"
#include "ui/ambiente.hpp"
#include "ui/controlli.hpp"
#include "ui/disposizione.hpp"
#include "ui/tavola.hpp"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPaintEvent>
#include <QTemporaryDir>
#include <QTemporaryFile>
#include <QTest>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

// The game window with its dialogs answered at once, and the start of its clock noted.
class TavolaSenzaDialoghi : public ui::Tavola {
public:
    std::string chiediTesto(std::string_view domanda) override {
        return domanda == core::testi::kChiediNome ? "Aldo" : "3888";
    }
    core::Risposta avvisa(std::string_view, core::Pulsanti, std::string_view,
                          std::string_view) override {
        return core::Risposta::Ok;
    }
    void abilitaTimer(bool abilitato) override {
        if (abilitato) {
            avvioOrologio.start();
        }
        ui::Tavola::abilitaTimer(abilitato);
    }
    QElapsedTimer avvioOrologio;
};

// Watches a widget's paint events: what has been painted since the last reset.
class Spia : public QObject {
public:
    explicit Spia(QWidget& w) : w_(w) { w.installEventFilter(this); }
    void azzera() { dipinto_ = QRegion(); }
    bool tuttoDipinto() const { return dipinto_.contains(w_.rect()); }

protected:
    bool eventFilter(QObject* o, QEvent* e) override {
        if (o == &w_ && e->type() == QEvent::Paint) {
            dipinto_ += static_cast<QPaintEvent*>(e)->region();
        }
        return false;
    }

private:
    QWidget& w_;
    QRegion dipinto_;
};

// Runs the event loop until every watched widget has been painted whole.
void finoADipinti(std::initializer_list<const Spia*> spie) {
    for (int giri = 0; giri < 1000; ++giri) {
        QCoreApplication::processEvents();
        bool tutti = true;
        for (const Spia* s : spie) {
            tutti = tutti && s->tuttoDipinto();
        }
        if (tutti) {
            return;
        }
    }
    std::fprintf(stderr, "bench_inprocess: a widget was never painted\n");
    std::exit(2);
}

double ms(const QElapsedTimer& t) {
    return static_cast<double>(t.nsecsElapsed()) / 1e6;
}

void schermo(int larghezza, int altezza) {
    // A screen of the given size with no window frame: a maximised window's client area is
    // the whole screen less the menu bar.
    static QTemporaryFile config(QDir::tempPath() + QStringLiteral("/bench-screen-XXXXXX.json"));
    if (!config.open()) {
        std::exit(2);
    }
    config.write(QStringLiteral(R"({"windowFrameMargins": false, "screens": [{"name": "bench",
        "x": 0, "y": 0, "width": %1, "height": %2, "logicalDpi": 96, "dpr": 1.0}]})")
                     .arg(larghezza)
                     .arg(altezza)
                     .toUtf8());
    config.flush();
    qputenv("QT_QPA_PLATFORM", "offscreen:configfile=" + config.fileName().toLocal8Bit());
}

// One question of one window: the answer written, Enter to the verdict, then the next question.
struct Tempi {
    double verdetto = 0;
    double giro = 0;
    double scatto = 0;
};

int giri(int argc, char* argv[], int larghezza, int altezza, int riscaldamento, int campioni,
         int domande) {
    schermo(larghezza, altezza);
    ui::preparaAmbienteQt(); // as the game does
    QApplication app(argc, argv);
    QApplication::setQuitOnLastWindowClosed(false);

    QTemporaryDir record;
    core::ArchivioRecord archivio(record.path().toStdString());
    TavolaSenzaDialoghi tavola;
    tavola.allaFine = [](int) {};
    core::Gioco gioco(tavola, archivio);
    tavola.collega(gioco);
    gioco.avvia();
    tavola.timer1().stop(); // no clock tick inside a timed step
    auto* rispostaGioco = static_cast<QLineEdit*>(tavola.controllo(QStringLiteral("txtAnswer")));
    Spia sfondoGioco(tavola.superficie());
    Spia messaggioGioco(*tavola.controllo(QStringLiteral("lblMessage")));
    Spia contoGioco(*tavola.controllo(QStringLiteral("lblconto")));

    bench::FinestraNuda nuda;
    nuda.showMaximized();
    nuda.nuovaDomanda();
    Spia sfondoNudo(nuda.sfondo());
    Spia messaggioNudo(nuda.messaggio());
    Spia contoNudo(nuda.conto());
    finoADipinti({&sfondoGioco, &sfondoNudo});

    if (tavola.superficie().width() != larghezza || nuda.sfondo().width() != larghezza) {
        std::fprintf(stderr, "bench_inprocess: windows of %dx%d and %dx%d on a %dx%d screen\n",
                     tavola.width(), tavola.height(), nuda.width(), nuda.height(), larghezza,
                     altezza);
        return 2;
    }

    auto domandaGioco = [&](bool giusta) {
        Tempi t;
        const QString esatta = QString::fromStdString(gioco.rispostaEsatta());
        rispostaGioco->setText(
            giusta ? esatta
                   : (esatta == QStringLiteral("I") ? QStringLiteral("II") : QStringLiteral("I")));
        QCoreApplication::processEvents();
        messaggioGioco.azzera();
        sfondoGioco.azzera();
        QElapsedTimer c;
        c.start();
        QTest::keyPress(tavola.windowHandle(), Qt::Key_Return);
        if (giusta) {
            finoADipinti({&messaggioGioco});
        } else {
            finoADipinti({&messaggioGioco, &sfondoGioco});
        }
        t.verdetto = ms(c);
        QTest::keyRelease(tavola.windowHandle(), Qt::Key_Return);
        QCoreApplication::processEvents();

        sfondoGioco.azzera();
        c.start();
        gioco.prossimaDomanda();
        finoADipinti({&sfondoGioco});
        t.giro = ms(c);

        contoGioco.azzera();
        c.start();
        gioco.scatto(); // what Timer1's timeout runs
        finoADipinti({&contoGioco});
        t.scatto = ms(c);
        return t;
    };
    auto domandaNuda = [&](bool giusta) {
        Tempi t;
        nuda.risposta().setText(giusta ? QStringLiteral("I") : QStringLiteral("X"));
        QCoreApplication::processEvents();
        messaggioNudo.azzera();
        sfondoNudo.azzera();
        QElapsedTimer c;
        c.start();
        QTest::keyPress(nuda.windowHandle(), Qt::Key_Return);
        if (giusta) {
            finoADipinti({&messaggioNudo});
        } else {
            finoADipinti({&messaggioNudo, &sfondoNudo});
        }
        t.verdetto = ms(c);
        QTest::keyRelease(nuda.windowHandle(), Qt::Key_Return);
        QCoreApplication::processEvents();

        sfondoNudo.azzera();
        c.start();
        nuda.nuovaDomanda();
        finoADipinti({&sfondoNudo});
        t.giro = ms(c);

        contoNudo.azzera();
        c.start();
        nuda.scatto();
        finoADipinti({&contoNudo});
        t.scatto = ms(c);
        return t;
    };

    // From the normal size (not timed) to the whole screen again, until painted whole.
    auto ridimensiona = [](QMainWindow& finestra, Spia& sfondo) {
        const QSize grande = finestra.size();
        finestra.resize(ui::kLarghezzaNormale,
                        ui::kAltezzaNormale + finestra.menuBar()->sizeHint().height());
        sfondo.azzera();
        finoADipinti({&sfondo});
        sfondo.azzera();
        QElapsedTimer c;
        c.start();
        finestra.resize(grande);
        finoADipinti({&sfondo});
        return ms(c);
    };
    constexpr int kRidimensionamenti = 5;

    for (int campione = 0; campione < riscaldamento + campioni; ++campione) {
        for (int turno = 0; turno < 2; ++turno) {
            const bool gioco = (campione + turno) % 2 == 0; // alternating which goes first
            double giusto = 0, sbagliato = 0, giro = 0, scatto = 0, ridimensionamento = 0;
            // One question first, not timed: the first paint into a window after the other
            // one has painted costs more, whichever window it is.
            gioco ? domandaGioco(false) : domandaNuda(false);
            for (int d = 0; d < domande; ++d) {
                const bool giusta = d % 2 == 0;
                const Tempi t = gioco ? domandaGioco(giusta) : domandaNuda(giusta);
                (giusta ? giusto : sbagliato) += t.verdetto;
                giro += t.giro;
                scatto += t.scatto;
            }
            for (int r = 0; r < kRidimensionamenti; ++r) {
                ridimensionamento +=
                    gioco ? ridimensiona(tavola, sfondoGioco) : ridimensiona(nuda, sfondoNudo);
            }
            if (campione < riscaldamento) {
                continue;
            }
            const char* chi = gioco ? "game" : "reference";
            const int giuste = (domande + 1) / 2;
            std::printf("round %s %.4f\n", chi, giro / domande);
            std::printf("verdict-right %s %.4f\n", chi, giusto / giuste);
            std::printf("verdict-wrong %s %.4f\n", chi, sbagliato / (domande - giuste));
            std::printf("tick %s %.4f\n", chi, scatto / domande);
            std::printf("resize %s %.4f\n", chi, ridimensionamento / kRidimensionamenti);
        }
    }
    std::fflush(stdout);
    return 0;
}

int orologio(int argc, char* argv[], int scatti) {
    schermo(1920, 1080);
    ui::preparaAmbienteQt(); // as the game does
    QApplication app(argc, argv);
    QApplication::setQuitOnLastWindowClosed(false);
    QTemporaryDir record;
    core::ArchivioRecord archivio(record.path().toStdString());
    TavolaSenzaDialoghi tavola;
    tavola.allaFine = [](int) {};
    core::Gioco gioco(tavola, archivio);
    tavola.collega(gioco);
    int visti = 0;
    QObject::connect(&tavola.timer1(), &QTimer::timeout, &app, [&] {
        if (++visti == scatti) {
            std::printf("%.6f\n", static_cast<double>(tavola.avvioOrologio.nsecsElapsed()) / 1e9);
            std::fflush(stdout);
            QApplication::exit(0);
        }
    });
    QTimer::singleShot(0, &tavola, [&gioco] { gioco.avvia(); });
    return QApplication::exec();
}

} // namespace

int main(int argc, char* argv[]) {
    int larghezza = 0, altezza = 0;
    if (argc == 6 && std::strcmp(argv[1], "--round") == 0 &&
        std::sscanf(argv[2], "%dx%d", &larghezza, &altezza) == 2) {
        return giri(1, argv, larghezza, altezza, std::atoi(argv[3]), std::atoi(argv[4]),
                    std::atoi(argv[5]));
    }
    if (argc == 3 && std::strcmp(argv[1], "--clock") == 0) {
        return orologio(1, argv, std::atoi(argv[2]));
    }
    std::fprintf(stderr, "usage: bench_inprocess --round WxH WARMUP SAMPLES QUESTIONS\n"
                         "       bench_inprocess --clock TICKS\n");
    return 2;
}
