// Saves on a disk that is full or read-only: an Italian message, and the previous record whole.
// Each test mounts a 64 KiB tmpfs in a mount namespace of the test process's own, so that no
// mount outlives it.
#include "aiuti.hpp"
#include "core/game.hpp"
#include "core/records.hpp"
#include "fake_window.hpp"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <functional>
#include <sched.h>
#include <sys/mount.h>

namespace {

using namespace aiuti;
using core::ArchivioRecord;
using Esito = ArchivioRecord::Esito;

constexpr std::uintmax_t kPagina = 4096;
const std::string kSpazioEsaurito = "Non è stato possibile registrare il record: spazio esaurito "
                                    "sul disco. Il record precedente è rimasto com'era.";
const std::string kSolaLettura = "Non è stato possibile registrare il record: il disco è in sola "
                                 "lettura. Il record precedente è rimasto com'era.";

// Mount namespaces are per process: entered once, with mounts kept from leaking out.
std::string entraInUnNamespace() {
    static const std::string errore = []() -> std::string {
        if (::unshare(CLONE_NEWNS) != 0 ||
            ::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0) {
            return std::strerror(errno);
        }
        return {};
    }();
    return errore;
}

class DiscoPiccolo : public testing::Test {
protected:
    void SetUp() override {
        if (const std::string errore = entraInUnNamespace(); !errore.empty()) {
            GTEST_SKIP() << "cannot enter a mount namespace (" << errore
                         << "): full and read-only disks need root";
        }
        if (::mount("tmpfs", punto_.str().c_str(), "tmpfs", 0, "size=64k,mode=0755") != 0) {
            GTEST_SKIP() << "cannot mount a tmpfs: " << std::strerror(errno);
        }
        montato_ = true;
        cartella = (punto_ / "record").string();
        ASSERT_TRUE(ArchivioRecord(cartella).apri().ok);
        ASSERT_EQ(ArchivioRecord(cartella).salva("12", "Anna").esito, Esito::Salvato);
    }
    void TearDown() override {
        if (montato_) {
            ::umount2(punto_.str().c_str(), MNT_DETACH);
        }
    }

    // Fills the disk, then frees `pagine` pages of it.
    void riempi(std::uintmax_t pagine = 0) {
        const fs::path riempitivo = punto_ / "riempitivo";
        const int fd = ::open(riempitivo.c_str(), O_WRONLY | O_CREAT | O_APPEND, 0644);
        ASSERT_GE(fd, 0);
        const std::string blocco(kPagina, 'x');
        while (::write(fd, blocco.data(), blocco.size()) > 0) {
        }
        EXPECT_EQ(errno, ENOSPC);
        ::close(fd);
        const std::uintmax_t dimensione = fs::file_size(riempitivo);
        ASSERT_GE(dimensione, pagine * kPagina);
        fs::resize_file(riempitivo, dimensione - pagine * kPagina);
    }
    void remonta(unsigned long opzioni) {
        ASSERT_EQ(::mount(nullptr, punto_.str().c_str(), nullptr, MS_REMOUNT | opzioni, nullptr), 0)
            << std::strerror(errno);
    }
    // The previous record, whole, and nothing else, on disk and at a fresh start.
    void recordIntatto() {
        EXPECT_EQ(leggi(cartella + "/prom.txt"), "12\r\n");
        EXPECT_EQ(leggi(cartella + "/nrom.txt"), "Anna\r\n");
        EXPECT_EQ(elenco(cartella), kSoloRecord);
    }

