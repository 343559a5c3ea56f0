#include "ui/lettere.hpp"

#include <QFontInfo>
#include <QFontMetricsF>
#include <QGlyphRun>
#include <QHash>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QRawFont>
#include <QTextLayout>

#include <cmath>

namespace ui {
namespace {

constexpr int kCacheDiQt = 64; // the largest glyph, in device pixels, that Qt caches itself

struct Glifo {
    QImage forma; // black, with the glyph's coverage as alpha
    QPoint origine;
};

// The glyph `indice` of `carattere`, at `scala` device pixels a pixel, its origin moved by
// `frazione` (a pixel's fraction, in device pixels) as it falls between whole pixels.
const Glifo& glifo(const QRawFont& carattere, quint32 indice, qreal scala, QPointF frazione) {
    static QHash<QString, Glifo> glifi;
    const QString chiave = QStringLiteral("%1|%2|%3|%4|%5|%6|%7|%8|%9")
                               .arg(carattere.familyName(), carattere.styleName())
                               .arg(carattere.weight())
                               .arg(int(carattere.style()))
                               .arg(carattere.pixelSize())
                               .arg(indice)
                               .arg(scala)
                               .arg(frazione.x())
                               .arg(frazione.y());
    auto trovato = glifi.find(chiave);
    if (trovato == glifi.end()) {
        if (glifi.size() > 4096) { // a long game on ever new window sizes
            glifi.clear();
        }
        const QPainterPath contorno = QTransform::fromScale(scala, scala)
                                          .map(carattere.pathForGlyph(indice))
                                          .translated(frazione);
        const QRect limiti = contorno.boundingRect().toAlignedRect().adjusted(-1, -1, 1, 1);
        Glifo g{QImage(limiti.size(), QImage::Format_Alpha8), limiti.topLeft()};
        g.forma.fill(0);
        QPainter p(&g.forma);
        p.setRenderHint(QPainter::Antialiasing);
        p.translate(-limiti.topLeft());
        p.fillPath(contorno, Qt::black);
        trovato = glifi.insert(chiave, g);
    }
    return *trovato;
}

} // namespace

void disegnaLettere(QPainter& pittore, const QRectF& area, int flags, const QString& testo,
                    const QFont& carattere) {
    const qreal scala = pittore.device()->devicePixelRatioF();
    if (QFontInfo(carattere).pixelSize() * scala <= kCacheDiQt ||
        pittore.transform().type() > QTransform::TxTranslate) {
        pittore.save();
        pittore.setFont(carattere);
        pittore.setPen(Qt::black);
        pittore.drawText(area, flags, testo);
        pittore.restore();
        return;
    }
    // Laid out as QPainter::drawText lays out: lines on whole pixels, the font's leading
    // between them, and aligned one by one.
    QString righe = testo;
    righe.replace(QLatin1Char('\n'), QChar::LineSeparator);
    const QFontMetricsF metriche(carattere, pittore.device());
    QTextLayout layout(righe, carattere, pittore.device());
    QTextOption opzione;
    opzione.setWrapMode((flags & Qt::TextWordWrap) ? QTextOption::WordWrap
                                                   : QTextOption::ManualWrap);
    opzione.setTextDirection(Qt::LeftToRight);
    layout.setTextOption(opzione);
    layout.beginLayout();
    qreal alto = -metriche.leading();
    for (QTextLine riga = layout.createLine(); riga.isValid(); riga = layout.createLine()) {
        riga.setLineWidth((flags & Qt::TextWordWrap) ? std::max<qreal>(0, area.width()) : 1e7);
        alto = std::ceil(alto + metriche.leading());
        riga.setPosition(QPointF(0, alto));
        alto += riga.height();
        if (alto >= area.height()) {
            break;
        }
    }
    layout.endLayout();
    const qreal sopra = (flags & Qt::AlignBottom)    ? area.height() - alto
                        : (flags & Qt::AlignVCenter) ? (area.height() - alto) / 2
                                                     : 0;
    pittore.save();
    pittore.setClipRect(area, Qt::IntersectClip); // as drawText clips
    for (int n = 0; n < layout.lineCount(); ++n) {
        const QTextLine riga = layout.lineAt(n);
        const qreal avanzo = area.width() - riga.horizontalAdvance();
        const QPointF inizio = area.topLeft() + QPointF((flags & Qt::AlignRight)     ? avanzo
                                                        : (flags & Qt::AlignHCenter) ? avanzo / 2
                                                                                     : 0,
                                                        sopra);
        for (const QGlyphRun& corsa : riga.glyphRuns()) {
            const QList<quint32> indici = corsa.glyphIndexes();
            const QList<QPointF> posizioni = corsa.positions();
            for (qsizetype i = 0; i < indici.size(); ++i) {
                // In device pixels: a whole part where the picture goes, and a fraction drawn
                // into it, to a quarter of a pixel (four pictures of a glyph at most, across).
                const QPointF dove = (inizio + posizioni[i]) * scala;
                const QPointF intero(std::floor(dove.x()), std::floor(dove.y()));
                const QPointF frazione(std::round((dove.x() - intero.x()) * 4) / 4,
                                       std::round((dove.y() - intero.y()) * 4) / 4);
                const Glifo& g = glifo(corsa.rawFont(), indici[i], scala, frazione);
                QImage forma = g.forma;
                forma.setDevicePixelRatio(scala);
                pittore.drawImage((intero + g.origine) / scala, forma);
            }
        }
    }
    pittore.restore();
}

} // namespace ui
