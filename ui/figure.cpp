#include "ui/figure.hpp"

#include <QFile>
#include <QHash>
#include <QPainter>
#include <QPixmap>
#include <QSvgRenderer>

namespace ui {
namespace {

// A picture `pixel` device pixels wide; made once per size, as a resize asks for the same
// sizes again and again.
QPixmap immagine(const QString& nome, int pixel) {
    static QHash<QString, QPixmap> fatte;
    const QString chiave = nome + QLatin1Char('@') + QString::number(pixel);
    if (const auto it = fatte.constFind(chiave); it != fatte.constEnd()) {
        return *it;
    }
    QPixmap p;
    const QString png = QStringLiteral(":/immagini/%1-%2.png").arg(nome).arg(pixel);
    if (!QFile::exists(png) || !p.load(png)) {
        p = QPixmap(pixel, pixel);
        p.fill(Qt::transparent);
        QSvgRenderer svg(QStringLiteral(":/immagini/%1.svg").arg(nome));
        QPainter pittore(&p);
        svg.render(&pittore);
    }
    fatte.insert(chiave, p);
    return p;
}

void aggiungi(QIcon& icona, const QString& nome, int lato, qreal rapporto, QIcon::Mode modo) {
    for (qreal r : {qreal(1), rapporto}) {
        QPixmap p = immagine(nome, qRound(lato * r));
        p.setDevicePixelRatio(r);
        icona.addPixmap(p, modo);
    }
}

} // namespace

QIcon figuraScalata(const QString& nome, int lato, qreal rapporto, const QString& disabilitato) {
    QIcon icona;
    aggiungi(icona, nome, lato, rapporto, QIcon::Normal);
    if (!disabilitato.isEmpty()) {
        aggiungi(icona, disabilitato, lato, rapporto, QIcon::Disabled);
    }
    return icona;
}

} // namespace ui
