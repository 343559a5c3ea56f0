#pragma once
// What the history of games needs from a game in progress: when it began, its pauses and how
// long they lasted, and the line it leaves when it ends. The game fills in its own part (name,
// bound, mode, counts, mistakes, ending) and hands the whole game to a RegistroPartite.

#include "core/storico.hpp"

#include <string>

namespace core {

// Where the games go, and the clocks they are measured with; the program writes them to the
// history file, tests keep them.
class RegistroPartite {
public:
    virtual ~RegistroPartite() = default;
    // Now, as the history writes a start: "2026-12-07T14:03:05+01:00".
    virtual std::string istante() const = 0;
    // A clock that never goes back, in seconds: the game's length is measured on it.
    virtual double secondi() const = 0;
    // Writes the game; false when it could not be written.
    virtual bool registra(const Partita& partita) = 0;
};

// The history file of core::Storico, timed by the computer's clocks.
class RegistroSuFile : public RegistroPartite {
public:
    explicit RegistroSuFile(std::string percorso) : storico_(std::move(percorso)) {}
    std::string istante() const override;
    double secondi() const override;
    bool registra(const Partita& partita) override { return storico_.aggiungi(partita); }

private:
    Storico storico_;
};

// The ways a game ends, as the history writes them.
namespace fini {
inline constexpr const char* kUscita = "uscita";
inline constexpr const char* kTempo = "tempo";
inline constexpr const char* kNuovoGioco = "nuovo-gioco";
inline constexpr const char* kAllenamento = "allenamento";
inline constexpr const char* kFinestraChiusa = "finestra-chiusa";
} // namespace fini

// The game's side of the history: one game at a time, from its first question to its end.
class Cronaca {
public:
    void impostaRegistro(RegistroPartite& registro) { registro_ = &registro; }

    void inizia();
    bool inCorso() const { return inCorso_; }
    bool inPausa() const { return inPausa_; }
    // Begin or end a pause; false, changing nothing, when there is none to begin or end.
    bool pausa();
    bool riprendi();

    enum class Esito { Scritta, NonScritta, Spento };
    // Ends the game: `partita` gets its start, its length without the pauses, and the pauses,
    // and is written. After one failure nothing more is written in this session (Spento), so
    // that a file that cannot be written costs a game nothing; a game not in progress, or
    // with nowhere to go, is not written either (Spento).
    Esito chiudi(Partita partita);

private:
    RegistroPartite* registro_ = nullptr;
    bool spento_ = false;
    bool inCorso_ = false;
    bool inPausa_ = false;
    std::string inizio_;
    double partenza_ = 0;
    double inizioPausa_ = 0;
    int pause_ = 0;
    double secondiInPausa_ = 0;
};

} // namespace core
