#include "core/file_cartella.hpp"

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/random.h>
#include <sys/stat.h>
#include <unistd.h>

namespace core::cartella {

std::string leggiRegolare(int cartella, const char* nome, std::size_t massimo) {
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
    return leggiDa(fd.get(), 0, massimo);
}

std::string leggiDa(int fd, off_t da, std::size_t massimo) {
    std::string testo(massimo, '\0');
    std::size_t letti = 0;
    while (letti < testo.size()) {
        const ssize_t n =
            ::pread(fd, testo.data() + letti, testo.size() - letti, da + static_cast<off_t>(letti));
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

int sincronizzaCartella(int cartella) {
    while (::fsync(cartella) != 0) {
        if (errno != EINTR) {
            return errno == EINVAL ? 0 : errno;
        }
    }
    return 0;
}

int liberaNome(int cartella, const char* nome) {
    if (::unlinkat(cartella, nome, 0) == 0 || errno == ENOENT) {
        return 0;
    }
    if (errno != EISDIR) {
        return errno;
    }
    if (::unlinkat(cartella, nome, AT_REMOVEDIR) == 0) {
        return 0;
    }
    unsigned long long caso = 0;
    if (::getrandom(&caso, sizeof caso, 0) != static_cast<ssize_t>(sizeof caso)) {
        return errno;
    }
    char aParte[40];
    std::snprintf(aParte, sizeof aParte, ".record-scartato-%016llx", caso);
    return ::renameat2(cartella, nome, cartella, aParte, RENAME_NOREPLACE) == 0 ? 0 : errno;
}

int rinomina(int cartella, const char* da, const char* a) {
    for (int tentativo = 0; tentativo < 3; ++tentativo) {
        if (::renameat(cartella, da, cartella, a) == 0) {
            return 0;
        }
        if (errno != EISDIR && errno != ENOTEMPTY && errno != EEXIST) {
            return errno;
        }
        if (const int errore = liberaNome(cartella, a); errore != 0) {
            return errore;
        }
    }
    return EEXIST;
}

int creaTemporaneo(int cartella, std::string_view dati, const char* nome, ino_t& inode) {
    int errore = EEXIST;
    for (int tentativo = 0; tentativo < 3 && errore == EEXIST; ++tentativo) {
        errore = liberaNome(cartella, nome);
        Descrittore fd(errore != 0
                           ? -1
                           : ::openat(cartella, nome,
                                      O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0644));
        if (!fd.valido()) {
            errore = errore != 0 ? errore : errno;
            continue;
        }
        errore = scriviTutto(fd.get(), dati);
        if (errore == 0 && ::fchmod(fd.get(), 0644) != 0) {
            errore = errno;
        }
        if (errore == 0 && ::fsync(fd.get()) != 0) {
            errore = errno;
        }
        struct stat info {};
        if (errore == 0 && ::fstat(fd.get(), &info) != 0) {
            errore = errno;
        }
        inode = info.st_ino;
        if (errore != 0) {
            ::unlinkat(cartella, nome, 0);
        }
        return errore;
    }
    return errore;
}

int prendiBlocco(int cartella) {
    while (::flock(cartella, LOCK_EX | LOCK_NB) != 0) {
        if (errno != EINTR) {
            return errno;
        }
    }
    return 0;
}

void liberaBlocco(int cartella) {
    ::flock(cartella, LOCK_UN);
}

} // namespace core::cartella
