#pragma once

class QCoreApplication;

namespace ui {

// Qt's own texts (dialog buttons, the answer box's context menu) in Italian.
void caricaTraduzioniItaliane(QCoreApplication& app);

} // namespace ui
