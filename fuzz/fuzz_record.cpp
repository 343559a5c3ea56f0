// A record directory's bytes read at start-up: prom.txt, nrom.txt and the journal of an
// interrupted save, separated by the byte 0x1E (a missing part: no such file).
#include "core/cp1252.hpp"
#include "core/record.hpp"
#include "fuzz/verifica.hpp"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>

namespace fs = std::filesystem;

static std::string leggi(const fs::path& p) {
    return {std::istreambuf_iterator<char>(std::ifstream(p, std::ios::binary).rdbuf()), {}};
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* dati, std::size_t dimensione) {
    // One directory for the whole run, on tmpfs, so that syncs cost nothing.
    static const fs::path cartella =
        ::mkdtemp(std::string("/dev/shm/cifrolandia-fuzz-XXXXXX").data());
    static const int pulizia = std::atexit([] { fs::remove_all(cartella); });
    fs::remove_all(cartella), fs::create_directory(cartella), (void)pulizia;
    std::string_view testo(reinterpret_cast<const char*>(dati), dimensione);
    std::size_t i = 0; // where the next part begins; past the end when there is none
    for (const char* nome : {"prom.txt", "nrom.txt", ".record-in-corso"}) {
        if (i <= testo.size()) {
            const std::size_t fine = std::min(testo.find('\x1E', i), testo.size());
            std::ofstream(cartella / nome, std::ios::binary) << testo.substr(i, fine - i);
            i = fine + 1;
        }
    }
    const core::ArchivioRecord::Apertura apertura = core::ArchivioRecord(cartella).apri();
    // The journal is consumed; what is shown is the first 4 KiB on disk, decoded, and
    // a second start finds the same record and changes nothing.
    verifica(apertura.ok && !fs::exists(cartella / ".record-in-corso"));
    const std::string punti = leggi(cartella / "prom.txt"), nome = leggi(cartella / "nrom.txt");
    verifica(apertura.record.punti == core::windows1252InUtf8(punti.substr(0, 4096)) &&
             apertura.record.nome == core::windows1252InUtf8(nome.substr(0, 4096)));
    const core::ArchivioRecord::Apertura ancora = core::ArchivioRecord(cartella).apri();
    verifica(ancora.ok && ancora.record.punti == apertura.record.punti &&
             ancora.record.nome == apertura.record.nome && leggi(cartella / "prom.txt") == punti &&
             leggi(cartella / "nrom.txt") == nome);
    return 0;
}
