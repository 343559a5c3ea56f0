#include "ui/controlli.hpp"

#include "core/cp1252.hpp"

#include <QKeyEvent>
#include <QMetaEnum>
#include <QPainter>
#include <QStyleOptionToolButton>
#include <QStylePainter>

#include <algorithm>

namespace ui {
namespace {

bool tastoInvio(const QKeyEvent* evento) {
    return evento->key() == Qt::Key_Return || evento->key() == Qt::Key_Enter;
}

// The focus frame's colour: the style's highlight, darkened until it stands at 3:1 or more
// against the box's face, so that a pupil with low vision sees where the focus is.
QColor staccato(QColor segno, const QColor& faccia) {
    const auto rgb = [](const QColor& c) { return core::Rgb{c.red(), c.green(), c.blue()}; };
    while (core::contrasto(rgb(segno), rgb(faccia)) < 3.0 && segno.value() > 0) {
        segno = segno.darker(110);
    }
    return segno;
}

} // namespace

bool FiltroTasti::eventFilter(QObject* oggetto, QEvent* evento) {
    if (evento->type() != QEvent::KeyPress || !qobject_cast<QLineEdit*>(oggetto)) {
        return false;
    }
    const auto* tasto = static_cast<QKeyEvent*>(evento);
    const bool comando =
        tasto->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier);
    if (!comando || tasto->text().isEmpty() || !tasto->text().at(0).isPrint()) {
        return false;
    }
    const QMetaEnum chiavi = QMetaEnum::fromType<QKeySequence::StandardKey>();
    for (int i = 0; i < chiavi.keyCount(); ++i) {
        if (tasto->matches(static_cast<QKeySequence::StandardKey>(chiavi.value(i)))) {
            return false; // an editing key (Ctrl+V, Ctrl+A...) the field handles itself
        }
    }
    return true; // would type its letter: dropped
}

CasellaRisposta::CasellaRisposta(QWidget* genitore) : QLineEdit(genitore) {
    setFrame(false);
    setTextMargins(3, 3, 3, 3);
    // Its panel and border cover every pixel: the backdrop is not painted beneath.
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void CasellaRisposta::paintEvent(QPaintEvent* evento) {
    QLineEdit::paintEvent(evento);
    QPainter pittore(this);
    const bool fuoco = hasFocus();
    const int s = fuoco ? 2 : 1;
    const QColor colore =
        fuoco ? staccato(palette().color(QPalette::Highlight), palette().color(QPalette::Base))
              : palette().color(QPalette::Dark);
    const QRect r = rect();
    pittore.fillRect(QRect(r.left(), r.top(), r.width(), s), colore);
    pittore.fillRect(QRect(r.left(), r.bottom() - s + 1, r.width(), s), colore);
    pittore.fillRect(QRect(r.left(), r.top(), s, r.height()), colore);
    pittore.fillRect(QRect(r.right() - s + 1, r.top(), s, r.height()), colore);
}

void CasellaRisposta::keyPressEvent(QKeyEvent* evento) {
    const bool comando =
        evento->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier);
    if (tastoInvio(evento)) {
        if (invioAlPredefinito && invioAlPredefinito()) {
            return;
        }
        int codice = 13;
        if (allaPressione) {
            allaPressione(codice);
        }
        return; // Enter never reaches the box
    }
    const QString testo = evento->text();
    if (comando || testo.size() != 1 || !allaPressione) {
        QLineEdit::keyPressEvent(evento);
        return;
    }
    const auto codice1252 = core::inWindows1252(testo.at(0).unicode());
    if (!codice1252) {
        QLineEdit::keyPressEvent(evento); // not in the code page: passes unchanged
        return;
    }
    int codice = *codice1252;
    allaPressione(codice);
    if (codice == 0) {
        return;
    }
    if (codice == *codice1252) {
        QLineEdit::keyPressEvent(evento); // unchanged: the box edits as usual (Backspace)
        return;
    }
    insert(QString(
        QChar(static_cast<char16_t>(core::daWindows1252(static_cast<unsigned char>(codice))))));
}

PulsanteFigura::PulsanteFigura(QWidget* genitore) : QToolButton(genitore) {
    setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    // A disabled caption stays readable on the button's face: 4:1 on the designed cyan.
    QPalette p = palette();
    p.setColor(QPalette::Disabled, QPalette::ButtonText, QColor(0, 80, 80));
    setPalette(p);
    setFocusPolicy(Qt::StrongFocus);
    setAutoFillBackground(true);
    setAttribute(Qt::WA_OpaquePaintEvent); // its face covers it whole (paintEvent)
    connect(this, &QToolButton::pressed, this, [this] { setIcon(premuto_); });
    connect(this, &QToolButton::released, this, [this] { setIcon(normale_); });
}

