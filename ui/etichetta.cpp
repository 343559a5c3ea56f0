#include "ui/etichetta.hpp"

#include "ui/controlli.hpp"

#include "core/contrasto.hpp"

#include <QAccessibleWidget>
#include <QPainter>

#include <algorithm>
#include <cmath>

namespace ui {
namespace {

core::Rgb rgbDi(const QColor& c) {
    return {c.red(), c.green(), c.blue()};
}

QColor colore(core::Rgb c) {
    return QColor(c.rosso, c.verde, c.blu);
}

} // namespace

Etichetta::Etichetta(QWidget* genitore) : QLabel(genitore) {
    setTextFormat(Qt::PlainText);
    setIndent(0);
}

void Etichetta::impostaTesto(const QString& testo) {
    testoIntero_ = testo;
    testoIntero_.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    testoIntero_.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    mostraTesto();
}

void Etichetta::limitaLarghezza(int massima) {
    if (massima == larghezzaMassima_) {
        return;
    }
    larghezzaMassima_ = massima;
    if (!testoIntero_.isNull()) {
        mostraTesto();
    }
}

void Etichetta::mostraTesto() {
    const QFontMetrics metriche(font());
    QStringList righe = testoIntero_.split(QLatin1Char('\n'));
    if (larghezzaMassima_ >= 0) {
        for (QString& riga : righe) {
            riga = metriche.elidedText(riga, Qt::ElideRight, larghezzaMassima_);
        }
    }
    const QString mostrato = righe.join(QLatin1Char('\n'));
    setText(mostrato);
    if (autoSize_) {
        // Exactly the text's lines plus the border (QLabel's own hint adds margins).
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

void Etichetta::impostaTestoIniziale(const QString& testo) {
    testoIntero_ = QString(); // shown as it is, never cut
    setText(testo);
}

qreal Etichetta::spessoreContorno() const {
    // Two pixels at least, and about a twelfth of the text's height on larger text.
    return std::max(2.0, font().pixelSize() / 12.0);
}

core::Contorno Etichetta::contorno() const {
    // The backdrop's colours beneath the label: its bands from top to bottom, or one colour.
    const auto* superficie = qobject_cast<const Superficie*>(parentWidget());
    const core::Sfondo sfondo = superficie ? superficie->sfondo() : core::Sfondo{};
    std::vector<core::Rgb> sotto;
    switch (sfondo.tipo) {
    case core::Sfondo::Tipo::Sistema:
        sotto.push_back(rgbDi(parentWidget() ? parentWidget()->palette().color(QPalette::Button)
                                             : palette().color(QPalette::Button)));
        break;
    case core::Sfondo::Tipo::Nero:
        sotto.push_back({0, 0, 0});
        break;
    case core::Sfondo::Tipo::Sfumatura: {
        const int alto = std::max(parentWidget()->height(), 1);
        const int prima = std::clamp(geometry().top() * 256 / alto, 0, 255);
        const int ultima = std::clamp(geometry().bottom() * 256 / alto, prima, 255);
        for (int k = prima; k <= ultima; ++k) {
            sotto.push_back({sfondo.rosso, sfondo.verde, k});
        }
        break;
    }
    }
    return core::contornoPer(rgbDi(palette().color(foregroundRole())), sotto);
}

void Etichetta::paintEvent(QPaintEvent* evento) {
    if (text().isEmpty()) {
        QLabel::paintEvent(evento);
        return;
    }
    // The letters (over their outline, on the backdrop) are kept as one picture, cut to where
    // they are: the backdrop under a label is repainted at every question, its text far less
    // often, and text larger than Qt's glyph cache takes would be drawn again from its
    // outlines at every repaint.
    const bool contornata = !autoFillBackground();
    const core::Contorno c = contornata ? contorno() : core::Contorno{};
    const QColor interno = contornata ? colore(c.interno) : QColor();
    const QColor esterno = contornata ? colore(c.esterno) : QColor();
    const int allineamento =
        int(alignment()) | (wordWrap() ? Qt::TextWordWrap : 0) | Qt::TextForceLeftToRight;
    const QString chiave = QStringLiteral("%1|%2x%3|%4|%5%6|%7|%8|%9")
                               .arg(text())
                               .arg(width())
                               .arg(height())
                               .arg(font().key(), interno.name(), esterno.name())
                               .arg(devicePixelRatioF())
                               .arg(allineamento)
                               .arg(palette().color(foregroundRole()).name());
    if (chiave != chiaveTesto_) {
        // The one before is kept too: a window switched to full screen and back, or a count
        // that changes and changes back, finds its text drawn already.
        std::swap(testoDisegnato_, testoPrecedente_);
        std::swap(posizioneTesto_, posizionePrecedente_);
        std::swap(chiaveTesto_, chiavePrecedente_);
        if (chiave != chiaveTesto_) {
            testoDisegnato_ = disegnaTesto(interno, esterno, allineamento);
            chiaveTesto_ = chiave;
        }
    }
    QPainter pittore(this);
    pittore.drawPixmap(posizioneTesto_, testoDisegnato_);
    drawFrame(&pittore); // over the outline, as QLabel draws it over what is beneath
}

QPixmap Etichetta::disegnaTesto(const QColor& interno, const QColor& esterno, int allineamento) {
    // Only around the letters: where the text is laid out, widened by the outline and by half
    // a line for letters that lean past their place (italics); never beyond the label, which
    // clips what it paints.
    const qreal spessore = spessoreContorno();
    const qreal margine = spessore + fontMetrics().height() / 2.0;
    const QRectF intorno = QFontMetricsF(font())
                               .boundingRect(QRectF(contentsRect()), allineamento, text())
                               .adjusted(-margine, -margine, margine, margine)
                               .intersected(QRectF(rect()));
    const qreal rapporto = devicePixelRatioF();
    const QRect ritaglio =
        QRectF(intorno.topLeft() * rapporto, intorno.size() * rapporto).toAlignedRect();
    posizioneTesto_ = QPointF(ritaglio.topLeft()) / rapporto;
    // Pixmaps, not images: a pixmap has the screen's resolution, which the label's font in
    // points is meant for.
    const auto tela = [&] {
        QPixmap tela(ritaglio.size());
        tela.setDevicePixelRatio(rapporto);
        tela.fill(Qt::transparent);
        return tela;
    };
    // The letters are drawn once, as QLabel draws plain text, and that shape is then coloured.
    QPixmap forma = tela();
    {
        QPainter p(&forma);
        p.translate(-posizioneTesto_);
        p.setFont(font());
        p.drawText(QRectF(contentsRect()), allineamento, text());
    }
    const auto colorata = [&](const QColor& colore) {
        QPixmap esito = forma;
        QPainter p(&esito);
        p.setCompositionMode(QPainter::CompositionMode_SourceIn);
        p.fillRect(QRectF(QPointF(), esito.deviceIndependentSize()), colore);
        return esito;
    };
    const QPixmap lettere = colorata(palette().color(foregroundRole()));
    if (!esterno.isValid()) {
        return lettere;
    }
    // The outline: the shape in its colour, stamped around its place at every device pixel
    // within the outline's width; a row of stamps, then that row stamped in a column (2(2n+1)
    // copies instead of (2n+1)²). A two-colour outline has its inner colour on the inner half.
    // The letters go on top.
    const auto timbra = [&](const QPixmap& sorgente, bool orizzontale, int passi) {
        QPixmap esito = tela();
        QPainter p(&esito);
        for (int i = -passi; i <= passi; ++i) {
            p.drawPixmap(orizzontale ? QPointF(i / rapporto, 0) : QPointF(0, i / rapporto),
                         sorgente);
        }
        return esito;
    };
    const int passi = qRound(spessore * rapporto);
    QPixmap esito = timbra(timbra(colorata(esterno), true, passi), false, passi);
    QPainter pittore(&esito);
    if (interno != esterno) {
        const int meta = (passi + 1) / 2;
        pittore.drawPixmap(QPointF(), timbra(timbra(colorata(interno), true, meta), false, meta));
    }
    pittore.drawPixmap(QPointF(), lettere);
    pittore.end();
    return esito;
}

namespace {

class EtichettaAccessibile : public QAccessibleWidget {
public:
    explicit EtichettaAccessibile(QWidget* w) : QAccessibleWidget(w, QAccessible::StaticText) {}
    QString text(QAccessible::Text t) const override {
        const QString valore = static_cast<QLabel*>(widget())->text().simplified();
        if (t == QAccessible::Value) {
            return valore;
        }
        if (t == QAccessible::Name) {
            return widget()->accessibleName() + QStringLiteral(": ") + valore;
        }
        return QAccessibleWidget::text(t);
    }
};

} // namespace

QAccessibleInterface* accessibileVivo(const QString& classe, QObject* oggetto) {
    auto* etichetta = qobject_cast<Etichetta*>(oggetto);
    if (classe != QLatin1String(Etichetta::staticMetaObject.className()) || !etichetta ||
        !etichetta->valoreVivo()) {
        return nullptr;
    }
    return new EtichettaAccessibile(etichetta);
}

} // namespace ui
