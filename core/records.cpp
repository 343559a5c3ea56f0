#include "core/records.hpp"

#include "core/cp1252.hpp"
#include "core/errori.hpp"
#include "core/numbers.hpp"

#include <atomic>
#include <cerrno>
#include <charconv>
#include <chrono>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <filesystem>
#include <optional>
#include <sys/file.h>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>
#include <utility>
#include <vector>

// On disk, in the record directory:
//   prom.txt, nrom.txt    the record pair, each Windows-1252 text followed by CR LF
//   .record-in-corso      the journal of a save being committed: both new contents, with
//                         their lengths and an end marker, so that a cut-off copy is detected
//   .record-tmp-<pid>-<n> temporary files, each renamed over its final name once on disk
//
// A save, under an exclusive flock on the directory:
//   1. writes and syncs the new prom.txt and nrom.txt as temporary files;
//   2. commits the journal (temporary file, rename, directory sync): from here on the new
//      pair is the record, whatever happens;
//   3. renames the two temporary files over prom.txt and nrom.txt and syncs the directory;
//   4. removes the journal.
// Whoever next takes the lock (a start-up or a save) first rolls a journal that is still
// there forward and removes leftovers, so a crash at any instant leaves the old pair or the
// new one. A failure before the first rename withdraws the journal: the old pair stays.

namespace core {

namespace {

constexpr const char* kFilePunti = "prom.txt";
constexpr const char* kFileNome = "nrom.txt";
constexpr const char* kGiornale = ".record-in-corso";
constexpr std::string_view kPrefissoTemporaneo = ".record-tmp-";

// The most that is ever read of a file in the directory, which any player can fill.
constexpr std::size_t kLetturaMassima = 4096;
// Each text is cut to this many bytes, so that the journal holding both stays readable.
constexpr std::size_t kTestoMassimo = 2000;

constexpr std::string_view kIntestazioneGiornale = "CIFROLANDIA-RECORD 1\n";
constexpr std::string_view kFineGiornale = "FINE\n";

// How long a save or a start-up waits for a rival game that holds the lock.
constexpr auto kAttesaMassima = std::chrono::seconds(10);
constexpr auto kIntervalloAttesa = std::chrono::milliseconds(20);

// Test hook: CIFROLANDIA_TEST_LOCK_WAIT_MS=<n> shortens the wait for the lock to n
// milliseconds (read once per process), so that tests of a lock held too long run quickly.
std::chrono::milliseconds attesaMassima() {
    static const std::chrono::milliseconds attesa = []() -> std::chrono::milliseconds {
        const char* scelta = std::getenv("CIFROLANDIA_TEST_LOCK_WAIT_MS");
        long long ms = 0;
        if (scelta != nullptr) {
            const char* fine = scelta + std::strlen(scelta);
            const auto [resto, errore] = std::from_chars(scelta, fine, ms);
            if (errore == std::errc{} && resto == fine && ms >= 0 &&
                ms < std::chrono::milliseconds(kAttesaMassima).count()) {
                return std::chrono::milliseconds(ms);
            }
        }
        return kAttesaMassima;
    }();
    return attesa;
}

// Test hook: CIFROLANDIA_TEST_STOP_AFTER=<step> kills the process with SIGKILL right after
// that step of a save ("temporanei", "giornale", "punti" or "nome"), so that tests can check
// what a crash there leaves behind.
void fermatiDopo(const char* passo) {
    const char* richiesta = std::getenv("CIFROLANDIA_TEST_STOP_AFTER");
    if (richiesta != nullptr && std::strcmp(richiesta, passo) == 0) {
        std::raise(SIGKILL);
    }
}

// Closes the descriptor it owns.
class Descrittore {
public:
    explicit Descrittore(int fd) : fd_(fd) {}
    ~Descrittore() {
        if (fd_ >= 0) {
            ::close(fd_);
        }
    }
    Descrittore(const Descrittore&) = delete;
    Descrittore& operator=(const Descrittore&) = delete;
    int get() const { return fd_; }
    bool valido() const { return fd_ >= 0; }

private:
    int fd_;
};

// The two file contents, as bytes of the code page, line ends included.
struct Coppia {
    std::string punti;
    std::string nome;
};

// Reads at most kLetturaMassima bytes of a regular file of the directory. Links are not
// followed and nothing can block (FIFOs, devices); anything that is not a readable regular
// file reads as empty.
std::string leggiSicuro(int cartella, const char* nome) {
    struct stat info {};
    // Checked first so that a device is not even opened; checked again on what was opened.
    if (::fstatat(cartella, nome, &info, AT_SYMLINK_NOFOLLOW) != 0 || !S_ISREG(info.st_mode)) {
        return {};
    }
    Descrittore fd(
        ::openat(cartella, nome, O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC | O_NOCTTY));
    if (!fd.valido() || ::fstat(fd.get(), &info) != 0 || !S_ISREG(info.st_mode)) {
        return {};
    }
    std::string testo(kLetturaMassima, '\0');
    std::size_t letti = 0;
    while (letti < testo.size()) {
        const ssize_t n = ::read(fd.get(), testo.data() + letti, testo.size() - letti);
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n < 0) {
            return {};
        }
        if (n == 0) {
            break;
        }
        letti += static_cast<std::size_t>(n);
    }
    testo.resize(letti);
    return testo;
}

// Writes all of `dati`, going on after short writes and interruptions. Returns 0 or errno.
int scriviTutto(int fd, std::string_view dati) {
    while (!dati.empty()) {
        const ssize_t n = ::write(fd, dati.data(), dati.size());
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n <= 0) {
            return n < 0 ? errno : EIO;
        }
        dati.remove_prefix(static_cast<std::size_t>(n));
    }
    return 0;
}

