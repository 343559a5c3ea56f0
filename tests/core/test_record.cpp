// The record store against what crashes, full disks, rival games and a hostile second user of
// the computer do to it: one table of attacks over one bench (a record directory and the
// processes around it), and saves killed at any instant. The slow rows' names begin with
// "Lento": ctest runs them under the label "robustness".
#include "core/file_cartella.hpp"
#include "core/record.hpp"
#include "file_di_prova.hpp"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <filesystem>
#include <grp.h>
#include <pwd.h>
#include <random>
#include <sched.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <sys/wait.h>

namespace {

namespace fs = std::filesystem;
using core::ArchivioRecord;
using Esito = ArchivioRecord::Esito;
using Orologio = std::chrono::steady_clock;
using namespace std::chrono_literals;

using prova::attendi;
using prova::leggi;
using prova::scrivi;

// A process running `corpo` as user `uid` (the same user when -1); it exits with what `corpo`
// returns.
pid_t come(uid_t uid, const std::function<int()>& corpo) {
    const pid_t pid = ::fork();
    if (pid == 0) {
        if (uid != uid_t(-1) && (::setgroups(0, nullptr) || ::setgid(uid) || ::setuid(uid))) {
            ::_exit(126);
        }
        ::_exit(corpo());
    }
    return pid;
}

// Two throwaway accounts, attacker and victim, made with useradd when running as root and
// deleted when the process ends; otherwise both roles are the current user (-1). Each shell
// command is retried, as another test process may hold the user database's lock.
std::pair<uid_t, uid_t> utenti() {
    static const auto riprova = [](const std::string& comando) {
        for (int i = 0; i < 50; ++i, std::this_thread::sleep_for(100ms)) {
            if (std::system(("N=cfl" + std::to_string(::getpid()) + "; " + comando).c_str()) == 0) {
                return true;
            }
        }
        return false;
    };
    static const std::pair<uid_t, uid_t> coppia = [] {
        // A stale account of a killed run with this pid goes first.
        if (::geteuid() != 0 || !riprova("for u in a v; do userdel $N$u 2>/dev/null; useradd -M -N "
                                         "$N$u 2>/dev/null || exit 1; done")) {
            return std::pair{uid_t(-1), uid_t(-1)};
        }
        std::atexit(
            [] { riprova("for u in a v; do ! id $N$u >/dev/null 2>&1 || userdel $N$u; done"); });
        const std::string n = "cfl" + std::to_string(::getpid());
        const uid_t attaccante = ::getpwnam((n + "a").c_str())->pw_uid;      // copied: getpwnam
        return std::pair{attaccante, ::getpwnam((n + "v").c_str())->pw_uid}; // reuses its buffer
    }();
    return coppia;
}

// The bench: a scratch directory B (mode 0777; on tmpfs when there is one, so that syncs cost
// nothing; a 64 KiB tmpfs of its own for the disk rows) holding the record directory D, owned
// by the attacker, with the pair (3, Anna).
struct Banco {
    explicit Banco(bool disco) {
        std::string modello =
            ::access("/dev/shm", W_OK) ? "/tmp/cfl-XXXXXX" : "/dev/shm/cfl-XXXXXX";
        base = ::mkdtemp(modello.data());
        fs::permissions(base, fs::perms::all);
        cartella = base / (disco ? "disco/record" : "record");
        fs::create_directory(cartella.parent_path());
        if (disco) {
            ::mount("tmpfs", this->disco().c_str(), "tmpfs", 0, "size=64k");
        }
        fs::create_directory(cartella);
        fs::permissions(cartella, fs::perms::all);
        (void)!::chown(cartella.c_str(), utenti().first, -1);
        scrivi(cartella / "prom.txt", "3\r\n");
        scrivi(cartella / "nrom.txt", "Anna\r\n");
    }
    ~Banco() {
        lascia();
        ::umount2(disco().c_str(), MNT_DETACH); // the disk rows' tmpfs
        fs::remove_all(base);
    }
    fs::path disco() const { return cartella.parent_path(); }
    // Ends what an attack left holding the lock.
    void lascia() const {
        if (const std::string tenuto = leggi(base / "tenuto"); !tenuto.empty()) {
            ::kill(std::stoi(tenuto), SIGKILL);
            ::waitpid(std::stoi(tenuto), nullptr, 0);
        }
    }
    // Runs a shell command, with $D and $B set, as the attacker (or as root) to its end.
    void sh(const std::string& comando, bool root = false) const {
        ::setenv("D", cartella.c_str(), 1);
        ::setenv("B", base.c_str(), 1);
        const pid_t pid = come(root ? uid_t(-1) : utenti().first, [&] {
            return ::execl("/bin/sh", "sh", "-ec", comando.c_str(), nullptr);
        });
        ASSERT_EQ(attendi(pid), 0) << comando;
    }
    fs::path base, cartella;
};

struct Attacco {
    std::string nome = "";
    std::function<void(Banco&)> prima = {};   // before the victim starts
    const char* pausa = nullptr;              // "apertura" (start-up done) or a step of the save,
    std::function<void(Banco&)> durante = {}; // where the victim stops while this runs
    std::string punti = "5", giocatore = "Bruno";
    int stato = 0; // the victim's: 0 saved, 1 not beaten, 2 error, 3 busy or start-up refused
                   // (6: a descriptor left open)
    std::string mostrato = "3\r\n|Anna\r\n"; // the pair its start-up showed
    std::string messaggio = "";              // part of what it said
    std::string finale = "5\r\n|Bruno\r\n";  // the pair a fresh start finds afterwards
    std::string percorso = "";               // its directory, in B
    bool root = false, lento = false, disco = false;
    bool avanzi = false; // a rival killed mid-save may leave its temporary files
};

// The victim, as its own user: starts, stops at the pause, saves; reports in B.
int vittima(const Attacco& a, const Banco& b) {
    ::umask(077); // the files must be readable by the other players all the same
    if (a.pausa != nullptr && std::string(a.pausa) != "apertura") {
        ::setenv("CIFROLANDIA_TEST_PAUSE_AFTER", a.pausa, 1);
    }
    const auto aperti = [] { // open descriptors, to find leaks
        return std::distance(fs::directory_iterator("/proc/self/fd"), fs::directory_iterator());
    };
    const auto primaAperti = aperti();
    ArchivioRecord archivio((a.percorso.empty() ? b.cartella : b.base / a.percorso).string());
    const ArchivioRecord::Apertura apertura = (archivio.apri(), archivio.apri()); // two games
    scrivi(b.base / "mostrato", apertura.record.punti + "|" + apertura.record.nome);
    if (a.pausa != nullptr && std::string(a.pausa) == "apertura") {
        ::raise(SIGSTOP);
    }
    if (!apertura.ok) {
        return scrivi(b.base / "detto", apertura.errore), 3;
    }
    { // moved there and back, it saves as before
        ArchivioRecord spostato(std::move(archivio));
        archivio = std::move(spostato);
    }
    const ArchivioRecord::Salvataggio s = archivio.salva(a.punti, a.giocatore);
    scrivi(b.base / "detto", s.messaggio);
    archivio = ArchivioRecord(""); // the old one, swapped out, closes its directory
    return aperti() != primaAperti ? 6 : static_cast<int>(s.esito);
}

using Attacchi = testing::TestWithParam<Attacco>;

TEST_P(Attacchi, IlRecordResta) {
    const Attacco& a = GetParam();
    Banco b(a.disco);
    if (a.prima) {
        a.prima(b);
    }
    const pid_t pid = come(utenti().second, [&] { return vittima(a, b); });
    if (a.pausa != nullptr) {
        ASSERT_TRUE(WIFSTOPPED(attendi(pid, 60s, true)));
        a.durante(b);
        ::kill(pid, SIGCONT);
    }
    const int stato = attendi(pid);
    ASSERT_TRUE(WIFEXITED(stato)) << "the victim died: " << stato;
    EXPECT_EQ(WEXITSTATUS(stato), a.stato) << "the victim's status";
    EXPECT_EQ(leggi(b.base / "mostrato"), a.mostrato);
    EXPECT_NE(leggi(b.base / "detto").find(a.messaggio), std::string::npos)
        << leggi(b.base / "detto");
    b.lascia();
    ::mount(nullptr, b.disco().c_str(), nullptr, MS_REMOUNT, nullptr);
    for (const char* nome :
         {"prom.txt", "nrom.txt", ".record-nuovo-nrom"}) { // names a mount made unrenameable
        ::umount2((b.cartella / nome).c_str(), MNT_DETACH);
    }
    fs::remove(b.disco() / "r");
    const fs::path dove = b.cartella.string() + (fs::exists(b.base / "altrove") ? ".vero" : "");
    const ArchivioRecord::Apertura poi = ArchivioRecord(dove.string()).apri();
    EXPECT_EQ(poi.record.punti + "|" + poi.record.nome, a.finale);
    EXPECT_EQ(leggi(b.base / "b"), leggi(b.base / "b").empty() ? "" : "500\n"); // link targets
    EXPECT_TRUE(!fs::exists(b.base / "altrove") || fs::is_empty(b.base / "altrove"));
    for (const fs::directory_entry& voce : fs::directory_iterator(dove)) {
        const std::string nome = voce.path().filename().string();
        if (nome == "prom.txt" || nome == "nrom.txt") {
            EXPECT_FALSE(voce.is_symlink()) << nome;
            EXPECT_TRUE(voce.is_regular_file()) << nome;
            EXPECT_EQ(voce.hard_link_count(), 1u) << nome;
            EXPECT_EQ(voce.status().permissions(), fs::perms(0644)) << nome;
        } else if (!(a.avanzi && nome.starts_with(".record-nuovo-"))) {
            EXPECT_TRUE(!nome.starts_with(".record") || nome.starts_with(".record-scartato-"))
                << "left behind: " << nome;
        }
    }
}

std::string nomeDi(int punti) {
    return "Giocatore " + std::to_string(punti) + " è qui";
}

// A save by a rival process, as the attacker; with `fermata` it dies (or stops) at that step.
// It exits 3 when its start-up showed a pair that no save wrote.
pid_t rivale(const Banco& b, int punti, const char* variabile = "", const char* fermata = "") {
    return come(utenti().first, [&] {
        ::setenv(variabile, fermata, 1);
        ArchivioRecord archivio(b.cartella.string());
        const core::Record r = archivio.apri().record;
        if (!(r.punti + r.nome).empty() && r.punti != "3\r\n" &&
            r.nome != nomeDi(std::atoi(r.punti.c_str())) + "\r\n") {
            return 3;
        }
        Esito esito = Esito::Occupato;
        while ((esito = archivio.salva(std::to_string(punti), nomeDi(punti)).esito) ==
               Esito::Occupato) {
            std::this_thread::sleep_for(1ms);
        }
        return esito == Esito::Errore ? 1 : 0;
    });
}

// A shell command as the attacker (as root with `root`), for the table.
std::function<void(Banco&)> sh(const std::string& comando, bool root = false) {
    return [=](Banco& b) { b.sh(comando, root); };
}

// A rival's save of `punti`, optionally killed (STOP) or stopped (PAUSE) at a step; one
// stopped holds the lock until the row ends.
std::function<void(Banco&)> rivaleA(int punti, const char* variabile = "", const char* passo = "") {
    return [=](Banco& b) {
        const pid_t pid = rivale(b, punti, variabile, passo);
        const int stato = attendi(pid, 60s, true);
        if (WIFSTOPPED(stato)) {
            scrivi(b.base / "tenuto", std::to_string(pid));
        } else {
            ASSERT_TRUE(WIFEXITED(stato) ? WEXITSTATUS(stato) == 0 : WTERMSIG(stato) == SIGKILL);
        }
    };
}

const std::string kAnna = "3\r\n|Anna\r\n", kCarla = "4\r\n|" + nomeDi(4) + "\r\n";
const std::string kSpazio = "spazio esaurito sul disco. Il record precedente è rimasto com'era.";
const std::string kRiempi =
    R"(cat /dev/zero > "$B/disco/r" 2>/dev/null || :; truncate -s -$((4096 * )";
const std::string kFile = R"()) "$B/disco/r")";
const std::string kTieni = R"(exec 9<"$D"; flock -x 9; { sleep )";

std::vector<Attacco> attacchi() {
    // clang-format off
    std::vector<Attacco> righe = {
        {.nome = "controlli", .giocatore = "B\tr\x1b[1m\r\nX\x7f\x1f", .finale = "5\r\n|B r [1m  X  \r\n"},
        {.nome = "prom.txt sotto un mount", .pausa = "giornale", .durante = sh(R"(mount --bind /dev/null "$D/prom.txt")", true),
         .stato = 2, .messaggio = "record: risorsa occupata. Il record precedente", .finale = kAnna, .root = true, .disco = true},
        {.nome = "giornale tolto, prom.txt sotto un mount", .pausa = "giornale",
         .durante = sh(R"(rm "$D/.record-in-corso"; mount --bind /dev/null "$D/prom.txt")", true),
         .stato = 2, .messaggio = "record: risorsa occupata. Il record precedente", .finale = kAnna, .root = true, .disco = true},
        {.nome = "nrom.txt sotto un mount", .pausa = "punti", .durante = sh(R"(mount --bind /dev/null "$D/nrom.txt")", true),
         .stato = 2, .messaggio = "Il record è stato registrato, ma", .root = true, .disco = true},
        {.nome = "2000 byte", .giocatore = std::string(2500, 'a'), .finale = "5\r\n|" + std::string(2000, 'a') + "\r\n"},
        {.nome = "cartella mancante", .prima = sh(R"(rm -r "$D")"), .punti = "", .stato = 1, .mostrato = "|", .finale = "|"},
        {.nome = "senza permesso all'avvio", .prima = sh(R"(chmod 555 "$D")"), .stato = 3, .mostrato = "|",
         .messaggio = "\": permesso negato.", .finale = kAnna, .root = true},
        {.nome = "senza permesso", .pausa = "apertura", .durante = sh(R"(chmod 555 "$D")"), .stato = 2,
         .messaggio = "record: permesso negato. Il record prec", .finale = kAnna, .root = true},
        {.nome = "cartella impossibile da creare", .prima = sh(R"(mkdir -m 755 "$B/ro")", true), .stato = 3, .mostrato = "|",
         .messaggio = "\": permesso negato.", .finale = kAnna, .percorso = "ro/record", .root = true},
        {.nome = "link alla cartella", .prima = sh(R"(ln -s record "$B/l")"), .stato = 3, .mostrato = "|",
         .messaggio = "\": collegamento simbolico", .finale = kAnna, .percorso = "l"},
        {.nome = "cartella scambiata con un link", .pausa = "apertura",
         .durante = sh(R"(mv "$D" "$D.vero"; mkdir -m 777 "$B/altrove"; ln -s altrove "$D")"), .root = true},
        {.nome = "file nuovi scambiati con link", .pausa = "temporanei",
         .durante = sh(R"(for f in "$D"/.record-nuovo-*; do rm "$f"; ln -s /dev/zero "$f"; done)"), .stato = 2,
         .messaggio = "cambiato i file del record mentre li scrivevo. Il record precedente", .finale = kAnna},
        {.nome = "giornale intero", .prima = sh(R"(printf 'CIFROLANDIA-RECORD 1\n4 9\n99\r\nMallory\r\nFINE\n' > "$D/.record-in-corso")"),
         .stato = 1, .mostrato = "99\r\n|Mallory\r\n", .finale = "99\r\n|Mallory\r\n"},
        {.nome = "giornale troncato", .prima = sh(R"(printf 'CIFROLANDIA-RECORD 1\n4 9\n99\r\nMallory\r\nFIN' > "$D/.record-in-corso")"),
         .punti = "", .stato = 1, .finale = kAnna},
        {.nome = "giornale troppo corto", .prima = sh(R"(printf 'CIFROLANDIA-RECORD 1\n4 99\n99\r\nMallory\r\nFINE\n' > "$D/.record-in-corso")")},
        {.nome = "giornale, prom troppo lungo", .prima = sh(R"(printf 'CIFROLANDIA-RECORD 1\n99 9\n99\r\nMallory\r\nFINE\n' > "$D/.record-in-corso")")},
        {.nome = "giornale, lunghezza enorme", .prima = sh(R"(printf 'CIFROLANDIA-RECORD 1\n99999999999999999999 0\nFINE\n' > "$D/.record-in-corso")")},
        {.nome = "rivale fermo dopo prom", .prima = rivaleA(4, "CIFROLANDIA_TEST_PAUSE_AFTER", "punti"),
         .stato = 3, .mostrato = kCarla, .finale = kCarla,
         .avanzi = true},
        {.nome = "blocco tenuto 0,6 s all'avvio", .prima = sh(R"(rm "$D/prom.txt" "$D/nrom.txt"; )" + kTieni + "0.6 & }"),
         .pausa = "apertura", .durante = sh(R"(test -f "$D/prom.txt" -a -f "$D/nrom.txt")"), .mostrato = "|"},
        {.nome = "un milione di voci", .prima = sh(R"(cd "$D"; seq 1000000 | xargs touch)"), .lento = true},
        {.nome = "disco in sola lettura", .pausa = "apertura", .durante = sh(R"(mount -o remount,ro "$B/disco")", true),
         .stato = 2, .messaggio = "il disco è in sola lettura. Il", .finale = kAnna, .lento = true, .disco = true},
        {.nome = "recupero su disco pieno", .prima = [](Banco& b) {
             rivaleA(4, "CIFROLANDIA_TEST_STOP_AFTER", "giornale")(b);
             b.sh(R"(rm "$D"/.record-nuovo-*; )" + kRiempi + "0" + kFile);
         }, .stato = 2, .mostrato = kCarla, .messaggio = kSpazio, .finale = kCarla, .lento = true, .disco = true},
    };
    for (const char* k : {"2", "3"}) { // the journal finds the disk full, or just room enough
        const bool pieno = *k != '3'; // two temporary files and the journal need three pages
        righe.push_back({.nome = std::string("disco pieno, pagine libere: ") + k, .prima = sh(kRiempi + k + kFile),
                         .stato = pieno ? 2 : 0, .messaggio = pieno ? kSpazio : "",
                         .finale = pieno ? kAnna : "5\r\n|Bruno\r\n", .lento = true, .disco = true});
    }
    // Things planted at the store's names before the start-up (which shows of prom.txt or
    // nrom.txt only a regular file, 4 KiB at most) or at the step of the save where the name is
    // about to be renamed over: one of each kind, at each name that takes its own path.
    const std::string kFifo = R"(mkfifo "$P")", kChiusa = R"(mkdir -p "$P/x"; chmod 555 "$P")",
                      kLink = R"(echo 500 > "$B/b"; ln -s "$B/b" "$P")",
                      kFisso = R"(echo 500 > "$B/b"; ln "$B/b" "$P")",
                      kEnorme = R"(printf 77 > "$P"; truncate -s 1G "$P")";
    for (const auto& [nome, cosa, pausa, visto] : std::vector<std::tuple<std::string, std::string, const char*, std::string>>{
             {"prom.txt", kFisso, nullptr, "500\n|Anna\r\n"},
             {"prom.txt", kEnorme, nullptr, "77" + std::string(4094, '\0') + "|Anna\r\n"},
             {"prom.txt", kFifo, nullptr, "|Anna\r\n"},
             {"prom.txt", R"(mknod "$P" c 1 5)", nullptr, "|Anna\r\n"},
             {"nrom.txt", kLink, nullptr, "3\r\n|"},
             {"nrom.txt", R"(mkdir "$P")", nullptr, "3\r\n|"},
             {"prom.txt", kChiusa, "giornale", kAnna},
             {"nrom.txt", kLink, "punti", kAnna},
             {".record-in-corso", kChiusa, nullptr, kAnna},
             {".record-in-corso", kFisso, nullptr, kAnna},
             {".record-in-corso", kEnorme, nullptr, kAnna},
             {".record-in-corso", kFifo, "temporanei", kAnna},
             {".record-nuovo-prom", kChiusa, nullptr, kAnna}, // a name of an earlier version
         }) {
        // A device needs root; a directory closed with chmod 555 would stop a non-root bench
        // from reading and cleaning it afterwards.
        const bool root = cosa.starts_with("mknod") || cosa == kChiusa;
        const auto pianta = sh("P=\"$D/" + nome + "\"; rm -rf \"$P\"; " + cosa, root);
        righe.push_back({.nome = cosa + " a " + nome + " " + (pausa ? pausa : "prima"), .prima = pausa ? nullptr : pianta,
                         .pausa = pausa, .durante = pianta, .punti = "1000", .mostrato = visto, .finale = "1000\r\n|Bruno\r\n",
                         .root = root});
    }
    // clang-format on
    // Rows that need root (a second user, mounts, devices) run only as root; said once.
    static const bool spazio = ::geteuid() == 0 && ::unshare(CLONE_NEWNS) == 0 &&
                               ::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) == 0;
    const auto senzaRoot = std::erase_if(righe, [](const Attacco& a) {
        return (a.root && utenti().first == uid_t(-1)) || (a.disco && !spazio);
    });
    if (senzaRoot > 0) {
        std::printf("%zu rows of the record store's attack table need root: not run\n", senzaRoot);
    }
    return righe;
}

