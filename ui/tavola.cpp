#include "ui/tavola.hpp"

#include "core/clock.hpp"
#include "core/game.hpp"
#include "ui/aiuto.hpp"
#include "ui/figure.hpp"
#include "ui/informazioni.hpp"
#include "ui/layout.hpp"
#include "ui/ripasso.hpp"
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
#include <QShortcut>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>

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

// Distances of the record line at the designed size, between the right edge of one part and
// the next.
constexpr int kDopoNome = (5880 - (2520 + 990)) / kTwipPerPixel;
constexpr int kDopoConPunti = (7440 - (5880 + 1455)) / kTwipPerPixel;

const DescrizioneControllo& descrizioneDi(const char* nome) {
    for (const DescrizioneControllo& d : controlliIniziali()) {
        if (std::strcmp(d.nome, nome) == 0) {
            return d;
        }
    }
    std::abort();
}

} // namespace

Tavola::Tavola(QWidget* genitore) : QMainWindow(genitore) {
    setObjectName(QStringLiteral("Tavola"));
    setWindowTitle(QString::fromUtf8(core::testi::kTitolo));

    QAccessible::installFactory(accessibileVivo);
    qApp->installEventFilter(new FiltroTasti(this));
    superficie_ = new Superficie(this);
    superficie_->invioAlPredefinito = [this] { return premiPredefinito(); };
    setCentralWidget(superficie_);
    creaControlli();
    creaMenu();
    creaMenuAggiunti();
    ripasso_ = new PannelloRipasso(superficie_);
    ripasso_->lower(); // beneath every control of the game
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
            // The clock is announced once a minute (nominaPerAccessibilita), read at any time.
            e->setValoreVivo(std::strcmp(d.nome, "lblconto") == 0);
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
    aggiornaFigure();
}

// The pictures of the buttons and of Image1 at the layout's scale, sharp at any size.
void Tavola::aggiornaFigure() {
    const int lato = scala_.lunghezza(32);
    const QSize dimensione(lato, lato);
    const qreal rapporto = devicePixelRatioF();
    auto* avanti = static_cast<PulsanteFigura*>(perNome_.value(QStringLiteral("cmdNext")));
    avanti->setIconSize(dimensione);
    avanti->impostaFigure(figuraScalata(QStringLiteral("faccia-sorridente"), lato, rapporto,
                                        QStringLiteral("faccia-neutra")),
                          figuraScalata(QStringLiteral("faccia-ridente"), lato, rapporto));
    auto* esci = static_cast<PulsanteFigura*>(perNome_.value(QStringLiteral("cmdExit1")));
    const QIcon divieto = figuraScalata(QStringLiteral("divieto"), lato, rapporto);
    esci->setIconSize(dimensione);
    esci->impostaFigure(divieto, divieto);
    static_cast<Figura*>(perNome_.value(QStringLiteral("Image1")))
        ->impostaFigura(figuraScalata(QStringLiteral("cronometro"), lato, rapporto), dimensione);
    fattoreFigure_ = scala_.fattore;
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
    voce(lic, "lic2", "Gioco libero per gli alunni della Scuola primaria");
    nuovoGioco_ = barra->addAction(QStringLiteral("Nuovo &gioco"));
    nuovoGioco_->setObjectName(QStringLiteral("Next"));
    connect(new QShortcut(Qt::Key_F10, this), &QShortcut::activated, barra,
            [barra] { barra->setActiveAction(barra->actions().constFirst()); });
}

