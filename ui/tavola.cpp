#include "ui/tavola.hpp"

#include "core/game.hpp"
#include "ui/layout.hpp"
#include "ui/widgets.hpp"

#include <QAccessible>
#include <QApplication>
#include <QCloseEvent>
#include <QDate>
#include <QElapsedTimer>
#include <QEvent>
#include <QEventLoop>
#include <QInputDialog>
#include <QLocale>
#include <QMenuBar>
#include <QMessageBox>
#include <QProgressDialog>
#include <QPushButton>

#include <cstdio>
#include <cstdlib>

namespace ui {
namespace {

const char* nomeDi(core::Controllo c) {
    using core::Controllo;
    switch (c) {
    case Controllo::lblNum1:
        return "lblNum1";
    case Controllo::lblMessage:
        return "lblMessage";
    case Controllo::lblconto:
        return "lblconto";
    case Controllo::lblScore:
        return "lblScore";
    case Controllo::lblScore1:
        return "lblScore1";
    case Controllo::lblScore2:
        return "lblScore2";
    case Controllo::lblpunti:
        return "lblpunti";
    case Controllo::lblnome:
        return "lblnome";
    case Controllo::lblnome1:
        return "lblnome1";
    case Controllo::txtAnswer:
        return "txtAnswer";
    case Controllo::Text2:
        return "Text2";
    case Controllo::cmdNext:
        return "cmdNext";
    }
    return "";
}

QString daUtf8(std::string_view s) {
    return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size()));
}

QIcon figura(const QString& nome) {
    QIcon icona;
    for (int lato : {16, 32, 64}) {
        icona.addFile(QStringLiteral(":/immagini/%1-%2.png").arg(nome).arg(lato));
    }
    return icona;
}

// Distances of the record line, between the right edge of one part and the next.
constexpr int kDopoNome = (5880 - (2520 + 990)) / kTwipPerPixel;
constexpr int kDopoConPunti = (7440 - (5880 + 1455)) / kTwipPerPixel;

} // namespace

Tavola::Tavola(QWidget* genitore) : QMainWindow(genitore) {
    setObjectName(QStringLiteral("Tavola"));
    setWindowTitle(QString::fromUtf8(core::testi::kTitolo));

    superficie_ = new Superficie(this);
    superficie_->invioAlPredefinito = [this] { return premiPredefinito(); };
    setCentralWidget(superficie_);
    creaControlli();
    creaMenu();
    valoriIniziali();

    timer1_.setObjectName(QStringLiteral("Timer1"));
    timer1_.setTimerType(Qt::PreciseTimer);
    timer1_.setInterval(500);

    resize(kLarghezzaNormale, kAltezzaNormale + menuBar()->sizeHint().height());

    allaFine = [](int stato) {
        std::fflush(nullptr);
        std::_Exit(stato);
    };
}

Tavola::~Tavola() = default;

