// The game window as the game sees it (core::Finestra): what it shows, its dialogs, and what
// assistive technology is told.

#include "core/orologio.hpp"
#include "ui/annunci.hpp"
#include "ui/controlli.hpp"
#include "ui/dialoghi.hpp"
#include "ui/ripasso.hpp"
#include "ui/tavola.hpp"

#include <QAccessible>
#include <QDate>
#include <QLocale>

namespace ui {
namespace {

QString daUtf8(std::string_view s) {
    return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size()));
}

// A tooltip that shows a player's text as it is: Qt takes any tooltip that looks like markup
// as rich text, so the text is escaped inside one that is rich text by design.
QString suggerimentoSemplice(const QString& testo) {
    return QStringLiteral("<qt>") + testo.toHtmlEscaped() + QStringLiteral("</qt>");
}

} // namespace

void Tavola::imposta(core::Controllo c, std::string_view testo) {
    QWidget* w = widget(c);
    if (w == nullptr) {
        return; // Text2, the answer's hidden copy, is not kept
    }
    const QString q = daUtf8(testo);
    if (auto* e = qobject_cast<Etichetta*>(w)) {
        e->impostaTesto(q);
        if (c == core::Controllo::lblnome || c == core::Controllo::lblnome1) {
            // The label may show the name cut short: the whole of it is here.
            const QString intero = q.trimmed();
            e->setToolTip(suggerimentoSemplice(intero));
            e->setAccessibleDescription(
                QString::fromUtf8(descrizioneDi(e->objectName().toStdString()).descrizione) +
                QStringLiteral(": ") + intero);
        }
        if (c == core::Controllo::lblnome || c == core::Controllo::lblpunti) {
            disponiRigaRecord();
        }
        if (c == core::Controllo::lblnome1) {
            limitaNomeSfidante();
        }
    } else if (auto* l = qobject_cast<QLineEdit*>(w)) {
        l->setText(q);
    }
    nominaPerAccessibilita(w, true);
    if (c == core::Controllo::lblconto) {
        if (const QString frase = orologioParlato_->mostra(q); !frase.isEmpty()) {
            annuncio_->annuncia(frase);
        }
    }
}

std::string Tavola::rispostaScritta() const {
    return risposta_->text().toStdString();
}

// The control's accessible name, with the text it shows when that is a value. `nuovoTesto`:
// the game has just set its text, so a number or verdict equal to the last one is announced
// again (a new question may well ask the same number).
void Tavola::nominaPerAccessibilita(QWidget* w, bool nuovoTesto) {
    const DescrizioneControllo& d = descrizioneDi(w->objectName().toStdString());
    if (d.titoloAccessibile == nullptr) {
        return;
    }
    auto* etichetta = qobject_cast<QLabel*>(w);
    const QString valore = etichetta ? etichetta->text().simplified() : QString();
    QString nome = QString::fromUtf8(d.titoloAccessibile);
    // A live value (the clock, two ticks a second) is read from the label when asked, and
    // announced only when its minute changes and when it reaches the end.
    auto* vivo = qobject_cast<Etichetta*>(w);
    bool annuncia = d.annunciato;
    if (vivo && vivo->valoreVivo()) {
        const QString minuto = valore.left(5);
        annuncia = minuto != minutoAnnunciato_ || valore == QLatin1String(core::kOrologioFermo);
        minutoAnnunciato_ = nuovoTesto ? minuto : minutoAnnunciato_;
    } else if (d.conValore && !valore.isEmpty()) {
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
    if (QWidget* w = widget(c)) {
        w->setEnabled(abilitato);
    }
}

void Tavola::daiFuoco(core::Controllo c) {
    // "Nuovo calcolo" takes the focus after Enter carrying the verdict and the counts as the
    // window shows them, so that a screen reader says them with it; its own description comes
    // back once the focus goes elsewhere.
    const auto testoDi = [this](core::Controllo e) {
        return static_cast<QLabel*>(widget(e))->text();
    };
    if (c == core::Controllo::cmdNext && !testoDi(core::Controllo::lblMessage).isEmpty()) {
        avanti_->setAccessibleDescription(descrizioneConVerdetto(
            testoDi(core::Controllo::lblMessage), testoDi(core::Controllo::lblScore),
            testoDi(core::Controllo::lblScore1)));
    }
    if (QWidget* w = widget(c)) {
        w->setFocus(Qt::OtherFocusReason);
    }
    if (c != core::Controllo::cmdNext) {
        avanti_->setAccessibleDescription(
            QString::fromUtf8(descrizioneDi(avanti_->objectName().toStdString()).descrizione));
    }
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

// Practice has no record to beat and no time running: the record line and the title above
// the clock box are hidden.
void Tavola::impostaModo(core::Modo modo) {
    modo_ = modo;
    const bool gara = modo == core::Modo::Gara;
    for (QWidget* w : {ilRecordEDi_, static_cast<QWidget*>(nomeRecord_), conPunti_, puntiRecord_,
                       tempoRestante_}) {
        w->setVisible(gara);
    }
    adattaAlModo();
}

void Tavola::mostraRipasso(const std::vector<core::Errore>& errori) {
    ripasso_->mostra(errori);
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

std::string Tavola::chiediTesto(std::string_view domanda) {
    std::string testo = ui::chiediTesto(finestraDialoghi(), domanda);
    riattiva();
    return testo;
}

core::Risposta Tavola::avvisa(std::string_view testo, core::Pulsanti pulsanti,
                              std::string_view titolo, std::string_view dettaglio) {
    const core::Risposta r = ui::avvisa(finestraDialoghi(), testo, pulsanti, titolo, dettaglio);
    riattiva();
    return r;
}

bool Tavola::attendi(const std::function<bool()>& prova, std::string_view inAttesa,
                     std::string_view bloccata) {
    const bool fatto = ui::attendi(finestraDialoghi(), prova, inAttesa, bloccata);
    riattiva();
    return fatto;
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

} // namespace ui
