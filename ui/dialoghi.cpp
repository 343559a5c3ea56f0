#include "ui/dialoghi.hpp"

#include "core/gioco.hpp"

#include <QElapsedTimer>
#include <QEventLoop>
#include <QInputDialog>
#include <QMessageBox>
#include <QProgressDialog>
#include <QPushButton>
#include <QTimer>

namespace ui {
namespace {

QString daUtf8(std::string_view s) {
    return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size()));
}

const QString& titoloDelGioco() {
    static const QString titolo = QString::fromUtf8(core::testi::kTitolo);
    return titolo;
}

// "Riprova" (the default, and Esc: Esc never gives a score up) and "Rinuncia".
QPushButton* riprovaORinuncia(QMessageBox& box) {
    QPushButton* riprova = box.addButton(QStringLiteral("Riprova"), QMessageBox::AcceptRole);
    box.addButton(QStringLiteral("Rinuncia"), QMessageBox::RejectRole);
    box.setDefaultButton(riprova);
    box.setEscapeButton(riprova);
    return riprova;
}

} // namespace

std::string chiediTesto(QWidget* genitore, std::string_view domanda) {
    QInputDialog dialogo(genitore);
    dialogo.setWindowTitle(titoloDelGioco());
    dialogo.setLabelText(daUtf8(domanda));
    dialogo.setTextValue(QString());
    if (dialogo.exec() != QDialog::Accepted) {
        return {};
    }
    return dialogo.textValue().toStdString();
}

core::Risposta avvisa(QWidget* genitore, std::string_view testo, core::Pulsanti pulsanti,
                      std::string_view titolo, std::string_view dettaglio) {
    QMessageBox box(genitore);
    box.setWindowTitle(titolo.empty() ? titoloDelGioco() : daUtf8(titolo));
    box.setTextFormat(
        Qt::PlainText); // a player's name or a path is shown as it is, never as markup
    box.setText(daUtf8(testo));
    if (!dettaglio.empty()) {
        // The informative text has no format of its own: escaped, it can only be plain.
        box.setInformativeText(daUtf8(dettaglio).toHtmlEscaped());
    }
    QPushButton* riprova = nullptr;
    switch (pulsanti) {
    case core::Pulsanti::SiNo:
        box.setIcon(QMessageBox::Question);
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
        box.setDefaultButton(QMessageBox::No);
        box.setEscapeButton(QMessageBox::No);
        break;
    case core::Pulsanti::RiprovaRinuncia:
        box.setIcon(QMessageBox::Warning);
        riprova = riprovaORinuncia(box);
        break;
    case core::Pulsanti::Ok:
    case core::Pulsanti::ErroreCritico:
        box.setIcon(pulsanti == core::Pulsanti::ErroreCritico ? QMessageBox::Critical
                                                              : QMessageBox::NoIcon);
        box.setStandardButtons(QMessageBox::Ok);
        break;
    }
    box.exec();
    if (riprova != nullptr) {
        return box.clickedButton() == riprova ? core::Risposta::Riprova : core::Risposta::Rinuncia;
    }
    switch (box.standardButton(box.clickedButton())) {
    case QMessageBox::Yes:
        return core::Risposta::Si;
    case QMessageBox::No:
        return core::Risposta::No;
    default:
        return core::Risposta::Ok;
    }
}

bool attendi(QWidget* genitore, const std::function<bool()>& prova, std::string_view inAttesa,
             std::string_view bloccata) {
    if (prova()) {
        return true;
    }
    // A local event loop: the window repaints and keeps its keys while `prova` is retried.
    constexpr int kIntervalloMs = 50;
    constexpr int kPazienzaMs = 3000; // before the player is asked
    QProgressDialog avviso(daUtf8(inAttesa), QString(), 0, 0, genitore);
    avviso.setWindowTitle(titoloDelGioco());
    avviso.setMinimumDuration(0);
    QMessageBox domanda(QMessageBox::Warning, titoloDelGioco(), daUtf8(bloccata),
                        QMessageBox::NoButton, genitore);
    domanda.setTextFormat(Qt::PlainText);
    QPushButton* riprova = riprovaORinuncia(domanda);
    QEventLoop ciclo;
    QElapsedTimer attesa;
    QTimer sonda;
    bool fatto = false;
    QObject::connect(&sonda, &QTimer::timeout, &ciclo, [&] {
        if (prova()) {
            fatto = true;
            ciclo.quit();
        } else if (!domanda.isVisible() && attesa.elapsed() >= kPazienzaMs) {
            avviso.hide();
            domanda.open();
        }
    });
    QObject::connect(&domanda, &QMessageBox::finished, &ciclo, [&] {
        if (domanda.clickedButton() != riprova) {
            ciclo.quit();
            return;
        }
        attesa.restart();
        avviso.show();
    });
    // Esc on the notice only hides it; the wait goes on, so it comes back.
    QObject::connect(&avviso, &QProgressDialog::canceled, &avviso, &QProgressDialog::show);
    attesa.start();
    avviso.show();
    sonda.start(kIntervalloMs);
    ciclo.exec();
    return fatto;
}

} // namespace ui