void Tavola::creaControlli() {
    for (const DescrizioneControllo& d : controlliIniziali()) {
        QWidget* w = nullptr;
        switch (d.tipo) {
        case Tipo::Etichetta: {
            auto* e = new Etichetta(superficie_);
            e->setAutoSize(d.autoSize);
            e->setWordWrap(!d.autoSize);
            e->setAlignment(d.centrato ? Qt::AlignHCenter | Qt::AlignTop
                                       : Qt::AlignLeft | Qt::AlignTop);
            if (d.bordo) {
                e->setFrameStyle(QFrame::Box | QFrame::Plain);
            }
            e->setAutoFillBackground(d.sfondo.has_value());
            w = e;
            break;
        }
        case Tipo::Casella: {
            auto* c = new CasellaRisposta(superficie_);
            w = c;
            break;
        }
        case Tipo::Pulsante: {
            auto* p = new PulsanteFigura(superficie_);
            p->setIconSize(QSize(32, 32));
            w = p;
            break;
        }
        case Tipo::Figura: {
            auto* f = new Figura(superficie_);
            f->impostaFigura(figura(QStringLiteral("cronometro")), QSize(32, 32));
            w = f;
            break;
        }
        }
        w->setObjectName(QString::fromLatin1(d.nome));
        if (const TestiAccessibili* t = testiAccessibiliDi(w->objectName())) {
            w->setAccessibleDescription(QString::fromUtf8(t->descrizione));
        }
        w->setFont(carattereDi(d.carattere));
        QPalette p = w->palette();
        if (d.colore) {
            for (auto ruolo : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText}) {
                p.setColor(ruolo, QColor::fromRgb(*d.colore));
            }
        }
        if (d.sfondo) {
            for (auto ruolo : {QPalette::Window, QPalette::Base, QPalette::Button}) {
                p.setColor(ruolo, QColor::fromRgb(*d.sfondo));
            }
        }
        w->setPalette(p);
        if (d.suggerimento) {
            w->setToolTip(QString::fromUtf8(d.suggerimento));
        }
        perNome_.insert(w->objectName(), w);
    }

    auto* risposta = static_cast<CasellaRisposta*>(perNome_.value(QStringLiteral("txtAnswer")));
    // Room for the longest numeral a question can ask, MMMDCCCLXXXVIII (3888).
    risposta->setMaxLength(15);
    risposta->invioAlPredefinito = [this] { return premiPredefinito(); };
    perNome_.value(QStringLiteral("Text2"))->setVisible(false);
    perNome_.value(QStringLiteral("Text2"))->setFocusPolicy(Qt::NoFocus);

    auto* avanti = perNome_.value(QStringLiteral("cmdNext"));
    auto* esci = perNome_.value(QStringLiteral("cmdExit1"));

    // Text boxes and buttons lie above the labels; the keyboard visits the two buttons, then
    // the answer box.
    for (const char* nome : {"Text2", "txtAnswer", "cmdNext", "cmdExit1"}) {
        perNome_.value(QString::fromLatin1(nome))->raise();
    }
    setTabOrder(esci, avanti);
    setTabOrder(avanti, risposta);
}

// Qt decodes every picture of an icon when the icon is made: the window's icon and the buttons'
// pictures are made when the window is first shown, not before the first start-up dialog.
void Tavola::caricaFigure() {
    if (figureCaricate_) {
        return;
    }
    figureCaricate_ = true;
    QIcon icona;
    for (int lato : {16, 32, 48, 64, 128, 256}) {
        icona.addFile(QStringLiteral(":/immagini/icona-%1.png").arg(lato));
    }
    setWindowIcon(icona);

    auto* avanti = static_cast<PulsanteFigura*>(perNome_.value(QStringLiteral("cmdNext")));
    QIcon sorriso = figura(QStringLiteral("faccia-sorridente"));
    for (int lato : {16, 32, 64}) {
        sorriso.addFile(QStringLiteral(":/immagini/faccia-neutra-%1.png").arg(lato), QSize(),
                        QIcon::Disabled);
    }
    avanti->impostaFigure(sorriso, figura(QStringLiteral("faccia-ridente")));
    auto* esci = static_cast<PulsanteFigura*>(perNome_.value(QStringLiteral("cmdExit1")));
    const QIcon divieto = figura(QStringLiteral("divieto"));
    esci->impostaFigure(divieto, divieto);
}

void Tavola::setVisible(bool visibile) {
    if (visibile) {
        caricaFigure();
    }
    QMainWindow::setVisible(visibile);
}

void Tavola::creaMenu() {
    QMenuBar* barra = menuBar();
    auto voce = [](QMenu* menu, const char* nome, const char* testo) {
        QAction* a = menu->addAction(QString::fromUtf8(testo));
        a->setObjectName(QString::fromLatin1(nome));
    };
    QMenu* info = barra->addMenu(QStringLiteral("Informazioni"));
    info->setObjectName(QStringLiteral("INFOMAZIONI"));
    voce(info, "dim",
         "Dimostra di essere un vero campione: in questo gioco il punteggio più alto viene "
         "registrato come record");
    voce(info, "gio", "Gioco a tempo: hai 15 minuti a disposizione.");
    voce(info, "in", "In bocca al lupo");
    QMenu* ciao = barra->addMenu(QStringLiteral("Realizzato dal gruppo Cifrolandia"));
    ciao->setObjectName(QStringLiteral("Ciao"));
    voce(ciao, "via", "Via dei Numeri 1, Roma");
    QMenu* lic = barra->addMenu(QString::fromUtf8("Licenza d'uso"));
    lic->setObjectName(QStringLiteral("lic"));
    voce(lic, "lic2", "Gioco libero per gli alunni della Scuola primaria");
    nuovoGioco_ = barra->addAction(QStringLiteral("Nuovo gioco"));
    nuovoGioco_->setObjectName(QStringLiteral("Next"));
}

