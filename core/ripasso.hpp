#pragma once
// The review of a game's mistakes: every wrong answer with what was typed and the right
// answer, newest first, so that a pupil sees what to learn from after the next question has
// replaced the verdict.

#include <string>
#include <vector>

namespace core {

struct Errore {
    std::string domanda; // what was asked: "24"
    std::string scritto; // the answer as typed
    std::string esatto;  // the right answer: "XXIV"
    bool operator==(const Errore&) const = default;
};

class Ripasso {
public:
    void annota(Errore errore) { errori_.insert(errori_.begin(), std::move(errore)); }
    void svuota() { errori_.clear(); }
    // Every mistake of the game, newest first.
    const std::vector<Errore>& errori() const { return errori_; }

private:
    std::vector<Errore> errori_;
};

// The line of one mistake: "24: hai scritto XX — giusto XXIV", or "24: non hai scritto
// niente — giusto XXIV". `primaDelGiusto` is all of it up to the right answer, which closes it.
struct RigaRipasso {
    std::string primaDelGiusto;
    std::string giusto;
    std::string intera() const { return primaDelGiusto + giusto; }
};
RigaRipasso rigaDi(const Errore& errore);

} // namespace core
