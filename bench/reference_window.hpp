#pragma once
// The reference the game is measured against: a bare Qt 6 Widgets window with as many controls
// (25) and menus (4) as the game window, and nothing of the game's own: default fonts, default
// palette but for a plain background colour, no pictures, no translations.
//
// Its controls: the central widget, 18 labels, 2 line edits (one hidden), 2 push buttons, 1
// empty picture label and a 500 ms precise timer that counts a clock down in a label. Its
// menus: three drop-down menus with five items and one action on the bar. It plays the bare
// equivalent of a question: Enter in the line edit shows a verdict (and paints the background
// black when the answer is not "I" or "i"), Enter on the focused button shows a new random number
// on a new plain background colour.

#include <QMainWindow>
#include <QTimer>

class QLabel;
class QLineEdit;
class QPushButton;

namespace bench {

class FinestraNuda : public QMainWindow {
    Q_OBJECT
public:
    explicit FinestraNuda(QWidget* genitore = nullptr);

    // The client area of the game window at normal size, so that both paint as many pixels.
    static constexpr int kLarghezza = 753;
    static constexpr int kAltezza = 554;

    void nuovaDomanda();  // a new random number on a new background colour
    void verdetto();      // judges the line edit's text
    void avviaOrologio(); // starts the clock, as the game does when its window opens
    void scatto();        // one tick of the clock: a second less in its label

    QLineEdit& risposta() const { return *risposta_; }
    QLabel& messaggio() const { return *messaggio_; }
    QLabel& conto() const { return *conto_; }
    QWidget& sfondo() const { return *centrale_; }
    QTimer& orologio() { return orologio_; }

private:
    QWidget* centrale_ = nullptr;
    QLabel* numero_ = nullptr;
    QLabel* messaggio_ = nullptr;
    QLabel* conto_ = nullptr;
    QLineEdit* risposta_ = nullptr;
    QPushButton* avanti_ = nullptr;
    QTimer orologio_;
    int secondiRestanti_ = 900;
};

} // namespace bench
