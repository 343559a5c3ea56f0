#pragma once
// "Come si gioca": the rules of Roman numerals and of the game, in a window of its own that
// stays open beside the game (the clock keeps running) and closes with Esc.

#include <QDialog>

namespace ui {

class FinestraAiuto : public QDialog {
    Q_OBJECT
public:
    explicit FinestraAiuto(QWidget* genitore);
};

} // namespace ui
