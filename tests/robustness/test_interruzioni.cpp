// Saves killed with SIGKILL at any instant: after every kill, a fresh start finds the old pair
// or the new one, each file whole, and no leftover of the killed save.
#include "aiuti.hpp"
#include "core/cp1252.hpp"
#include "core/records.hpp"

#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <map>
#include <random>

namespace {

using namespace aiuti;
using core::ArchivioRecord;

std::string nomeDi(int punti) {
    return "Niccolò " + std::to_string(punti);
}

// The score of a pair as a fresh start shows it, or -1 when the pair is not one that some
// save wrote whole (both line ends, the name that goes with the score).
int punteggioDi(const core::Record& record) {
    const std::string& p = record.punti;
    if (p.size() < 3 || !p.ends_with("\r\n") || p.find_first_not_of("0123456789") != p.size() - 2) {
        return -1;
    }
    const int punti = std::stoi(p);
    return record.nome == nomeDi(punti) + "\r\n" ? punti : -1;
}

// Where the killed save stood, from what it left in the directory.
std::string fase(const fs::path& cartella, int nuovo) {
    const fs::path percorsoGiornale = cartella / ".record-in-corso";
    const bool giornale = fs::exists(percorsoGiornale);
    const std::string nomeSuDisco = core::utf8InWindows1252(nomeDi(nuovo)) + "\r\n";
    const bool punti = leggi(cartella / "prom.txt") == std::to_string(nuovo) + "\r\n";
    const bool nome = leggi(cartella / "nrom.txt") == nomeSuDisco;
    if (giornale && leggi(percorsoGiornale).find(nomeSuDisco) == std::string::npos) {
        return "nel recupero di un salvataggio ucciso prima";
    }
    if (!giornale) {
        return punti && nome ? "giornale tolto" : "prima del giornale";
    }
    if (!punti) {
        return "giornale scritto";
    }
    return nome ? "tra i file e la rimozione del giornale" : "tra prom.txt e nrom.txt";
}

// What a fresh start finds in a copy of the directory, leaving the directory itself as the
// kill left it, so that the next save's recovery can be killed too.
int apriCopia(const fs::path& cartella) {
    CartellaProva copia;
    for (const fs::directory_entry& voce : fs::directory_iterator(cartella)) {
        fs::copy_file(voce.path(), copia / voce.path().filename().string());
    }
    const ArchivioRecord::Apertura apertura = ArchivioRecord(copia.str()).apri();
    EXPECT_TRUE(apertura.ok) << apertura.errore;
    EXPECT_EQ(elenco(copia.percorso()), kSoloRecord); // leftovers cleaned up
    return punteggioDi(apertura.record);
}

TEST(RecordInterruzioni, SigkillInOgniIstanteDelSalvataggio) {
    CartellaProva cartella;
    ASSERT_TRUE(ArchivioRecord(cartella.str()).apri().ok);
    int record = 1;
    ASSERT_EQ(ArchivioRecord(cartella.str()).salva("1", nomeDi(1)).esito,
              ArchivioRecord::Esito::Salvato);

    // A child saves `punti` (stopping at `fermata` if given) and is killed `ritardo` after it
    // starts; the time taken by the save (or up to its kill) is returned.
    const auto salvaEUccidi = [&](int punti, const char* fermata, std::chrono::microseconds ritardo,
                                  int& stato) {
        int via[2];
        EXPECT_EQ(::pipe(via), 0);
        const pid_t figlio = ::fork();
        if (figlio == 0) {
            ::close(via[0]);
            if (fermata != nullptr) {
                ::setenv("CIFROLANDIA_TEST_STOP_AFTER", fermata, 1);
            }
            ArchivioRecord archivio(cartella.str());
            const char pronto = 1;
            (void)!::write(via[1], &pronto, 1);
            const auto esito = archivio.salva(std::to_string(punti), nomeDi(punti)).esito;
            ::_exit(esito == ArchivioRecord::Esito::Salvato ? 0 : 1);
        }
        ::close(via[1]);
        char pronto = 0;
        (void)!::read(via[0], &pronto, 1);
        ::close(via[0]);
        const auto inizio = std::chrono::steady_clock::now();
        if (ritardo.count() >= 0) {
            std::this_thread::sleep_for(ritardo);
            ::kill(figlio, SIGKILL);
        }
        stato = attendiEntro(figlio, std::chrono::seconds(60));
        return std::chrono::duration_cast<std::chrono::microseconds>(
            std::chrono::steady_clock::now() - inizio);
    };

    // How long a whole save takes here, so that random kills land all over it.
    std::vector<std::chrono::microseconds> durate;
    for (int i = 0; i < 5; ++i) {
        int stato = 0;
        durate.push_back(salvaEUccidi(++record, nullptr, std::chrono::microseconds(-1), stato));
        ASSERT_TRUE(WIFEXITED(stato) && WEXITSTATUS(stato) == 0) << stato;
    }
    std::sort(durate.begin(), durate.end());
    // Kept up to date with the saves that end before their kill, as the disk's speed varies.
    long durata = durate[durate.size() / 2].count();

    const std::array<const char*, 4> passi = {"temporanei", "giornale", "punti", "nome"};
    std::mt19937 caso(12345);
    std::map<std::string, int> fasi;
    int uccisioni = 0;
    int casuali = 0;
    int completati = 0;
    int vecchi = 0;
    int nuovi = 0;
    for (int tentativo = 0; uccisioni < 400 && tentativo < 6000; ++tentativo) {
        const int punti = record + 1 + tentativo % 3; // a new best every time
        const char* fermata = tentativo % 4 == 3 ? passi[tentativo / 4 % passi.size()] : nullptr;
        if (tentativo % 10 == 0) {
            // A stale temporary file of a save killed long ago must never be read as a record.
            scrivi(cartella / (".record-tmp-1-" + std::to_string(tentativo)), "99999\r\n");
        }
        int stato = 0;
        const long ritardo =
            fermata != nullptr ? -1 : std::uniform_int_distribution<long>(0, durata * 6 / 5)(caso);
        const auto impiegato =
            salvaEUccidi(punti, fermata, std::chrono::microseconds(ritardo), stato);
        SCOPED_TRACE("tentativo " + std::to_string(tentativo) + ", da " + std::to_string(record) +
                     " a " + std::to_string(punti) +
                     (fermata ? std::string(" fermata ") + fermata : ""));
        ASSERT_NE(stato, -1) << "the save hung";
        if (WIFSIGNALED(stato) && WTERMSIG(stato) == SIGKILL) {
            ++uccisioni;
            casuali += fermata == nullptr;
            ++fasi[std::string(fermata ? fermata : "a caso") + ", " +
                   fase(cartella.percorso(), punti)];
        } else {
            ASSERT_TRUE(WIFEXITED(stato) && WEXITSTATUS(stato) == 0) << stato;
            ASSERT_EQ(fermata, nullptr);
            ++completati;
            durata = (durata * 3 + impiegato.count()) / 4;
        }
        const int trovato = apriCopia(cartella.percorso());
        ASSERT_TRUE(trovato == punti || (trovato == record && WIFSIGNALED(stato)))
            << "found " << trovato;
        if (tentativo % 2 == 1) {
            // Now and then the real start itself, which must agree with the copy.
            const ArchivioRecord::Apertura apertura = ArchivioRecord(cartella.str()).apri();
            ASSERT_TRUE(apertura.ok) << apertura.errore;
            ASSERT_EQ(punteggioDi(apertura.record), trovato);
            ASSERT_EQ(elenco(cartella.percorso()), kSoloRecord);
        }
        if (WIFSIGNALED(stato) && fermata == nullptr) {
            (trovato == punti ? nuovi : vecchi) += 1;
        }
        record = trovato;
    }
    std::printf(
        "Uccisioni superate: %d (%d a caso, %d alle fermate), salvataggi completati: %d; "
        "dopo un'uccisione a caso il vecchio record %d volte, il nuovo %d volte; durata di un "
        "salvataggio circa %ld us\n",
        uccisioni, casuali, uccisioni - casuali, completati, vecchi, nuovi, durata);
    for (const auto& [dove, quante] : fasi) {
        std::printf("  uccisi (%s): %d\n", dove.c_str(), quante);
    }
    EXPECT_GE(uccisioni, 200);
    // Random kills landed before and after the point where the new pair becomes the record.
    EXPECT_GT(vecchi, 0);
    EXPECT_GT(nuovi, 0);
}

} // namespace
