#pragma once
// How the game window looks when it is created: every control with its text, place, font,
// colours and further properties. Positions are in twips, 15 to a logical pixel.

#include <QColor>
#include <QFont>
#include <QPointF>
#include <QRect>
#include <QSize>
#include <QString>

#include <optional>
#include <span>
#include <string_view>

namespace ui {

enum class Tipo { Etichetta, Casella, Pulsante, Figura };

struct Carattere {
    const char* famiglia; // as designed: "MS Sans Serif", "Arial", "Arial Black", "Times New Roman"
    double punti;
    bool grassetto = false;
    bool corsivo = false;
};

// One control of the window: its name, kind, text, place, font and colours, and what
// assistive technology (a screen reader, a braille display) is told of it, in Italian.
struct DescrizioneControllo {
    const char* nome;
    Tipo tipo;
    const char* testo;
    int sinistra, alto, larghezza, altezza; // twips
    Carattere carattere;
    std::optional<QRgb> colore = std::nullopt; // text colour; the system's when none
    std::optional<QRgb> sfondo =
        std::nullopt;   // own background colour; a label without one is transparent
    bool bordo = false; // single-line border
    bool centrato = false;
    bool autoSize = false; // sizes itself to its text
    const char* suggerimento = nullptr;
    const char* titoloAccessibile = nullptr; // its accessible name
    const char* descrizione = nullptr;       // its accessible description
    bool conValore = false;  // the accessible name goes on with the text shown: "Numero: 47"
    bool annunciato = false; // every new text is announced, even when it repeats the last one
};

// Every control, in the order they are made; later ones lie above earlier ones.
std::span<const DescrizioneControllo> controlliIniziali();
const DescrizioneControllo& descrizioneDi(std::string_view nome);

inline constexpr int kTwipPerPixel = 15;
inline QRect inPixel(const DescrizioneControllo& d) {
    return {d.sinistra / kTwipPerPixel, d.alto / kTwipPerPixel, d.larghezza / kTwipPerPixel,
            d.altezza / kTwipPerPixel};
}

// The font a designed font maps to on this system, at the same size times `fattore`.
QFont carattereDi(const Carattere& c, double fattore = 1);

// The client area at normal size: wide enough for the whole exit button.
inline constexpr int kLarghezzaNormale = 11295 / kTwipPerPixel;
inline constexpr int kAltezzaNormale = 8310 / kTwipPerPixel;

// The whole layout scaled by one factor to fill a larger client area, centred in the free
// space. Never below `minimo`: at normal size (and smaller) the layout keeps its 1:1 geometry,
// unless the screen itself has no room for it (minimoPer). `normale` is the layout's size at
// factor 1: the designed window, or more with the on-screen keypad's strip beneath it
// (ui/tastierino.hpp).
struct Scala {
    double fattore = 1;
    QPointF origine; // where the layout's top-left corner lands
    // A rectangle of the 1:1 layout, in pixels, scaled and moved; its edges are rounded, so
    // neighbours stay neighbours.
    QRect applica(const QRect& disegnato) const;
    int lunghezza(int pixel) const;
    bool operator==(const Scala&) const = default;
};
Scala scalaPer(QSize area, double minimo = 1,
               QSize normale = QSize(kLarghezzaNormale, kAltezzaNormale));
// The least factor for a client area that can grow to `libero` at most (the screen, after
// QT_SCALE_FACTOR, without the window's frame and menu bar): 1, or less when that is smaller
// than the layout, so that every control stays on the screen.
double minimoPer(QSize libero, QSize normale = QSize(kLarghezzaNormale, kAltezzaNormale));

// The free area of the window (right of "Nuovo calcolo", between the counters and the record
// line), where the review of the game's mistakes goes; it covers no control.
inline constexpr QRect kRettangoloRipasso{424, 352, 321, 136};

} // namespace ui