// Makes the directory's entries (created, renamed, removed files) durable. Returns 0 or errno;
// file systems that cannot sync a directory are taken as having done it.
int sincronizzaCartella(int cartella) {
    while (::fsync(cartella) != 0) {
        if (errno != EINTR) {
            return errno == EINVAL ? 0 : errno;
        }
    }
    return 0;
}

// Creates a new temporary file in the directory holding `dati`, readable by every player
// whatever the umask, and synced to disk. Its name goes to `nome`. Returns 0 or errno; on
// failure no file is left.
int creaTemporaneo(int cartella, std::string_view dati, std::string& nome) {
    static std::atomic<unsigned> contatore{0};
    // A name already taken (a planted file, a link) is skipped rather than opened.
    for (int tentativo = 0; tentativo < 100; ++tentativo) {
        nome = std::string(kPrefissoTemporaneo) + std::to_string(::getpid()) + '-' +
               std::to_string(contatore++);
        Descrittore fd(::openat(cartella, nome.c_str(),
                                O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0644));
        if (!fd.valido() && errno == EEXIST) {
            continue;
        }
        if (!fd.valido()) {
            const int errore = errno;
            nome.clear();
            return errore;
        }
        int errore = scriviTutto(fd.get(), dati);
        if (errore == 0 && ::fchmod(fd.get(), 0644) != 0) {
            errore = errno;
        }
        if (errore == 0 && ::fsync(fd.get()) != 0) {
            errore = errno;
        }
        if (errore != 0) {
            ::unlinkat(cartella, nome.c_str(), 0);
            nome.clear();
        }
        return errore;
    }
    nome.clear();
    return EEXIST;
}

// Replaces `destinazione` by a synced file holding `dati`. Returns 0 or errno.
int scriviAlPosto(int cartella, std::string_view dati, const char* destinazione) {
    std::string temporaneo;
    int errore = creaTemporaneo(cartella, dati, temporaneo);
    if (errore == 0 && ::renameat(cartella, temporaneo.c_str(), cartella, destinazione) != 0) {
        errore = errno;
        ::unlinkat(cartella, temporaneo.c_str(), 0);
    }
    return errore;
}

