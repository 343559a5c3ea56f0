#pragma once
// The review of a game's mistakes: every wrong answer with what was typed and the numeral
// that was expected, newest first, so that a pupil sees what to learn from after the next
// question has replaced the verdict.

#include <string>
#include <vector>

namespace core {

struct Errore {
    int numero = 0;      // the number asked
    std::string scritto; // the answer as typed
    std::string esatto;  // its Roman numeral
    bool operator==(const Errore&) const = default;
};

class Ripasso {
public:
    void annota(Errore errore);
    void svuota() { errori_.clear(); }
    // Newest first.
    const std::vector<Errore>& errori() const { return errori_; }
    // One line per mistake, newest first: "24: XX → XXIV".
    std::vector<std::string> righe() const;

private:
    std::vector<Errore> errori_;
};

// "24: XX → XXIV"; an empty answer reads "(vuota)".
std::string rigaDi(const Errore& errore);

} // namespace core
