#include "ui/riempimento.hpp"

#include <QImage>
#include <QPaintEngine>
#include <QPainter>

#include <algorithm>
#include <cmath>
#include <cstdint>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace ui {
namespace {

void riempiRiga(quint32* pixel, int quanti, quint32 colore) {
#if defined(__SSE2__)
    // Up to a 16-byte boundary one pixel at a time, then four at a time around the cache.
    for (; quanti > 0 && reinterpret_cast<std::uintptr_t>(pixel) % 16 != 0; --quanti) {
        *pixel++ = colore;
    }
    const __m128i quattro = _mm_set1_epi32(static_cast<int>(colore));
    for (; quanti >= 4; quanti -= 4, pixel += 4) {
        _mm_stream_si128(reinterpret_cast<__m128i*>(pixel), quattro);
    }
#endif
    std::fill_n(pixel, quanti, colore);
}

// The image the painter writes into, when it is one of 32 bits a pixel.
QImage* immagineDiretta(QPainter& pittore) {
    QPaintDevice* dispositivo =
        pittore.paintEngine() ? pittore.paintEngine()->paintDevice() : nullptr;
    if (!dispositivo || dispositivo->devType() != QInternal::Image) {
        return nullptr;
    }
    auto* immagine = static_cast<QImage*>(dispositivo);
    switch (immagine->format()) {
    case QImage::Format_RGB32:
    case QImage::Format_ARGB32:
    case QImage::Format_ARGB32_Premultiplied:
        return immagine;
    default:
        return nullptr;
    }
}

} // namespace

void riempi(QPainter& pittore, const QRect& area, QRgb colore) {
    const QTransform& t = pittore.deviceTransform();
    QImage* immagine = immagineDiretta(pittore);
    const qreal scala = t.m11();
    const bool copiaEsatta = pittore.opacity() == 1 && !pittore.hasClipping() &&
                             (pittore.compositionMode() == QPainter::CompositionMode_SourceOver ||
                              pittore.compositionMode() == QPainter::CompositionMode_Source) &&
                             qAlpha(colore) == 255; // SourceOver or Source: the colour itself
    if (!immagine || !copiaEsatta || t.type() > QTransform::TxScale || t.m22() != scala ||
        scala < 1 || scala != std::floor(scala) || t.dx() != std::floor(t.dx()) ||
        t.dy() != std::floor(t.dy())) {
        pittore.fillRect(area, QColor::fromRgba(colore));
        return;
    }
    const QRect dispositivo = t.mapRect(area).intersected(immagine->rect());
    for (int y = dispositivo.top(); y <= dispositivo.bottom(); ++y) {
        // Into the very pixels the painter holds: scanLine() would copy an image shared
        // meanwhile, and the painter would go on drawing into the old one.
        auto* riga = reinterpret_cast<quint32*>(const_cast<uchar*>(immagine->constScanLine(y)));
        riempiRiga(riga + dispositivo.left(), dispositivo.width(), colore);
    }
#if defined(__SSE2__)
    _mm_sfence(); // the streamed pixels are in memory before anything reads them
#endif
}

} // namespace ui
