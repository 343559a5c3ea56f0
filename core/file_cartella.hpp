#pragma once
// Files of the record directory, reached through the directory's open descriptor so that
// another player cannot redirect them: read without following links or blocking, written and
// synced whole, renamed over whatever stands at a name, and the directory's lock.

#include <cstddef>
#include <string>
#include <string_view>
#include <sys/types.h>
#include <unistd.h>
#include <utility>

namespace core::cartella {

// Closes the descriptor it owns; can be moved, not copied.
class Descrittore {
public:
    explicit Descrittore(int fd = -1) : fd_(fd) {}
    ~Descrittore() {
        if (fd_ >= 0) {
            ::close(fd_);
        }
    }
    Descrittore(const Descrittore&) = delete;
    Descrittore& operator=(const Descrittore&) = delete;
    Descrittore(Descrittore&& altro) noexcept : fd_(std::exchange(altro.fd_, -1)) {}
    Descrittore& operator=(Descrittore&& altro) noexcept {
        std::swap(fd_, altro.fd_);
        return *this;
    }
    int get() const { return fd_; }
    bool valido() const { return fd_ >= 0; }

private:
    int fd_;
};

// Reads at most `massimo` bytes of the open file from offset `da`, going on after short reads
// and interruptions: fewer at its end, none on an error.
std::string leggiDa(int fd, off_t da, std::size_t massimo);

// Reads at most `massimo` bytes of a regular file of the directory. Links are not
// followed and nothing can block (FIFOs, devices); anything that is not a readable regular
// file reads as empty.
std::string leggiRegolare(int cartella, const char* nome, std::size_t massimo);

// Writes all of `dati`, going on after short writes and interruptions. Returns 0 or errno.
int scriviTutto(int fd, std::string_view dati);

// Makes the directory's entries (created, renamed, removed files) durable. Returns 0 or errno;
// file systems that cannot sync a directory are taken as having done it.
int sincronizzaCartella(int cartella);

// Frees `nome` of whatever stands there, never following or opening it: a file of any kind
// (a link, a FIFO, a device) is removed, a directory too when empty; a non-empty one, which
// another player may have made impossible to empty, is moved aside under a random name.
// Returns 0 or errno.
int liberaNome(int cartella, const char* nome);

// Renames `da` over `a`; a directory standing at `a` is moved aside first. Returns 0 or errno.
int rinomina(int cartella, const char* da, const char* a);

// Creates the temporary file `nome` holding `dati`, readable by every player whatever the
// umask, and synced to disk; whatever stood at the name is replaced. Returns 0 or errno; on
// failure no file is left.
int creaTemporaneo(int cartella, std::string_view dati, const char* nome, ino_t& inode);

// Tries the exclusive lock of the directory, without waiting. The lock goes with the open
// directory: released by liberaBlocco, or by the kernel if the process dies. Returns 0,
// EWOULDBLOCK while another program holds it, or the errno of flock.
int prendiBlocco(int cartella);
void liberaBlocco(int cartella);

} // namespace core::cartella
