// The game window's menu bar: the designed menus, then practice and help.

#include "ui/tavola.hpp"

#include "core/gioco.hpp"

#include <QApplication>
#include <QKeyEvent>
#include <QMenu>
#include <QMenuBar>
#include <QShortcut>

#include <functional>

namespace ui {
namespace {

// Esc on the menu bar leaves it with no entry highlighted and gives the keyboard back.
class EscDallaBarra : public QObject {
public:
    EscDallaBarra(QMenuBar* barra, std::function<void()> restituisci)
        : QObject(barra), barra_(barra), restituisci_(std::move(restituisci)) {}

protected:
    bool eventFilter(QObject* oggetto, QEvent* evento) override {
        const bool tasto =
            evento->type() == QEvent::KeyPress || evento->type() == QEvent::ShortcutOverride;
        if (oggetto != barra_ || !tasto || static_cast<QKeyEvent*>(evento)->key() != Qt::Key_Escape)
            return false;
        evento->accept(); // the bar's, not the full screen's
        if (evento->type() == QEvent::KeyPress) {
            barra_->setActiveAction(nullptr);
            restituisci_();
        }
        return evento->type() == QEvent::KeyPress;
    }

private:
    QMenuBar* barra_;
    std::function<void()> restituisci_;
};

} // namespace

void Tavola::creaMenu() {
    QMenuBar* barra = menuBar();
    auto voce = [](QMenu* menu, const char* nome, const char* testo) {
        QAction* a = menu->addAction(QString::fromUtf8(testo));
        a->setObjectName(QString::fromLatin1(nome));
    };
    // Access keys that clash with neither Alt+N nor Alt+X.
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

    // After the designed menus: practice, pause, results, help and the full screen key.
    creaMenuAllenamento();
    creaVociStorico(barra);
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

    // F10 gives the menu bar the keyboard, with the first menu open. The arrows then visit
    // every entry, the ones without a menu too (Qt closes the open menu and leaves the entry
    // highlighted, with the keyboard on the bar), Enter activates, and Esc gives the keyboard
    // back to where it was. Qt gives it back only after Alt, so the bar gives it back itself.
    connect(new QShortcut(Qt::Key_F10, this), &QShortcut::activated, barra, [this, barra] {
        if (QApplication::focusWidget() != barra)
            fuocoPrimaDelMenu_ = QApplication::focusWidget();
        barra->setFocus(Qt::MenuBarFocusReason);
        // The first menu opens on its first entry, as the arrows open the others: the entry
        // becomes current, and Qt tells a screen reader that it has the focus.
        QAction* primo = barra->actions().constFirst();
        barra->setActiveAction(primo);
        primo->menu()->setActiveAction(primo->menu()->actions().constFirst());
    });
    const auto restituisci = [this, barra] {
        // The bar, or nothing (a closed menu may leave no window active), has the keyboard.
        const bool senzaTastiera = barra->hasFocus() || !QApplication::focusWidget();
        if (senzaTastiera && !barra->activeAction() && !QApplication::activePopupWidget() &&
            fuocoPrimaDelMenu_) {
            barra->activateWindow();
            fuocoPrimaDelMenu_->setFocus(Qt::MenuBarFocusReason);
        }
    };
    connect(barra, &QMenuBar::triggered, this, restituisci, Qt::QueuedConnection);
    barra->installEventFilter(new EscDallaBarra(barra, restituisci));
    // A menu closed by the arrows leaves an entry without a menu highlighted: the bar keeps
    // the keyboard (some platforms leave the window inactive once the menu is gone).
    for (QMenu* menu : barra->findChildren<QMenu*>(Qt::FindDirectChildrenOnly)) {
        connect(
            menu, &QMenu::aboutToHide, this,
            [barra, restituisci] {
                if (!barra->activeAction() || QApplication::activePopupWidget())
                    return restituisci();
                barra->activateWindow();
                barra->setFocus(Qt::MenuBarFocusReason);
            },
            Qt::QueuedConnection);
    }

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

// Practice in both directions, and the on-screen keypad for touch screens and whiteboards: one
// menu, so that the menu bar still fits the window at its designed width.
void Tavola::creaMenuAllenamento() {
    QMenu* menu = menuBar()->addMenu(QStringLiteral("Allenamen&to"));
    menu->setObjectName(QStringLiteral("MenuAllenamento"));
    allenamento_ = menu->addAction(QStringLiteral("Dal numero al romano"));
    allenamento_->setObjectName(QStringLiteral("Allenamento"));
    allenamento_->setStatusTip(QStringLiteral("Comincia un allenamento, senza orologio e senza "
                                              "record"));
    QAction* inverso = menu->addAction(QStringLiteral("Dal romano al numero"));
    inverso->setObjectName(QStringLiteral("AllenamentoInverso"));
    inverso->setStatusTip(QStringLiteral("Comincia un allenamento in cui si scrive in cifre il "
                                         "numero romano mostrato"));
    // Queued, so that the question opens after the menu has closed.
    connect(
        inverso, &QAction::triggered, this,
        [this] {
            if (gioco_) {
                gioco_->nuovoAllenamentoInverso();
            }
        },
        Qt::QueuedConnection);
    menu->addSeparator();
    tastiera_ = menu->addAction(QStringLiteral("Tastiera sullo schermo"));
    tastiera_->setObjectName(QStringLiteral("TastieraSulloSchermo"));
    tastiera_->setCheckable(true);
    connect(tastiera_, &QAction::toggled, this, &Tavola::mostraTastierino);
}

} // namespace ui