void Tavola::valoriIniziali() {
    for (const DescrizioneControllo& d : controlliIniziali()) {
        QWidget* w = perNome_.value(QString::fromLatin1(d.nome));
        w->setGeometry(inPixel(d));
        const QString testo = QString::fromUtf8(d.testo);
        if (auto* e = qobject_cast<Etichetta*>(w)) {
            e->impostaRettangolo(inPixel(d));
            e->setText(testo);
            didascalie_[w->objectName()] = d.testo;
        } else if (auto* c = qobject_cast<QLineEdit*>(w)) {
            c->setText(testo);
        } else if (auto* p = qobject_cast<QToolButton*>(w)) {
            p->setText(testo);
        }
        nominaPerAccessibilita(w, false);
    }
    // The next-question button is locked until the first answer has been judged.
    perNome_.value(QStringLiteral("cmdNext"))->setEnabled(false);
    superficie_->impostaSfondo({});
    setWindowTitle(QString::fromUtf8(core::testi::kTitolo));
}

void Tavola::collega(core::Gioco& gioco) {
    gioco_ = &gioco;
    auto* risposta = static_cast<CasellaRisposta*>(perNome_.value(QStringLiteral("txtAnswer")));
    risposta->allaPressione = [this](int& codice) { gioco_->txtAnswer_KeyPress(codice); };
    connect(static_cast<QToolButton*>(perNome_.value(QStringLiteral("cmdNext"))),
            &QToolButton::clicked, this, [this] { gioco_->cmdNext_Click(); });
    connect(static_cast<QToolButton*>(perNome_.value(QStringLiteral("cmdExit1"))),
            &QToolButton::clicked, this, [this] { gioco_->cmdExit1_Click(); });
    // Queued, so that the question opens after the menu has closed.
    connect(
        nuovoGioco_, &QAction::triggered, this, [this] { gioco_->Next_Click(); },
        Qt::QueuedConnection);
    connect(&timer1_, &QTimer::timeout, this, [this] { gioco_->Timer1_Timer(); });
}

QWidget* Tavola::widget(core::Controllo c) const {
    return perNome_.value(QString::fromLatin1(nomeDi(c)));
}

void Tavola::imposta(core::Controllo c, std::string_view testo) {
    QWidget* w = widget(c);
    const QString q = daUtf8(testo);
    if (auto* e = qobject_cast<Etichetta*>(w)) {
        didascalie_[w->objectName()] = std::string(testo);
        e->impostaTesto(q);
        if (c == core::Controllo::lblnome || c == core::Controllo::lblpunti) {
            disponiRigaRecord();
        }
    } else if (auto* l = qobject_cast<QLineEdit*>(w)) {
        l->setText(q);
    }
    nominaPerAccessibilita(w, true);
}

std::string Tavola::testo(core::Controllo c) const {
    if (auto* l = qobject_cast<QLineEdit*>(widget(c))) {
        return l->text().toStdString();
    }
    return didascalie_.value(QString::fromLatin1(nomeDi(c)));
}

void Tavola::disponiRigaRecord() {
    // The record line reads as a sentence: a long holder's name pushes the score along
    // instead of covering it.
    QWidget* nome = perNome_.value(QStringLiteral("lblnome"));
    QWidget* conPunti = perNome_.value(QStringLiteral("Label13"));
    QWidget* punti = perNome_.value(QStringLiteral("lblpunti"));
    conPunti->move(nome->geometry().right() + 1 + kDopoNome, conPunti->y());
    punti->move(conPunti->geometry().right() + 1 + kDopoConPunti, punti->y());
}

