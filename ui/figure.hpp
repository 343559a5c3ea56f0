#pragma once
// The game's pictures at any size, sharp: the PNG drawn for that size when there is one
// (16, 32 and 64 pixels), otherwise rendered from the picture's SVG.

#include <QIcon>
#include <QString>

namespace ui {

// The picture `nome` (":/immagini/<nome>.svg") as an icon `lato` logical pixels wide, for
// screens of pixel ratio 1 and `rapporto`. `disabilitato`: the picture for the disabled state.
QIcon figuraScalata(const QString& nome, int lato, qreal rapporto,
                    const QString& disabilitato = {});

} // namespace ui
