// The record store on real directories: file bytes, start-up, hostile files, unusable
// directories, rival games as processes, and saves cut off by SIGKILL.
#include "core/cp1252.hpp"
#include "core/errori.hpp"
#include "core/records.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <map>
#include <random>
#include <string>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace {

namespace fs = std::filesystem;
using core::ArchivioRecord;
using Esito = ArchivioRecord::Esito;

// A fresh directory under the system's temporary one, removed with everything in it.
class CartellaProva {
public:
    CartellaProva() {
        std::string modello = (fs::temp_directory_path() / "cifrolandia-record-XXXXXX").string();
        if (::mkdtemp(modello.data()) == nullptr) {
            throw std::runtime_error(std::strerror(errno));
        }
        percorso_ = modello;
    }
    ~CartellaProva() {
        std::error_code ignorato;
        fs::permissions(percorso_, fs::perms::owner_all, fs::perm_options::add, ignorato);
        fs::remove_all(percorso_, ignorato);
    }
    CartellaProva(const CartellaProva&) = delete;
    CartellaProva& operator=(const CartellaProva&) = delete;
    fs::path operator/(const char* nome) const { return percorso_ / nome; }
    std::string str() const { return percorso_.string(); }

private:
    fs::path percorso_;
};

std::string leggi(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void scrivi(const fs::path& file, const std::string& byte) {
    std::ofstream(file, std::ios::binary | std::ios::trunc) << byte;
}

std::vector<std::string> elenco(const std::string& cartella) {
    std::vector<std::string> nomi;
    for (const fs::directory_entry& voce : fs::directory_iterator(cartella)) {
        nomi.push_back(voce.path().filename().string());
    }
    std::sort(nomi.begin(), nomi.end());
    return nomi;
}

const std::vector<std::string> kSoloRecord = {"nrom.txt", "prom.txt"};

// Starts record_saver as a rival game; `fermata` names the step of the save at which it dies.
pid_t avvia(const std::vector<std::string>& argomenti, const char* fermata = nullptr) {
    std::vector<char*> argv{const_cast<char*>(RECORD_SAVER)};
    for (const std::string& argomento : argomenti) {
        argv.push_back(const_cast<char*>(argomento.c_str()));
    }
    argv.push_back(nullptr);
    const pid_t pid = ::fork();
    if (pid == 0) {
        if (fermata != nullptr) {
            ::setenv("CIFROLANDIA_TEST_STOP_AFTER", fermata, 1);
        }
        ::execv(RECORD_SAVER, argv.data());
        ::_exit(127);
    }
    return pid;
}

int attendi(pid_t pid) {
    int stato = 0;
    while (::waitpid(pid, &stato, 0) < 0 && errno == EINTR) {
    }
    return stato;
}

// Restores the umask when the test ends, however it ends.
struct Umask {
    explicit Umask(mode_t nuova) : vecchia(::umask(nuova)) {}
    ~Umask() { ::umask(vecchia); }
    mode_t vecchia;
};

TEST(RecordFile, ByteEsattiPermessiEAndataERitorno) {
    struct Caso {
        const char* punti;
        const char* nome;
        std::string byteNome; // nrom.txt on disk
        const char* nomeLetto;
    };
    const Caso casi[] = {
        {"12", "Anna", "Anna\r\n", "Anna\r\n"},
        {"7", "", "\r\n", "\r\n"},
        {"30", "Niccolò è", "Niccol\xF2 \xE8\r\n", "Niccolò è\r\n"},
        {"40", "Ω€😀", "?\x80?\r\n", "?€?\r\n"},
    };
    const Umask chiusa(077); // the files must be readable by the other players all the same
    for (const Caso& caso : casi) {
        SCOPED_TRACE(caso.nome);
        CartellaProva cartella;
        ArchivioRecord archivio(cartella.str());
        ASSERT_TRUE(archivio.apri().ok);
        ASSERT_EQ(archivio.salva(caso.punti, caso.nome).esito, Esito::Salvato);
        EXPECT_EQ(leggi(cartella / "prom.txt"), std::string(caso.punti) + "\r\n");
        EXPECT_EQ(leggi(cartella / "nrom.txt"), caso.byteNome);
        for (const char* file : {"prom.txt", "nrom.txt"}) {
            EXPECT_EQ(fs::status(cartella / file).permissions() & fs::perms::all, fs::perms(0644));
        }
        const ArchivioRecord::Apertura riletta = ArchivioRecord(cartella.str()).apri();
        EXPECT_EQ(riletta.record.punti, std::string(caso.punti) + "\r\n");
        EXPECT_EQ(riletta.record.nome, caso.nomeLetto);
        EXPECT_EQ(elenco(cartella.str()), kSoloRecord);
    }
}

TEST(RecordApertura, PrimaAperturaCreaFileVuotiEPoiNonLiTocca) {
    CartellaProva base;
    const std::string cartella = (base / "nuova").string() + "/giochi";
    const ArchivioRecord::Apertura prima = ArchivioRecord(cartella).apri();
    ASSERT_TRUE(prima.ok) << prima.errore;
    EXPECT_EQ(prima.record.punti, "");
    EXPECT_EQ(prima.record.nome, "");
    EXPECT_EQ(elenco(cartella), kSoloRecord);
    for (const std::string& file : kSoloRecord) {
        EXPECT_TRUE(fs::is_regular_file(fs::symlink_status(cartella + "/" + file)));
        EXPECT_EQ(fs::file_size(cartella + "/" + file), 0u);
    }
    scrivi(cartella + "/prom.txt", "99\r\n");
    scrivi(cartella + "/nrom.txt", "Zo\xEB\r\n");
    const ArchivioRecord::Apertura seconda = ArchivioRecord(cartella).apri();
    ASSERT_TRUE(seconda.ok) << seconda.errore;
    EXPECT_EQ(seconda.record.punti, "99\r\n");
    EXPECT_EQ(seconda.record.nome, "Zoë\r\n");
    EXPECT_EQ(leggi(cartella + "/prom.txt"), "99\r\n");
    EXPECT_EQ(leggi(cartella + "/nrom.txt"), "Zo\xEB\r\n");
}

TEST(RecordApertura, CartellaPredefinitaDallAmbiente) {
    const char* prima = std::getenv("CIFROLANDIA_RECORD_DIR");
    const std::string salvata = prima != nullptr ? prima : "";
    ::unsetenv("CIFROLANDIA_RECORD_DIR");
    const std::string predefinita = ArchivioRecord::cartellaPredefinita();
    EXPECT_FALSE(predefinita.empty());
    ::setenv("CIFROLANDIA_RECORD_DIR", "/tmp/altrove", 1);
    EXPECT_EQ(ArchivioRecord::cartellaPredefinita(), "/tmp/altrove");
    ::setenv("CIFROLANDIA_RECORD_DIR", "", 1);
    EXPECT_EQ(ArchivioRecord::cartellaPredefinita(), predefinita);
    if (prima != nullptr) {
        ::setenv("CIFROLANDIA_RECORD_DIR", salvata.c_str(), 1);
    } else {
        ::unsetenv("CIFROLANDIA_RECORD_DIR");
    }
}

// Each hostile thing in place of prom.txt or of nrom.txt, planted before start-up or between
// start-up and the save. Start-up shows what it can: the first 4 KiB of a regular file, nothing
// of anything else; the save replaces the thing with proper files, or says why it cannot.
TEST(RecordOstile, CoseOstiliAlPostoDeiFile) {
    CartellaProva altrove;
    const fs::path bersaglio = altrove / "di-un-altro.txt";
    scrivi(bersaglio, "500\r\n");
    if (::geteuid() == 0) {
        ASSERT_EQ(::chown(bersaglio.c_str(), 65534, 65534), 0); // nobody's
    }
    fs::permissions(bersaglio, fs::perms(0600));
    struct stat proprietario {};
    ASSERT_EQ(::stat(bersaglio.c_str(), &proprietario), 0);

    std::mt19937 generatore(20260612);
    std::string casuali(10000, '\0');
    for (char& c : casuali) {
        c = static_cast<char>(generatore() & 0xFF);
    }
    std::string righe;
    for (int i = 0; i < 10000; ++i) {
        righe += "1\r\n";
    }
    const std::string nul("4\0\0002\0\r\n", 7);
    std::string sparso(4096, '\0');
    sparso.replace(0, 2, "77");

    struct Caso {
        const char* descrizione;
        std::function<void(const fs::path&)> pianta;
        std::string letti; // the bytes start-up shows of it
        bool cartella;
    };
    const auto file = [](const std::string& byte) {
        return [byte](const fs::path& p) { scrivi(p, byte); };
    };
    const Caso casi[] = {
        {"link a un file di un altro utente",
         [&](const fs::path& p) { fs::create_symlink(bersaglio, p); }, "", false},
        {"link a /dev/zero", [](const fs::path& p) { fs::create_symlink("/dev/zero", p); }, "",
         false},
        {"link a se stesso", [](const fs::path& p) { fs::create_symlink(p.filename(), p); }, "",
         false},
        {"FIFO", [](const fs::path& p) { ASSERT_EQ(::mkfifo(p.c_str(), 0644), 0); }, "", false},
        {"socket",
         [](const fs::path& p) {
             const int s = ::socket(AF_UNIX, SOCK_STREAM, 0);
             sockaddr_un indirizzo{};
             indirizzo.sun_family = AF_UNIX;
             std::strncpy(indirizzo.sun_path, p.c_str(), sizeof indirizzo.sun_path - 1);
             EXPECT_EQ(::bind(s, reinterpret_cast<sockaddr*>(&indirizzo), sizeof indirizzo), 0);
             ::close(s);
         },
         "", false},
        {"cartella",
         [](const fs::path& p) {
             fs::create_directory(p);
             scrivi(p / "dentro.txt", "x");
         },
         "", true},
        {"file sparso di 1 GB",
         [](const fs::path& p) {
             scrivi(p, "77");
             fs::resize_file(p, 1u << 30);
         },
         sparso, false},
        {"byte casuali", file(casuali), casuali.substr(0, 4096), false},
        {"byte NUL", file(nul), nul, false},
        {"senza CR LF", file("77"), "77", false},
        {"10.000 righe", file(righe), righe.substr(0, 4096), false},
    };
    const std::map<std::string, std::string> buoni = {{"prom.txt", "12\r\n"},
                                                      {"nrom.txt", "Bea\r\n"}};
    for (const Caso& caso : casi) {
        for (const auto& [nome, buono] : buoni) {
            for (const bool prima : {true, false}) {
                SCOPED_TRACE(std::string(caso.descrizione) + " al posto di " + nome +
                             (prima ? " all'avvio" : " prima del salvataggio"));
                CartellaProva cartella;
                const fs::path posto = cartella / nome.c_str();
                for (const auto& [altro, byte] : buoni) {
                    scrivi(cartella / altro.c_str(), byte);
                }
                if (prima) {
                    fs::remove(posto);
                    caso.pianta(posto);
                }
                ::alarm(20); // watchdog: anything blocked on the FIFO kills the test
                ArchivioRecord archivio(cartella.str());
                const ArchivioRecord::Apertura apertura = archivio.apri();
                ASSERT_TRUE(apertura.ok) << apertura.errore;
                const std::string mostrato = core::windows1252InUtf8(prima ? caso.letti : buono);
                EXPECT_EQ(nome == "prom.txt" ? apertura.record.punti : apertura.record.nome,
                          mostrato);
                EXPECT_EQ(nome == "prom.txt" ? apertura.record.nome : apertura.record.punti,
                          nome == "prom.txt" ? "Bea\r\n" : "12\r\n");
                if (!prima) {
                    fs::remove(posto);
                    caso.pianta(posto);
                }
                const ArchivioRecord::Salvataggio salvataggio = archivio.salva("1000", "Ugo");
                ::alarm(0);
                if (caso.cartella) {
                    EXPECT_EQ(salvataggio.esito, Esito::Errore);
                    EXPECT_EQ(salvataggio.messaggio,
                              "Non è stato possibile registrare il record: al posto del file c'è "
                              "una cartella. Il record precedente è rimasto com'era.");
                    EXPECT_TRUE(fs::is_directory(fs::symlink_status(posto)));
                    for (const auto& [altro, byte] : buoni) {
                        if (altro != nome) {
                            EXPECT_EQ(leggi(cartella / altro.c_str()), byte);
                        }
                    }
                } else {
                    EXPECT_EQ(salvataggio.esito, Esito::Salvato) << salvataggio.messaggio;
                    for (const char* f : {"prom.txt", "nrom.txt"}) {
                        EXPECT_TRUE(fs::is_regular_file(fs::symlink_status(cartella / f)));
                    }
                    EXPECT_EQ(leggi(cartella / "prom.txt"), "1000\r\n");
                    EXPECT_EQ(leggi(cartella / "nrom.txt"), "Ugo\r\n");
                }
                EXPECT_EQ(elenco(cartella.str()), kSoloRecord);
            }
        }
    }
    struct stat dopo {};
    ASSERT_EQ(::stat(bersaglio.c_str(), &dopo), 0);
    EXPECT_EQ(dopo.st_uid, proprietario.st_uid);
    EXPECT_EQ(leggi(bersaglio), "500\r\n");
}

TEST(RecordCartella, InutilizzabileAllAvvio) {
    CartellaProva base;
    scrivi(base / "un-file", "x");
    const struct {
        std::string cartella;
        int errore;
    } casi[] = {
        {(base / "un-file").string(), ENOTDIR},
        {(base / "un-file").string() + "/record", ENOTDIR},
        {(base / "nuova").string() + "/" + std::string(300, 'a'), ENAMETOOLONG},
    };
    for (const auto& caso : casi) {
        SCOPED_TRACE(caso.cartella);
        const ArchivioRecord::Apertura apertura = ArchivioRecord(caso.cartella).apri();
        EXPECT_FALSE(apertura.ok);
        EXPECT_EQ(apertura.errore, "Impossibile usare la cartella dei record \"" + caso.cartella +
                                       "\": " + core::descriviErrore(caso.errore) + ".");
    }
}

TEST(RecordCartella, SenzaPermessoDiScrittura) {
    if (::geteuid() == 0) {
        GTEST_SKIP() << "root writes into a 0555 directory all the same";
    }
    CartellaProva cartella;
    ArchivioRecord archivio(cartella.str());
    ASSERT_TRUE(archivio.apri().ok);
    ASSERT_EQ(archivio.salva("12", "Anna").esito, Esito::Salvato);
    fs::permissions(cartella.str(), fs::perms(0555));
    const ArchivioRecord::Salvataggio salvataggio = archivio.salva("50", "Bruno");
    EXPECT_EQ(salvataggio.esito, Esito::Errore);
    EXPECT_EQ(salvataggio.messaggio, "Non è stato possibile registrare il record: permesso negato. "
                                     "Il record precedente è rimasto com'era.");
    const ArchivioRecord::Apertura apertura = ArchivioRecord(cartella.str()).apri();
    EXPECT_FALSE(apertura.ok);
    EXPECT_EQ(apertura.errore, "Impossibile usare la cartella dei record \"" + cartella.str() +
                                   "\": permesso negato.");
    EXPECT_EQ(leggi(cartella / "prom.txt"), "12\r\n");
    EXPECT_EQ(leggi(cartella / "nrom.txt"), "Anna\r\n");
    EXPECT_EQ(elenco(cartella.str()), kSoloRecord);
}

TEST(RecordConfronto, PariOInferioreNonSostituisce) {
    CartellaProva cartella;
    ArchivioRecord archivio(cartella.str());
    ASSERT_TRUE(archivio.apri().ok);
    ASSERT_EQ(archivio.salva("12", "Anna").esito, Esito::Salvato);
    // "3" and "100" > "12" as text, "12.0" equal as a number.
    for (const char* punti : {"12", "12.0", "11", "3", "", "-40", "abc"}) {
        SCOPED_TRACE(punti);
        EXPECT_EQ(archivio.salva(punti, "Rivale").esito, Esito::NonSuperato);
        EXPECT_EQ(leggi(cartella / "prom.txt"), "12\r\n");
        EXPECT_EQ(leggi(cartella / "nrom.txt"), "Anna\r\n");
    }
    EXPECT_EQ(archivio.salva("100", "Bruno").esito, Esito::Salvato);
    EXPECT_EQ(leggi(cartella / "prom.txt"), "100\r\n");
    EXPECT_EQ(leggi(cartella / "nrom.txt"), "Bruno\r\n");
}

TEST(RecordInterruzione, SalvataggioTroncatoDaSigkill) {
    const auto tronca = [](const fs::path& giornale) {
        fs::resize_file(giornale, fs::file_size(giornale) - 1);
    };
    const auto spazzatura = [](const fs::path& giornale) { scrivi(giornale, "spazzatura\r\n"); };
    struct Caso {
        const char* passo; // where the saving process (50, Bruno) was killed
        std::function<void(const fs::path&)> guasta; // done to the journal afterwards
        bool poiSalva;                               // then 40, Carla saves instead of a start-up
        Esito esito;
        const char* punti; // the pair that must be found
        const char* nome;
    };
    const Caso casi[] = {
        {"temporanei", nullptr, false, Esito::Salvato, "12", "Anna"},
        {"giornale", nullptr, false, Esito::Salvato, "50", "Bruno"},
        {"punti", nullptr, false, Esito::Salvato, "50", "Bruno"},
        {"nome", nullptr, false, Esito::Salvato, "50", "Bruno"},
        {"giornale", tronca, false, Esito::Salvato, "12", "Anna"},
        {"giornale", spazzatura, false, Esito::Salvato, "12", "Anna"},
        {"giornale", nullptr, true, Esito::NonSuperato, "50", "Bruno"},
        {"temporanei", nullptr, true, Esito::Salvato, "40", "Carla"},
    };
    for (const Caso& caso : casi) {
        SCOPED_TRACE(std::string(caso.passo) + (caso.guasta ? " guasto" : "") +
                     (caso.poiSalva ? " poi salva" : ""));
        CartellaProva cartella;
        ASSERT_TRUE(ArchivioRecord(cartella.str()).apri().ok);
        ASSERT_EQ(ArchivioRecord(cartella.str()).salva("12", "Anna").esito, Esito::Salvato);
        const int stato = attendi(avvia({cartella.str(), "50", "Bruno"}, caso.passo));
        ASSERT_TRUE(WIFSIGNALED(stato) && WTERMSIG(stato) == SIGKILL) << stato;
        EXPECT_GT(elenco(cartella.str()).size(), 2u); // the killed save left files behind
        if (std::string(caso.passo) == "punti") {
            // On disk the new score already stands with the old name: only the journal mends it.
            EXPECT_EQ(leggi(cartella / "prom.txt"), "50\r\n");
            EXPECT_EQ(leggi(cartella / "nrom.txt"), "Anna\r\n");
        }
        if (caso.guasta) {
            ASSERT_TRUE(fs::is_regular_file(cartella / ".record-in-corso"));
            caso.guasta(cartella / ".record-in-corso");
        }
        if (caso.poiSalva) {
            EXPECT_EQ(ArchivioRecord(cartella.str()).salva("40", "Carla").esito, caso.esito);
        }
        const ArchivioRecord::Apertura apertura = ArchivioRecord(cartella.str()).apri();
        ASSERT_TRUE(apertura.ok) << apertura.errore;
        EXPECT_EQ(apertura.record.punti, std::string(caso.punti) + "\r\n");
        EXPECT_EQ(apertura.record.nome, std::string(caso.nome) + "\r\n");
        EXPECT_EQ(leggi(cartella / "prom.txt"), std::string(caso.punti) + "\r\n");
        EXPECT_EQ(leggi(cartella / "nrom.txt"), std::string(caso.nome) + "\r\n");
        EXPECT_EQ(elenco(cartella.str()), kSoloRecord);
    }
}

TEST(RecordErrori, DescrizioniItaliane) {
    EXPECT_EQ(core::descriviErrore(EACCES), "permesso negato");
    EXPECT_EQ(core::descriviErrore(ENOSPC), "spazio esaurito sul disco");
    std::vector<std::string> viste;
    for (int errore : {EACCES, EROFS, ENOSPC, EDQUOT, ENOENT, ENOTDIR, ELOOP, EISDIR, ENAMETOOLONG,
                       EPERM, EIO, ETIMEDOUT, EAGAIN, ENXIO, EMFILE, EEXIST, ENOTEMPTY, ENOLCK}) {
        SCOPED_TRACE(errore);
        const std::string testo = core::descriviErrore(errore);
        EXPECT_NE(testo, std::strerror(errore)); // an Italian text of its own
        EXPECT_EQ(std::count(viste.begin(), viste.end(), testo), 0);
        viste.push_back(testo);
    }
    EXPECT_EQ(core::descriviErrore(EPROTO), std::strerror(EPROTO));
}

} // namespace
