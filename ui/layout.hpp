#pragma once
// How the game window looks when it is created: every control with its text, place, font,
// colours and further properties. Positions are in twips, 15 to a logical pixel.

#include <QColor>
#include <QFont>
#include <QRect>
#include <QString>

#include <span>

namespace ui {

enum class Tipo { Etichetta, Casella, Pulsante, Figura };

struct Carattere {
    const char* famiglia; // as designed: "MS Sans Serif", "Arial", "Arial Black", "Times New Roman"
    double punti;
    bool grassetto = false;
    bool corsivo = false;
};

struct DescrizioneControllo {
    const char* nome;
    Tipo tipo;
    const char* testo;
    int sinistra, alto, larghezza, altezza; // twips
    Carattere carattere;
    QRgb colore = 0; // text colour; 0 with `coloreDiSistema` for the system's
    bool coloreDiSistema = true;
    QRgb sfondo = 0;    // background colour, when opaque
    bool opaco = false; // labels: paints its background; others: own background colour
    bool bordo = false; // single-line border
    bool centrato = false;
    bool autoSize = false; // sizes itself to its text
    const char* suggerimento = nullptr;
};

std::span<const DescrizioneControllo> controlliIniziali();

inline constexpr int kTwipPerPixel = 15;
inline QRect inPixel(const DescrizioneControllo& d) {
    return {d.sinistra / kTwipPerPixel, d.alto / kTwipPerPixel, d.larghezza / kTwipPerPixel,
            d.altezza / kTwipPerPixel};
}

// The font a designed font maps to on this system, at the same size.
QFont carattereDi(const Carattere& c);

// The client area at normal size: wide enough for the whole exit button.
inline constexpr int kLarghezzaNormale = 11295 / kTwipPerPixel;
inline constexpr int kAltezzaNormale = 8310 / kTwipPerPixel;

} // namespace ui