// The control's accessible name, with the text it shows when that is a value. `nuovoTesto`:
// the game has just set its text, so a number or verdict equal to the last one is announced
// again (a new question may well ask the same number).
void Tavola::nominaPerAccessibilita(QWidget* w, bool nuovoTesto) {
    const TestiAccessibili* t = testiAccessibiliDi(w->objectName());
    if (!t) {
        return;
    }
    auto* etichetta = qobject_cast<QLabel*>(w);
    const QString valore = etichetta ? etichetta->text().simplified() : QString();
    QString nome = QString::fromUtf8(t->titolo);
    if (t->conValore && !valore.isEmpty()) {
        nome += QStringLiteral(": ") + valore;
    }
    if (w->accessibleName() != nome) {
        w->setAccessibleName(nome); // Qt tells assistive technology that the name changed
    } else if (nuovoTesto && t->annunciato && !valore.isEmpty()) {
        QAccessibleEvent evento(w, QAccessible::NameChanged);
        QAccessible::updateAccessibility(&evento);
    }
}

void Tavola::abilita(core::Controllo c, bool abilitato) {
    widget(c)->setEnabled(abilitato);
}

bool Tavola::abilitato(core::Controllo c) const {
    return widget(c)->isEnabled();
}

void Tavola::daiFuoco(core::Controllo c) {
    widget(c)->setFocus(Qt::OtherFocusReason);
}

void Tavola::abilitaTimer(bool abilitato) {
    if (abilitato) {
        timer1_.start();
    } else {
        timer1_.stop();
    }
}

void Tavola::dipingiSfondo(const core::Sfondo& sfondo) {
    superficie_->impostaSfondo(sfondo);
}

void Tavola::impostaTitolo(std::string_view titolo) {
    setWindowTitle(daUtf8(titolo));
}

bool Tavola::ridottaAIcona() const {
    return isMinimized();
}

// Gives the keyboard back to the game window when a dialog over it closes, so that its access
// keys (Alt+N, Alt+X) work at once even where no window manager does it.
void Tavola::riattiva() {
    if (isVisible()) {
        activateWindow();
    }
}

QWidget* Tavola::finestraDialoghi() {
    return isVisible() ? this : nullptr;
}

std::string Tavola::inputBox(std::string_view domanda) {
    QInputDialog dialogo(finestraDialoghi());
    dialogo.setWindowTitle(QString::fromUtf8(core::testi::kTitolo));
    dialogo.setLabelText(daUtf8(domanda));
    dialogo.setTextValue(QString());
    const int esito = dialogo.exec();
    riattiva();
    if (esito != QDialog::Accepted) {
        return {};
    }
    return dialogo.textValue().toStdString();
}

int Tavola::messageBox(std::string_view testo, int pulsanti, std::string_view titolo) {
    QMessageBox box(finestraDialoghi());
    box.setWindowTitle(titolo.empty() ? QString::fromUtf8(core::testi::kTitolo) : daUtf8(titolo));
    box.setTextFormat(Qt::PlainText); // a player's name is shown as typed, never as markup
    box.setText(daUtf8(testo));
    if (pulsanti == core::kSiNoDomandaNoPredefinito) {
        box.setIcon(QMessageBox::Question);
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
        box.setDefaultButton(QMessageBox::No);
        box.setEscapeButton(QMessageBox::No);
    } else {
        box.setIcon(pulsanti == core::kErroreCritico ? QMessageBox::Critical : QMessageBox::NoIcon);
        box.setStandardButtons(QMessageBox::Ok);
    }
    box.exec();
    riattiva();
    switch (box.standardButton(box.clickedButton())) {
    case QMessageBox::Yes:
        return core::kRispostaSi;
    case QMessageBox::No:
        return core::kRispostaNo;
    default:
        return core::kRispostaOk;
    }
}

