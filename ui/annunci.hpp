#pragma once
// What a screen reader is told without moving the focus, and the game window's tree as a
// screen reader walks it: the clock said as a notification at moments when it cuts off
// nothing, the verdict said with the button that takes the focus after Enter, the record line
// as one sentence, and no control that is hidden.

#include <QElapsedTimer>
#include <QObject>
#include <QString>
#include <QWidget>

class QAccessibleInterface;

namespace ui {

// A sentence for screen readers only: shown for an instant, never painted, as a notification
// (Orca says a notification when it appears) whose name is the sentence.
class Annuncio : public QWidget {
    Q_OBJECT
public:
    explicit Annuncio(QWidget* genitore);
    void annuncia(const QString& frase);
};

// When the clock is said. It runs at twice real time, so every two minutes of the clock from
// its start (00:13:00, 00:11:00 ... 00:01:00) is a real minute; it is also said when the last
// real minute begins (00:02:00) and when it stops (00:00:00). A sentence waits until the player
// has pressed no key and moved no focus for kQuieteMs, so that it never cuts off what the
// screen reader is saying about the game; the end is said at once. A moment missed while the
// player is busy is replaced by the next one.
class OrologioParlato : public QObject {
    Q_OBJECT
public:
    static constexpr qint64 kQuieteMs = 3000;
    // Watches the keys and the focus of the whole application.
    explicit OrologioParlato(QObject* genitore);
    // The clock now shows `testo`: the sentence to say now, or an empty one.
    QString mostra(const QString& testo);
    void azzera() { inAttesa_.clear(); }

protected:
    bool eventFilter(QObject* oggetto, QEvent* evento) override;

private:
    QString inAttesa_;
    QElapsedTimer quiete_; // since the last key or focus change
};

// What "Nuovo calcolo" says when it takes the focus after Enter: the verdict and the counts as
// the window shows them, "Esatto, è incredibile!!! Esatte 3, errate 1". A screen reader says
// the description of the control that takes the focus; the pupil does not move it.
QString descrizioneConVerdetto(const QString& verdetto, const QString& esatte,
                               const QString& errate);

// The record line read as one sentence: "Il record è di Giulia con punti 12".
QString fraseDelRecord(const QString& nome, const QString& punti);

// A numeral spelled letter by letter, "X X I V", so that a speech synthesiser says the letters
// instead of reading the number it stands for.
QString compitato(const QString& numerale);

// Qt tells screen readers of the caret and text of a box without the focus (the answer box
// cleared for a new question while "Nuovo calcolo" has it). Orca handles events a moment late
// and takes such an event, from a box that has the focus by then, for a silent focus move: the
// focus event that follows, the one that says the new number, is then not said. Installed
// once, this drops those events of a text box without the focus, and the focus of a window's
// control while a menu is open (see annunci.cpp); every other event goes on.
void tralasciaTestiSenzaFuoco();

// A control with this property set is shown but left out of a screen reader's tree: another
// control says what it shows (the parts of the record line, said by its first part).
inline constexpr const char* kDettoAltrove = "dettoAltrove";

// The accessible side of the game's client area, of an Annuncio and of a live label. For
// QAccessible::installFactory.
QAccessibleInterface* accessibileDelGioco(const QString& classe, QObject* oggetto);

} // namespace ui
