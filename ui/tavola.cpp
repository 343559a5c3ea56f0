#include "ui/tavola.hpp"

#include "core/gioco.hpp"
#include "ui/aiuto.hpp"
#include "ui/annunci.hpp"
#include "ui/controlli.hpp"
#include "ui/figure.hpp"
#include "ui/informazioni.hpp"
#include "ui/ripasso.hpp"

#include <QAccessible>
#include <QApplication>
#include <QCloseEvent>
#include <QListWidget>
#include <QMenuBar>
#include <QScreen>
#include <QShortcut>

#include <algorithm>
#include <cstdio>
#include <cstdlib>

namespace ui {
namespace {

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

// The controls the game writes, by their object names.
constexpr std::pair<core::Controllo, const char*> kNomiDeiControlli[] = {
    {core::Controllo::lblNum1, "lblNum1"},     {core::Controllo::lblMessage, "lblMessage"},
    {core::Controllo::lblconto, "lblconto"},   {core::Controllo::lblScore, "lblScore"},
    {core::Controllo::lblScore1, "lblScore1"}, {core::Controllo::lblScore2, "lblScore2"},
    {core::Controllo::lblpunti, "lblpunti"},   {core::Controllo::lblnome, "lblnome"},
    {core::Controllo::lblnome1, "lblnome1"},   {core::Controllo::txtAnswer, "txtAnswer"},
    {core::Controllo::cmdNext, "cmdNext"},
};

} // namespace

Tavola::Tavola(QWidget* genitore) : QMainWindow(genitore) {
    setObjectName(QStringLiteral("Tavola"));
    setWindowTitle(QString::fromUtf8(core::testi::kTitolo));

    QAccessible::installFactory(accessibileDelGioco);
    tralasciaTestiSenzaFuoco();
    qApp->installEventFilter(new FiltroTasti(this));
    superficie_ = new Superficie(this);
    superficie_->invioAlPredefinito = [this] { return premiPredefinito(); };
    setCentralWidget(superficie_);
    creaControlli();
    creaMenu();
    ripasso_ = new PannelloRipasso(superficie_);
    ripasso_->lower(); // beneath every control of the game
    annuncio_ = new Annuncio(superficie_);
    orologioParlato_ = new OrologioParlato(this);
    qApp->installEventFilter(orologioParlato_);
    creaTastierino();
    valoriIniziali();

    timer1_.setObjectName(QStringLiteral("Timer1"));
    timer1_.setTimerType(Qt::PreciseTimer);
    timer1_.setInterval(500);

    resize(QSize(kLarghezzaNormale, layoutNormale().height() + menuBar()->sizeHint().height())
               .boundedTo(screen()->availableGeometry().size())); // never beyond the screen

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
            e->setValoreVivo(std::string_view(d.nome) == "lblconto");
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
        case Tipo::Casella:
            w = new CasellaRisposta(superficie_);
            break;
        case Tipo::Pulsante:
            w = new PulsanteFigura(superficie_);
            break;
        case Tipo::Figura:
            w = new Figura(superficie_);
            break;
        }
        w->setObjectName(QString::fromLatin1(d.nome));
        w->setAccessibleDescription(QString::fromUtf8(d.descrizione));
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
        controlli_.push_back(w);
    }
    const auto di = [this](const char* nome) { return controllo(QString::fromLatin1(nome)); };
    for (const auto& [c, nome] : kNomiDeiControlli) {
        perControllo_[static_cast<std::size_t>(c)] = di(nome);
    }
    risposta_ = static_cast<CasellaRisposta*>(di("txtAnswer"));
    avanti_ = static_cast<PulsanteFigura*>(di("cmdNext"));
    esci_ = static_cast<PulsanteFigura*>(di("cmdExit1"));
    cronometro_ = static_cast<Figura*>(di("Image1"));
    nomeRecord_ = static_cast<Etichetta*>(di("lblnome"));
    sfidante_ = static_cast<Etichetta*>(di("lblnome1"));
    conPunti_ = di("Label13");
    puntiRecord_ = di("lblpunti");
    ilRecordEDi_ = di("Label12");
    tempoRestante_ = di("Label11");

    // Room for the longest numeral a question can ask, MMMDCCCLXXXVIII (3888).
    risposta_->setMaxLength(15);
    risposta_->invioAlPredefinito = [this] { return premiPredefinito(); };
    // The number labels the answer box (relation "labelled by"): a screen reader says it with
    // the box each time the box takes the focus, at every new question.
    static_cast<QLabel*>(di("lblNum1"))->setBuddy(risposta_);
    cronometro_->impostaFigura(figura(QStringLiteral("cronometro")), QSize(32, 32));
    for (PulsanteFigura* p : {avanti_, esci_}) {
        p->setIconSize(QSize(32, 32));
    }
    // The answer's hidden copy is never shown: it would only give the answer away to anyone
    // reading the window through assistive technology.
    QWidget* copia = di("Text2");
    controlli_.erase(std::ranges::find(controlli_, copia));
    delete copia;

    // Text boxes and buttons lie above the labels, and "Tempo restante" above the stopwatch;
    // the keyboard visits the two buttons, then the answer box.
    for (QWidget* w : {tempoRestante_, static_cast<QWidget*>(risposta_),
                       static_cast<QWidget*>(avanti_), static_cast<QWidget*>(esci_)}) {
        w->raise();
    }
    setTabOrder(esci_, avanti_);
    setTabOrder(avanti_, risposta_);
}

