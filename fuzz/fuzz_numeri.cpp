// The number readers on any text, and whole numbers written by formatta read back.
#include "core/numbers.hpp"
#include "fuzz/verifica.hpp"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <string>
#include <string_view>

namespace {

// A whole number written with a pattern is read back as the same number by both readers,
// blanks around it (and, for leggiNumeroIniziale, between its digits) changing nothing.
void andataERitorno(long long n) {
    const double atteso = static_cast<double>(n);
    for (const char* schema : {"####0", "00", "#"}) {
        const std::string testo = core::formatta(n, schema);
        // Plain digits after an optional "-", at least as many as the pattern's zeros.
        const std::string_view cifre = std::string_view(testo).substr(n < 0 ? 1 : 0);
        verifica(!cifre.empty() && cifre.find_first_not_of("0123456789") == cifre.npos);
        const std::string_view s(schema);
        verifica(cifre.size() >= static_cast<std::size_t>(std::count(s.begin(), s.end(), '0')));
        verifica(core::leggiNumeroIniziale(testo) == atteso);
        verifica(core::leggiNumeroStretto(testo) == atteso);
        verifica(core::leggiNumeroStretto(" \t" + testo + "  ") == atteso);
        std::string spaziato;
        for (char c : testo) {
            spaziato += c;
            spaziato += " \n";
        }
        verifica(core::leggiNumeroIniziale(spaziato) == atteso);
        verifica(core::leggiNumeroIniziale(testo + "\r\n" + testo) == atteso);
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* dati, std::size_t dimensione) {
    const std::string_view testo(reinterpret_cast<const char*>(dati), dimensione);

    const double iniziale = core::leggiNumeroIniziale(testo);
    const std::optional<double> stretto = core::leggiNumeroStretto(testo);
    verifica(!std::isnan(iniziale));
    if (stretto) {
        // A text that is a number begins with that number.
        verifica(!std::isnan(*stretto));
        verifica(iniziale == *stretto);
    }
    // Reading stops at a CR: what follows the line end never counts, and no text holding
    // one is a number.
    if (const std::size_t cr = testo.find('\r'); cr != std::string_view::npos) {
        verifica(iniziale == core::leggiNumeroIniziale(testo.substr(0, cr)));
        verifica(!stretto);
    }

    long long n = 0;
    std::memcpy(&n, dati, std::min(dimensione, sizeof n));
    andataERitorno(n);
    return 0;
}
