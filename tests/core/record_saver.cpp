// Saves one record as a game does at its end, so that tests can run rival games as processes:
//   record_saver <directory> <score> <name>
// Exits 0 when the record was saved or not beaten, 1 on an error (message on stderr).
#include "core/records.hpp"

#include <cstdio>

int main(int argc, char** argv) {
    if (argc != 4) {
        std::fprintf(stderr, "uso: record_saver <cartella> <punti> <nome>\n");
        return 2;
    }
    core::ArchivioRecord archivio(argv[1]);
    const core::ArchivioRecord::Apertura apertura = archivio.apri();
    if (!apertura.ok) {
        std::fprintf(stderr, "%s\n", apertura.errore.c_str());
        return 1;
    }
    const core::ArchivioRecord::Salvataggio esito = archivio.salva(argv[2], argv[3]);
    if (esito.esito == core::ArchivioRecord::Esito::Errore) {
        std::fprintf(stderr, "%s\n", esito.messaggio.c_str());
        return 1;
    }
    return 0;
}
