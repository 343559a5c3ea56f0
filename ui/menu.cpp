// The game window's menu bar: the designed menus, then practice and help.

#include "ui/tavola.hpp"

#include "core/gioco.hpp"

#include <QMenuBar>
#include <QShortcut>

namespace ui {

void Tavola::creaMenu() {
    QMenuBar* barra = menuBar();
    auto voce = [](QMenu* menu, const char* nome, const char* testo) {
        QAction* a = menu->addAction(QString::fromUtf8(testo));
        a->setObjectName(QString::fromLatin1(nome));
    };
    // Access keys that clash with neither Alt+N nor Alt+X; F10 opens the first menu.
    QMenu* info = barra->addMenu(QStringLiteral("&Informazioni"));
    info->setObjectName(QStringLiteral("INFOMAZIONI"));
    voce(info, "dim",
         "Dimostra di essere un vero campione: in questo gioco il punteggio più alto viene "
         "registrato come record");
    voce(info, "gio", "Gioco a tempo: hai 15 minuti a disposizione.");
    voce(info, "in", "In bocca al lupo");
    QMenu* ciao = barra->addMenu(QStringLiteral("&Realizzato dal gruppo Cifrolandia"));
    ciao->setObjectName(QStringLiteral("Ciao"));
    voce(ciao, "via", "Via dei Numeri 1, Roma");
    QMenu* lic = barra->addMenu(QString::fromUtf8("&Licenza d'uso"));
    lic->setObjectName(QStringLiteral("lic"));
    voce(lic, "lic2", "Gioco libero per gli alunni della scuola primaria");
    nuovoGioco_ = barra->addAction(QStringLiteral("Nuovo &gioco"));
    nuovoGioco_->setObjectName(QStringLiteral("Next"));
    nuovoGioco_->setStatusTip(QStringLiteral("Comincia una nuova gara a tempo"));
    connect(new QShortcut(Qt::Key_F10, this), &QShortcut::activated, barra,
            [barra] { barra->setActiveAction(barra->actions().constFirst()); });

    // After the designed menus: practice, help and the full screen key.
    allenamento_ = barra->addAction(QStringLiteral("Allenamen&to"));
    allenamento_->setObjectName(QStringLiteral("Allenamento"));
    allenamento_->setStatusTip(QStringLiteral("Comincia un allenamento, senza orologio e senza "
                                              "record"));
    creaMenuEsercizi();
    QMenu* aiuto = barra->addMenu(QStringLiteral("&Aiuto"));
    aiuto->setObjectName(QStringLiteral("Aiuto"));
    QAction* come = aiuto->addAction(QStringLiteral("Come si gioca"));
    come->setObjectName(QStringLiteral("ComeSiGioca"));
    come->setShortcut(QKeySequence(Qt::Key_F1));
    connect(come, &QAction::triggered, this, &Tavola::apriAiuto);
    QAction* errori = aiuto->addAction(QStringLiteral("Errori di questa partita"));
    errori->setObjectName(QStringLiteral("VaiAlRipasso"));
    errori->setShortcut(QKeySequence(Qt::Key_F8));
    connect(errori, &QAction::triggered, this, &Tavola::vaiAlRipasso);
    QAction* informazioni = aiuto->addAction(QStringLiteral("Informazioni su Cifrolandia"));
    informazioni->setObjectName(QStringLiteral("InformazioniSu"));
    connect(informazioni, &QAction::triggered, this, &Tavola::apriInformazioni);

    auto* intero = new QAction(QStringLiteral("Schermo intero"), this);
    intero->setObjectName(QStringLiteral("SchermoIntero"));
    intero->setShortcut(QKeySequence(Qt::Key_F11));
    addAction(intero);
    connect(intero, &QAction::triggered, this, &Tavola::alternaSchermoIntero);
    // Esc leaves full screen; otherwise it is left to the controls.
    esciSchermoIntero_ = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    esciSchermoIntero_->setEnabled(false);
    connect(esciSchermoIntero_, &QShortcut::activated, this, &Tavola::alternaSchermoIntero);
}

// Practice in both directions, and the on-screen keypad for touch screens and whiteboards.
void Tavola::creaMenuEsercizi() {
    QMenu* esercizi = menuBar()->addMenu(QStringLiteral("&Esercizi"));
    esercizi->setObjectName(QStringLiteral("Esercizi"));
    const auto allenamento = [this, esercizi](const char* nome, const char* testo, auto avvio) {
        QAction* a = esercizi->addAction(QString::fromUtf8(testo));
        a->setObjectName(QString::fromLatin1(nome));
        // Queued, so that the question opens after the menu has closed.
        connect(
            a, &QAction::triggered, this,
            [this, avvio] {
                if (gioco_) {
                    (gioco_->*avvio)();
                }
            },
            Qt::QueuedConnection);
    };
    allenamento("AllenamentoDiretto", "Allenamento dal numero al romano",
                &core::Gioco::nuovoAllenamento);
    allenamento("AllenamentoInverso", "Allenamento dal romano al numero",
                &core::Gioco::nuovoAllenamentoInverso);
    esercizi->addSeparator();
    tastiera_ = esercizi->addAction(QStringLiteral("Tastiera sullo schermo"));
    tastiera_->setObjectName(QStringLiteral("TastieraSulloSchermo"));
    tastiera_->setCheckable(true);
    connect(tastiera_, &QAction::toggled, this, &Tavola::mostraTastierino);
}

} // namespace ui
