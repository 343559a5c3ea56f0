#include "ui/widgets.hpp"

#include "core/cp1252.hpp"

#include <QKeyEvent>
#include <QPainter>

namespace ui {
namespace {

bool tastoInvio(const QKeyEvent* evento) {
    return evento->key() == Qt::Key_Return || evento->key() == Qt::Key_Enter;
}

} // namespace

Etichetta::Etichetta(QWidget* genitore) : QLabel(genitore) {
    setTextFormat(Qt::PlainText);
    setIndent(0);
}

void Etichetta::impostaTesto(const QString& testo) {
    QString mostrato = testo;
    mostrato.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    mostrato.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    setText(mostrato);
    if (autoSize_) {
        // Exactly the text's lines plus the border (QLabel's own hint adds margins).
        const QFontMetrics metriche(font());
        const QStringList righe = mostrato.split(QLatin1Char('\n'));
        int larghezza = 0;
        for (const QString& riga : righe) {
            larghezza = std::max(larghezza, metriche.horizontalAdvance(riga));
        }
        const int altezza = metriche.height() + (righe.size() - 1) * metriche.lineSpacing();
        resize(larghezza + 2 * frameWidth(), altezza + 2 * frameWidth());
    } else if (wordWrap()) {
        // A wrapped text keeps the width and may take the lines it needs.
        resize(width(), std::max(altezzaIniziale_, heightForWidth(width())));
    }
}

void Etichetta::impostaRettangolo(const QRect& rettangolo) {
    setGeometry(rettangolo);
    altezzaIniziale_ = rettangolo.height();
}

CasellaRisposta::CasellaRisposta(QWidget* genitore) : QLineEdit(genitore) {
    setFrame(false);
    setTextMargins(3, 3, 3, 3);
}

void CasellaRisposta::paintEvent(QPaintEvent* evento) {
    QLineEdit::paintEvent(evento);
    QPainter pittore(this);
    const bool fuoco = hasFocus();
    const int s = fuoco ? 2 : 1;
    const QColor colore = palette().color(fuoco ? QPalette::Highlight : QPalette::Dark);
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
    setFocusPolicy(Qt::StrongFocus);
    setAutoFillBackground(true);
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
    QToolButton::keyPressEvent(evento);
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
    switch (sfondo_.tipo) {
    case core::Sfondo::Tipo::Sistema:
        pittore.fillRect(evento->rect(), palette().color(QPalette::Button));
        break;
    case core::Sfondo::Tipo::Nero:
        pittore.fillRect(evento->rect(), Qt::black);
        break;
    case core::Sfondo::Tipo::Sfumatura: {
        // 256 bands of equal height, blue rising from 0 at the top to 255 at the bottom.
        const int alto = height();
        const QRect area = evento->rect();
        const int prima = std::max(0, area.top() * 256 / std::max(alto, 1) - 1);
        for (int k = prima; k < 256; ++k) {
            const int y0 = k * alto / 256;
            const int y1 = (k + 1) * alto / 256;
            if (y0 > area.bottom()) {
                break;
            }
            pittore.fillRect(QRect(area.left(), y0, area.width(), y1 - y0),
                             QColor(sfondo_.rosso, sfondo_.verde, k));
        }
        break;
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
