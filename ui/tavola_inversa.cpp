// The window in practice from numeral to number: the answer box holds a few digits, so it
// gives the number box the room of a Roman numeral of up to 15 letters; the caption above them
// asks for digits; the keypad shows digits.

#include "core/romano.hpp"
#include "ui/controlli.hpp"
#include "ui/tastierino.hpp"
#include "ui/tavola.hpp"

#include <algorithm>

namespace ui {
namespace {

// At normal size: the answer box keeps its right edge and its height, wide enough for four
// digits (3899 at most); the number box may grow up to kDistanza short of it, one pixel lower
// than designed, where it no longer touches "Numero da trasformare" above it.
constexpr QRect kRispostaInversa{505, 24, 176, 80};
constexpr int kDistanza = 12;
constexpr int kAltoNumero = 33;

bool inverso(core::Modo modo) {
    return modo == core::Modo::AllenamentoInverso;
}

// The designed font of the number box, made smaller only when the widest numeral of 1 to
// `massimo` would not fit in `larghezza` pixels.
QFont carattereCheEntra(QFont carattere, int massimo, int larghezza) {
    QStringList numeri;
    for (int n = 1; n <= massimo; ++n) {
        numeri << QString::fromStdString(core::numeroRomano(n));
    }
    for (;;) {
        const QFontMetrics metriche(carattere);
        int piuLargo = 0;
        for (const QString& numero : std::as_const(numeri)) {
            piuLargo = std::max(piuLargo, metriche.horizontalAdvance(numero));
        }
        if (piuLargo <= larghezza || carattere.pixelSize() <= 8) {
            return carattere;
        }
        carattere.setPixelSize(
            std::min(carattere.pixelSize() - 1, carattere.pixelSize() * larghezza / piuLargo));
    }
}

} // namespace

void Tavola::impostaNumeroMassimo(int massimo) {
    if (massimo != numeroMassimo_) {
        numeroMassimo_ = massimo;
        disponiNumeroInverso();
    }
}

void Tavola::adattaAlModo() {
    if (tastierino_) {
        tastierino_->impostaCifre(inverso(modo_));
    }
    const DescrizioneControllo& consegna = descrizioneDi("Label4");
    auto* etichetta = static_cast<Etichetta*>(controllo(QStringLiteral("Label4")));
    const QString testo = inverso(modo_) ? QStringLiteral("Scrivi il numero in cifre")
                                         : QString::fromUtf8(consegna.testo);
    etichetta->impostaTestoIniziale(testo);
    etichetta->setAccessibleName(inverso(modo_) ? testo
                                                : QString::fromUtf8(consegna.titoloAccessibile));
    risposta_->setAccessibleDescription(
        inverso(modo_) ? QStringLiteral("Scrivi in cifre il numero romano mostrato e premi Invio")
                       : QString::fromUtf8(descrizioneDi("txtAnswer").descrizione));
    ridisponi();
}

void Tavola::disponiNumeroInverso() {
    auto* numero = static_cast<Etichetta*>(widget(core::Controllo::lblNum1));
    QFont carattere = carattereDi(descrizioneDi("lblNum1").carattere, scala_.fattore);
    if (inverso(modo_)) {
        const QRect risposta = scala_.applica(kRispostaInversa);
        risposta_->setGeometry(risposta);
        numero->move(numero->x(), scala_.applica(QRect(0, kAltoNumero, 1, 1)).top());
        const std::pair misura{numeroMassimo_, scala_.fattore};
        if (misura == misuraNumero_) {
            return; // measuring thousands of numerals once per game and size is enough
        }
        misuraNumero_ = misura;
        const int larghezza =
            risposta.left() - scala_.lunghezza(kDistanza) - numero->x() - 2 * numero->frameWidth();
        carattere = carattereCheEntra(carattere, numeroMassimo_, larghezza);
    } else {
        misuraNumero_ = {};
    }
    if (numero->font() != carattere) {
        numero->setFont(carattere);
        numero->rifai();
    }
}

} // namespace ui
