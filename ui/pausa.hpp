#pragma once
// The pause's cover: an opaque panel over the whole client area that reads "In pausa", so that
// nothing of the question, the answer or the verdict can be seen. It takes the keyboard while
// shown; any key (but a modifier alone) or click on it resumes the game.

#include <QWidget>

#include <functional>

class QLabel;

namespace ui {

class PannelloPausa : public QWidget {
    Q_OBJECT
public:
    explicit PannelloPausa(QWidget* genitore);
    std::function<void()> allaRipresa;
    // Fonts for the layout's scale factor.
    void scala(double fattore);

protected:
    void keyPressEvent(QKeyEvent* evento) override;
    void mousePressEvent(QMouseEvent* evento) override;

private:
    QLabel* titolo_ = nullptr;
    QLabel* invito_ = nullptr;
};

} // namespace ui
