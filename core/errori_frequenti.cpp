// The mistakes a player makes again and again, counted over the history of games.
#include "core/storico.hpp"

#include <algorithm>
#include <map>

namespace core {

std::vector<ErroreFrequente> erroriFrequenti(const std::vector<Partita>& partite,
                                             std::string_view nome, std::size_t quanti) {
    struct Conto {
        int volte = 0;
        std::size_t ultima = 0; // the order of its latest mistake
    };
    std::map<std::pair<std::string, std::string>, Conto> conti;
    std::size_t ordine = 0;
    for (const Partita& partita : partite) {
        if (partita.nome != nome) {
            continue;
        }
        for (const Errore& errore : partita.errori) {
            Conto& conto = conti[{errore.domanda, errore.esatto}];
            ++conto.volte;
            conto.ultima = ++ordine;
        }
    }
    std::vector<std::pair<const std::pair<std::string, std::string>*, Conto>> ordinati;
    for (const auto& [chiave, conto] : conti) {
        ordinati.emplace_back(&chiave, conto);
    }
    std::sort(ordinati.begin(), ordinati.end(), [](const auto& a, const auto& b) {
        return a.second.volte != b.second.volte ? a.second.volte > b.second.volte
                                                : a.second.ultima > b.second.ultima;
    });
    std::vector<ErroreFrequente> risultato;
    for (std::size_t i = 0; i < ordinati.size() && i < quanti; ++i) {
        risultato.push_back(
            {ordinati[i].first->first, ordinati[i].first->second, ordinati[i].second.volte});
    }
    return risultato;
}

} // namespace core
