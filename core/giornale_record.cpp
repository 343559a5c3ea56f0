#include "core/giornale_record.hpp"

#include <charconv>

namespace core {
namespace {

constexpr std::string_view kIntestazioneGiornale = "CIFROLANDIA-RECORD 1\n";
constexpr std::string_view kFineGiornale = "FINE\n";

} // namespace

std::string componiGiornale(const Coppia& coppia) {
    return std::string(kIntestazioneGiornale) + std::to_string(coppia.punti.size()) + ' ' +
           std::to_string(coppia.nome.size()) + '\n' + coppia.punti + coppia.nome +
           std::string(kFineGiornale);
}

std::optional<Coppia> leggiGiornale(std::string_view testo) {
    if (!testo.starts_with(kIntestazioneGiornale)) {
        return std::nullopt;
    }
    testo.remove_prefix(kIntestazioneGiornale.size());
    std::size_t lunghezze[2] = {0, 0};
    const char separatori[2] = {' ', '\n'};
    for (int i = 0; i < 2; ++i) {
        const auto [fine, errore] =
            std::from_chars(testo.data(), testo.data() + testo.size(), lunghezze[i]);
        if (errore != std::errc{} || fine == testo.data() || fine == testo.data() + testo.size() ||
            *fine != separatori[i]) {
            return std::nullopt;
        }
        testo.remove_prefix(static_cast<std::size_t>(fine - testo.data()) + 1);
    }
    if (lunghezze[0] > testo.size() || lunghezze[1] > testo.size() - lunghezze[0] ||
        testo.substr(lunghezze[0] + lunghezze[1]) != kFineGiornale) {
        return std::nullopt;
    }
    return Coppia{std::string(testo.substr(0, lunghezze[0])),
                  std::string(testo.substr(lunghezze[0], lunghezze[1]))};
}

} // namespace core
