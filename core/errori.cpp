#include "core/errori.hpp"

#include <cerrno>
#include <system_error>

namespace core {

std::string descriviErrore(int errnum) {
    switch (errnum) {
    case EACCES:
        return "permesso negato";
    case EPERM:
        return "operazione non permessa";
    case EROFS:
        return "il disco è in sola lettura";
    case ENOSPC:
        return "spazio esaurito sul disco";
    case EDQUOT:
        return "quota di spazio su disco esaurita";
    case EFBIG:
        return "file troppo grande";
    case ENOENT:
        return "il file o la cartella non esiste";
    case ENOTDIR:
        return "una parte del percorso non è una cartella";
    case ELOOP:
        return "collegamento simbolico non ammesso o circolare";
    case EISDIR:
        return "al posto del file c'è una cartella";
    case EEXIST:
        return "esiste già";
    case ENOTEMPTY:
        return "la cartella non è vuota";
    case ENAMETOOLONG:
        return "nome del percorso troppo lungo";
    case EINVAL:
        return "percorso non valido";
    case EIO:
        return "errore di lettura o scrittura sul disco";
    case ETIMEDOUT:
        return "tempo di attesa scaduto";
    case EAGAIN:
#if EWOULDBLOCK != EAGAIN
    case EWOULDBLOCK:
#endif
        return "risorsa temporaneamente non disponibile";
    case EBUSY:
        return "risorsa occupata";
    case ENXIO:
        return "dispositivo non disponibile";
    case ENODEV:
        return "dispositivo inesistente";
    case EMFILE:
        return "troppi file aperti dal programma";
    case ENFILE:
        return "troppi file aperti nel sistema";
    case ENOMEM:
        return "memoria insufficiente";
    case ENOLCK:
        return "blocco dei file non disponibile";
    case ESTALE:
        return "riferimento a un file di rete non più valido";
    default:
        // The system's text (strerror's, obtained in a thread-safe way).
        return std::generic_category().message(errnum);
    }
}

} // namespace core
