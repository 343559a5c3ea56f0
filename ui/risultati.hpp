#pragma once
// The "Risultati" window: the games of this account, newest first, filtered by name; for the
// name chosen in the table, its right and wrong answers game after game and the numerals it
// missed most often; and the games shown, exported for a spreadsheet.
//
// Built only when opened, and deleted when closed: (new FinestraRisultati(percorso))->show().

#include "core/storico.hpp"

#include <QWidget>

#include <vector>

class QChart;
class QChartView;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QSortFilterProxyModel;
class QStandardItemModel;
class QTableView;

namespace ui {

// The history file of this account: partite.csv in the application's data directory
// (~/.local/share/Cifrolandia/ unless XDG_DATA_HOME says otherwise).
QString percorsoStorico();

class FinestraRisultati : public QWidget {
    Q_OBJECT
public:
    // The games of the history file at `percorso`.
    explicit FinestraRisultati(const QString& percorso, QWidget* genitore = nullptr);
    explicit FinestraRisultati(std::vector<core::Partita> partite, QWidget* genitore = nullptr);

    // Fonts and sizes for the game window's scale factor.
    void scala(double fattore);

    // The name the chart and the list of mistakes are about.
    const QString& nomeScelto() const { return nome_; }
    // The games the table shows (under the filter), newest first.
    std::vector<core::Partita> partiteMostrate() const;
    // Writes the games shown to `file` as esportaPerFoglio makes them. False on failure.
    bool esportaIn(const QString& file) const;

private:
    void costruisci();
    void riempiTabella();
    void scegliRiga();
    void mostraNome(const QString& nome);
    void disegnaGrafico(const std::vector<const core::Partita*>& partite);
    void esporta();

    std::vector<core::Partita> partite_;
    QString nome_;
    QLineEdit* filtro_ = nullptr;
    QStandardItemModel* modello_ = nullptr;
    QSortFilterProxyModel* ordinati_ = nullptr;
    QTableView* tabella_ = nullptr;
    QLabel* titoloGrafico_ = nullptr;
    QChart* grafico_ = nullptr;
    QChartView* vistaGrafico_ = nullptr;
    QLabel* titoloErrori_ = nullptr;
    QListWidget* errori_ = nullptr;
    QPushButton* esporta_ = nullptr;
    QPushButton* chiudi_ = nullptr;
};

} // namespace ui
