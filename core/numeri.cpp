#include "core/numeri.hpp"

#include <charconv>
#include <cmath>
#include <limits>

namespace core {
namespace {

bool cifra(char c) {
    return c >= '0' && c <= '9';
}

struct Lettura {
    std::size_t fine = 0; // first character not taken
    double valore = 0;
    bool trovata = false; // at least one digit was read
};

// A decimal number at the start of `s`: sign, digits, "." and digits, exponent with E or D.
// Parsed by hand so that the decimal mark is always ".", whatever the locale.
Lettura leggiDecimale(std::string_view s) {
    std::size_t i = 0;
    bool negativo = false;
    if (i < s.size() && (s[i] == '+' || s[i] == '-')) {
        negativo = s[i] == '-';
        ++i;
    }
    std::string normale;
    std::size_t cifre = 0;
    for (; i < s.size() && cifra(s[i]); ++i, ++cifre) {
        normale += s[i];
    }
    if (i < s.size() && s[i] == '.') {
        normale += '.';
        for (++i; i < s.size() && cifra(s[i]); ++i, ++cifre) {
            normale += s[i];
        }
    }
    if (cifre == 0) {
        return {};
    }
    if (i < s.size() && (s[i] == 'E' || s[i] == 'e' || s[i] == 'D' || s[i] == 'd')) {
        std::size_t j = i + 1;
        std::string esponente = "e";
        if (j < s.size() && (s[j] == '+' || s[j] == '-')) {
            esponente += s[j++];
        }
        if (j < s.size() && cifra(s[j])) {
            for (; j < s.size() && cifra(s[j]); ++j) {
                esponente += s[j];
            }
            normale += esponente;
            i = j;
        }
    }
    double valore = 0;
    auto [fine, errore] = std::from_chars(normale.data(), normale.data() + normale.size(), valore);
    (void)fine;
    if (errore == std::errc::result_out_of_range) {
        // Too large gives infinity, too small gives zero: the exponent's sign tells which.
        const bool piccolo = normale.find("e-") != std::string::npos;
        valore = piccolo ? 0.0 : std::numeric_limits<double>::infinity();
    }
    return {i, negativo ? -valore : valore, true};
}

double leggiInBase(std::string_view s, int base) {
    double valore = 0;
    for (char c : s) {
        int v = -1;
        if (cifra(c)) {
            v = c - '0';
        } else if (c >= 'a' && c <= 'f') {
            v = c - 'a' + 10;
        } else if (c >= 'A' && c <= 'F') {
            v = c - 'A' + 10;
        }
        if (v < 0 || v >= base) {
            break;
        }
        valore = valore * base + v;
    }
    return valore;
}

bool spazio(char c) {
    return c == ' ' || c == '\t';
}

} // namespace

double leggiNumeroIniziale(std::string_view testo) {
    std::string compatto;
    compatto.reserve(testo.size());
    for (char c : testo) {
        if (c != ' ' && c != '\t' && c != '\n') {
            compatto += c;
        }
    }
    std::string_view s = compatto;
    if (s.size() >= 2 && s[0] == '&') {
        if (s[1] == 'H' || s[1] == 'h') {
            return leggiInBase(s.substr(2), 16);
        }
        if (s[1] == 'O' || s[1] == 'o') {
            return leggiInBase(s.substr(2), 8);
        }
    }
    return leggiDecimale(s).valore;
}

std::optional<double> leggiNumeroStretto(std::string_view testo) {
    while (!testo.empty() && spazio(testo.front())) {
        testo.remove_prefix(1);
    }
    while (!testo.empty() && spazio(testo.back())) {
        testo.remove_suffix(1);
    }
    const Lettura lettura = leggiDecimale(testo);
    if (!lettura.trovata || lettura.fine != testo.size()) {
        return std::nullopt;
    }
    return lettura.valore;
}

std::string formatta(long long valore, std::string_view schema) {
    std::size_t minimo = 0;
    for (char c : schema) {
        minimo += c == '0';
    }
    const bool negativo = valore < 0;
    // Through unsigned so that the smallest long long has a magnitude too.
    unsigned long long grandezza = negativo ? 0ULL - static_cast<unsigned long long>(valore)
                                            : static_cast<unsigned long long>(valore);
    std::string cifre = std::to_string(grandezza);
    if (cifre.size() < minimo) {
        cifre.insert(0, minimo - cifre.size(), '0');
    }
    return negativo ? "-" + cifre : cifre;
}

} // namespace core
