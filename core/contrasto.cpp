#include "core/contrasto.hpp"

#include <algorithm>
#include <array>
#include <cmath>

namespace core {
namespace {

constexpr Rgb kNero{0, 0, 0};
constexpr Rgb kBianco{255, 255, 255};

// The linear value of each 8-bit channel value, computed once.
const std::array<double, 256>& lineari() {
    static const std::array<double, 256> tabella = [] {
        std::array<double, 256> t{};
        for (int v = 0; v < 256; ++v) {
            const double x = v / 255.0;
            t[v] = x <= 0.03928 ? x / 12.92 : std::pow((x + 0.055) / 1.055, 2.4);
        }
        return t;
    }();
    return tabella;
}

double minimoContrasto(Rgb colore, std::span<const Rgb> sfondo) {
    double minimo = 21;
    for (const Rgb s : sfondo) {
        minimo = std::min(minimo, contrasto(colore, s));
    }
    return minimo;
}

} // namespace

double luminanza(Rgb c) {
    const auto& l = lineari();
    return 0.2126 * l[c.rosso & 255] + 0.7152 * l[c.verde & 255] + 0.0722 * l[c.blu & 255];
}

double contrasto(Rgb a, Rgb b) {
    const double la = luminanza(a), lb = luminanza(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

bool leggibile(Rgb lettere, const Contorno& contorno, std::span<const Rgb> sfondo) {
    const bool contornoRegge = contrasto(lettere, contorno.interno) >= 3;
    return std::ranges::all_of(sfondo, [&](Rgb s) {
        return contrasto(lettere, s) >= 4.5 ||
               (contornoRegge && contrasto(contorno.esterno, s) >= 3);
    });
}

Contorno contornoPer(Rgb lettere, std::span<const Rgb> sfondo) {
    const Contorno nero{kNero, kNero}, bianco{kBianco, kBianco};
    const bool conNero = leggibile(lettere, nero, sfondo);
    const bool conBianco = leggibile(lettere, bianco, sfondo);
    if (conNero && conBianco) { // the one that sets the letters apart, not a blur around them
        return contrasto(lettere, kNero) >= contrasto(lettere, kBianco) ? nero : bianco;
    }
    if (conNero || conBianco) {
        return conNero ? nero : bianco;
    }
    const Rgb interno = contrasto(lettere, kNero) >= contrasto(lettere, kBianco) ? kNero : kBianco;
    const Rgb esterno =
        minimoContrasto(kNero, sfondo) >= minimoContrasto(kBianco, sfondo) ? kNero : kBianco;
    return {interno, esterno};
}

} // namespace core