    std::string cartella;

private:
    CartellaProva punto_;
    bool montato_ = false;
};

// Out of space at each step of the save in turn (the temporary files, then the journal):
// every failure keeps the old pair, until there is room enough for the whole save.
TEST_F(DiscoPiccolo, DiscoPienoInOgniPassoDelSalvataggio) {
    int fallimenti = 0;
    std::uintmax_t pagine = 0;
    for (; pagine < 8; ++pagine) {
        SCOPED_TRACE(std::to_string(pagine) + " pagine libere");
        riempi(pagine);
        const ArchivioRecord::Salvataggio esito = ArchivioRecord(cartella).salva("50", "Bruno");
        if (esito.esito == Esito::Salvato) {
            break;
        }
        ++fallimenti;
        EXPECT_EQ(esito.esito, Esito::Errore);
        EXPECT_EQ(esito.messaggio, kSpazioEsaurito);
        recordIntatto();
        const ArchivioRecord::Apertura apertura = ArchivioRecord(cartella).apri();
        ASSERT_TRUE(apertura.ok) << apertura.errore;
        EXPECT_EQ(apertura.record.punti, "12\r\n");
        EXPECT_EQ(apertura.record.nome, "Anna\r\n");
    }
    // Two temporary files and the journal's: three steps that can run out of space.
    EXPECT_EQ(fallimenti, 3);
    EXPECT_EQ(leggi(cartella + "/prom.txt"), "50\r\n");
    EXPECT_EQ(leggi(cartella + "/nrom.txt"), "Bruno\r\n");
}

// A save killed once its journal was committed, then a full disk: the roll-forward cannot be
// written, yet start-up shows the committed pair, a save says why it failed, and with room
// again the pair is completed.
TEST_F(DiscoPiccolo, RecuperoSuDiscoPieno) {
    const pid_t figlio = ::fork();
    if (figlio == 0) {
        ::setenv("CIFROLANDIA_TEST_STOP_AFTER", "giornale", 1);
        ArchivioRecord(cartella).salva("50", "Bruno");
        ::_exit(0);
    }
    const int stato = attendiEntro(figlio, std::chrono::seconds(30));
    ASSERT_TRUE(WIFSIGNALED(stato) && WTERMSIG(stato) == SIGKILL) << stato;
    // Its temporary files would free room for the roll-forward: gone before the disk fills.
    for (const std::string& nome : elenco(cartella)) {
        if (nome.starts_with(".record-tmp-")) {
            fs::remove(cartella + "/" + nome);
        }
    }
    riempi();
    const ArchivioRecord::Apertura apertura = ArchivioRecord(cartella).apri();
    ASSERT_TRUE(apertura.ok) << apertura.errore;
    EXPECT_EQ(apertura.record.punti, "50\r\n");
    EXPECT_EQ(apertura.record.nome, "Bruno\r\n");
    const ArchivioRecord::Salvataggio esito = ArchivioRecord(cartella).salva("60", "Carla");
    EXPECT_EQ(esito.esito, Esito::Errore);
    EXPECT_EQ(esito.messaggio, kSpazioEsaurito);
    fs::remove(fs::path(cartella).parent_path() / "riempitivo");
    const ArchivioRecord::Apertura poi = ArchivioRecord(cartella).apri();
    EXPECT_EQ(poi.record.punti, "50\r\n");
    EXPECT_EQ(poi.record.nome, "Bruno\r\n");
    EXPECT_EQ(leggi(cartella + "/prom.txt"), "50\r\n");
    EXPECT_EQ(leggi(cartella + "/nrom.txt"), "Bruno\r\n");
    EXPECT_EQ(elenco(cartella), kSoloRecord);
}

TEST_F(DiscoPiccolo, SolaLettura) {
    remonta(MS_RDONLY);
    const ArchivioRecord::Salvataggio esito = ArchivioRecord(cartella).salva("50", "Bruno");
    EXPECT_EQ(esito.esito, Esito::Errore);
    EXPECT_EQ(esito.messaggio, kSolaLettura);
    // A start-up refuses a directory where no record could be kept.
    const ArchivioRecord::Apertura apertura = ArchivioRecord(cartella).apri();
    EXPECT_FALSE(apertura.ok);
    EXPECT_EQ(apertura.errore, "Impossibile usare la cartella dei record \"" + cartella +
                                   "\": il disco è in sola lettura.");
    remonta(0);
    recordIntatto();
}

// The game itself: the pupil beats the record, the disk fails, the message is shown and the
// game ends with status 1.
TEST_F(DiscoPiccolo, IlGiocoMostraLErroreEFinisceConStatoUno) {
    const struct {
        const char* guasto;
        std::function<void()> guasta;
        const std::string& messaggio;
    } casi[] = {
        {"disco pieno", [this] { riempi(); }, kSpazioEsaurito},
        {"sola lettura", [this] { remonta(MS_RDONLY); }, kSolaLettura},
    };
    for (const auto& caso : casi) {
        SCOPED_TRACE(caso.guasto);
        scrivi(cartella + "/prom.txt", "1\r\n");
        FakeFinestra finestra;
        ArchivioRecord archivio(cartella);
        core::Gioco gioco(finestra, archivio);
        finestra.risposteInput = {"Carla", "100"};
        gioco.avvia();
        for (int i = 0; i < 2; ++i) {
            finestra.imposta(core::Controllo::txtAnswer, gioco.rispostaEsatta());
            int tasto = 13;
            gioco.txtAnswer_KeyPress(tasto);
            gioco.cmdNext_Click();
        }
        caso.guasta();
        gioco.cmdExit1_Click();
        EXPECT_EQ(finestra.statoFinale, 1);
        ASSERT_GE(finestra.dialoghi.size(), 2u);
        EXPECT_EQ(finestra.dialoghi.end()[-2],
                  "msg[" + std::to_string(core::kErroreCritico) + "|]: " + caso.messaggio);
        EXPECT_EQ(leggi(cartella + "/prom.txt"), "1\r\n");
        EXPECT_EQ(leggi(cartella + "/nrom.txt"), "Anna\r\n");
        remonta(0);
        fs::remove(fs::path(cartella).parent_path() / "riempitivo");
    }
}

} // namespace
