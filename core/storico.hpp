#pragma once
// The history of games of one account: one CSV line per game, appended when a game ends, kept
// in a file of the player's own data directory (mode 0600, never shared with other accounts).
//
// The file is UTF-8 CSV with a header line, comma-separated and quoted as RFC 4180 says, so
// that any name survives and any spreadsheet opens it. Whatever it holds is read without
// trust: binary bytes, over-long or cut lines, a FIFO or a link in its place are skipped or
// refused, never followed, never waited on. An append is one write() under an exclusive
// flock, so a crash loses at most the game being written and two windows of the same account
// lose none.

#include "core/ripasso.hpp"

#include <chrono>
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace core {

struct Partita {
    std::string inizio;     // local time with its offset, "2026-12-07T14:03:05+01:00"
    long durataSecondi = 0; // real seconds, pauses excluded
    std::string nome;       // as typed (UTF-8), any characters
    std::string massimo;    // the bound, as used
    std::string modo;       // "gara", "allenamento", "allenamento-inverso"
    int esatte = 0;         // the total, esatte + errate, is written as a column of its own
    int errate = 0;
    std::string fine; // "uscita", "tempo", "nuovo-gioco", "allenamento", "finestra-chiusa"
    int pause = 0;
    long secondiInPausa = 0;
    // The wrong answers, in the order they were made: "24","XX","XXIV" (in reverse practice a
    // numeral is asked: "XXIV","42","24").
    std::vector<Errore> errori;
    bool operator==(const Partita&) const = default;
};

// The first line of the file.
std::string intestazioneStorico();

// The CSV line of a game, ending in "\n". The mistakes go in one field, each written
// "domanda=scritto>giusto", separated by "|", with "\" put before any "\", "=", ">" or "|" of
// their texts.
std::string rigaStorico(const Partita& partita);

// The game a CSV record holds (without its line end), if it is a whole and valid one: twelve
// fields, the start as written by istanteLocale, counts that are non-negative whole numbers
// and agree with their total, and a well-formed list of mistakes.
std::optional<Partita> leggiRigaStorico(std::string_view record);

// "2026-12-07T14:03:05+01:00" for that instant in the computer's time zone.
std::string istanteLocale(std::chrono::system_clock::time_point istante);

// True for a start written as istanteLocale writes it: "YYYY-MM-DDTHH:MM:SS+HH:MM" (or -HH:MM).
bool inizioValido(std::string_view inizio);

// A mistake a player made, and how many times: the question with its right answer.
struct ErroreFrequente {
    std::string domanda;
    std::string giusto;
    int volte = 0;
    bool operator==(const ErroreFrequente&) const = default;
};

// The questions `nome` missed most often over the games, most often first (ties: the one
// missed most recently first), at most `quanti`.
std::vector<ErroreFrequente> erroriFrequenti(const std::vector<Partita>& partite,
                                             std::string_view nome, std::size_t quanti);

class Storico {
public:
    static constexpr std::size_t kMassimoPredefinito = 10000;

    // `percorso`: the file; its directory is created (0700) at the first append. At most
    // `massimoPartite` games are kept, the newest.
    explicit Storico(std::string percorso, std::size_t massimoPartite = kMassimoPredefinito);

    const std::string& percorso() const { return percorso_; }

    // Appends the game. Refuses anything but a regular file of ours at the path (a link, a
    // FIFO, a device, a directory), never waits on it, and waits at most about a second for
    // another window holding the lock. From time to time, when the file has grown, the games
    // beyond the newest `massimoPartite` are dropped (the file rewritten whole under the
    // lock). False when the game could not be written.
    bool aggiungi(const Partita& partita) const;

    // The games in the file, oldest first, at most the newest `massimoPartite`; lines that
    // are not a whole game are skipped. Nothing readable (no file, not a regular file, no
    // permission) reads as no game. Reads at most the last 16 MiB of the file.
    std::vector<Partita> leggi() const;

private:
    std::string percorso_;
    std::size_t massimo_;
};

} // namespace core
