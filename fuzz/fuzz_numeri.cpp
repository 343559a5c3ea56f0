// The number readers on any text, and whole numbers written by formatta read back.
#include "core/numeri.hpp"
#include "fuzz/verifica.hpp"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <regex>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* dati, std::size_t dimensione) {
    const std::string_view testo(reinterpret_cast<const char*>(dati), dimensione);
    const double iniziale = core::leggiNumeroIniziale(testo);
    const std::optional<double> stretto = core::leggiNumeroStretto(testo);
    verifica(!std::isnan(iniziale));
    // A text that is a number begins with that number; reading stops at a CR, and no text
    // holding one is a number.
    verifica(!stretto || iniziale == *stretto);
    if (const std::size_t cr = testo.find('\r'); cr != std::string_view::npos) {
        verifica(!stretto && iniziale == core::leggiNumeroIniziale(testo.substr(0, cr)));
    }
    // A whole number written with a pattern reads back the same, blanks around it or (for
    // the leading reader) between its digits changing nothing.
    long long n = 0;
    std::memcpy(&n, dati, std::min(dimensione, sizeof n));
    for (const char* schema : {"####0", "00", "#"}) {
        const std::string scritto = core::formatta(n, schema);
        const std::string spaziato = std::regex_replace(scritto, std::regex("."), "$& \n");
        verifica(core::leggiNumeroStretto(" \t" + scritto + "  ") == static_cast<double>(n) &&
                 core::leggiNumeroIniziale(spaziato + "\r\n9") == static_cast<double>(n));
    }
    return 0;
}