std::string Tavola::dataOdierna() const {
    QLocale locale = QLocale::system();
    if (locale.language() == QLocale::C) {
        locale = QLocale(QLocale::Italian, QLocale::Italy); // no regional settings: the game's
    }
    // The locale's order of day, month and year and its separator, with two-digit day and
    // month and a four-digit year.
    QString ordine;
    QChar separatore;
    for (QChar ch : locale.dateFormat(QLocale::ShortFormat)) {
        if (ch == u'd' || ch == u'M' || ch == u'y') {
            if (!ordine.contains(ch)) {
                ordine += ch;
            }
        } else if (separatore.isNull() && !ch.isLetter() && !ch.isSpace()) {
            separatore = ch;
        }
    }
    if (ordine.size() != 3) {
        ordine = QStringLiteral("dMy");
    }
    QStringList parti;
    for (QChar ch : ordine) {
        parti << (ch == u'd'   ? QStringLiteral("dd")
                  : ch == u'M' ? QStringLiteral("MM")
                               : QStringLiteral("yyyy"));
    }
    const QString formato = parti.join(separatore.isNull() ? QLatin1Char('/') : separatore);
    return QDate::currentDate().toString(formato).toStdString();
}

void Tavola::ricarica() {
    hide();
    valoriIniziali();
}

void Tavola::mostra() {
    showMaximized();
    raise();
    activateWindow();
}

void Tavola::termina(int stato) {
    timer1_.stop();
    hide();
    if (allaFine) {
        allaFine(stato);
    }
}

bool Tavola::premiPredefinito() {
    auto* avanti = static_cast<QToolButton*>(perNome_.value(QStringLiteral("cmdNext")));
    if (!avanti->isEnabled()) {
        return false;
    }
    avanti->click();
    return true;
}

void Tavola::changeEvent(QEvent* evento) {
    QMainWindow::changeEvent(evento);
    if (evento->type() == QEvent::WindowStateChange && gioco_) {
        gioco_->Form_Resize();
    }
}

void Tavola::closeEvent(QCloseEvent* evento) {
    // Closing the window ends the game at once, with nothing saved.
    QMainWindow::closeEvent(evento);
    termina(0);
}

void Tavola::resizeEvent(QResizeEvent* evento) {
    QMainWindow::resizeEvent(evento);
    if (gioco_) {
        gioco_->Form_Resize();
    }
}

bool Tavola::attendi(const std::function<bool()>& prova, std::string_view inAttesa,
                     std::string_view bloccata) {
    if (prova()) {
        return true;
    }
    // A local event loop: the window repaints and keeps its keys while `prova` is retried.
    constexpr int kIntervalloMs = 50;
    constexpr int kPazienzaMs = 3000; // before the player is asked
    const QString titolo = QString::fromUtf8(core::testi::kTitolo);
    QProgressDialog avviso(daUtf8(inAttesa), QString(), 0, 0, finestraDialoghi());
    avviso.setWindowTitle(titolo);
    avviso.setMinimumDuration(0);
    QMessageBox domanda(QMessageBox::Warning, titolo, daUtf8(bloccata), QMessageBox::NoButton,
                        finestraDialoghi());
    domanda.setTextFormat(Qt::PlainText);
    QPushButton* riprova = domanda.addButton(QStringLiteral("Riprova"), QMessageBox::AcceptRole);
    domanda.addButton(QStringLiteral("Rinuncia"), QMessageBox::RejectRole);
    domanda.setDefaultButton(riprova);
    domanda.setEscapeButton(riprova); // Esc never gives the score up
    QEventLoop ciclo;
    QElapsedTimer attesa;
    QTimer sonda;
    bool fatto = false;
    connect(&sonda, &QTimer::timeout, &ciclo, [&] {
        if (prova()) {
            fatto = true;
            ciclo.quit();
        } else if (!domanda.isVisible() && attesa.elapsed() >= kPazienzaMs) {
            avviso.hide();
            domanda.open();
        }
    });
    connect(&domanda, &QMessageBox::finished, &ciclo, [&] {
        if (domanda.clickedButton() != riprova) {
            ciclo.quit();
            return;
        }
        attesa.restart();
        avviso.show();
    });
    // Esc on the notice only hides it; the wait goes on, so it comes back.
    connect(&avviso, &QProgressDialog::canceled, &avviso, &QProgressDialog::show);
    attesa.start();
    avviso.show();
    sonda.start(kIntervalloMs);
    ciclo.exec();
    riattiva();
    return fatto;
}

} // namespace ui
