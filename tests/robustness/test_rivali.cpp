// Rival games: many processes that read the record and save at the same instant, and a lock
// held by another game for too long.
#include "aiuti.hpp"
#include "core/records.hpp"

#include <gtest/gtest.h>

#include <cstdio>
#include <fcntl.h>
#include <numeric>
#include <random>
#include <sys/file.h>

namespace {

using namespace aiuti;
using core::ArchivioRecord;
using Esito = ArchivioRecord::Esito;

std::string nomeDi(int punti) {
    return "Giocatore " + std::to_string(punti) + " è qui";
}

// Exit statuses of a rival game.
enum Uscita { Bene = 0, ErroreSalvataggio = 1, ErroreApertura = 2, CoppiaMista = 3 };

// A rival game: waits on the barrier, then starts (reads the record) and saves its score.
[[noreturn]] void partita(const std::string& cartella, int barriera, int punti) {
    char niente = 0;
    while (::read(barriera, &niente, 1) < 0 && errno == EINTR) {
    }
    ArchivioRecord archivio(cartella);
    const ArchivioRecord::Apertura apertura = archivio.apri();
    if (!apertura.ok) {
        ::_exit(ErroreApertura);
    }
    // The pair read is whole: none yet, or a score with its own holder.
    const std::string& letti = apertura.record.punti;
    const bool vuota = letti.empty() && apertura.record.nome.empty();
    if (!vuota && apertura.record.nome != nomeDi(std::atoi(letti.c_str())) + "\r\n") {
        ::_exit(CoppiaMista);
    }
    const Esito esito = archivio.salva(std::to_string(punti), nomeDi(punti)).esito;
    ::_exit(esito == Esito::Errore ? ErroreSalvataggio : Bene);
}

TEST(RecordRivali, TrentaduePartiteInsiemePerTrentaGiri) {
    constexpr int kPartite = 32;
    constexpr int kGiri = 30;
    CartellaProva cartella;
    std::mt19937 caso(4242);
    int record = 0;
    for (int giro = 0; giro < kGiri; ++giro) {
        SCOPED_TRACE("giro " + std::to_string(giro));
        // Distinct scores, some of them below the record of the round before.
        std::vector<int> punti(64);
        std::iota(punti.begin(), punti.end(), giro * 40 + 1);
        std::shuffle(punti.begin(), punti.end(), caso);
        punti.resize(kPartite);
        int barriera[2];
        ASSERT_EQ(::pipe(barriera), 0);
        std::vector<pid_t> partite;
        for (const int p : punti) {
            const pid_t pid = ::fork();
            if (pid == 0) {
                ::close(barriera[1]);
                partita(cartella.str(), barriera[0], p);
            }
            partite.push_back(pid);
        }
        ::close(barriera[0]);
        ::close(barriera[1]); // everyone starts now
        for (const pid_t pid : partite) {
            const int stato = attendiEntro(pid, std::chrono::seconds(60));
            ASSERT_NE(stato, -1) << "a game hung";
            EXPECT_TRUE(WIFEXITED(stato) && WEXITSTATUS(stato) == Bene) << stato;
        }
        record = std::max(record, *std::max_element(punti.begin(), punti.end()));
        EXPECT_EQ(leggi(cartella / "prom.txt"), std::to_string(record) + "\r\n");
        EXPECT_EQ(leggi(cartella / "nrom.txt"),
                  "Giocatore " + std::to_string(record) + " \xE8 qui\r\n");
        EXPECT_EQ(elenco(cartella.percorso()), kSoloRecord);
        if (HasFailure()) {
            break;
        }
    }
    std::printf("%d giri di %d partite insieme: record finale %d\n", kGiri, kPartite, record);
}

// A game whose lock another holds: with the wait shortened for the test, the start goes on
// without it and the save gives up with a message, while the lock is still held; with the usual
// wait the game waits, and saves once the other lets go.
TEST(RecordRivali, BloccoTenutoDaUnAltraPartita) {
    const struct {
        const char* attesa; // CIFROLANDIA_TEST_LOCK_WAIT_MS, or the usual 10 s
        bool rinuncia;      // gives up while the lock is held
        const char* messaggio;
        const char* punti;
    } casi[] = {
        {"300", true,
         "Non è stato possibile registrare il record: un'altra partita sta ancora registrando il "
         "suo record. Il record precedente è rimasto com'era.\n",
         "12\r\n"},
        {nullptr, false, "", "50\r\n"},
    };
    for (const auto& caso : casi) {
        SCOPED_TRACE(caso.attesa ? caso.attesa : "10 s");
        CartellaProva cartella;
        ASSERT_EQ(ArchivioRecord(cartella.str()).salva("12", "Anna").esito, Esito::Salvato);
        const int blocco = ::open(cartella.str().c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        ASSERT_EQ(::flock(blocco, LOCK_EX), 0);
        int errori[2];
        ASSERT_EQ(::pipe(errori), 0);
        const std::string percorso = cartella.str();
        const pid_t pid = ::fork();
        if (pid == 0) {
            ::dup2(errori[1], 2);
            if (caso.attesa != nullptr) {
                ::setenv("CIFROLANDIA_TEST_LOCK_WAIT_MS", caso.attesa, 1);
            } else {
                ::unsetenv("CIFROLANDIA_TEST_LOCK_WAIT_MS");
            }
            const char* argv[] = {RECORD_SAVER, percorso.c_str(), "50", "Bruno", nullptr};
            ::execv(RECORD_SAVER, const_cast<char**>(argv));
            ::_exit(127);
        }
        ::close(errori[1]);
        // Held for 30 s when the game should give up, for 1.5 s when it should wait.
        std::optional<int> stato = finitoEntro(
            pid, caso.rinuncia ? std::chrono::seconds(30) : std::chrono::milliseconds(1500));
        EXPECT_EQ(stato.has_value(), caso.rinuncia);
        ::close(blocco); // the other game lets go
        if (!stato) {
            stato = attendiEntro(pid, std::chrono::seconds(30));
        }
        std::string messaggio(4096, '\0');
        const ssize_t n = ::read(errori[0], messaggio.data(), messaggio.size());
        ::close(errori[0]);
        messaggio.resize(static_cast<std::size_t>(std::max<ssize_t>(n, 0)));
        EXPECT_TRUE(WIFEXITED(*stato) && WEXITSTATUS(*stato) == (caso.rinuncia ? 1 : 0)) << *stato;
        EXPECT_EQ(messaggio, caso.messaggio);
        EXPECT_EQ(leggi(cartella / "prom.txt"), caso.punti);
        EXPECT_EQ(elenco(cartella.percorso()), kSoloRecord);
    }
}

} // namespace
