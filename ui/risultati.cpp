#include "ui/risultati.hpp"

#include "ui/disposizione.hpp"
#include "ui/esportazione.hpp"

#include <QDateTimeAxis>
#include <QFile>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLegend>
#include <QLineEdit>
#include <QLineSeries>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>
#include <QSaveFile>
#include <QShortcut>
#include <QSortFilterProxyModel>
#include <QSplitter>
#include <QStandardItemModel>
#include <QStandardPaths>
#include <QTableView>
#include <QVBoxLayout>
#include <QValueAxis>
#include <QtCharts/QChartView>

namespace ui {
namespace {

constexpr Carattere kCarattere{"MS Sans Serif", 10};
constexpr Carattere kCarattereTitoli{"MS Sans Serif", 10, true};
constexpr int kErroriMostrati = 10;
constexpr int kRuoloIndice = Qt::UserRole + 1; // the game a row shows, in partite_
enum Colonna { Data, Nome, Massimo, Modo, Esatte, Errate, Fine, Colonne };

QString nomeLeggibile(const QString& nome) {
    return nome.isEmpty() ? QStringLiteral("(senza nome)") : nome;
}

} // namespace

QString percorsoStorico() {
    return QStandardPaths::writableLocation(QStandardPaths::AppDataLocation) +
           QStringLiteral("/partite.csv");
}

FinestraRisultati::FinestraRisultati(const QString& percorso, QWidget* genitore)
    : FinestraRisultati(core::Storico(QFile::encodeName(percorso).toStdString()).leggi(),
                        genitore) {}

FinestraRisultati::FinestraRisultati(std::vector<core::Partita> partite, QWidget* genitore)
    : QWidget(genitore, Qt::Window), partite_(std::move(partite)) {
    setObjectName(QStringLiteral("FinestraRisultati"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QStringLiteral("Risultati \u2013 Cifrolandia"));
    costruisci();
    riempiTabella();
    scala(1);
}

void FinestraRisultati::costruisci() {
    filtro_ = new QLineEdit(this);
    filtro_->setObjectName(QStringLiteral("txtFiltro"));
    filtro_->setPlaceholderText(QStringLiteral("Filtra per nome"));
    filtro_->setClearButtonEnabled(true);
    filtro_->setAccessibleName(QStringLiteral("Filtra per nome"));
    filtro_->setAccessibleDescription(
        QStringLiteral("Mostra solo le partite dei nomi che contengono il testo scritto"));
    auto* etichettaFiltro = new QLabel(QStringLiteral("&Filtra per nome:"), this);
    etichettaFiltro->setBuddy(filtro_);

    modello_ = new QStandardItemModel(0, Colonne, this);
    modello_->setHorizontalHeaderLabels(
        {"Data", "Nome", "Massimo", "Modo", "Esatte", "Errate", "Fine"});
    ordinati_ = new QSortFilterProxyModel(this);
    ordinati_->setSourceModel(modello_);
    ordinati_->setFilterKeyColumn(Nome);
    ordinati_->setFilterCaseSensitivity(Qt::CaseInsensitive);
    ordinati_->setSortRole(Qt::UserRole);
    tabella_ = new QTableView(this);
    tabella_->setObjectName(QStringLiteral("tblPartite"));
    tabella_->setModel(ordinati_);
    tabella_->setSelectionBehavior(QAbstractItemView::SelectRows);
    tabella_->setSelectionMode(QAbstractItemView::SingleSelection);
    tabella_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    tabella_->setSortingEnabled(true);
    tabella_->sortByColumn(Data, Qt::DescendingOrder);
    tabella_->setTabKeyNavigation(false); // Tab moves on to the next control
    tabella_->verticalHeader()->hide();
    tabella_->horizontalHeader()->setStretchLastSection(true);
    tabella_->setAccessibleName(QStringLiteral("Partite giocate"));
    tabella_->setAccessibleDescription(QStringLiteral(
        "Una riga per partita, dalla più recente. La riga scelta mostra a destra l'andamento "
        "e gli errori più frequenti di quel nome"));

    titoloGrafico_ = new QLabel(this);
    titoloGrafico_->setTextFormat(Qt::PlainText);
    grafico_ = new QChart();
    grafico_->legend()->setAlignment(Qt::AlignBottom);
    vistaGrafico_ = new QChartView(grafico_, this); // owns the chart
    vistaGrafico_->setObjectName(QStringLiteral("graficoRisposte"));
    vistaGrafico_->setRenderHint(QPainter::Antialiasing);
    vistaGrafico_->setFocusPolicy(Qt::NoFocus);
    vistaGrafico_->setMinimumSize(320, 220);

    titoloErrori_ = new QLabel(this);
    titoloErrori_->setTextFormat(Qt::PlainText);
    errori_ = new QListWidget(this);
    errori_->setObjectName(QStringLiteral("lstErrori"));
    titoloErrori_->setBuddy(errori_);

    esporta_ = new QPushButton(QStringLiteral("&Esporta\u2026"), this);
    esporta_->setObjectName(QStringLiteral("cmdEsporta"));
    esporta_->setAccessibleDescription(
        QStringLiteral("Salva le partite mostrate in un file per il foglio di calcolo"));
    chiudi_ = new QPushButton(QStringLiteral("&Chiudi"), this);
    chiudi_->setObjectName(QStringLiteral("cmdChiudi"));

    auto* destra = new QWidget(this);
    auto* colonna = new QVBoxLayout(destra);
    colonna->setContentsMargins(0, 0, 0, 0);
    colonna->addWidget(titoloGrafico_);
    colonna->addWidget(vistaGrafico_, 3);
    colonna->addWidget(titoloErrori_);
    colonna->addWidget(errori_, 2);
    auto* divisore = new QSplitter(this);
    divisore->addWidget(tabella_);
    divisore->addWidget(destra);
    divisore->setStretchFactor(0, 3);
    divisore->setStretchFactor(1, 2);

    auto* riga = new QHBoxLayout;
    riga->addWidget(etichettaFiltro);
    riga->addWidget(filtro_, 1);
    auto* pulsanti = new QHBoxLayout;
    pulsanti->addStretch(1);
    pulsanti->addWidget(esporta_);
    pulsanti->addWidget(chiudi_);
    auto* tutto = new QVBoxLayout(this);
    tutto->addLayout(riga);
    tutto->addWidget(divisore, 1);
    tutto->addLayout(pulsanti);

    setTabOrder(filtro_, tabella_);
    setTabOrder(tabella_, errori_);
    setTabOrder(errori_, esporta_);
    setTabOrder(esporta_, chiudi_);

    connect(filtro_, &QLineEdit::textChanged, this, [this](const QString& testo) {
        ordinati_->setFilterFixedString(testo);
        scegliRiga();
    });
    connect(tabella_->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this](const QModelIndex& attuale) {
                if (attuale.isValid()) {
                    mostraNome(ordinati_->index(attuale.row(), Nome).data().toString());
                }
            });
    connect(esporta_, &QPushButton::clicked, this, &FinestraRisultati::esporta);
    connect(chiudi_, &QPushButton::clicked, this, &QWidget::close);
    new QShortcut(QKeySequence::Cancel, this, this, &QWidget::close);
}

void FinestraRisultati::riempiTabella() {
    for (std::size_t i = 0; i < partite_.size(); ++i) {
        const core::Partita& p = partite_[i];
        const QDateTime inizio = inizioDi(p);
        QList<QStandardItem*> riga;
        const auto cella = [&riga](const QString& testo, const QVariant& ordine) {
            auto* item = new QStandardItem(testo);
            item->setData(ordine, Qt::UserRole);
            riga << item;
        };
        cella(inizio.toString(QStringLiteral("dd/MM/yyyy HH:mm")), inizio.toMSecsSinceEpoch());
        const QString nome = QString::fromStdString(p.nome);
        cella(nome, nome.toCaseFolded());
        cella(QString::fromStdString(p.massimo), QString::fromStdString(p.massimo).toLongLong());
        cella(testoModo(p.modo), testoModo(p.modo));
        cella(QString::number(p.esatte), p.esatte);
        cella(QString::number(p.errate), p.errate);
        cella(testoFine(p.fine), testoFine(p.fine));
        riga[Data]->setData(static_cast<qulonglong>(i), kRuoloIndice);
        riga[Data]->setData(inizio.toString(QStringLiteral("d MMMM yyyy, HH:mm")),
                            Qt::AccessibleTextRole);
        modello_->appendRow(riga);
    }
    tabella_->resizeColumnsToContents();
    scegliRiga();
}

// The current row stays when the filter keeps it; otherwise the newest game shown is chosen.
void FinestraRisultati::scegliRiga() {
    const QModelIndex attuale = tabella_->currentIndex();
    if (attuale.isValid()) {
        mostraNome(ordinati_->index(attuale.row(), Nome).data().toString());
        return;
    }
    if (ordinati_->rowCount() > 0) {
        tabella_->setCurrentIndex(ordinati_->index(0, Data));
        tabella_->selectRow(0);
    } else {
        mostraNome(QString());
    }
}

std::vector<core::Partita> FinestraRisultati::partiteMostrate() const {
    std::vector<core::Partita> mostrate;
    for (int r = 0; r < ordinati_->rowCount(); ++r) {
        mostrate.push_back(partite_[ordinati_->index(r, Data).data(kRuoloIndice).toULongLong()]);
    }
    return mostrate;
}

void FinestraRisultati::mostraNome(const QString& nome) {
    nome_ = nome;
    const std::string chiave = nome.toStdString();
    std::vector<const core::Partita*> sue;
    for (const core::Partita& p : partite_) {
        if (p.nome == chiave && inizioDi(p).isValid()) {
            sue.push_back(&p);
        }
    }
    std::stable_sort(sue.begin(), sue.end(),
                     [](const auto* a, const auto* b) { return inizioDi(*a) < inizioDi(*b); });
    const bool scelto = ordinati_->rowCount() > 0;
    titoloGrafico_->setText(
        scelto ? QStringLiteral("Risposte di %1, partita per partita").arg(nomeLeggibile(nome))
               : QStringLiteral("Nessuna partita da mostrare"));
    disegnaGrafico(scelto ? sue : std::vector<const core::Partita*>{});

    errori_->clear();
    const auto frequenti = core::erroriFrequenti(partite_, chiave, kErroriMostrati);
    for (const core::ErroreFrequente& e : frequenti) {
        errori_->addItem(QStringLiteral("%1 \u2192 %2: %3")
                             .arg(QString::fromStdString(e.domanda),
                                  QString::fromStdString(e.giusto),
                                  e.volte == 1 ? QStringLiteral("1 volta")
                                               : QStringLiteral("%1 volte").arg(e.volte)));
        errori_->item(errori_->count() - 1)
            ->setData(Qt::AccessibleTextRole,
                      QStringLiteral("%1, giusto: %2, %3 volte")
                          .arg(QString::fromStdString(e.domanda), QString::fromStdString(e.giusto))
                          .arg(e.volte));
    }
    if (scelto && frequenti.empty()) {
        errori_->addItem(QStringLiteral("Nessun errore"));
    }
    titoloErrori_->setText(
        scelto ? QStringLiteral("Errori più frequenti di %1:").arg(nomeLeggibile(nome))
               : QString());
    errori_->setAccessibleName(titoloErrori_->text());
}

void FinestraRisultati::disegnaGrafico(const std::vector<const core::Partita*>& partite) {
    grafico_->removeAllSeries();
    for (QAbstractAxis* asse : grafico_->axes()) {
        grafico_->removeAxis(asse);
        delete asse;
    }
    auto* esatte = new QLineSeries;
    esatte->setName(QStringLiteral("Esatte"));
    // Blue and orange, one line dashed: told apart without colour vision too.
    esatte->setPen(QPen(QColor(0, 90, 181), 2));
    auto* errate = new QLineSeries;
    errate->setName(QStringLiteral("Errate"));
    errate->setPen(QPen(QColor(220, 110, 0), 2, Qt::DashLine));
    int massimo = 1;
    for (const core::Partita* p : partite) {
        const auto x = static_cast<qreal>(inizioDi(*p).toMSecsSinceEpoch());
        esatte->append(x, p->esatte);
        errate->append(x, p->errate);
        massimo = std::max({massimo, p->esatte, p->errate});
    }
    for (QLineSeries* serie : {esatte, errate}) {
        serie->setPointsVisible(true);
        serie->setMarkerSize(6);
        grafico_->addSeries(serie);
    }
    auto* tempo = new QDateTimeAxis;
    tempo->setFormat(QStringLiteral("dd/MM/yy"));
    tempo->setTitleText(QStringLiteral("Data"));
    QDateTime da = partite.empty() ? QDateTime::currentDateTime() : inizioDi(*partite.front());
    QDateTime a = partite.empty() ? da : inizioDi(*partite.back());
    // A margin either side, so that the first and last points show whole; a day for one game
    // or several in an hour.
    const qint64 margine = std::max<qint64>(da.secsTo(a) / 25, da.secsTo(a) < 3600 ? 86400 : 0);
    da = da.addSecs(-margine);
    a = a.addSecs(margine);
    tempo->setRange(da, a);
    tempo->setTickCount(3); // dates that fit beneath a narrow chart
    // Whole steps, at most five of them: a label never repeats a number.
    auto* conteggio = new QValueAxis;
    const int passo = std::max(1, (massimo + 5) / 5);
    conteggio->setRange(0, (massimo / passo + 1) * passo);
    conteggio->setTickType(QValueAxis::TicksDynamic);
    conteggio->setTickAnchor(0);
    conteggio->setTickInterval(passo);
    conteggio->setLabelFormat(QStringLiteral("%d"));
    conteggio->setTitleText(QStringLiteral("Risposte"));
    grafico_->addAxis(tempo, Qt::AlignBottom);
    grafico_->addAxis(conteggio, Qt::AlignLeft);
    for (QLineSeries* serie : {esatte, errate}) {
        serie->attachAxis(tempo);
        serie->attachAxis(conteggio);
    }
    QString descrizione = QStringLiteral("Nessuna partita");
    if (!partite.empty()) {
        const core::Partita& ultima = *partite.back();
        descrizione = QStringLiteral("%1 partite. Ultima, del %2: %3 esatte, %4 errate")
                          .arg(partite.size())
                          .arg(inizioDi(ultima).toString(QStringLiteral("dd/MM/yyyy")))
                          .arg(ultima.esatte)
                          .arg(ultima.errate);
    }
    vistaGrafico_->setVisible(!partite.empty()); // no empty axes: the title says why
    vistaGrafico_->setAccessibleName(QStringLiteral("Grafico delle risposte esatte ed errate"));
    vistaGrafico_->setAccessibleDescription(descrizione);
    scala(property("fattore").isValid() ? property("fattore").toDouble() : 1);
}

void FinestraRisultati::scala(double fattore) {
    setProperty("fattore", fattore);
    const QFont normale = carattereDi(kCarattere, fattore);
    setFont(normale);
    titoloGrafico_->setFont(carattereDi(kCarattereTitoli, fattore));
    titoloErrori_->setFont(carattereDi(kCarattereTitoli, fattore));
    grafico_->legend()->setFont(normale);
    for (QAbstractAxis* asse : grafico_->axes()) {
        asse->setLabelsFont(normale);
        asse->setTitleFont(normale);
    }
    setMinimumSize(static_cast<int>(640 * fattore), static_cast<int>(400 * fattore));
    tabella_->resizeColumnsToContents();
}

bool FinestraRisultati::esportaIn(const QString& file) const {
    QSaveFile uscita(file);
    return uscita.open(QIODevice::WriteOnly) &&
           uscita.write(esportaPerFoglio(partiteMostrate())) >= 0 && uscita.commit();
}

void FinestraRisultati::esporta() {
    const QString cartella = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    const QString file = QFileDialog::getSaveFileName(this, QStringLiteral("Esporta i risultati"),
                                                      cartella + "/risultati-cifrolandia.csv",
                                                      QStringLiteral("Tabella CSV (*.csv)"));
    if (!file.isEmpty() && !esportaIn(file)) {
        QMessageBox::warning(this, QStringLiteral("Esporta i risultati"),
                             QStringLiteral("Non è stato possibile scrivere il file."));
    }
}

} // namespace ui
