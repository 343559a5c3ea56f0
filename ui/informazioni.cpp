#include "ui/informazioni.hpp"

#include <QDialogButtonBox>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#ifndef CIFROLANDIA_VERSIONE
#define CIFROLANDIA_VERSIONE "?"
#endif

namespace ui {

FinestraInformazioni::FinestraInformazioni(QWidget* genitore, const QString& cartellaRecord)
    : QDialog(genitore) {
    setObjectName(QStringLiteral("Informazioni"));
    setWindowTitle(QStringLiteral("Informazioni su Cifrolandia"));
    setAccessibleName(windowTitle());
    auto* colonna = new QVBoxLayout(this);
    // Each line with its accessible name, so that a screen reader reads them one by one.
    const QStringList righe = {
        QStringLiteral("Cifrolandia, versione %1").arg(QStringLiteral(CIFROLANDIA_VERSIONE)),
        QStringLiteral("Un gioco sui numeri romani per gli alunni della scuola primaria."),
        QStringLiteral("Licenza: GNU General Public License, versione 3 o successiva "
                       "(GPL-3.0 o successiva). Il gioco è software libero e si può usare, copiare e "
                       "modificare alle condizioni di questa licenza."),
        QStringLiteral("Cartella del record: %1").arg(cartellaRecord),
    };
    for (const QString& riga : righe) {
        auto* etichetta = new QLabel(riga, this);
        etichetta->setTextFormat(Qt::PlainText); // a directory name is shown as it is
        etichetta->setWordWrap(true);
        etichetta->setTextInteractionFlags(Qt::TextSelectableByMouse);
        etichetta->setAccessibleName(riga);
        colonna->addWidget(etichetta);
    }
    auto* pulsanti = new QDialogButtonBox(QDialogButtonBox::Close, this);
    pulsanti->button(QDialogButtonBox::Close)->setAccessibleName(QStringLiteral("Chiudi"));
    connect(pulsanti, &QDialogButtonBox::rejected, this, &QDialog::reject);
    colonna->addWidget(pulsanti);
    setMinimumWidth(460);
}

} // namespace ui
