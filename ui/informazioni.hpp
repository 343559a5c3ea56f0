#pragma once
// "Informazioni su Cifrolandia": the version, the licence and the record directory in use.

#include <QDialog>

namespace ui {

class FinestraInformazioni : public QDialog {
    Q_OBJECT
public:
    FinestraInformazioni(QWidget* genitore, const QString& cartellaRecord);
};

} // namespace ui
