// The history of games: any name and answer read back as written, damaged or hostile files
// read without harm, the cap.
#include "core/storico.hpp"
#include "file_di_prova.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <functional>
#include <sys/stat.h>

namespace {

namespace fs = std::filesystem;
using core::Partita;
using core::Storico;
using namespace std::chrono_literals;

const std::vector<core::Errore> kErrori{{"24", "XX", "XXIV"}, {"9", "VIIII", "IX"}};
const char* const kInizio = "2026-12-07T14:03:05+01:00";

Partita partita(std::string nome, int esatte = 3) {
    return {kInizio, 450, std::move(nome), "100", "gara", esatte, 2, "tempo", 1, 30, kErrori};
}

std::string elenco(const std::vector<Partita>& partite) {
    std::string n;
    for (const Partita& p : partite) {
        n += (n.empty() ? "" : " ") + p.nome;
    }
    return n;
}

// A scratch directory with the history's path in it.
struct Cartella : prova::CartellaTemporanea {
    fs::path file = percorso / "partite.csv";
};

// Runs `corpo` in a child process, which exits 0 when its expectations all held; a child that
// hangs is killed (-1).
int inFiglio(const std::function<void()>& corpo, std::chrono::seconds limite = 30s) {
    const pid_t pid = ::fork();
    if (pid == 0) {
        corpo();
        ::_exit(testing::Test::HasFailure() ? 1 : 0);
    }
    return prova::attendi(pid, limite);
}

class NomiOstili : public testing::TestWithParam<std::string> {};

TEST_P(NomiOstili, TornanoComeScritti) {
    Cartella c;
    Partita p = partita(GetParam());
    p.errori.push_back({GetParam(), GetParam(), GetParam()}); // in the mistakes' own field too
    const Storico storico(c.file.string());
    ASSERT_TRUE(storico.aggiungi(p)) << "nome: " << GetParam();
    EXPECT_EQ(storico.leggi(), std::vector<Partita>{p}) << "nome: " << GetParam();
}

INSTANTIATE_TEST_SUITE_P(Storico, NomiOstili,
                         testing::Values("Anna, \"la rossa\"", "riga\r\nnuova", "Zoë 🦊", "",
                                         "a\\=b>c|d\\", "  spazi  "));

// Records that are not a whole game: a good one with one piece of it changed.
const std::string kBuona =
    "2026-12-07T14:03:05+01:00,450,Anna,100,gara,3,2,5,tempo,1,30,24=XX>XXIV|9=VIIII>IX";

struct Guasto {
    const char* nome;
    const char* da; // replaced in kBuona by
    const char* a;
};

class RigheCattive : public testing::TestWithParam<Guasto> {};

TEST_P(RigheCattive, SonoSaltate) {
    ASSERT_TRUE(core::leggiRigaStorico(kBuona)) << "la riga intatta si legge";
    std::string guasta = kBuona;
    guasta.replace(guasta.find(GetParam().da), std::string_view(GetParam().da).size(),
                   GetParam().a);
    EXPECT_FALSE(core::leggiRigaStorico(guasta)) << GetParam().nome << ": " << guasta;
}

INSTANTIATE_TEST_SUITE_P(
    Storico, RigheCattive,
    testing::Values(
        Guasto{"un campo in meno", ",30,", ","}, Guasto{"un campo in più", ",30", ",30,1"},
        Guasto{"data senza fuso", "+01:00", ""}, Guasto{"mese 13", "-12-", "-13-"},
        Guasto{"totale sbagliato", ",5,", ",6,"}, Guasto{"pause vuoto", ",1,30,", ",,30,"},
        Guasto{"numero negativo", "450", "-4"}, Guasto{"numero con testo", "450", "4x"},
        Guasto{"virgolette aperte", "Anna", "\"Anna"},
        Guasto{"testo dopo le virgolette", "Anna", "\"Anna\"x"},
        Guasto{"errore senza giusto", "9=VIIII>IX", "9=VIIII"},
        Guasto{"errore con > di troppo", ">IX", ">I>X"}, Guasto{"barra finale", ">IX", ">IX\\"},
        Guasto{"UTF-8 rotto", "Anna", "\xC3("}, Guasto{"surrogato", "Anna", "\xED\xA0\x80"}),
    [](const auto& info) { return "guasto" + std::to_string(info.index); });

// A damaged or hostile file at the history's path: the names read from it, and whether a new
// game is then appended (and read back after them). Each row runs in a child with a time
// limit: nothing may hang.
struct FileOstile {
    const char* nome;
    const char* letti;
    bool aggiunta;
    std::function<void(const fs::path&)> prepara;
    const char* dopo = nullptr; // read after the append, if not what was read and then it
};

class FileOstili : public testing::TestWithParam<FileOstile> {};

TEST_P(FileOstili, NienteBloccaOCrolla) {
    const FileOstile& f = GetParam();
    Cartella c;
    const fs::path& file = c.file;
    f.prepara(file);
    EXPECT_EQ(inFiglio([&] {
                  const Storico storico(file.string());
                  EXPECT_EQ(elenco(storico.leggi()), f.letti) << f.nome << ": prima";
                  EXPECT_EQ(storico.aggiungi(partita("Nuova")), f.aggiunta) << f.nome;
                  const std::string dopo = f.dopo        ? f.dopo
                                           : !f.aggiunta ? f.letti
                                           : *f.letti    ? f.letti + std::string(" Nuova")
                                                         : "Nuova";
                  EXPECT_EQ(elenco(storico.leggi()), dopo) << f.nome << ": dopo";
              }),
              0)
        << f.nome;
}

std::string riga(const std::string& nome) {
    return core::rigaStorico(partita(nome));
}

void rigaDiUnGiga(const fs::path& p) {
    prova::scrivi(p, riga("A"), true);
    fs::resize_file(p, fs::file_size(p) + (std::uintmax_t{1} << 30)); // sparse
    prova::scrivi(p, "\n" + riga("B"), true);
}

// A file of exactly the 16 MiB read: its first line is read whole.
void sediciMiB(const fs::path& p) {
    const std::string a = riga("A");
    prova::scrivi(p, a + std::string((std::size_t{16} << 20) - a.size() - 1, ' ') + "\n");
}

// A line saved again with Windows line ends, its last field empty.
void rigaCrLf(const fs::path& p) {
    Partita a = partita("A");
    a.errori.clear();
    std::string r = core::rigaStorico(a);
    prova::scrivi(p, r.insert(r.size() - 1, "\r"));
}

// A tail of exactly the 16 MiB read, beginning right after a line end: its first line is whole.
void codaDaInizioRiga(const fs::path& p) {
    prova::scrivi(p, riga("A"), true);
    fs::resize_file(p, fs::file_size(p) + 100);
    const std::string b = riga("B");
    prova::scrivi(p, "\n" + b + std::string((std::size_t{16} << 20) - b.size() - 1, ' ') + "\n",
                  true);
}

INSTANTIATE_TEST_SUITE_P(
    Storico, FileOstili,
    testing::Values(FileOstile{"tagliata tra virgolette", "A", true,
                               [](auto& p) {
                                   prova::scrivi(p, riga("A") + riga("B, \"il\"").substr(0, 40),
                                                 true);
                               }},
                    FileOstile{"riga di 1 GB", "B", true, rigaDiUnGiga},
                    // The append moves B out of the 16 MiB that are kept.
                    FileOstile{"coda da un inizio di riga", "B", true, codaDaInizioRiga, "Nuova"},
                    FileOstile{"16 MiB", "A", true, sediciMiB, "Nuova"},
                    FileOstile{"CRLF", "A", true, rigaCrLf},
                    FileOstile{"FIFO", "", false, [](auto& p) { ::mkfifo(p.c_str(), 0600); }},
                    FileOstile{"link a un file", "", false,
                               [](auto& p) {
                                   prova::scrivi(p.string() + ".vero", riga("A"), true);
                                   fs::create_symlink(p.string() + ".vero", p);
                               }}),
    [](const auto& info) { return "riga" + std::to_string(info.index); });

// A file of its own in a directory it creates, private; past the cap, the newest games only.
TEST(Storico, FileEsattoPrivatoConLeUltimePartite) {
    Cartella c;
    const fs::path file = c.percorso / "dati" / "cifrolandia" / "partite.csv";
    const Storico storico(file.string(), 5);
    ASSERT_TRUE(storico.aggiungi(partita("A")));
    ASSERT_TRUE(storico.aggiungi(partita("B")));
    EXPECT_EQ(prova::leggi(file), core::intestazioneStorico() + riga("A") + riga("B"))
        << "intestazione una volta, una riga per partita";
    EXPECT_EQ(fs::status(file).permissions(), fs::perms::owner_read | fs::perms::owner_write)
        << "il file è privato";
    EXPECT_EQ(fs::status(file.parent_path()).permissions(), fs::perms::owner_all)
        << "la cartella creata è privata";
    fs::permissions(file, fs::perms::all);
    ASSERT_TRUE(storico.aggiungi(partita("C")));
    EXPECT_EQ(fs::status(file).permissions(), fs::perms::owner_read | fs::perms::owner_write)
        << "un file aperto ad altri torna privato";
    EXPECT_TRUE(storico.aggiungi(partita(std::string(261'500, 'n')))) << "as long as is read";
    EXPECT_TRUE(storico.aggiungi(partita(std::string(15, '\n')))) << "16 lines, as many as read";
    EXPECT_FALSE(storico.aggiungi(partita(std::string(16, '\n')))) << "17 lines: never read";
    EXPECT_FALSE(storico.aggiungi(partita(std::string(262'200, 'n')))) << "longer: never read";
    for (int i = 0; i < 40; ++i) {
        ASSERT_TRUE(storico.aggiungi(partita(std::to_string(i)))) << i;
    }
    EXPECT_EQ(elenco(storico.leggi()), "35 36 37 38 39") << "le cinque più recenti";
    const std::string testo = prova::leggi(file);
    EXPECT_LT(std::count(testo.begin(), testo.end(), '\n'), 12) << "il file è stato ridotto";
}

// The start as written in local time, and the starts read back as one.
TEST(Storico, InizioInOraLocale) {
    using namespace std::chrono;
    const auto istante = sys_days{year{2026} / 12 / 7} + 13h + 3min + 5s;
    for (auto [fuso, atteso] : {std::pair{"CET-1", "2026-12-07T14:03:05+01:00"},
                                std::pair{"XYZ3:30", "2026-12-07T09:33:05-03:30"}}) {
        ::setenv("TZ", fuso, 1);
        ::tzset();
        EXPECT_EQ(core::istanteLocale(istante), atteso);
    }
    ::unsetenv("TZ");
    ::tzset();
    for (const char* buono : {"2026-01-01T00:00:00+00:00", "9999-12-31T23:59:60-23:59"}) {
        EXPECT_TRUE(core::inizioValido(buono)) << buono;
    }
    for (const char* cattivo :
         {"2026-00-07T14:03:05+01:00", "2026-12-00T14:03:05+01:00", "2026-12-32T14:03:05+01:00",
          "2026-12-07T24:03:05+01:00", "2026-12-07T14:60:05+01:00", "2026-12-07T14:03:61+01:00",
          "2026-12-07T14:03:0x+01:00", "2026-12-07T14:03:05+24:00", "2026-12-07T14:03:05+01:60",
          "2026-12-07T14:03:05*01:00", "2026-12-07 14:03:05+01:00", "2026-12-07T14:03:05+0100",
          "202x-12-07T14:03:05+01:00"}) {
        EXPECT_FALSE(core::inizioValido(cattivo)) << cattivo;
    }
}

// The questions a player misses most, over that player's games only: most often first, and of
// those missed as often, the one missed last first.
TEST(Storico, ErroriPiuFrequenti) {
    const core::Errore nove{"9", "VIIII", "IX"}, ventiquattro{"24", "XX", "XXIV"},
        quattro{"4", "IIII", "IV"};
    std::vector<Partita> partite;
    for (auto [nome, errori] : std::vector<std::pair<std::string, std::vector<core::Errore>>>{
             {"Anna", {ventiquattro, nove}},
             {"Bea", {quattro, quattro, quattro}},
             {"Anna", {nove, ventiquattro}},
             {"Anna", {quattro, {"9", "VIV", "IX"}}},
             {"Anna", {quattro}}}) {
        partite.push_back(partita(nome));
        partite.back().errori = errori;
    }
    using F = std::vector<core::ErroreFrequente>;
    EXPECT_EQ(core::erroriFrequenti(partite, "Anna", 10),
              (F{{"9", "IX", 3}, {"4", "IV", 2}, {"24", "XXIV", 2}}));
    EXPECT_EQ(core::erroriFrequenti(partite, "Anna", 1), (F{{"9", "IX", 3}}));
    EXPECT_EQ(core::erroriFrequenti(partite, "Bea", 10), (F{{"4", "IV", 3}}));
    EXPECT_EQ(core::erroriFrequenti(partite, "Carlo", 10), F{});
}

} // namespace
