#pragma once
// The record store: the best score ever made on this computer and its holder, kept in two
// one-line files, prom.txt (the score) and nrom.txt (the name), in one directory shared by
// every player. Each file holds Windows-1252 text followed by CR LF; an empty file means
// that no record has been set yet.
//
// The directory is writable by every player, so whatever lies in it is untrusted: it is opened
// once, not through a final symlink, and held from start-up to the save; inside it links are
// never followed, only regular files are read, at most 4 KiB of each, and anything standing
// at one of the store's names is replaced or moved aside. Saving is serialised by a lock,
// compares against the record as it stands under that lock, and replaces the pair (score,
// holder) as one, so that a crash at any instant leaves the old pair or the new one.

#include <string>
#include <string_view>

namespace core {

// The two record texts as the window shows them: the raw contents of each file, line end
// included, decoded from Windows-1252 to UTF-8. Anything unreadable reads as empty.
struct Record {
    std::string punti; // prom.txt
    std::string nome;  // nrom.txt
};

// A name as the game shows and saves it: control characters (below 0x20, 0x7F, and U+0080 to
// U+009F) become blanks, so that nrom.txt stays one line and carries no terminal escapes.
std::string senzaCaratteriDiControllo(std::string_view nome);

class ArchivioRecord {
public:
    explicit ArchivioRecord(std::string cartella);
    ~ArchivioRecord();
    ArchivioRecord(ArchivioRecord&& altro) noexcept;
    ArchivioRecord& operator=(ArchivioRecord&& altro) noexcept;

    // CIFROLANDIA_RECORD_DIR when set and not empty, otherwise the directory chosen when the
    // game was built (/var/games/cifrolandia unless configured otherwise).
    static std::string cartellaPredefinita();

    const std::string& cartella() const { return cartella_; }

    struct Apertura {
        bool ok = false;
        Record record;      // when ok
        std::string errore; // when not ok: an Italian message naming the path and the reason
    };
    // Start-up: opens the directory (creating it, usable by every player, when it is missing)
    // and keeps it open for the save; then, under the lock, completes or discards a save that
    // was interrupted, creates each missing record file empty, and reads both files. When
    // another program holds the lock for more than about a second, it reads the pair without
    // it, never mixing an old file with a new one. Fails when the directory cannot be used
    // (missing and not creatable, a symlink, not a directory, not writable).
    Apertura apri();

    // Occupato: another program holds the directory's lock; nothing was done, try again.
    enum class Esito { Salvato, NonSuperato, Errore, Occupato };
    struct Salvataggio {
        Esito esito = Esito::Errore;
        std::string messaggio; // when Errore: Italian, says that the previous record is kept
    };
    // Saves `punti` into prom.txt and `nome` into nrom.txt (UTF-8 in, Windows-1252 out, "?"
    // for characters the code page lacks), but only if `punti` read as a number is strictly
    // higher than the score stored at this moment; otherwise nothing is written (NonSuperato).
    // Never waits for the lock. Each call uses temporary names of its own, so a call that
    // failed because another player removed or replaced them can simply be made again. Uses
    // the directory apri() opened, or opens it (without creating it) when apri() was not
    // called or that directory has been removed since.
    Salvataggio salva(std::string_view punti, std::string_view nome);

private:
    int apriCartella(bool crea);

    std::string cartella_;
    int fd_ = -1; // the directory, from start-up to save
};

} // namespace core
