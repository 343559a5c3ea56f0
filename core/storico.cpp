// The history file: appends under a lock, reading without trust, and the cap on its games.
#include "core/storico.hpp"

#include "core/file_cartella.hpp"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <sys/file.h>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>
#include <utility>

namespace core {
namespace {

using namespace std::chrono_literals;

// The most of the file that is read: its end, where the newest games are.
constexpr std::size_t kLetturaMassima = std::size_t{16} << 20;
// A game's record spans at most this many bytes and this many lines (line ends typed into a
// name), so that a record cut open by a crash costs a bounded scan before it is skipped.
constexpr std::size_t kRecordMassimo = std::size_t{256} << 10;
constexpr int kRigheMassime = 16;
// How long an append waits for another window holding the lock.
constexpr auto kAttesaBlocco = 1s;
constexpr auto kIntervalloAttesa = 10ms;

using cartella::Descrittore;

bool scriviTutto(int fd, std::string_view dati) {
    return cartella::scriviTutto(fd, dati) == 0;
}

// Opens the path only if a regular file stands there: checked before opening, so that a device
// is never opened and a FIFO never waited on, and again on what was opened. Links are refused.
Descrittore apriRegolare(const std::string& percorso, int modo) {
    struct stat info {};
    if (::lstat(percorso.c_str(), &info) == 0 && !S_ISREG(info.st_mode)) {
        return Descrittore();
    }
    Descrittore fd(
        ::open(percorso.c_str(), modo | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC | O_NOCTTY, 0600));
    if (!fd.valido() || ::fstat(fd.get(), &info) != 0 || !S_ISREG(info.st_mode)) {
        return Descrittore();
    }
    return fd;
}

// The end of the file, at most kLetturaMassima bytes, beginning at a line start.
std::string leggiCoda(int fd) {
    struct stat info {};
    if (::fstat(fd, &info) != 0 || info.st_size <= 0) {
        return {};
    }
    const auto dimensione = static_cast<std::size_t>(info.st_size);
    // One byte before the tail, to know whether the tail begins a line.
    const std::size_t inizio = dimensione > kLetturaMassima ? dimensione - kLetturaMassima - 1 : 0;
    std::string testo = cartella::leggiDa(fd, static_cast<off_t>(inizio), dimensione - inizio);
    if (inizio > 0) {
        const std::size_t a = testo.find('\n');
        testo.erase(0, a == std::string::npos ? testo.size() : a + 1);
    }
    return testo;
}

// Where the record starting at `da` ends (its '\n'), or npos when it is cut off by the end of
// the text, or too long.
std::size_t fineRecord(std::string_view testo, std::size_t da) {
    bool traVirgolette = false;
    int righe = 1;
    const std::size_t limite = std::min(testo.size(), da + kRecordMassimo);
    for (std::size_t i = da; i < limite; ++i) {
        if (testo[i] == '"') {
            traVirgolette = !traVirgolette; // a doubled quote toggles twice
        } else if (testo[i] == '\n') {
            if (!traVirgolette) {
                return i;
            }
            if (++righe > kRigheMassime) {
                return std::string_view::npos;
            }
        }
    }
    return std::string_view::npos;
}

// The games of the text, oldest first, at most the newest `massimo`. A record that does not
// read as a whole game is skipped from its line to the next line, whatever its quotes, so that
// a line cut by a crash inside quotes never swallows the good lines after it. A record with no
// line end after it is the one being written, or cut: skipped too.
std::vector<Partita> partiteDi(std::string_view testo, std::size_t massimo) {
    std::vector<Partita> partite;
    std::size_t da = 0;
    while (da < testo.size()) {
        const std::size_t fine = fineRecord(testo, da);
        if (fine != std::string_view::npos) {
            std::string_view record = testo.substr(da, fine - da);
            if (record.ends_with('\r')) {
                record.remove_suffix(1); // a file saved again with Windows line ends
            }
            if (auto partita = leggiRigaStorico(record)) {
                partite.push_back(std::move(*partita));
                da = fine + 1;
                continue;
            }
        }
        const std::size_t a = testo.find('\n', da);
        da = a == std::string_view::npos ? testo.size() : a + 1;
    }
    if (partite.size() > massimo) {
        partite.erase(partite.begin(), partite.end() - static_cast<std::ptrdiff_t>(massimo));
    }
    return partite;
}

// mkdir -p, the missing directories private to the player.
void creaCartelle(const std::filesystem::path& cartella) {
    std::filesystem::path parziale;
    for (const auto& parte : cartella) {
        parziale /= parte;
        ::mkdir(parziale.c_str(), 0700);
    }
}

bool stessoFile(int fd, const std::string& percorso) {
    struct stat aperto {};
    struct stat ora {};
    return ::fstat(fd, &aperto) == 0 && ::lstat(percorso.c_str(), &ora) == 0 &&
           aperto.st_dev == ora.st_dev && aperto.st_ino == ora.st_ino;
}

// Takes the exclusive lock, retrying until `scadenza`.
bool blocca(int fd, std::chrono::steady_clock::time_point scadenza) {
    while (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        if (errno != EWOULDBLOCK && errno != EINTR) {
            return false;
        }
        if (std::chrono::steady_clock::now() >= scadenza) {
            return false;
        }
        std::this_thread::sleep_for(kIntervalloAttesa);
    }
    return true;
}

// Under the lock: the file rewritten with its newest `massimo` games only, through a
// temporary file renamed over it, so that a crash leaves the old file or the new one. Nothing
// is done when the file holds no more than that and no part too large to read.
void riduci(int fd, const std::string& percorso, std::size_t massimo) {
    struct stat info {};
    if (::fstat(fd, &info) != 0) {
        return;
    }
    const std::vector<Partita> partite = partiteDi(leggiCoda(fd), massimo + 1);
    if (partite.size() <= massimo && static_cast<std::size_t>(info.st_size) <= kLetturaMassima) {
        return;
    }
    std::string testo = intestazioneStorico();
    for (auto p = partite.end() - static_cast<std::ptrdiff_t>(std::min(massimo, partite.size()));
         p != partite.end(); ++p) {
        testo += rigaStorico(*p);
    }
    // A fixed name, freed first: a crash mid-rewrite leaves nothing that piles up.
    const std::string temporaneo = percorso + ".riduzione";
    ::unlink(temporaneo.c_str());
    Descrittore nuovo(::open(
        temporaneo.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC | O_NOCTTY, 0600));
    if (!nuovo.valido() || !scriviTutto(nuovo.get(), testo) || ::fsync(nuovo.get()) != 0 ||
        ::rename(temporaneo.c_str(), percorso.c_str()) != 0) {
        ::unlink(temporaneo.c_str());
        return;
    }
    const std::string cartella = std::filesystem::path(percorso).parent_path().string();
    Descrittore dir(
        ::open(cartella.empty() ? "." : cartella.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (dir.valido()) {
        ::fsync(dir.get());
    }
}

} // namespace

Storico::Storico(std::string percorso, std::size_t massimoPartite)
    : percorso_(std::move(percorso)), massimo_(std::max<std::size_t>(1, massimoPartite)) {}

bool Storico::aggiungi(const Partita& partita) const {
    const std::string riga = rigaStorico(partita);
    // Only a line that reads back as this very game is written (a start in another format,
    // text that is not UTF-8 or a record beyond the reader's bounds would be lost later).
    const std::vector<Partita> riletta = partiteDi(riga, 1);
    if (riletta.size() != 1 || riletta.front() != partita) {
        return false;
    }
    creaCartelle(std::filesystem::path(percorso_).parent_path());

    const auto scadenza = std::chrono::steady_clock::now() + kAttesaBlocco;
    Descrittore fd;
    while (true) {
        fd = apriRegolare(percorso_,
                          O_RDWR | O_APPEND | O_CREAT); // read too: its last byte, the cap
        if (!fd.valido() || !blocca(fd.get(), scadenza)) {
            return false;
        }
        // Another window may have replaced the file (dropping old games) between the open and
        // the lock: what was opened is then no longer the history.
        if (stessoFile(fd.get(), percorso_)) {
            break;
        }
        if (std::chrono::steady_clock::now() >= scadenza) {
            return false;
        }
    }
    struct stat info {};
    if (::fstat(fd.get(), &info) != 0) {
        return false;
    }
    if (info.st_uid != ::geteuid()) {
        return false; // someone else's file: this account's games are not written into it
    }
    if ((info.st_mode & 07777) != 0600) {
        ::fchmod(fd.get(), 0600);
    }
    std::string testo;
    if (info.st_size == 0) {
        testo = intestazioneStorico();
    } else {
        char ultimo = '\n';
        if (::pread(fd.get(), &ultimo, 1, info.st_size - 1) == 1 && ultimo != '\n') {
            testo.push_back('\n'); // a line cut by a crash stays a bad line of its own
        }
    }
    testo += riga;
    if (!scriviTutto(fd.get(), testo)) {
        return false;
    }
    // The cap is checked whenever the file's size passes a multiple of `passo`, so that an
    // append reads nothing else.
    const std::size_t passo = std::clamp<std::size_t>(massimo_ * 64, 256, 65536);
    const auto prima = static_cast<std::size_t>(info.st_size);
    if (prima / passo != (prima + testo.size()) / passo) {
        riduci(fd.get(), percorso_, massimo_);
    }
    return true;
}

std::vector<Partita> Storico::leggi() const {
    const Descrittore fd = apriRegolare(percorso_, O_RDONLY);
    if (!fd.valido()) {
        return {};
    }
    return partiteDi(leggiCoda(fd.get()), massimo_);
}

} // namespace core
