#pragma once
// The kinds of control the game window is made of.

#include "core/contrasto.hpp"
#include "core/finestra.hpp"
#include "ui/etichetta.hpp"

#include <QIcon>
#include <QLabel>
#include <QLineEdit>
#include <QPixmap>
#include <QToolButton>
#include <QWidget>

#include <functional>

class QAccessibleInterface;

namespace ui {

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
