#pragma once
// The labels of the game window.

#include "core/contrasto.hpp"

#include <QLabel>
#include <QPixmap>

class QAccessibleInterface;

namespace ui {

// A label that can size itself to its text, keeping its top-left corner. Its text is always
// plain text: a name typed by a player is shown as typed, never read as markup.
// A label without a background of its own stands on the window's backdrop, which can be any
// colour: its letters keep their colour and get an outline chosen for the backdrop beneath
// (core::contornoPer), so that they stay readable on every backdrop.
class Etichetta : public QLabel {
    Q_OBJECT
public:
    explicit Etichetta(QWidget* genitore);
    void setAutoSize(bool autoSize) { autoSize_ = autoSize; }
    // The place and size the label is created with, and its text then (never cut or resized).
    void impostaRettangolo(const QRect& rettangolo);
    void impostaTestoIniziale(const QString& testo);
    // Line ends of a record file (CR LF) are shown as line breaks.
    void impostaTesto(const QString& testo);
    // Lays out the text the game set again, after a change of font or width limit.
    void rifai() {
        if (!testoIntero_.isNull()) {
            mostraTesto();
        }
    }
    // The whole text the game set, before any cut; the text shown when it set none.
    QString testoIntero() const { return testoIntero_.isNull() ? text() : testoIntero_; }
    // Each line of the text is shown cut with "…" to this width (in logical pixels); negative:
    // never cut. Applies to the text set by impostaTesto, now and later.
    void limitaLarghezza(int massima);
    // The outline for the backdrop beneath the label now, and its width in logical pixels.
    core::Contorno contorno() const;
    qreal spessoreContorno() const;
    // The value changes all the time (the clock): assistive technology reads it when it asks,
    // and is told of it only when the window says so.
    void setValoreVivo(bool vivo) { valoreVivo_ = vivo; }
    bool valoreVivo() const { return valoreVivo_; }

protected:
    void paintEvent(QPaintEvent* evento) override;

private:
    void mostraTesto();
    // The text in its colour, with an outline of the colour `contorno` when that is valid.
    QPixmap disegnaTesto(const QColor& interno, const QColor& esterno, int allineamento);
    bool autoSize_ = false;
    bool valoreVivo_ = false;
    int altezzaIniziale_ = 0;
    int larghezzaMassima_ = -1;
    QString testoIntero_;
    // The text as last drawn, where it goes, and what it was drawn for; and the one before.
    QPixmap testoDisegnato_, testoPrecedente_;
    QPointF posizioneTesto_, posizionePrecedente_;
    QString chiaveTesto_, chiavePrecedente_;
};

// The accessible side of a label with a live value (see Etichetta::setValoreVivo): its name is
// its title followed by the value shown now. For QAccessible::installFactory.
QAccessibleInterface* accessibileVivo(const QString& classe, QObject* oggetto);

} // namespace ui
