// The Windows-1252 conversions on any bytes, both ways.
#include "core/cp1252.hpp"
#include "fuzz/verifica.hpp"

#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* dati, std::size_t dimensione) {
    const std::string_view byte(reinterpret_cast<const char*>(dati), dimensione);

    // Code page to UTF-8 and back gives every byte string unchanged, at most 3 bytes a byte.
    const std::string utf8 = core::windows1252InUtf8(byte);
    verifica(utf8.size() <= 3 * byte.size());
    verifica(core::utf8InWindows1252(utf8) == byte);

    // The same bytes taken as UTF-8 (valid or not): one byte per character or per malformed
    // byte, so never longer; and the result is itself a round trip's fixed point.
    const std::string codice = core::utf8InWindows1252(byte);
    verifica(codice.size() <= byte.size());
    const std::string ritorno = core::windows1252InUtf8(codice);
    verifica(core::utf8InWindows1252(ritorno) == codice);
    // Valid UTF-8 made only of code-page characters comes back as it went in.
    if (codice.find('?') == std::string::npos) {
        verifica(ritorno == byte);
    }
    return 0;
}
