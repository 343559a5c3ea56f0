#pragma once
// Drawing the number of a question and the colours of its backdrop.

#include <cstdint>
#include <functional>
#include <random>
#include <string>

namespace core {

// Uniform values in [0, 1), reseeded on demand from a seed source (the system clock in play,
// a fixed sequence in tests).
class Casuale {
public:
    using SorgenteSeme = std::function<std::uint64_t()>;
    explicit Casuale(SorgenteSeme seme);

    static std::uint64_t semeDallOrologio();

    void rimescola();
    double prossimo();

private:
    SorgenteSeme seme_;
    std::mt19937_64 generatore_;
};

// The bound as the game keeps it: a text that is not a number, or a number below 2 (which could
// give no number but 1, or none at all), becomes "100"; a number above 3900 becomes "3800";
// any other text is kept as typed.
std::string correggiLimite(const std::string& massimo);

// A number from 1 to the bound less one: floor(r * bound), drawn again while it is 0.
// The bound must be a number from 2 to 3900, as correggiLimite leaves it.
std::int16_t estraiNumero(Casuale& casuale, double limite);

} // namespace core