// EISDIR when a directory stands at `nome`: a rename over it would fail.
int nonCartella(int cartella, const char* nome) {
    struct stat info {};
    if (::fstatat(cartella, nome, &info, AT_SYMLINK_NOFOLLOW) == 0 && S_ISDIR(info.st_mode)) {
        return EISDIR;
    }
    return 0;
}

std::string componiGiornale(const Coppia& coppia) {
    return std::string(kIntestazioneGiornale) + std::to_string(coppia.punti.size()) + ' ' +
           std::to_string(coppia.nome.size()) + '\n' + coppia.punti + coppia.nome +
           std::string(kFineGiornale);
}

// The pair a journal holds, if it is whole: header, the two lengths, exactly that many bytes,
// end marker, nothing after it.
std::optional<Coppia> leggiGiornale(std::string_view testo) {
    if (!testo.starts_with(kIntestazioneGiornale)) {
        return std::nullopt;
    }
    testo.remove_prefix(kIntestazioneGiornale.size());
    std::size_t lunghezze[2] = {0, 0};
    const char separatori[2] = {' ', '\n'};
    for (int i = 0; i < 2; ++i) {
        const auto [fine, errore] =
            std::from_chars(testo.data(), testo.data() + testo.size(), lunghezze[i]);
        if (errore != std::errc{} || fine == testo.data() || fine == testo.data() + testo.size() ||
            *fine != separatori[i]) {
            return std::nullopt;
        }
        testo.remove_prefix(static_cast<std::size_t>(fine - testo.data()) + 1);
    }
    if (lunghezze[0] > testo.size() || lunghezze[1] > testo.size() - lunghezze[0] ||
        testo.substr(lunghezze[0] + lunghezze[1]) != kFineGiornale) {
        return std::nullopt;
    }
    return Coppia{std::string(testo.substr(0, lunghezze[0])),
                  std::string(testo.substr(lunghezze[0], lunghezze[1]))};
}

// Takes the exclusive lock of the directory, waiting at most attesaMassima() for a rival game.
// The lock goes with the descriptor: closed on return, or by the kernel if the process dies.
// Returns 0, ETIMEDOUT, or the errno of flock.
int blocca(int cartella) {
    const auto scadenza = std::chrono::steady_clock::now() + attesaMassima();
    while (::flock(cartella, LOCK_EX | LOCK_NB) != 0) {
        if (errno == EINTR) {
            continue;
        }
        if (errno != EWOULDBLOCK) {
            return errno;
        }
        if (std::chrono::steady_clock::now() >= scadenza) {
            return ETIMEDOUT;
        }
        std::this_thread::sleep_for(kIntervalloAttesa);
    }
    return 0;
}

