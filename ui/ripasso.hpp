#pragma once
// The review of the game's mistakes, in the window's free area: a panel of its own, light with
// dark letters, so that it reads the same on every backdrop, the black one included.

#include <QFrame>

#include <string>
#include <vector>

class QLabel;

namespace ui {

class PannelloRipasso : public QFrame {
    Q_OBJECT
public:
    explicit PannelloRipasso(QWidget* genitore);
    // One line per mistake, newest first; none hides the panel.
    void mostra(const std::vector<std::string>& righe);
    // Fonts and margins for the layout's scale factor.
    void scala(double fattore);
    QString elenco() const;

private:
    QLabel* titolo_ = nullptr;
    QLabel* elenco_ = nullptr;
};

} // namespace ui
