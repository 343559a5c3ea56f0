// What typed characters become: every Windows-1252 code and any other int.
#include "core/keys.hpp"
#include "fuzz/verifica.hpp"

#include <cstdint>
#include <cstdlib>
#include <cstring>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* dati, std::size_t dimensione) {
    // Each byte is a typed code of the code page.
    for (std::size_t i = 0; i < dimensione; ++i) {
        const int codice = dati[i];
        const int tasto = core::normalizzaTasto(codice);
        verifica(tasto >= 0 && tasto <= 255);
        verifica(core::normalizzaTasto(tasto) == tasto);
        verifica(!(tasto >= 'a' && tasto <= 'z') && tasto != 'A');
        // Only letters change: ASCII ones, and small letters of the upper half.
        verifica(tasto == codice || (codice >= 'a' && codice <= 'z') || codice == 'A' ||
                 codice >= 0x80);
    }
    // Codes beyond the code page pass unchanged.
    if (dimensione >= sizeof(int)) {
        int codice = 0;
        std::memcpy(&codice, dati, sizeof codice);
        if (codice < 0 || codice > 255) {
            verifica(core::normalizzaTasto(codice) == codice);
        }
    }
    return 0;
}
