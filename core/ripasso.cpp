#include "core/ripasso.hpp"

namespace core {

RigaRipasso rigaDi(const Errore& errore) {
    const std::string scritto =
        errore.scritto.empty() ? "non hai scritto niente" : "hai scritto " + errore.scritto;
    return {errore.domanda + ": " + scritto + " \u2014 giusto ", errore.esatto};
}

} // namespace core
