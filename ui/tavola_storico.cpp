// The game window's additions for the history and the pause: the "Pausa" and "Risultati"
// entries, the pause's cover, and the quiet note of a history that cannot be written.

#include "core/gioco.hpp"
#include "ui/controlli.hpp"
#include "ui/pausa.hpp"
#include "ui/risultati.hpp"
#include "ui/tavola.hpp"

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QMenuBar>

namespace ui {

void Tavola::creaVociStorico(QMenuBar* barra) {
    auto* pausa = barra->addAction(QStringLiteral("&Pausa"));
    pausa->setObjectName(QStringLiteral("Pausa"));
    pausa->setShortcuts({QKeySequence(Qt::Key_F5), QKeySequence(Qt::Key_Pause)});
    pausa->setStatusTip(QStringLiteral("Ferma l'orologio e copre la domanda; un tasto riprende"));
    connect(pausa, &QAction::triggered, this, &Tavola::alternaPausa);
    auto* risultati = barra->addAction(QStringLiteral("Ri&sultati"));
    risultati->setObjectName(QStringLiteral("Risultati"));
    risultati->setShortcut(QKeySequence(Qt::Key_F6));
    risultati->setStatusTip(QStringLiteral("Le partite giocate, i progressi e gli errori"));
    connect(risultati, &QAction::triggered, this, &Tavola::apriRisultati);
    addActions({pausa, risultati}); // their keys work while the menu bar is out of reach too

    pannelloPausa_ = new PannelloPausa(this);
    pannelloPausa_->allaRipresa = [this] {
        if (gioco_) {
            gioco_->riprendi();
        }
    };
    // The client area keeps its place in the window while the cover hides it.
    QSizePolicy politica = superficie_->sizePolicy();
    politica.setRetainSizeWhenHidden(true);
    superficie_->setSizePolicy(politica);
}

void Tavola::alternaPausa() {
    if (!gioco_) {
        return;
    }
    if (gioco_->inPausa()) {
        gioco_->riprendi();
    } else {
        gioco_->pausa();
    }
}

// The question, the answer and the verdict are hidden with the whole client area: hidden
// controls can be neither read (by eye or by a screen reader) nor typed into, and their access
// keys do nothing.
void Tavola::mostraPausa(bool inPausa) {
    if (inPausa == pannelloPausa_->isVisible()) {
        return;
    }
    if (inPausa) {
        fuocoPrimaDellaPausa_ = QApplication::focusWidget();
        disponiAggiunte();
        pannelloPausa_->show();
        pannelloPausa_->raise();
        pannelloPausa_->setFocus(Qt::OtherFocusReason);
        superficie_->hide();
    } else {
        superficie_->show();
        pannelloPausa_->hide();
        if (fuocoPrimaDellaPausa_) {
            fuocoPrimaDellaPausa_->setFocus(Qt::OtherFocusReason);
        }
    }
}

// A line at the bottom of the client area, over the backdrop: no dialog stops the game.
void Tavola::mostraNota(std::string_view testo) {
    if (!nota_) {
        nota_ = new QLabel(superficie_);
        nota_->setObjectName(QStringLiteral("lblNota"));
        nota_->setTextFormat(Qt::PlainText);
        nota_->setWordWrap(true);
        nota_->setAutoFillBackground(true);
        nota_->setFrameStyle(QFrame::Box | QFrame::Plain);
        nota_->setBackgroundRole(QPalette::ToolTipBase);
        nota_->setForegroundRole(QPalette::ToolTipText);
    }
    nota_->setText(QString::fromUtf8(testo.data(), static_cast<qsizetype>(testo.size())));
    nota_->setAccessibleName(nota_->text());
    disponiAggiunte();
    nota_->show();
    nota_->raise();
}

void Tavola::disponiAggiunte() {
    pannelloPausa_->setGeometry(superficie_->geometry());
    pannelloPausa_->scala(scala_.fattore);
    if (nota_) {
        const int margine = scala_.lunghezza(4);
        const int larghezza = superficie_->width() - 2 * margine;
        nota_->setFont(carattereDi({"MS Sans Serif", 8}, scala_.fattore));
        const int altezza = nota_->heightForWidth(larghezza);
        nota_->setGeometry(margine, superficie_->height() - altezza - margine, larghezza, altezza);
    }
}

// Built only when asked for: the game starts without it. One at a time, brought to the front.
void Tavola::apriRisultati() {
    if (!risultati_) {
        risultati_ = new FinestraRisultati(percorsoStorico());
        risultati_->scala(scala_.fattore);
    }
    risultati_->show();
    risultati_->raise();
    risultati_->activateWindow();
}

} // namespace ui
