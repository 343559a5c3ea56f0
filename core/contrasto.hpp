#pragma once
// Contrast between colours (WCAG 2), and the outline that keeps a caption readable over any
// backdrop: the letters keep their colour; the outline is black, white, or both (white next to
// the letters and black outside, or the other way round) where no single colour can stand
// out from the backdrop and from the letters at once.

#include <span>

namespace core {

struct Rgb {
    int rosso = 0, verde = 0, blu = 0;
    bool operator==(const Rgb&) const = default;
};

double luminanza(Rgb colore);
double contrasto(Rgb a, Rgb b);

struct Contorno {
    Rgb interno; // next to the letters
    Rgb esterno; // against the backdrop; the same as interno for a one-colour outline
    bool operator==(const Contorno&) const = default;
};

// Readable: against every colour of the backdrop beneath, the letters stand at 4.5:1 or more,
// or the outline's outer colour at 3:1 or more while the letters stand at 3:1 or more against
// its inner colour.
bool leggibile(Rgb lettere, const Contorno& contorno, std::span<const Rgb> sfondo);

// The outline for letters of this colour over these backdrop colours: one colour, black or
// white, when one makes them readable (the one standing out more from the letters when both
// do); otherwise the two, the inner one the better against the letters.
Contorno contornoPer(Rgb lettere, std::span<const Rgb> sfondo);

} // namespace core
