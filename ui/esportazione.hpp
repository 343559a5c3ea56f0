#pragma once
// The history as the "Risultati" window words it, and exported for a spreadsheet.

#include "core/storico.hpp"

#include <QByteArray>
#include <QDateTime>
#include <QString>

#include <vector>

namespace ui {

// The mode and the ending of a game in words: "a tempo", "allenamento inverso", "tempo
// scaduto"...; a word the game does not know is shown as written.
QString testoModo(const std::string& modo);
QString testoFine(const std::string& fine);

// The start of a game, with its own offset; invalid when unreadable.
QDateTime inizioDi(const core::Partita& partita);

// The games as a CSV file that LibreOffice Calc and Excel open as a table under an Italian
// locale: UTF-8 with a byte order mark, ";" between fields, CR LF line ends, RFC 4180 quotes,
// dates as "07/12/2026 14:03:05" (the clock time of the computer that played). Text that a
// spreadsheet would take for a formula (starting with =, +, -, @) begins with an apostrophe.
// One line per game, in the order given, after a line of column titles.
QByteArray esportaPerFoglio(const std::vector<core::Partita>& partite);

} // namespace ui
