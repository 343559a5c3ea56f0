#include "reference_window.hpp"

#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QRandomGenerator>

#include <array>

namespace bench {
namespace {

QColor coloreCasuale() {
    auto* g = QRandomGenerator::global();
    return QColor(g->bounded(256), g->bounded(256), g->bounded(256));
}

} // namespace

FinestraNuda::FinestraNuda(QWidget* genitore) : QMainWindow(genitore) {
    setWindowTitle(QStringLiteral("Riferimento"));
    centrale_ = new QWidget(this);
    centrale_->setAutoFillBackground(true);
    setCentralWidget(centrale_);

    // 18 labels, three of which the window writes: the number, the verdict and the clock.
    const std::array<const char*, 18> testi = {"Numero da trasformare",
                                               "Scrivi il numero romano corrispondente",
                                               "Tempo restante",
                                               "00:15:00",
                                               "Risposte esatte",
                                               "Risposte errate",
                                               "Risposte totali",
                                               "0",
                                               "0",
                                               "0",
                                               "Sfidante",
                                               "nome",
                                               "Il record è di",
                                               "nome",
                                               "con punti",
                                               "0",
                                               "",
                                               ""};
    for (std::size_t i = 0; i < testi.size(); ++i) {
        auto* etichetta = new QLabel(QString::fromUtf8(testi[i]), centrale_);
        etichetta->setGeometry(8 + static_cast<int>(i % 3) * 240, 8 + static_cast<int>(i / 3) * 90,
                               230, 30);
        if (i == 3) {
            conto_ = etichetta;
        } else if (i == 16) {
            numero_ = etichetta;
        } else if (i == 17) {
            messaggio_ = etichetta;
        }
    }
    auto* figura = new QLabel(centrale_); // where the game shows its stopwatch
    figura->setGeometry(700, 8, 32, 32);
    auto* nascosta = new QLineEdit(centrale_);
    nascosta->setVisible(false);
    risposta_ = new QLineEdit(centrale_);
    risposta_->setGeometry(240, 500, 200, 30);
    risposta_->setMaxLength(15);
    avanti_ = new QPushButton(QStringLiteral("&Nuovo calcolo"), centrale_);
    avanti_->setGeometry(460, 500, 120, 30);
    avanti_->setAutoDefault(true); // Enter on the focused button presses it
    auto* esci = new QPushButton(QStringLiteral("E&xit"), centrale_);
    esci->setGeometry(600, 500, 120, 30);
    connect(esci, &QPushButton::clicked, this, &QWidget::close);

    QMenuBar* barra = menuBar();
    QMenu* info = barra->addMenu(QStringLiteral("Informazioni"));
    info->addAction(QStringLiteral("Primo"));
    info->addAction(QStringLiteral("Secondo"));
    info->addAction(QStringLiteral("Terzo"));
    barra->addMenu(QStringLiteral("Autori"))->addAction(QStringLiteral("Indirizzo"));
    barra->addMenu(QStringLiteral("Licenza"))->addAction(QStringLiteral("Libera"));
    barra->addAction(QStringLiteral("Nuovo gioco"));

    orologio_.setTimerType(Qt::PreciseTimer);
    orologio_.setInterval(500);
    connect(&orologio_, &QTimer::timeout, this, &FinestraNuda::scatto);
    connect(risposta_, &QLineEdit::returnPressed, this, &FinestraNuda::verdetto);
    connect(avanti_, &QPushButton::clicked, this, &FinestraNuda::nuovaDomanda);

    resize(kLarghezza, kAltezza + menuBar()->sizeHint().height());
}

void FinestraNuda::nuovaDomanda() {
    risposta_->clear();
    messaggio_->clear();
    numero_->setNum(static_cast<int>(QRandomGenerator::global()->bounded(1, 3888)));
    QPalette p = centrale_->palette();
    p.setColor(QPalette::Window, coloreCasuale());
    centrale_->setPalette(p);
    avanti_->setEnabled(false);
    risposta_->setFocus(Qt::OtherFocusReason);
}

void FinestraNuda::verdetto() {
    if (risposta_->text().toUpper() == QStringLiteral("I")) {
        messaggio_->setText(QStringLiteral("Esatto"));
    } else {
        messaggio_->setText(QStringLiteral("Sbagliato!! I"));
        QPalette p = centrale_->palette();
        p.setColor(QPalette::Window, Qt::black);
        centrale_->setPalette(p);
    }
    avanti_->setEnabled(true);
    avanti_->setFocus(Qt::OtherFocusReason);
}

void FinestraNuda::scatto() {
    secondiRestanti_ = std::max(0, secondiRestanti_ - 1);
    conto_->setText(QStringLiteral("00:%1:%2")
                        .arg(secondiRestanti_ / 60, 2, 10, QLatin1Char('0'))
                        .arg(secondiRestanti_ % 60, 2, 10, QLatin1Char('0')));
}

void FinestraNuda::avviaOrologio() {
    orologio_.start();
}

} // namespace bench
