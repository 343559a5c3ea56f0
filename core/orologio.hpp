#pragma once
// The countdown clock: hours, minutes and seconds, and the count of ticks left. Every tick of
// the game's timer (500 ms) takes one clock second off.

#include <cstdint>
#include <string>

namespace core {

struct Orologio {
    std::int16_t ore = 0;
    std::int16_t minuti = 0;
    float secondi = 0;
    std::int16_t restanti = 0; // clock seconds left: 3600 ore + 60 minuti + secondi

    // 00:15:00 with 900 ticks to go.
    void riparti();
    // One clock second less, borrowing a minute when the seconds are 0. Never called on a
    // clock at 00:00:00; the hours stay 0, since the clock starts at 15 minutes.
    void scatta();
    // "hh:mm:ss", each at least two digits.
    std::string testo() const;
};

inline constexpr const char* kOrologioFermo = "00:00:00";

} // namespace core
