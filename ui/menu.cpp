// The game window's menu bar: the designed menus, then practice and help.

#include "ui/tavola.hpp"

#include <QMenu>
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
    // F10 opens the first menu on its first entry, as the arrows then open the others: the
    // entry becomes current, and Qt tells a screen reader that it has the focus.
    connect(new QShortcut(Qt::Key_F10, this), &QShortcut::activated, barra, [barra] {
        QAction* primo = barra->actions().constFirst();
        barra->setActiveAction(primo);
        primo->menu()->setActiveAction(primo->menu()->actions().constFirst());
    });

    // After the designed menus: practice, help and the full screen key.
    allenamento_ = barra->addAction(QStringLiteral("Allenamen&to"));
    allenamento_->setObjectName(QStringLiteral("Allenamento"));
    allenamento_->setStatusTip(QStringLiteral("Comincia un allenamento, senza orologio e senza "
                                              "record"));
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

} // namespace ui
