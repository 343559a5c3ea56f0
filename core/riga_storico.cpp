// One game as a line of the history file, and back: RFC 4180 fields, the mistakes in one field
// of their own.
#include "core/cp1252.hpp"
#include "core/storico.hpp"

#include <charconv>
#include <ctime>

namespace core {
namespace {

constexpr std::size_t kCampi = 12;
constexpr std::string_view kIntestazione = "inizio,durata_secondi,nome,massimo,modo,esatte,errate,"
                                           "totale,fine,pause,secondi_in_pausa,errori";

void aggiungiCampo(std::string& riga, std::string_view campo, bool ultimo = false) {
    if (campo.find_first_of(",\"\r\n") == std::string_view::npos) {
        riga += campo;
    } else {
        riga += '"';
        for (const char c : campo) {
            riga += c;
            if (c == '"') {
                riga += '"';
            }
        }
        riga += '"';
    }
    riga += ultimo ? '\n' : ',';
}

void aggiungiTestoErrore(std::string& campo, std::string_view testo) {
    for (const char c : testo) {
        if (c == '\\' || c == '=' || c == '>' || c == '|') {
            campo += '\\';
        }
        campo += c;
    }
}

std::string codificaErrori(const std::vector<Errore>& errori) {
    std::string campo;
    for (std::size_t i = 0; i < errori.size(); ++i) {
        if (i > 0) {
            campo += '|';
        }
        aggiungiTestoErrore(campo, errori[i].domanda);
        campo += '=';
        aggiungiTestoErrore(campo, errori[i].scritto);
        campo += '>';
        aggiungiTestoErrore(campo, errori[i].esatto);
    }
    return campo;
}

// The inverse of codificaErrori; nullopt for anything it cannot have written.
std::optional<std::vector<Errore>> decodificaErrori(std::string_view campo) {
    std::vector<Errore> errori;
    if (campo.empty()) {
        return errori;
    }
    Errore errore;
    std::string* parti[3] = {&errore.domanda, &errore.scritto, &errore.esatto};
    int parte = 0;
    for (std::size_t i = 0; i < campo.size(); ++i) {
        const char c = campo[i];
        if (c == '\\') {
            if (++i == campo.size()) {
                return std::nullopt;
            }
            const char protetto = campo[i];
            if (protetto != '\\' && protetto != '=' && protetto != '>' && protetto != '|') {
                return std::nullopt;
            }
            *parti[parte] += protetto;
        } else if ((c == '=' && parte == 0) || (c == '>' && parte == 1)) {
            ++parte;
        } else if (c == '|' && parte == 2) {
            errori.push_back(std::move(errore));
            errore = {};
            parte = 0;
        } else if (c == '=' || c == '>' || c == '|') {
            return std::nullopt;
        } else {
            *parti[parte] += c;
        }
    }
    if (parte != 2) {
        return std::nullopt;
    }
    errori.push_back(std::move(errore));
    return errori;
}

// The fields of a record, quotes removed; nullopt when the quoting is broken or there are more
// than kCampi fields.
std::optional<std::vector<std::string>> campiDi(std::string_view record) {
    std::vector<std::string> campi;
    std::size_t i = 0;
    while (true) {
        if (campi.size() == kCampi) {
            return std::nullopt;
        }
        std::string campo;
        if (i < record.size() && record[i] == '"') {
            ++i;
            while (true) {
                if (i == record.size()) {
                    return std::nullopt; // never closed
                }
                if (record[i] == '"') {
                    if (i + 1 < record.size() && record[i + 1] == '"') {
                        campo += '"';
                        i += 2;
                        continue;
                    }
                    ++i;
                    break;
                }
                campo += record[i++];
            }
            if (i < record.size() && record[i] != ',') {
                return std::nullopt; // text after the closing quote
            }
        } else {
            const std::size_t fine = std::min(record.find(',', i), record.size());
            campo.assign(record.substr(i, fine - i));
            if (campo.find_first_of("\"\r\n") != std::string::npos) {
                return std::nullopt;
            }
            i = fine;
        }
        campi.push_back(std::move(campo));
        if (i == record.size()) {
            return campi;
        }
        ++i; // the comma
    }
}

// A whole non-negative number in the field, nothing else.
template <typename T> std::optional<T> numero(std::string_view campo) {
    T valore{};
    const auto [fine, errore] = std::from_chars(campo.data(), campo.data() + campo.size(), valore);
    // An empty field is an error of from_chars too.
    if (errore != std::errc{} || fine != campo.data() + campo.size() || valore < 0) {
        return std::nullopt;
    }
    return valore;
}

bool cifre(std::string_view testo, std::size_t da, std::size_t quante, int minimo, int massimo) {
    int valore = 0;
    for (std::size_t i = da; i < da + quante; ++i) {
        if (testo[i] < '0' || testo[i] > '9') {
            return false;
        }
        valore = valore * 10 + (testo[i] - '0');
    }
    return valore >= minimo && valore <= massimo;
}

} // namespace

std::string intestazioneStorico() {
    return std::string(kIntestazione) + '\n';
}

std::string rigaStorico(const Partita& p) {
    std::string riga;
    aggiungiCampo(riga, p.inizio);
    aggiungiCampo(riga, std::to_string(p.durataSecondi));
    aggiungiCampo(riga, p.nome);
    aggiungiCampo(riga, p.massimo);
    aggiungiCampo(riga, p.modo);
    aggiungiCampo(riga, std::to_string(p.esatte));
    aggiungiCampo(riga, std::to_string(p.errate));
    aggiungiCampo(riga, std::to_string(static_cast<long long>(p.esatte) + p.errate));
    aggiungiCampo(riga, p.fine);
    aggiungiCampo(riga, std::to_string(p.pause));
    aggiungiCampo(riga, std::to_string(p.secondiInPausa));
    aggiungiCampo(riga, codificaErrori(p.errori), true);
    return riga;
}

std::optional<Partita> leggiRigaStorico(std::string_view record) {
    if (!utf8Valido(record)) {
        return std::nullopt;
    }
    const auto campi = campiDi(record);
    if (!campi || campi->size() != kCampi || !inizioValido((*campi)[0])) {
        return std::nullopt;
    }
    const auto& c = *campi;
    const auto durata = numero<long>(c[1]);
    const auto esatte = numero<int>(c[5]);
    const auto errate = numero<int>(c[6]);
    const auto totale = numero<long long>(c[7]);
    const auto pause = numero<int>(c[9]);
    const auto inPausa = numero<long>(c[10]);
    auto errori = decodificaErrori(c[11]);
    if (!durata || !esatte || !errate || !totale || !pause || !inPausa || !errori ||
        *totale != static_cast<long long>(*esatte) + *errate) {
        return std::nullopt;
    }
    return Partita{c[0],     *durata,           c[2], c[3], c[4], *esatte, *errate, c[8], *pause,
                   *inPausa, std::move(*errori)};
}

bool inizioValido(std::string_view t) {
    // 2026-12-07T14:03:05+01:00
    // 0123456789012345678901234
    return t.size() == 25 && t[4] == '-' && t[7] == '-' && t[10] == 'T' && t[13] == ':' &&
           t[16] == ':' && (t[19] == '+' || t[19] == '-') && t[22] == ':' &&
           cifre(t, 0, 4, 0, 9999) && cifre(t, 5, 2, 1, 12) && cifre(t, 8, 2, 1, 31) &&
           cifre(t, 11, 2, 0, 23) && cifre(t, 14, 2, 0, 59) && cifre(t, 17, 2, 0, 60) &&
           cifre(t, 20, 2, 0, 23) && cifre(t, 23, 2, 0, 59);
}

std::string istanteLocale(std::chrono::system_clock::time_point istante) {
    const std::time_t t = std::chrono::system_clock::to_time_t(istante);
    std::tm locale{};
    ::localtime_r(&t, &locale);
    char testo[40];
    const std::size_t n = std::strftime(testo, sizeof testo, "%Y-%m-%dT%H:%M:%S%z", &locale);
    std::string risultato(testo, n);
    if (risultato.size() == 24) {
        risultato.insert(22, 1, ':'); // +0100 -> +01:00
    }
    return risultato;
}

} // namespace core