// Replaces prom.txt and nrom.txt by the pair; a planted link or FIFO is replaced by the
// rename, never followed. With `scriviGiornale` the pair is committed to the journal first
// (a save); without it the journal is already there (a roll-forward). Returns 0 or errno;
// `impegnato` tells whether the pair stays committed in the journal despite a failure, to be
// completed by the next start-up or save.
int sostituisciCoppia(int cartella, const Coppia& coppia, bool scriviGiornale, bool& impegnato) {
    impegnato = !scriviGiornale;
    std::string temporaneoPunti;
    std::string temporaneoNome;
    const auto rimuoviTemporanei = [&] {
        for (const std::string* nome : {&temporaneoPunti, &temporaneoNome}) {
            if (!nome->empty()) {
                ::unlinkat(cartella, nome->c_str(), 0);
            }
        }
    };
    int errore = creaTemporaneo(cartella, coppia.punti, temporaneoPunti);
    if (errore == 0) {
        errore = creaTemporaneo(cartella, coppia.nome, temporaneoNome);
    }
    // A directory in the way of nrom.txt is found before committing, while the old pair can
    // still stay (one in the way of prom.txt makes the first rename fail, which withdraws).
    if (errore == 0) {
        errore = nonCartella(cartella, kFileNome);
    }
    fermatiDopo("temporanei");
    if (errore == 0 && scriviGiornale) {
        errore = scriviAlPosto(cartella, componiGiornale(coppia), kGiornale);
        impegnato = errore == 0;
        if (errore == 0) {
            errore = sincronizzaCartella(cartella);
        }
        fermatiDopo("giornale");
    }
    if (errore == 0) {
        if (::renameat(cartella, temporaneoPunti.c_str(), cartella, kFilePunti) == 0) {
            temporaneoPunti.clear();
            fermatiDopo("punti");
        } else {
            errore = errno;
        }
    }
    if (errore != 0) {
        // Neither file has changed yet: a save withdraws its journal, so the old pair stays.
        if (scriviGiornale && impegnato &&
            (::unlinkat(cartella, kGiornale, 0) == 0 || errno == ENOENT)) {
            impegnato = false;
            sincronizzaCartella(cartella);
        }
        rimuoviTemporanei();
        return errore;
    }
    if (::renameat(cartella, temporaneoNome.c_str(), cartella, kFileNome) != 0) {
        // prom.txt is already the new one: the journal stays, so the pair is completed later.
        errore = errno;
        rimuoviTemporanei();
        return errore;
    }
    fermatiDopo("nome");
    // The journal goes only once both renames are durable; if it stays, rolling it forward
    // again rewrites the same pair.
    if (sincronizzaCartella(cartella) == 0 && ::unlinkat(cartella, kGiornale, 0) == 0) {
        sincronizzaCartella(cartella);
    }
    impegnato = false;
    return 0;
}

// Removes the temporary files that an interrupted save left behind.
void rimuoviTemporaneiAbbandonati(int cartella) {
    // A descriptor of its own, so that reading the entries does not move the lock's one.
    const int fd = ::openat(cartella, ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) {
        return;
    }
    DIR* elenco = ::fdopendir(fd);
    if (elenco == nullptr) {
        ::close(fd);
        return;
    }
    std::vector<std::string> abbandonati;
    while (const dirent* voce = ::readdir(elenco)) {
        if (std::string_view(voce->d_name).starts_with(kPrefissoTemporaneo)) {
            abbandonati.emplace_back(voce->d_name);
        }
    }
    ::closedir(elenco);
    for (const std::string& nome : abbandonati) {
        ::unlinkat(cartella, nome.c_str(), 0);
    }
}

// Under the lock: removes what an interrupted save left and rolls a whole journal forward;
// a journal that is not whole (or not a regular file) is removed unread. Returns 0, or the
// errno of a roll-forward that failed, its journal being kept.
int recupera(int cartella) {
    rimuoviTemporaneiAbbandonati(cartella);
    if (const std::optional<Coppia> coppia = leggiGiornale(leggiSicuro(cartella, kGiornale))) {
        bool impegnato = false;
        return sostituisciCoppia(cartella, *coppia, false, impegnato);
    }
    if (::unlinkat(cartella, kGiornale, 0) == 0 ||
        (errno == EISDIR && ::unlinkat(cartella, kGiornale, AT_REMOVEDIR) == 0)) {
        sincronizzaCartella(cartella);
    }
    return 0;
}

// Creates the record file empty if it is missing; whatever stands there is left as it is.
// A failure is ignored: a missing file reads as no record, and a save reports its own errors.
void creaSeManca(int cartella, const char* nome) {
    Descrittore fd(::openat(cartella, nome,
                            O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC | O_NOCTTY, 0644));
    if (fd.valido()) {
        ::fchmod(fd.get(), 0644);
    }
}

std::string limita(std::string testo) {
    if (testo.size() > kTestoMassimo) {
        testo.resize(kTestoMassimo);
    }
    return testo;
}

} // namespace

