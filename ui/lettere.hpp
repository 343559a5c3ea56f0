#pragma once
// Text larger than Qt's glyph cache takes, drawn from glyphs rasterised once.

#include <QRectF>
#include <QString>

class QFont;
class QPainter;

namespace ui {

// Qt draws text above 64 pixels from the glyphs' outlines every time (and an enlarged glyph
// cache loses such glyphs altogether). Draws `testo` as QPainter::drawText(area, flags, testo)
// lays it out, in black, with each glyph rasterised from its outline once per size and
// position within a pixel, then copied; smaller text is left to QPainter.
void disegnaLettere(QPainter& pittore, const QRectF& area, int flags, const QString& testo,
                    const QFont& carattere);

} // namespace ui
