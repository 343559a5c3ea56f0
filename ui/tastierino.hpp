#pragma once
// An on-screen keypad for touch screens and interactive whiteboards: a row of large keys that
// type into the answer box exactly as the keyboard does, without ever taking the focus.

#include "ui/disposizione.hpp"

#include <QList>
#include <QPointer>
#include <QWidget>

class QAbstractButton;

namespace ui {

// Where the keypad goes, in the layout's pixels at normal size. The window has no free place
// for a row of 48-pixel keys: right of the verdict, under the answer box, there are 200×112
// pixels (six keys), and the review's place is the review's. So the keypad has a strip of its
// own beneath the designed window, as wide as it: while the keypad is shown, the layout is that
// much taller (scalaPer(area, kLayoutConTastierino)) and the window grows by the strip; hidden,
// nothing changes.
inline constexpr QRect kRettangoloTastierino{0, kAltezzaNormale, kLarghezzaNormale, 64};
inline constexpr QSize kLayoutConTastierino{kLarghezzaNormale,
                                            kAltezzaNormale + kRettangoloTastierino.height()};

class Tastierino : public QWidget {
    Q_OBJECT
public:
    explicit Tastierino(QWidget* genitore = nullptr);
    // Where the keys go; none: to the widget with the keyboard focus (the window's, when another
    // application has the keyboard), as the keyboard's keys.
    void impostaDestinatario(QWidget* destinatario);
    // Digits 0 to 9 (the numeral-to-number practice) instead of the letters I V X L C D M.
    void impostaCifre(bool cifre);
    bool cifre() const { return cifre_; }
    // Keys, captions, gaps and borders for the layout's scale factor.
    void scala(double fattore);
    // Every key, those of the other mode (hidden) included.
    QList<QAbstractButton*> tasti() const { return tasti_; }

private:
    void premi(Qt::Key tasto, const QString& testo);
    QPointer<QWidget> destinatario_;
    QList<QAbstractButton*> tasti_;
    bool cifre_ = false;
    double fattore_ = 0;
};

// Whether Qt knows of a touch screen on this computer (an interactive whiteboard is one).
bool schermoTattile();

} // namespace ui