ArchivioRecord::ArchivioRecord(std::string cartella) : cartella_(std::move(cartella)) {}

std::string ArchivioRecord::cartellaPredefinita() {
    const char* scelta = std::getenv("CIFROLANDIA_RECORD_DIR");
    if (scelta != nullptr && *scelta != '\0') {
        return scelta;
    }
    return CIFROLANDIA_RECORD_DIR_DEFAULT;
}

ArchivioRecord::Apertura ArchivioRecord::apri() {
    const auto fallita = [this](int errore) {
        Apertura apertura;
        apertura.errore = "Impossibile usare la cartella dei record \"" + cartella_ +
                          "\": " + descriviErrore(errore) + ".";
        return apertura;
    };
    std::error_code codice;
    std::filesystem::create_directories(cartella_, codice);
    if (codice) {
        return fallita(codice.value());
    }
    Descrittore cartella(::open(cartella_.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (!cartella.valido()) {
        return fallita(errno);
    }
    if (::faccessat(cartella.get(), ".", W_OK | X_OK, AT_EACCESS) != 0) {
        return fallita(errno);
    }
    // Without the lock (a rival game holding it for too long) the game still starts: it only
    // reads, and leaves recovery to whoever holds the lock.
    if (blocca(cartella.get()) == 0) {
        recupera(cartella.get());
        creaSeManca(cartella.get(), kFilePunti);
        creaSeManca(cartella.get(), kFileNome);
    }
    // A journal still there (its roll-forward failed, or a rival is committing it) holds the
    // pair that is the record.
    const std::optional<Coppia> giornale = leggiGiornale(leggiSicuro(cartella.get(), kGiornale));
    const Coppia coppia = giornale ? *giornale
                                   : Coppia{leggiSicuro(cartella.get(), kFilePunti),
                                            leggiSicuro(cartella.get(), kFileNome)};
    Apertura apertura;
    apertura.ok = true;
    apertura.record = {windows1252InUtf8(coppia.punti), windows1252InUtf8(coppia.nome)};
    return apertura;
}

ArchivioRecord::Salvataggio ArchivioRecord::salva(std::string_view punti, std::string_view nome) {
    const auto fallito = [](const std::string& motivo) {
        return Salvataggio{Esito::Errore, "Non è stato possibile registrare il record: " + motivo +
                                              ". Il record precedente è rimasto com'era."};
    };
    Descrittore cartella(::open(cartella_.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (!cartella.valido()) {
        return fallito(descriviErrore(errno));
    }
    if (const int errore = blocca(cartella.get()); errore != 0) {
        return fallito(errore == ETIMEDOUT ? "un'altra partita sta ancora registrando il suo record"
                                           : descriviErrore(errore));
    }
    if (const int errore = recupera(cartella.get()); errore != 0) {
        return fallito(descriviErrore(errore));
    }
    // Compared with the record as it stands now, under the lock: a rival may have beaten it.
    const std::string attuale = windows1252InUtf8(leggiSicuro(cartella.get(), kFilePunti));
    if (leggiNumeroIniziale(attuale) >= leggiNumeroIniziale(punti)) {
        return Salvataggio{Esito::NonSuperato, {}};
    }
    const Coppia nuova{limita(utf8InWindows1252(punti)) + "\r\n",
                       limita(utf8InWindows1252(nome)) + "\r\n"};
    bool impegnato = false;
    const int errore = sostituisciCoppia(cartella.get(), nuova, true, impegnato);
    if (errore == 0) {
        return Salvataggio{Esito::Salvato, {}};
    }
    if (impegnato) {
        return Salvataggio{Esito::Errore,
                           "Il record è stato registrato, ma non è stato possibile aggiornare "
                           "nrom.txt: " +
                               descriviErrore(errore) +
                               ". Sarà completato al prossimo avvio del gioco."};
    }
    return fallito(descriviErrore(errore));
}

} // namespace core