QWidget* Tavola::controllo(const QString& nome) const {
    for (QWidget* w : controlli_) {
        if (w->objectName() == nome) {
            return w;
        }
    }
    return nullptr;
}

QWidget* Tavola::widget(core::Controllo c) const {
    return perControllo_[static_cast<std::size_t>(c)];
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
    avanti_->setIconSize(dimensione);
    avanti_->impostaFigure(figuraScalata(QStringLiteral("faccia-sorridente"), lato, rapporto,
                                         QStringLiteral("faccia-neutra")),
                           figuraScalata(QStringLiteral("faccia-ridente"), lato, rapporto));
    const QIcon divieto = figuraScalata(QStringLiteral("divieto"), lato, rapporto);
    esci_->setIconSize(dimensione);
    esci_->impostaFigure(divieto, divieto);
    cronometro_->impostaFigura(figuraScalata(QStringLiteral("cronometro"), lato, rapporto),
                               dimensione);
    fattoreFigure_ = scala_.fattore;
}

void Tavola::setVisible(bool visibile) {
    if (visibile) {
        caricaFigure();
        preparaTastierino();
    }
    QMainWindow::setVisible(visibile);
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

// The review takes the keyboard from anywhere, outside the designed tab order.
// Esc gives the keyboard back; with no mistake, a screen reader is told so.
void Tavola::vaiAlRipasso() {
    if (!ripasso_->leggi()) {
        annuncio_->annuncia(QStringLiteral("Nessun errore in questa partita"));
    }
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

// The whole layout at one scale for the present client area (1:1 at normal size), centred.
void Tavola::ridisponi() {
    // What the screen leaves the client area: the layout shrinks below 1:1 only to fit it.
    const QSize cornice = (frameGeometry().size() - superficie_->size())
                              .expandedTo(QSize(0, menuBar()->sizeHint().height()));
    const Scala s =
        scalaPer(superficie_->size(),
                 minimoPer(screen()->availableGeometry().size() - cornice, layoutNormale()),
                 layoutNormale());
    const bool nuovoFattore = s.fattore != scala_.fattore;
    scala_ = s;
    for (QWidget* w : controlli_) {
        const DescrizioneControllo& d = descrizioneDi(w->objectName().toStdString());
        const QRect r = s.applica(inPixel(d));
        auto* e = qobject_cast<Etichetta*>(w);
        if (nuovoFattore) {
            w->setFont(carattereDi(d.carattere, s.fattore));
            if (e && e->frameShape() != QFrame::NoFrame) {
                e->setLineWidth(std::max(1, static_cast<int>(s.fattore)));
            }
        }
        if (e) {
            e->impostaRettangolo(r);
            e->rifai(); // a text the game has set sizes the label again, in the new font
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
    limitaNomeSfidante();
    disponiTastierino();
    disponiNumeroInverso();
}

void Tavola::disponiRigaRecord() {
    // The record line reads as a sentence: a long holder's name pushes the score along
    // instead of covering it, and is cut with "…" where the score would leave the window.
    // Gaps follow the size of the name's font against its designed size.
    const double scala = nomeRecord_->font().pixelSize() /
                         double(carattereDi(descrizioneDi("lblnome").carattere).pixelSize());
    const int dopoNome = qRound(kDopoNome * scala);
    const int dopoConPunti = qRound(kDopoConPunti * scala);
    const int margine = ilRecordEDi_->x();
    nomeRecord_->limitaLarghezza(std::max(0, superficie_->width() - margine - nomeRecord_->x() -
                                                 dopoNome - conPunti_->width() - dopoConPunti -
                                                 puntiRecord_->width()));
    conPunti_->move(nomeRecord_->geometry().right() + 1 + dopoNome, conPunti_->y());
    puntiRecord_->move(conPunti_->geometry().right() + 1 + dopoConPunti, puntiRecord_->y());
    // A screen reader reads the line as one sentence, from its first part; the other three
    // are left out of its tree (annunci.cpp).
    ilRecordEDi_->setAccessibleName(
        fraseDelRecord(nomeRecord_->testoIntero(), static_cast<QLabel*>(puntiRecord_)->text()));
    for (QWidget* parte : {static_cast<QWidget*>(nomeRecord_), conPunti_, puntiRecord_}) {
        parte->setProperty(kDettoAltrove, true);
    }
}

// The player's name is cut with "…" before it would pass under "Nuovo calcolo".
void Tavola::limitaNomeSfidante() {
    const int bordo = 2 * sfidante_->frameWidth();
    sfidante_->limitaLarghezza(std::max(0, avanti_->x() - sfidante_->x() - bordo - 2));
}

void Tavola::valoriIniziali() {
    for (QWidget* w : controlli_) {
        const DescrizioneControllo& d = descrizioneDi(w->objectName().toStdString());
        w->setGeometry(inPixel(d));
        const QString testo = QString::fromUtf8(d.testo);
        if (auto* e = qobject_cast<Etichetta*>(w)) {
            e->impostaRettangolo(inPixel(d));
            e->impostaTestoIniziale(testo);
        } else if (auto* c = qobject_cast<QLineEdit*>(w)) {
            c->setText(testo);
        } else if (auto* p = qobject_cast<QToolButton*>(w)) {
            p->setText(testo);
        }
        w->setToolTip(d.suggerimento ? QString::fromUtf8(d.suggerimento) : QString());
        nominaPerAccessibilita(w, false);
    }
    // The next-question button is locked until the first answer has been judged.
    avanti_->setEnabled(false);
    superficie_->impostaSfondo({});
    setWindowTitle(QString::fromUtf8(core::testi::kTitolo));
    minutoAnnunciato_.clear();
    orologioParlato_->azzera();
    ripasso_->mostra({});
    impostaModo(core::Modo::Gara);
    ridisponi();
}

void Tavola::collega(core::Gioco& gioco) {
    gioco_ = &gioco;
    risposta_->allaPressione = [this](int& codice) { codice = gioco_->tasto(codice); };
    connect(avanti_, &QToolButton::clicked, this, [this] { gioco_->prossimaDomanda(); });
    connect(esci_, &QToolButton::clicked, this, [this] { gioco_->esci(); });
    // Queued, so that the question opens after the menu has closed.
    connect(
        nuovoGioco_, &QAction::triggered, this, [this] { gioco_->nuovaPartita(); },
        Qt::QueuedConnection);
    connect(
        allenamento_, &QAction::triggered, this, [this] { gioco_->nuovoAllenamento(); },
        Qt::QueuedConnection);
    connect(&timer1_, &QTimer::timeout, this, [this] { gioco_->scatto(); });
}

bool Tavola::premiPredefinito() {
    if (!avanti_->isEnabled()) {
        return false;
    }
    avanti_->click();
    return true;
}

void Tavola::changeEvent(QEvent* evento) {
    QMainWindow::changeEvent(evento);
    if (evento->type() == QEvent::WindowStateChange) {
        esciSchermoIntero_->setEnabled(isFullScreen());
        if (gioco_) {
            gioco_->aggiornaTitolo();
        }
    }
}

void Tavola::closeEvent(QCloseEvent* evento) {
    // Closing the window ends the game at once, with nothing saved but its line of history.
    QMainWindow::closeEvent(evento);
    if (gioco_) {
        gioco_->chiudi();
    } else {
        termina(0);
    }
}

void Tavola::resizeEvent(QResizeEvent* evento) {
    QMainWindow::resizeEvent(evento);
    ridisponi();
    disponiAggiunte();
    if (gioco_) {
        gioco_->aggiornaTitolo();
    }
}

} // namespace ui
