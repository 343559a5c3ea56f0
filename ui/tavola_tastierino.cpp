// The on-screen keypad in the game window: a strip of its own beneath the designed layout, so
// that it never covers a control; the window grows by the strip while it is shown.

#include "ui/controlli.hpp"
#include "ui/tastierino.hpp"
#include "ui/tavola.hpp"

#include <QAction>

namespace ui {

void Tavola::creaTastierino() {
    // An interactive whiteboard or a touch screen has no keyboard at hand.
    mostraTastierino(schermoTattile());
}

void Tavola::mostraTastierino(bool mostrato) {
    if (mostrato == tastierinoMostrato_) {
        return;
    }
    tastierinoMostrato_ = mostrato;
    tastiera_->setChecked(mostrato); // the menu's check follows --tastiera and the touch screen
    if (!isMaximized() && !isFullScreen()) {
        const int striscia = kRettangoloTastierino.height();
        resize(width(), height() + (mostrato ? striscia : -striscia));
    }
    if (isVisible()) {
        preparaTastierino();
    }
    ridisponi();
}

// The keys are made when the window first shows them: their widgets and style sheet would
// delay the first start-up dialog, and cost nothing at all on a computer with a keyboard.
void Tavola::preparaTastierino() {
    if (!tastierino_ && tastierinoMostrato_) {
        // No destination: the keys go where the keyboard's go, to the control with the focus,
        // so that Enter on "Nuovo calcolo" brings the next question as the keyboard's does.
        tastierino_ = new Tastierino(superficie_);
        tastierino_->impostaCifre(modo_ == core::Modo::AllenamentoInverso);
        disponiTastierino();
    }
    if (tastierino_) {
        tastierino_->setVisible(tastierinoMostrato_);
    }
}

QSize Tavola::layoutNormale() const {
    return tastierinoMostrato_ ? kLayoutConTastierino : QSize(kLarghezzaNormale, kAltezzaNormale);
}

void Tavola::disponiTastierino() {
    if (!tastierino_ || !tastierinoMostrato_) {
        return;
    }
    tastierino_->setGeometry(scala_.applica(kRettangoloTastierino));
    tastierino_->scala(scala_.fattore);
}

} // namespace ui