void PulsanteFigura::impostaFigure(const QIcon& normale, const QIcon& premuto) {
    normale_ = normale;
    premuto_ = premuto;
    setIcon(normale_);
}

void PulsanteFigura::keyPressEvent(QKeyEvent* evento) {
    // A focused button takes Enter itself, as push buttons do.
    if (tastoInvio(evento) && evento->modifiers() == Qt::NoModifier) {
        click();
        return;
    }
    // Arrows never move the focus to another button: a stray arrow and Enter after a verdict
    // must not end the game. Tab still goes round the controls.
    switch (evento->key()) {
    case Qt::Key_Left:
    case Qt::Key_Right:
    case Qt::Key_Up:
    case Qt::Key_Down:
        evento->accept();
        return;
    default:
        break;
    }
    QToolButton::keyPressEvent(evento);
}

void PulsanteFigura::paintEvent(QPaintEvent*) {
    QStylePainter pittore(this);
    QStyleOptionToolButton opzioni;
    initStyleOption(&opzioni);
    const QColor faccia = palette().color(QPalette::Button);
    const bool premuto = isDown();
    const QRect r = rect();
    pittore.fillRect(r, premuto ? faccia.darker(115) : faccia);
    const QColor luce = faccia.lighter(150);
    const QColor ombra = faccia.darker(200);
    const int s = 2; // the bevel, light above and left, dark below and right; swapped pressed
    pittore.fillRect(QRect(r.left(), r.top(), r.width(), s), premuto ? ombra : luce);
    pittore.fillRect(QRect(r.left(), r.top(), s, r.height()), premuto ? ombra : luce);
    pittore.fillRect(QRect(r.left(), r.bottom() - s + 1, r.width(), s), premuto ? luce : ombra);
    pittore.fillRect(QRect(r.right() - s + 1, r.top(), s, r.height()), premuto ? luce : ombra);
    if (premuto) {
        opzioni.rect.translate(1, 1);
    }
    pittore.drawControl(QStyle::CE_ToolButtonLabel, opzioni);
    if (hasFocus()) {
        pittore.setPen(QPen(palette().color(QPalette::ButtonText), 1, Qt::DotLine));
        pittore.drawRect(r.adjusted(4, 4, -5, -5));
    }
}

Figura::Figura(QWidget* genitore) : QLabel(genitore) {}

void Figura::impostaFigura(const QIcon& icona, QSize lato) {
    icona_ = icona;
    lato_ = lato;
    setPixmap({});
    aggiorna();
}

bool Figura::event(QEvent* evento) {
    if (evento->type() == QEvent::Show || evento->type() == QEvent::ScreenChangeInternal) {
        aggiorna();
    }
    return QLabel::event(evento);
}

void Figura::aggiorna() {
    const qreal rapporto = devicePixelRatioF();
    if (!icona_.isNull() && (pixmap().isNull() || pixmap().devicePixelRatio() != rapporto)) {
        setPixmap(icona_.pixmap(lato_, rapporto));
    }
}

Superficie::Superficie(QWidget* genitore) : QWidget(genitore) {
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void Superficie::impostaSfondo(const core::Sfondo& sfondo) {
    if (sfondo == sfondo_) {
        return;
    }
    sfondo_ = sfondo;
    update();
}

void Superficie::paintEvent(QPaintEvent* evento) {
    QPainter pittore(this);
    for (const QRect& area : evento->region()) {
        switch (sfondo_.tipo) {
        case core::Sfondo::Tipo::Sistema:
            pittore.fillRect(area, palette().color(QPalette::Button));
            break;
        case core::Sfondo::Tipo::Nero:
            pittore.fillRect(area, Qt::black);
            break;
        case core::Sfondo::Tipo::Sfumatura: {
            // 256 bands of equal height, blue rising from 0 at the top to 255 at the bottom.
            const int alto = std::max(height(), 1);
            for (int k = std::max(0, area.top() * 256 / alto - 1); k < 256; ++k) {
                const int y0 = k * alto / 256;
                if (y0 > area.bottom()) {
                    break;
                }
                const QRect banda(area.left(), y0, area.width(), (k + 1) * alto / 256 - y0);
                pittore.fillRect(banda.intersected(area), QColor(sfondo_.rosso, sfondo_.verde, k));
            }
            break;
        }
        }
    }
}

void Superficie::keyPressEvent(QKeyEvent* evento) {
    if (tastoInvio(evento) && invioAlPredefinito && invioAlPredefinito()) {
        return;
    }
    QWidget::keyPressEvent(evento);
}

} // namespace ui
