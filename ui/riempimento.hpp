#pragma once
// Large areas of one opaque colour, written as fast as the memory takes them.

#include <QColor>
#include <QRect>

class QPainter;

namespace ui {

// Fills `area` (in the painter's logical coordinates) with the opaque colour `colore`, as
// QPainter::fillRect does. When the painter draws straight into a 32-bit image (a window's
// backing store) at a whole-number scale, with no clip, opacity or blending of its own, the pixels
// are written with stores that bypass the cache: a 4K window holds 33 MB, and reading it in only to
// overwrite it doubles the cost of a repaint. The direct write ignores the painter's clip: `area`
// must lie within the region that the paint event repaints.
void riempi(QPainter& pittore, const QRect& area, QRgb colore);

} // namespace ui