INSTANTIATE_TEST_SUITE_P(Record, Attacchi, testing::ValuesIn(attacchi()), [](const auto& info) {
    std::string nome = (info.param.lento ? "Lento" : "") + std::to_string(info.index) + "_" +
                       info.param.nome.substr(0, 40);
    for (char& c : nome) {
        c = std::isalnum(static_cast<unsigned char>(c)) ? c : '_';
    }
    return nome;
});

} // namespace

namespace {

// The directory: where the environment puts it, or the default; a missing one is made usable by
// every player, its new parents passable, by a start-up (a save without one opens it itself).
// A save stands only for a higher score, whoever makes it.
TEST(Archivio, CreaLaCartellaESalvaSoloUnPunteggioPiuAlto) {
    ::unsetenv("CIFROLANDIA_RECORD_DIR");
    const std::string predefinita = ArchivioRecord::cartellaPredefinita();
    EXPECT_FALSE(predefinita.empty());
    ::setenv("CIFROLANDIA_RECORD_DIR", "/tmp/altrove", 1);
    EXPECT_EQ(ArchivioRecord::cartellaPredefinita(), "/tmp/altrove");
    ::setenv("CIFROLANDIA_RECORD_DIR", "", 1);
    EXPECT_EQ(ArchivioRecord::cartellaPredefinita(), predefinita);
    EXPECT_NE(ArchivioRecord("/proc/nessuna").salva("5", "A").messaggio.find(": il file o la"),
              std::string::npos);
    Banco b(false);
    const fs::path nuova = b.base / "nuove" / "record";
    ArchivioRecord archivio(nuova.string());
    ASSERT_TRUE(archivio.apri().ok) << "the first start creates it";
    EXPECT_EQ(fs::status(nuova).permissions(), fs::perms::all);
    EXPECT_EQ(fs::status(nuova.parent_path()).permissions(), fs::perms(0755));
    EXPECT_EQ(archivio.salva("5", "Anna").esito, Esito::Salvato);
    EXPECT_EQ(archivio.salva("5", "Bruno").esito, Esito::NonSuperato) << "a score already made";
    int tubo[2]; // where a directory cannot be synced (EINVAL), the save goes on
    ASSERT_EQ(::pipe(tubo), 0);
    EXPECT_EQ(core::cartella::sincronizzaCartella(tubo[0]), 0);
    ::close(tubo[0]), ::close(tubo[1]);
}

// A whole fresh start in a copy of the directory, as a score, or -1 for a pair that no save
// wrote whole; the directory stays as the kill left it, so that recovery can be killed too.
int punteggioDopo(const fs::path& cartella) {
    const fs::path copia = cartella.string() + ".copia";
    fs::remove_all(copia);
    fs::copy(cartella, copia);
    const core::Record r = ArchivioRecord(copia.string()).apri().record;
    EXPECT_EQ(leggi(copia / ".record-in-corso") + leggi(copia / ".record-nuovo-prom"), "");
    const int punti = std::atoi(r.punti.c_str());
    return r.punti == std::to_string(punti) + "\r\n" && r.nome == nomeDi(punti) + "\r\n" ? punti
                                                                                         : -1;
}

// Saves killed with SIGKILL at each step (a table: the old pair before the journal is
// committed, the new one from then on) and at random instants, where recovery can be killed
// too: after every kill, a fresh start finds the old pair or the new one, whole, never lower.
TEST(RecordInterruzioni, LentoSigkillInOgniIstante) {
    Banco b(false);
    const std::pair<const char*, bool> passi[] = {
        {"temporanei", false}, {"giornale", true}, {"punti", true}, {"nome", true}};
    std::mt19937 caso(12345);
    int record = 3, uccisioni = 0, tentativo = 0;
    long durata = 2400; // microseconds of a whole save and a fifth, followed as saves complete
    for (; uccisioni < 400 && tentativo < 6000; ++tentativo) {
        const int punti = record + 1 + tentativo % 3;
        const auto [fermata, nuova] =
            tentativo % 4 == 3 ? passi[tentativo / 4 % 4] : std::pair<const char*, bool>{"", false};
        if (*fermata) { // a clean directory, so that the kill hits the save and not a recovery
            ArchivioRecord(b.cartella.string()).apri();
        }
        scrivi(b.cartella / ".record-nuovo-prom", "99999\r\n"); // a stale temporary file
        const auto inizio = Orologio::now();
        const pid_t pid = rivale(b, punti, "CIFROLANDIA_TEST_STOP_AFTER", fermata);
        if (!*fermata && tentativo >= 5) { // the first five measure a whole save
            std::this_thread::sleep_for(std::uniform_int_distribution<long>(0, durata)(caso) * 1us);
            ::kill(pid, SIGKILL);
        }
        const int stato = attendi(pid);
        SCOPED_TRACE(std::to_string(tentativo) + " " + fermata);
        const bool ucciso = WIFSIGNALED(stato) && WTERMSIG(stato) == SIGKILL;
        ASSERT_TRUE(ucciso || (WIFEXITED(stato) && WEXITSTATUS(stato) == 0 && !*fermata)) << stato;
        if (!ucciso) {
            durata = (durata * 3 + (Orologio::now() - inizio) * 6 / 5 / 1us) / 4;
        }
        const int trovato = punteggioDopo(b.cartella);
        ASSERT_TRUE(*fermata ? trovato == (nuova ? punti : record)
                             : trovato == punti || (ucciso && trovato == record))
            << trovato;
        uccisioni += ucciso;
        record = trovato;
    }
    std::printf("%d kills in %d saves\n", uccisioni, tentativo);
    EXPECT_GE(uccisioni, 200);
}

} // namespace
