#pragma once
// The review of the game's mistakes, in the window's free area: a panel of its own, light with
// dark letters, so that it reads the same on every backdrop, the black one included. Every
// mistake of the game is kept, newest first, one line each: "24: hai scritto XX — giusto
// XXIV", the right numeral in bold green; the list scrolls when they do not fit.

#include "core/ripasso.hpp"

#include <QFrame>
#include <QPointer>

#include <vector>

class QLabel;
class QListWidget;

namespace ui {

class PannelloRipasso : public QFrame {
    Q_OBJECT
public:
    explicit PannelloRipasso(QWidget* genitore);
    // None hides the panel.
    void mostra(const std::vector<core::Errore>& errori);
    // Fonts and margins for the layout's scale factor.
    void scala(double fattore);
    // The list itself, which takes the keyboard focus when asked for (not by Tab).
    QListWidget& elenco() const { return *elenco_; }
    // Gives the keyboard to the list, on its newest line, and returns true; false when there
    // is no mistake to review. Esc gives the keyboard back to where it was.
    bool leggi();

protected:
    bool eventFilter(QObject* oggetto, QEvent* evento) override;

private:
    QLabel* titolo_ = nullptr;
    QListWidget* elenco_ = nullptr;
    QPointer<QWidget> fuocoPrima_; // where Esc gives the keyboard back
};

} // namespace ui
