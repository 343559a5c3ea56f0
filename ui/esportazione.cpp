#include "ui/esportazione.hpp"

#include <QStringList>

namespace ui {
namespace {

// A text cell: quoted when it holds the separator, a quote or a line end; kept from being
// read as a formula.
QString cella(QString testo) {
    if (!testo.isEmpty() && QStringLiteral("=+-@\t\r").contains(testo.front())) {
        testo.prepend(QLatin1Char('\''));
    }
    if (testo.contains(QLatin1Char(';')) || testo.contains(QLatin1Char('"')) ||
        testo.contains(QLatin1Char('\n')) || testo.contains(QLatin1Char('\r'))) {
        testo.replace(QLatin1Char('"'), QStringLiteral("\"\""));
        testo = QLatin1Char('"') + testo + QLatin1Char('"');
    }
    return testo;
}

QString testo(const std::string& utf8) {
    return QString::fromStdString(utf8);
}

} // namespace

QString testoModo(const std::string& modo) {
    if (modo == "gara") {
        return QStringLiteral("a tempo");
    }
    if (modo == "allenamento-inverso") {
        return QStringLiteral("allenamento inverso");
    }
    return testo(modo); // "allenamento" reads as it is
}

QString testoFine(const std::string& fine) {
    if (fine == "tempo") {
        return QStringLiteral("tempo scaduto");
    }
    if (fine == "nuovo-gioco") {
        return QStringLiteral("nuovo gioco");
    }
    if (fine == "finestra-chiusa") {
        return QStringLiteral("finestra chiusa");
    }
    return testo(fine); // "uscita", "allenamento"
}

QDateTime inizioDi(const core::Partita& partita) {
    return QDateTime::fromString(testo(partita.inizio), Qt::ISODate);
}

QByteArray esportaPerFoglio(const std::vector<core::Partita>& partite) {
    QStringList righe{QStringLiteral("Data;Nome;Massimo;Modo;Esatte;Errate;Totale;Fine;"
                                     "Durata (secondi);Pause;Secondi in pausa;Errori")};
    for (const core::Partita& p : partite) {
        // The clock time as recorded, in the offset of the computer that played.
        const QString data = inizioDi(p).toString(QStringLiteral("dd/MM/yyyy HH:mm:ss"));
        QStringList errori;
        for (const core::Errore& e : p.errori) {
            errori << testo(e.domanda) + QStringLiteral(": ") + testo(e.scritto) +
                          QStringLiteral(" \u2192 ") + testo(e.esatto);
        }
        righe << QStringList{data,
                             cella(testo(p.nome)),
                             cella(testo(p.massimo)),
                             cella(testoModo(p.modo)),
                             QString::number(p.esatte),
                             QString::number(p.errate),
                             QString::number(static_cast<qlonglong>(p.esatte) + p.errate),
                             cella(testoFine(p.fine)),
                             QString::number(p.durataSecondi),
                             QString::number(p.pause),
                             QString::number(p.secondiInPausa),
                             cella(errori.join(QStringLiteral(", ")))}
                     .join(QLatin1Char(';'));
    }
    return QByteArray("\xEF\xBB\xBF") + righe.join(QStringLiteral("\r\n")).toUtf8() + "\r\n";
}

} // namespace ui
