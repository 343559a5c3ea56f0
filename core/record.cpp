#include "core/record.hpp"

#include "core/cp1252.hpp"
#include "core/errori.hpp"
#include "core/file_cartella.hpp"
#include "core/giornale_record.hpp"
#include "core/numeri.hpp"

#include <cerrno>
#include <charconv>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <optional>
#include <sys/file.h>
#include <sys/random.h>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>
#include <utility>

// On disk, in the record directory:
//   prom.txt, nrom.txt       the record pair, each Windows-1252 text followed by CR LF
//   .record-in-corso         the journal of a save being committed: both new contents, with
//                            their lengths and an end marker, so that a cut-off copy is detected
//   .record-nuovo-prom-<random>, .record-nuovo-nrom-<random>, .record-nuovo-giornale-<random>
//                            the temporary files of a save, each renamed over its final name
//                            once checked to be still the file written; new names each try
//   .record-scartato-<random> whatever stood at one of the names above and could not be
//                            removed (a non-empty directory), moved aside
//
// A save, under an exclusive flock on the directory:
//   1. writes and syncs the new prom.txt and nrom.txt as temporary files;
//   2. commits the journal (temporary file, rename, directory sync): from here on the new
//      pair is the record, whatever happens;
//   3. renames the two temporary files over prom.txt and nrom.txt and syncs the directory;
//   4. removes the journal.
// Whoever next takes the lock (a start-up or a save) first rolls a journal that is still
// there forward and removes the temporary names, so a crash at any instant leaves the old
// pair or the new one. A failure before the first rename withdraws the journal: the old pair
// stays. Each try takes new random temporary names, so another player who removes or replaces
// the names of one try cannot make the next fail; nothing is ever looked for in the directory,
// whose cost then does not grow with what else lies in it.

