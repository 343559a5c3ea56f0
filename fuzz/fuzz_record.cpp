// A record directory's bytes read at start-up. The input is prom.txt, nrom.txt and the journal
// of an interrupted save, separated by the byte 0x1E (a missing part: no such file). With a
// leading "!" the parts are prom.txt, nrom.txt, and the pair of a whole journal written the
// way a save writes it.
#include "core/cp1252.hpp"
#include "core/records.hpp"
#include "fuzz/verifica.hpp"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <string>
#include <string_view>
#include <unistd.h>
#include <vector>

namespace {

namespace fs = std::filesystem;

constexpr std::size_t kLetturaMassima = 4096;
constexpr std::string_view kIntestazione = "CIFROLANDIA-RECORD 1\n";
constexpr std::string_view kFine = "FINE\n";

fs::path cartella;

void rimuoviCartella() {
    std::error_code ignorato;
    fs::remove_all(cartella, ignorato);
}

// One directory for the whole run, on tmpfs when there is one, so that syncs cost nothing.
void preparaCartella() {
    const char* shm = "/dev/shm";
    std::string modello = ((::access(shm, W_OK) == 0 ? fs::path(shm) : fs::temp_directory_path()) /
                           "cifrolandia-fuzz-XXXXXX")
                              .string();
    verifica(::mkdtemp(modello.data()) != nullptr);
    cartella = modello;
    std::atexit(rimuoviCartella);
}

std::optional<std::string> leggi(const char* nome) {
    std::ifstream in(cartella / nome, std::ios::binary);
    if (!in) {
        return std::nullopt;
    }
    return std::string{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void scrivi(const char* nome, const std::optional<std::string_view>& byte) {
    if (byte) {
        std::ofstream(cartella / nome, std::ios::binary) << *byte;
    }
}

std::vector<std::string_view> parti(std::string_view testo) {
    std::vector<std::string_view> uscita;
    for (std::size_t fine; (fine = testo.find('\x1E')) != std::string_view::npos;) {
        uscita.push_back(testo.substr(0, fine));
        testo.remove_prefix(fine + 1);
    }
    uscita.push_back(testo);
    return uscita;
}

std::optional<std::string_view> parte(const std::vector<std::string_view>& tutte, std::size_t i) {
    return i < tutte.size() ? std::optional(tutte[i]) : std::nullopt;
}

// What start-up shows of a file: its first 4 KiB, decoded.
std::string mostrato(const std::optional<std::string>& byte) {
    return core::windows1252InUtf8(std::string_view(byte.value_or("")).substr(0, kLetturaMassima));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* dati, std::size_t dimensione) {
    if (cartella.empty()) {
        preparaCartella();
    }
    for (const fs::directory_entry& voce : fs::directory_iterator(cartella)) {
        fs::remove_all(voce.path());
    }
    std::string_view testo(reinterpret_cast<const char*>(dati), dimensione);
    const bool composto = testo.starts_with('!');
    if (composto) {
        testo.remove_prefix(1);
    }
    const std::vector<std::string_view> p = parti(testo);
    std::optional<std::string> giornale;
    if (composto) {
        const std::string_view punti = parte(p, 2).value_or("");
        const std::string_view nome = parte(p, 3).value_or("");
        giornale = std::string(kIntestazione) + std::to_string(punti.size()) + ' ' +
                   std::to_string(nome.size()) + '\n' + std::string(punti) + std::string(nome) +
                   std::string(kFine);
    } else if (p.size() > 2) {
        giornale = std::string(p[2]);
    }
    scrivi("prom.txt", parte(p, 0));
    scrivi("nrom.txt", parte(p, 1));
    scrivi(".record-in-corso", giornale);

    const core::ArchivioRecord::Apertura apertura = core::ArchivioRecord(cartella).apri();
    verifica(apertura.ok);
    // The journal is consumed (rolled forward or dropped); both files are there.
    std::size_t voci = 0;
    for (const fs::directory_entry& voce : fs::directory_iterator(cartella)) {
        const std::string nome = voce.path().filename().string();
        verifica(nome == "prom.txt" || nome == "nrom.txt");
        ++voci;
    }
    verifica(voci == 2);
    const std::optional<std::string> punti = leggi("prom.txt");
    const std::optional<std::string> nome = leggi("nrom.txt");
    // What is shown is what is on disk.
    verifica(apertura.record.punti == mostrato(punti));
    verifica(apertura.record.nome == mostrato(nome));

    const bool cambiati = punti != std::string(parte(p, 0).value_or("")) ||
                          nome != std::string(parte(p, 1).value_or(""));
    if (composto && giornale->size() <= kLetturaMassima) {
        // A whole journal is the record.
        verifica(punti == parte(p, 2).value_or("") && nome == parte(p, 3).value_or(""));
    } else if (cambiati) {
        // Only a whole journal, read within the limit, may change the files, to its pair.
        verifica(giornale && giornale->size() <= kLetturaMassima &&
                 giornale->starts_with(kIntestazione) &&
                 giornale->ends_with(*punti + *nome + std::string(kFine)));
    }

    // A second start finds the same record and changes nothing.
    const core::ArchivioRecord::Apertura ancora = core::ArchivioRecord(cartella).apri();
    verifica(ancora.ok && ancora.record.punti == apertura.record.punti &&
             ancora.record.nome == apertura.record.nome);
    verifica(leggi("prom.txt") == punti && leggi("nrom.txt") == nome);
    return 0;
}
