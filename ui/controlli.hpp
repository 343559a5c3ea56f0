#pragma once
// The kinds of control the game window is made of.

#include "core/contrasto.hpp"
#include "core/finestra.hpp"

#include <QIcon>
#include <QLabel>
#include <QLineEdit>
#include <QPixmap>
#include <QToolButton>
#include <QWidget>

#include <functional>

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

// Keys pressed with Alt, Ctrl or Meta never type into a text field: Qt's line edits take
// Alt+letter (and Ctrl+Alt+letter, as AltGr) as text. Shortcuts and access keys still work,
// and so do the editing keys (Ctrl+V, Ctrl+A...). Installed on the application.
class FiltroTasti : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* oggetto, QEvent* evento) override;
};

// The answer box. Every character key goes through the game's key handler first, as a
// Windows-1252 code; Enter goes to the default button while it is enabled. Its border is flat,
// thicker and in the highlight colour while it has the focus: the style's rounded frame is a
// path that Qt rasterises on its thread pool, on a box this tall, at every blink of the cursor.
class CasellaRisposta : public QLineEdit {
    Q_OBJECT
public:
    explicit CasellaRisposta(QWidget* genitore);
    std::function<void(int&)> allaPressione;  // the game's key handler
    std::function<bool()> invioAlPredefinito; // presses the default button if it can

protected:
    void keyPressEvent(QKeyEvent* evento) override;
    void paintEvent(QPaintEvent* evento) override;
};

// A button that shows its picture above its caption on its own background colour, and has a
// picture for each of its states. The face is painted flat in that colour (the style would
// shade it), with a bevel that sinks while pressed and a dotted focus mark.
class PulsanteFigura : public QToolButton {
    Q_OBJECT
public:
    explicit PulsanteFigura(QWidget* genitore);
    void impostaFigure(const QIcon& normale, const QIcon& premuto);

protected:
    void keyPressEvent(QKeyEvent* evento) override;
    void paintEvent(QPaintEvent* evento) override;

private:
    QIcon normale_;
    QIcon premuto_;
};

// A picture that stays sharp on any screen: shown from the image drawn for the screen's pixel
// ratio (the 64 px one for a picture of 32 logical pixels at ratio 2), taken again whenever the
// window moves to a screen of another ratio.
class Figura : public QLabel {
    Q_OBJECT
public:
    explicit Figura(QWidget* genitore);
    void impostaFigura(const QIcon& icona, QSize lato);

protected:
    bool event(QEvent* evento) override;

private:
    void aggiorna();
    QIcon icona_;
    QSize lato_;
};

// The client area: paints the backdrop from its description (no stored image), and gives
// Enter to the default button wherever the focus is.
class Superficie : public QWidget {
    Q_OBJECT
public:
    explicit Superficie(QWidget* genitore);
    void impostaSfondo(const core::Sfondo& sfondo);
    const core::Sfondo& sfondo() const { return sfondo_; }
    std::function<bool()> invioAlPredefinito;

protected:
    void paintEvent(QPaintEvent* evento) override;
    void keyPressEvent(QKeyEvent* evento) override;

private:
    core::Sfondo sfondo_;
};

} // namespace ui