// After the designed menus: practice, help and the full screen key.
void Tavola::creaMenuAggiunti() {
    QMenuBar* barra = menuBar();
    allenamento_ = barra->addAction(QStringLiteral("Allenamen&to"));
    allenamento_->setObjectName(QStringLiteral("Allenamento"));
    QMenu* aiuto = barra->addMenu(QStringLiteral("&Aiuto"));
    aiuto->setObjectName(QStringLiteral("Aiuto"));
    QAction* come = aiuto->addAction(QStringLiteral("Come si gioca"));
    come->setObjectName(QStringLiteral("ComeSiGioca"));
    come->setShortcut(QKeySequence(Qt::Key_F1));
    connect(come, &QAction::triggered, this, &Tavola::apriAiuto);
    QAction* info = aiuto->addAction(QStringLiteral("Informazioni su Cifrolandia"));
    info->setObjectName(QStringLiteral("InformazioniSu"));
    connect(info, &QAction::triggered, this, &Tavola::apriInformazioni);

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

void Tavola::apriAiuto() {
    if (!aiuto_) {
        aiuto_ = new FinestraAiuto(this);
        aiuto_->setAttribute(Qt::WA_DeleteOnClose);
        connect(aiuto_, &QDialog::finished, this, [this] { riattiva(); });
    }
    aiuto_->show();
    aiuto_->raise();
    aiuto_->activateWindow();
}

void Tavola::apriInformazioni() {
    const QString cartella =
        gioco_ ? QString::fromStdString(gioco_->cartellaRecord())
               : QString::fromStdString(core::ArchivioRecord::cartellaPredefinita());
    auto* info = new FinestraInformazioni(this, cartella);
    info->setAttribute(Qt::WA_DeleteOnClose);
    connect(info, &QDialog::finished, this, [this] { riattiva(); });
    info->show();
}

void Tavola::alternaSchermoIntero() {
    if (isFullScreen()) {
        if (eraMassimizzata_) {
            showMaximized();
        } else {
            showNormal();
        }
    } else {
        eraMassimizzata_ = isMaximized();
        showFullScreen();
    }
}

void Tavola::mostraRipasso(const std::vector<std::string>& righe) {
    ripasso_->mostra(righe);
}

// The whole layout at one scale for the present client area (1:1 at normal size), centred.
void Tavola::ridisponi() {
    const Scala s = scalaPer(superficie_->size());
    const bool nuovoFattore = s.fattore != scala_.fattore;
    scala_ = s;
    for (const DescrizioneControllo& d : controlliIniziali()) {
        QWidget* w = perNome_.value(QString::fromLatin1(d.nome));
        const QRect r = s.applica(inPixel(d));
        auto* e = qobject_cast<Etichetta*>(w);
        if (nuovoFattore) {
            w->setFont(carattereDi(d.carattere, s.fattore));
            if (e && e->frameShape() != QFrame::NoFrame) {
                e->setLineWidth(std::max(1, static_cast<int>(s.fattore)));
            }
            if (e) {
                e->impostaSpessoreContorno(std::max(1.0, s.fattore));
            }
        }
        if (e) {
            e->impostaRettangolo(r);
            // A text the game has set sizes the label again, in the new font.
            if (conTesto_.contains(e->objectName())) {
                e->impostaTesto(daUtf8(didascalie_.value(e->objectName())));
            }
        } else {
            w->setGeometry(r);
        }
    }
    ripasso_->setGeometry(s.applica(kRettangoloRipasso));
    if (nuovoFattore) {
        ripasso_->scala(s.fattore);
    }
    if (figureCaricate_ && s.fattore != fattoreFigure_) {
        aggiornaFigure();
    }
    disponiRigaRecord();
}

void Tavola::valoriIniziali() {
    for (const DescrizioneControllo& d : controlliIniziali()) {
        QWidget* w = perNome_.value(QString::fromLatin1(d.nome));
        w->setGeometry(inPixel(d));
        const QString testo = QString::fromUtf8(d.testo);
        if (auto* e = qobject_cast<Etichetta*>(w)) {
            e->impostaRettangolo(inPixel(d));
            e->impostaTestoIniziale(testo);
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
    minutoAnnunciato_.clear();
    conTesto_.clear();
    ripasso_->mostra({});
    ridisponi();
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
    connect(
        allenamento_, &QAction::triggered, this, [this] { gioco_->Allenamento_Click(); },
        Qt::QueuedConnection);
}

QWidget* Tavola::widget(core::Controllo c) const {
    return perNome_.value(QString::fromLatin1(nomeDi(c)));
}

void Tavola::imposta(core::Controllo c, std::string_view testo) {
    QWidget* w = widget(c);
    const QString q = daUtf8(testo);
    if (auto* e = qobject_cast<Etichetta*>(w)) {
        didascalie_[w->objectName()] = std::string(testo);
        conTesto_.insert(w->objectName());
        e->impostaTesto(q);
        if (c == core::Controllo::lblnome) {
            // The line may show the name cut short: the whole of it is here.
            const QString intero = q.trimmed();
            e->setToolTip(intero);
            e->setAccessibleDescription(
                QString::fromUtf8(testiAccessibiliDi(e->objectName())->descrizione) +
                QStringLiteral(": ") + intero);
        }
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
    // instead of covering it, and is cut with "…" where the score would leave the window.
    // Gaps follow the size of the name's font against its designed size.
    auto* nome = static_cast<Etichetta*>(perNome_.value(QStringLiteral("lblnome")));
    QWidget* conPunti = perNome_.value(QStringLiteral("Label13"));
    QWidget* punti = perNome_.value(QStringLiteral("lblpunti"));
    const double scala = nome->font().pixelSize() /
                         double(carattereDi(descrizioneDi("lblnome").carattere).pixelSize());
    const int dopoNome = qRound(kDopoNome * scala);
    const int dopoConPunti = qRound(kDopoConPunti * scala);
    const int margine = perNome_.value(QStringLiteral("Label12"))->x();
    nome->limitaLarghezza(std::max(0, superficie_->width() - margine - nome->x() - dopoNome -
                                          conPunti->width() - dopoConPunti - punti->width()));
    conPunti->move(nome->geometry().right() + 1 + dopoNome, conPunti->y());
    punti->move(conPunti->geometry().right() + 1 + dopoConPunti, punti->y());
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
    // A live value (the clock, two ticks a second) is read from the label when asked, and
    // announced only when its minute changes and when it reaches the end.
    auto* vivo = qobject_cast<Etichetta*>(w);
    bool annuncia = t->annunciato;
    if (vivo && vivo->valoreVivo()) {
        const QString minuto = valore.left(5);
        annuncia = minuto != minutoAnnunciato_ || valore == QLatin1String(core::kOrologioFermo);
        minutoAnnunciato_ = nuovoTesto ? minuto : minutoAnnunciato_;
    } else if (t->conValore && !valore.isEmpty()) {
        nome += QStringLiteral(": ") + valore;
    }
    if (w->accessibleName() != nome) {
        w->setAccessibleName(nome); // Qt tells assistive technology that the name changed
    } else if (nuovoTesto && annuncia && !valore.isEmpty()) {
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
    if (isFullScreen()) {
        showFullScreen(); // a new game keeps full screen
    } else {
        showMaximized();
    }
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
    if (evento->type() == QEvent::WindowStateChange) {
        esciSchermoIntero_->setEnabled(isFullScreen());
    }
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
    ridisponi();
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
