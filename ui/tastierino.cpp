#include "ui/tastierino.hpp"

#include <QApplication>
#include <QHBoxLayout>
#include <QInputDevice>
#include <QKeyEvent>
#include <QPushButton>

#include <algorithm>
#include <cmath>
#include <utility>

namespace ui {
namespace {

enum class Gruppo { Lettere, Cifre, Sempre };

struct Tasto {
    Qt::Key tasto;
    const char* testo;      // the text of the key event, as the keyboard sends it
    const char* didascalia; // what the key shows
    const char* nome;       // what a screen reader reads
    const char* descrizione;
    Gruppo gruppo;
    int larghezza = 1; // in keys
};

// A letter is sent as a capital, the text a keyboard sends for it with Caps Lock on: the
// answer box shows what the key shows, and the game's key handler still sees every key.
// clang-format off
constexpr Tasto kTasti[] = {
    {Qt::Key_I, "I", "I", "I", "Scrive I", Gruppo::Lettere},
    {Qt::Key_V, "V", "V", "V", "Scrive V", Gruppo::Lettere},
    {Qt::Key_X, "X", "X", "X", "Scrive X", Gruppo::Lettere},
    {Qt::Key_L, "L", "L", "L", "Scrive L", Gruppo::Lettere},
    {Qt::Key_C, "C", "C", "C", "Scrive C", Gruppo::Lettere},
    {Qt::Key_D, "D", "D", "D", "Scrive D", Gruppo::Lettere},
    {Qt::Key_M, "M", "M", "M", "Scrive M", Gruppo::Lettere},
    {Qt::Key_1, "1", "1", "1", "Scrive 1", Gruppo::Cifre},
    {Qt::Key_2, "2", "2", "2", "Scrive 2", Gruppo::Cifre},
    {Qt::Key_3, "3", "3", "3", "Scrive 3", Gruppo::Cifre},
    {Qt::Key_4, "4", "4", "4", "Scrive 4", Gruppo::Cifre},
    {Qt::Key_5, "5", "5", "5", "Scrive 5", Gruppo::Cifre},
    {Qt::Key_6, "6", "6", "6", "Scrive 6", Gruppo::Cifre},
    {Qt::Key_7, "7", "7", "7", "Scrive 7", Gruppo::Cifre},
    {Qt::Key_8, "8", "8", "8", "Scrive 8", Gruppo::Cifre},
    {Qt::Key_9, "9", "9", "9", "Scrive 9", Gruppo::Cifre},
    {Qt::Key_0, "0", "0", "0", "Scrive 0", Gruppo::Cifre},
    {Qt::Key_Backspace, "\b", "\u232B", "Cancella", "Cancella l'ultimo carattere scritto",
     Gruppo::Sempre},
    {Qt::Key_Return, "\r", "Invio", "Invio", "Conferma la risposta, come il tasto Invio",
     Gruppo::Sempre, 2},
};
// clang-format on

// At normal size, in logical pixels: keys of 48, a finger's width, with captions of 32 pixels
// (about 55 at 1920×1080); bold black captions on white keys, Invio on yellow, both above 15:1.
constexpr int kLato = 48;
constexpr int kSpazio = 6;
constexpr int kMargine = 8;
constexpr Carattere kCarattere{"Arial", 24, true};
constexpr Carattere kCarattereInvio{"Arial", 16, true}; // a word, on a key two keys wide

int misura(int pixel, double fattore) {
    return static_cast<int>(std::lround(pixel * fattore));
}

} // namespace

Tastierino::Tastierino(QWidget* genitore) : QWidget(genitore) {
    setObjectName(QStringLiteral("Tastierino"));
    setAccessibleName(QStringLiteral("Tastiera sullo schermo"));
    setAccessibleDescription(QStringLiteral("Tasti grandi che scrivono nella risposta"));
    setFocusPolicy(Qt::NoFocus);
    setAttribute(Qt::WA_ShowWithoutActivating);
    auto* riga = new QHBoxLayout(this);
    riga->addStretch(1);
    for (const Tasto& t : kTasti) {
        auto* tasto = new QPushButton(QString::fromUtf8(t.didascalia), this);
        tasto->setObjectName(QStringLiteral("Tasto") + QString::fromUtf8(t.nome));
        tasto->setAccessibleName(QString::fromUtf8(t.nome));
        tasto->setAccessibleDescription(QString::fromUtf8(t.descrizione));
        tasto->setFocusPolicy(Qt::NoFocus);
        tasto->setAutoDefault(false);
        tasto->setProperty("gruppo", static_cast<int>(t.gruppo));
        tasto->setProperty("larghezza", t.larghezza);
        connect(tasto, &QPushButton::clicked, this,
                [this, k = t.tasto, testo = QString::fromUtf8(t.testo)] { premi(k, testo); });
        riga->addWidget(tasto);
        tasti_.append(tasto);
    }
    riga->addStretch(1);
    impostaCifre(false);
    scala(1);
}

void Tastierino::impostaDestinatario(QWidget* destinatario) {
    destinatario_ = destinatario;
}

void Tastierino::impostaCifre(bool cifre) {
    cifre_ = cifre;
    const Gruppo nascosto = cifre ? Gruppo::Lettere : Gruppo::Cifre;
    for (QAbstractButton* tasto : std::as_const(tasti_)) {
        tasto->setHidden(tasto->property("gruppo").toInt() == static_cast<int>(nascosto));
    }
    layout()->activate(); // the keys in their places now, not at the next turn of the loop
}

void Tastierino::scala(double fattore) {
    if (fattore == fattore_) {
        return; // the style sheet is parsed again at every change: once per factor
    }
    fattore_ = fattore;
    const int lato = misura(kLato, fattore);
    const int spazio = misura(kSpazio, fattore);
    for (QAbstractButton* tasto : std::as_const(tasti_)) {
        const int n = tasto->property("larghezza").toInt();
        tasto->setFixedSize(n * lato + (n - 1) * spazio, lato);
        tasto->setFont(carattereDi(n > 1 ? kCarattereInvio : kCarattere, fattore));
    }
    const int m = misura(kMargine, fattore);
    layout()->setContentsMargins(m, m, m, m);
    layout()->setSpacing(spazio);
    // The style's own button face is pale grey with a thin border: flat white or yellow with a
    // black border reads better from the back of a classroom.
    setStyleSheet(QStringLiteral("QPushButton { background: white; color: black;"
                                 " border: %1px solid black; border-radius: %2px; }"
                                 "QPushButton:pressed { background: #ffd700; }"
                                 "QPushButton#TastoInvio { background: #ffff00; }"
                                 "QPushButton#TastoInvio:pressed { background: #ffa500; }")
                      .arg(std::max(1, misura(2, fattore)))
                      .arg(misura(6, fattore)));
    layout()->activate(); // the keys in their new sizes now, before the next paint
}

void Tastierino::premi(Qt::Key tasto, const QString& testo) {
    QPointer<QWidget> destinatario =
        destinatario_ ? destinatario_.data() : QApplication::focusWidget();
    if (!destinatario) {
        destinatario = window()->focusWidget(); // a touch that did not activate the window
    }
    if (!destinatario) {
        return;
    }
    // Sent through the application, whose event filters see it as they see a typed key; the
    // press may end the game and delete the box before its release.
    QKeyEvent premuto(QEvent::KeyPress, tasto, Qt::NoModifier, testo);
    QCoreApplication::sendEvent(destinatario, &premuto);
    if (destinatario) {
        QKeyEvent rilasciato(QEvent::KeyRelease, tasto, Qt::NoModifier, testo);
        QCoreApplication::sendEvent(destinatario, &rilasciato);
    }
}

bool schermoTattile() {
    const auto dispositivi = QInputDevice::devices();
    return std::any_of(dispositivi.begin(), dispositivi.end(), [](const QInputDevice* d) {
        return d->type() == QInputDevice::DeviceType::TouchScreen;
    });
}

} // namespace ui