namespace core {

namespace {

constexpr const char* kFilePunti = "prom.txt";
constexpr const char* kFileNome = "nrom.txt";
constexpr const char* kGiornale = ".record-in-corso";
// Names that earlier versions used for the temporary files, removed when found.
constexpr const char* kVecchiTemporanei[] = {".record-nuovo-prom", ".record-nuovo-nrom",
                                             ".record-nuovo-giornale"};

// A save's own files were removed or replaced by another program while it ran.
constexpr int kAlterato = -1;

std::string motivo(int errore) {
    return errore == kAlterato
               ? "un altro programma ha tolto o cambiato i file del record mentre li scrivevo"
               : descriviErrore(errore);
}

// The most that is ever read of a file in the directory, which any player can fill.
constexpr std::size_t kLetturaMassima = 4096;
// Each text is cut to this many bytes, so that the journal holding both stays readable.
constexpr std::size_t kTestoMassimo = 2000;

// How long a start-up waits for the lock before reading without it.
constexpr auto kAttesaAvvio = std::chrono::seconds(1);
constexpr auto kIntervalloAttesa = std::chrono::milliseconds(20);

// Stop points for the tests, compiled only into the store the tests build: with
// CIFROLANDIA_TEST_STOP_AFTER=<step> the process kills itself (SIGKILL) right after that step
// of a save ("temporanei", "giornale", "punti" or "nome"), so that tests can check what a crash
// there leaves behind; with CIFROLANDIA_TEST_PAUSE_AFTER=<step> it stops (SIGSTOP) there
// instead, so that a test can act while the save is in progress and then resume it.
#ifdef CIFROLANDIA_PUNTI_DI_ARRESTO
void fermatiDopo(const char* passo) {
    for (const auto& [variabile, segnale] : {std::pair{"CIFROLANDIA_TEST_STOP_AFTER", SIGKILL},
                                             std::pair{"CIFROLANDIA_TEST_PAUSE_AFTER", SIGSTOP}}) {
        const char* richiesta = std::getenv(variabile);
        if (richiesta != nullptr && std::strcmp(richiesta, passo) == 0) {
            std::raise(segnale);
        }
    }
}
#else
void fermatiDopo(const char*) {}
#endif

using namespace cartella;

std::string leggiSicuro(int cartella, const char* nome) {
    return leggiRegolare(cartella, nome, kLetturaMassima);
}

// The temporary names of one save or roll-forward, new each time: another player who removed
// or replaced the names of a try that failed cannot make the next one fail.
struct Temporanei {
    std::string punti, nome, giornale;
    ino_t puntiInode = 0, nomeInode = 0, giornaleInode = 0;
};

std::optional<Temporanei> nuoviTemporanei() {
    unsigned long long caso = 0;
    if (::getrandom(&caso, sizeof caso, 0) != static_cast<ssize_t>(sizeof caso)) {
        return std::nullopt;
    }
    char suffisso[24];
    std::snprintf(suffisso, sizeof suffisso, "-%016llx", caso);
    return Temporanei{std::string(".record-nuovo-prom") + suffisso,
                      std::string(".record-nuovo-nrom") + suffisso,
                      std::string(".record-nuovo-giornale") + suffisso};
}

// Renames our temporary file `da` over `a`, but only while `da` is still the file we wrote:
// another player may have removed it or put something else there. Returns 0, kAlterato or errno.
int rinominaNostro(int cartella, const std::string& da, ino_t inode, const char* a) {
    struct stat info {};
    if (::fstatat(cartella, da.c_str(), &info, AT_SYMLINK_NOFOLLOW) != 0 ||
        !S_ISREG(info.st_mode) || info.st_ino != inode) {
        return kAlterato;
    }
    const int errore = rinomina(cartella, da.c_str(), a);
    return errore == ENOENT ? kAlterato : errore;
}

// Replaces prom.txt and nrom.txt by the pair; a planted link or FIFO is replaced by the
// rename, never followed. With `scriviGiornale` the pair is committed to the journal first
// (a save); without it the journal is already there (a roll-forward). Returns 0, kAlterato or
// errno; `impegnato` tells whether the pair stays committed in the journal despite a failure,
// to be completed by the next start-up or save.
int sostituisciCoppia(int cartella, const Coppia& coppia, bool scriviGiornale, bool& impegnato) {
    impegnato = !scriviGiornale;
    std::optional<Temporanei> t = nuoviTemporanei();
    if (!t) {
        return errno;
    }
    int errore = creaTemporaneo(cartella, coppia.punti, t->punti.c_str(), t->puntiInode);
    if (errore == 0) {
        errore = creaTemporaneo(cartella, coppia.nome, t->nome.c_str(), t->nomeInode);
    }
    fermatiDopo("temporanei");
    if (errore == 0 && scriviGiornale) {
        errore = creaTemporaneo(cartella, componiGiornale(coppia), t->giornale.c_str(),
                                t->giornaleInode);
        if (errore == 0) {
            errore = rinominaNostro(cartella, t->giornale, t->giornaleInode, kGiornale);
        }
        impegnato = errore == 0;
        if (errore == 0) {
            errore = sincronizzaCartella(cartella);
        }
        fermatiDopo("giornale");
    }
    if (errore == 0) {
        errore = rinominaNostro(cartella, t->punti, t->puntiInode, kFilePunti);
        if (errore == 0) {
            fermatiDopo("punti");
        }
    }
    if (errore != 0) {
        // Neither file has changed yet: a save withdraws its journal, so the old pair stays.
        if (scriviGiornale && impegnato &&
            (::unlinkat(cartella, kGiornale, 0) == 0 || errno == ENOENT)) {
            impegnato = false;
            sincronizzaCartella(cartella);
        }
        for (const std::string* temporaneo : {&t->punti, &t->nome, &t->giornale}) {
            ::unlinkat(cartella, temporaneo->c_str(), 0);
        }
        return errore;
    }
    if (errore = rinominaNostro(cartella, t->nome, t->nomeInode, kFileNome); errore != 0) {
        // prom.txt is already the new one: the journal stays, so the pair is completed later.
        ::unlinkat(cartella, t->nome.c_str(), 0);
        return errore;
    }
    fermatiDopo("nome");
    // Another player may have put something else in place between the check and the rename:
    // the pair must read back as written, or the journal stays for the next try.
    if (leggiSicuro(cartella, kFilePunti) != coppia.punti ||
        leggiSicuro(cartella, kFileNome) != coppia.nome) {
        return kAlterato;
    }
    // The journal goes only once both renames are durable; if it stays, rolling it forward
    // again rewrites the same pair.
    if (sincronizzaCartella(cartella) == 0 && ::unlinkat(cartella, kGiornale, 0) == 0) {
        sincronizzaCartella(cartella);
    }
    impegnato = false;
    return 0;
}

// Under the lock: removes what a save of an earlier version left at its temporary names and
// rolls a whole journal forward; a journal that is not whole (or not a regular file) is removed
// unread. Returns 0, or the error of a roll-forward that failed, its journal being kept.
int recupera(int cartella) {
    for (const char* temporaneo : kVecchiTemporanei) {
        liberaNome(cartella, temporaneo);
    }
    if (const std::optional<Coppia> coppia = leggiGiornale(leggiSicuro(cartella, kGiornale))) {
        bool impegnato = false;
        return sostituisciCoppia(cartella, *coppia, false, impegnato);
    }
    if (::faccessat(cartella, kGiornale, F_OK, AT_SYMLINK_NOFOLLOW) == 0 &&
        liberaNome(cartella, kGiornale) == 0) {
        sincronizzaCartella(cartella);
    }
    return 0;
}

// The pair as it stands, read without the lock while another program may be saving: a whole
// journal is the record; otherwise both files, read again until two readings agree with no
// journal between them, so that an old file is never paired with a new one.
Coppia leggiSenzaBlocco(int cartella) {
    Coppia prima;
    for (int tentativo = 0; tentativo < 20; ++tentativo) {
        if (const std::optional<Coppia> g = leggiGiornale(leggiSicuro(cartella, kGiornale))) {
            return *g;
        }
        const Coppia ora{leggiSicuro(cartella, kFilePunti), leggiSicuro(cartella, kFileNome)};
        if (tentativo > 0 && ora == prima) {
            break;
        }
        prima = ora;
    }
    return prima;
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

std::string senzaCaratteriDiControllo(std::string_view nome) {
    std::string pulito;
    pulito.reserve(nome.size());
    for (std::size_t i = 0; i < nome.size(); ++i) {
        const auto c = static_cast<unsigned char>(nome[i]);
        const auto seguente = i + 1 < nome.size() ? static_cast<unsigned char>(nome[i + 1]) : 0;
        if (c == 0xC2 && seguente >= 0x80 && seguente <= 0x9F) {
            pulito += ' '; // U+0080 to U+009F, two bytes in UTF-8
            ++i;
        } else {
            pulito += c < 0x20 || c == 0x7F ? ' ' : nome[i];
        }
    }
    return pulito;
}

ArchivioRecord::ArchivioRecord(std::string cartella) : cartella_(std::move(cartella)) {}

ArchivioRecord::~ArchivioRecord() {
    if (fd_ >= 0) {
        ::close(fd_);
    }
}

ArchivioRecord::ArchivioRecord(ArchivioRecord&& altro) noexcept
    : cartella_(std::move(altro.cartella_)), fd_(std::exchange(altro.fd_, -1)) {}

ArchivioRecord& ArchivioRecord::operator=(ArchivioRecord&& altro) noexcept {
    std::swap(cartella_, altro.cartella_);
    std::swap(fd_, altro.fd_);
    return *this;
}

std::string ArchivioRecord::cartellaPredefinita() {
    const char* scelta = std::getenv("CIFROLANDIA_RECORD_DIR");
    if (scelta != nullptr && *scelta != '\0') {
        return scelta;
    }
    return CIFROLANDIA_RECORD_DIR_DEFAULT;
}

// Opens the directory itself, never a symlink standing at its path, and keeps it in fd_. With
// `crea` a missing one is created (with its parents, 0755) and made usable by every player, as
// the package installs it: mode 0777 whatever the umask, no sticky bit (see the README). Returns
// 0 or errno.
int ArchivioRecord::apriCartella(bool crea) {
    if (fd_ >= 0) {
        ::close(std::exchange(fd_, -1));
    }
    constexpr int kModo = O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC;
    fd_ = ::open(cartella_.c_str(), kModo);
    if (fd_ < 0 && errno == ENOENT && crea) {
        // Missing parents are made passable by every player (0755) whatever the umask, or the
        // directory would be out of their reach.
        std::filesystem::path parziale;
        for (const std::filesystem::path& parte : std::filesystem::path(cartella_).parent_path()) {
            parziale /= parte;
            if (::mkdir(parziale.c_str(), 0755) == 0) {
                const Descrittore fatta(
                    ::open(parziale.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC));
                ::fchmod(fatta.get(), 0755);
            }
        }
        const bool creata = ::mkdir(cartella_.c_str(), 0777) == 0;
        if (!creata && errno != EEXIST) {
            return errno;
        }
        fd_ = ::open(cartella_.c_str(), kModo);
        struct stat info {};
        if (creata && fd_ >= 0 && ::fstat(fd_, &info) == 0 && info.st_uid == ::geteuid()) {
            ::fchmod(fd_, 0777);
        }
    }
    struct stat info {};
    if (fd_ < 0 && errno == ENOTDIR &&
        ::fstatat(AT_FDCWD, cartella_.c_str(), &info, AT_SYMLINK_NOFOLLOW) == 0 &&
        S_ISLNK(info.st_mode)) {
        return ELOOP; // a symlink, which O_DIRECTORY reports as not a directory
    }
    if (fd_ < 0) {
        return errno;
    }
    return ::faccessat(fd_, ".", W_OK | X_OK, AT_EACCESS) == 0 ? 0 : errno;
}

ArchivioRecord::Apertura ArchivioRecord::apri() {
    if (const int errore = apriCartella(true); errore != 0) {
        Apertura apertura;
        apertura.errore = "Impossibile usare la cartella del record \"" + cartella_ +
                          "\": " + descriviErrore(errore) + ".";
        return apertura;
    }
    // Another program holding the lock delays the game by a second at most: it then reads
    // without the lock, and leaves recovery to whoever holds it.
    const auto scadenza = std::chrono::steady_clock::now() + kAttesaAvvio;
    int blocco = prendiBlocco(fd_);
    while (blocco == EWOULDBLOCK && std::chrono::steady_clock::now() < scadenza) {
        std::this_thread::sleep_for(kIntervalloAttesa);
        blocco = prendiBlocco(fd_);
    }
    Coppia coppia;
    if (blocco == 0) {
        recupera(fd_);
        creaSeManca(fd_, kFilePunti);
        creaSeManca(fd_, kFileNome);
        // A journal still there (its roll-forward failed) holds the pair that is the record.
        coppia = leggiSenzaBlocco(fd_);
        liberaBlocco(fd_);
    } else {
        coppia = leggiSenzaBlocco(fd_);
    }
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
    // The directory held since start-up may have been removed (and made again) meanwhile.
    struct stat tenuta {};
    if (fd_ < 0 || ::fstat(fd_, &tenuta) != 0 || tenuta.st_nlink == 0) {
        if (const int errore = apriCartella(false); errore != 0) {
            return fallito(motivo(errore));
        }
    }
    if (const int errore = prendiBlocco(fd_); errore != 0) {
        return errore == EWOULDBLOCK ? Salvataggio{Esito::Occupato, {}}
                                     : fallito(descriviErrore(errore));
    }
    struct Sblocca {
        int fd;
        ~Sblocca() { liberaBlocco(fd); }
    } sblocca{fd_};
    if (const int errore = recupera(fd_); errore != 0) {
        return fallito(motivo(errore));
    }
    const Coppia nuova{limita(utf8InWindows1252(punti)) + "\r\n",
                       limita(utf8InWindows1252(senzaCaratteriDiControllo(nome))) + "\r\n"};
    // A try that failed may have left this very pair committed, and rolled forward just now.
    if (leggiSicuro(fd_, kFilePunti) == nuova.punti && leggiSicuro(fd_, kFileNome) == nuova.nome) {
        return Salvataggio{Esito::Salvato, {}};
    }
    // Compared with the record as it stands now, under the lock: a rival may have beaten it.
    const std::string attuale = windows1252InUtf8(leggiSicuro(fd_, kFilePunti));
    if (leggiNumeroIniziale(attuale) >= leggiNumeroIniziale(punti)) {
        return Salvataggio{Esito::NonSuperato, {}};
    }
    bool impegnato = false;
    const int errore = sostituisciCoppia(fd_, nuova, true, impegnato);
    if (errore == 0) {
        return Salvataggio{Esito::Salvato, {}};
    }
    if (impegnato) {
        return Salvataggio{Esito::Errore,
                           "Il record è stato registrato, ma non è stato possibile aggiornare "
                           "nrom.txt: " +
                               motivo(errore) + ". Sarà completato al prossimo avvio del gioco."};
    }
    return fallito(motivo(errore));
}

} // namespace core
