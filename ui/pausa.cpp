#include "ui/pausa.hpp"

#include "ui/disposizione.hpp"

#include <QKeyEvent>
#include <QLabel>
#include <QVBoxLayout>

namespace ui {
namespace {
constexpr Carattere kCarattereTitolo{"Arial Black", 36};
constexpr Carattere kCarattereInvito{"Arial", 14};
} // namespace

PannelloPausa::PannelloPausa(QWidget* genitore) : QWidget(genitore) {
    setObjectName(QStringLiteral("pnlPausa"));
    setAutoFillBackground(true);
    QPalette p = palette();
    p.setColor(QPalette::Window, QColor(0, 0, 128));
    p.setColor(QPalette::WindowText, Qt::white);
    setPalette(p);
    setFocusPolicy(Qt::StrongFocus);
    setAccessibleName(QStringLiteral("In pausa"));
    setAccessibleDescription(QStringLiteral("Premi un tasto o fai clic per continuare"));

    titolo_ = new QLabel(QStringLiteral("In pausa"), this);
    invito_ = new QLabel(QStringLiteral("Premi un tasto o fai clic per continuare"), this);
    auto* colonna = new QVBoxLayout(this);
    colonna->addStretch(1);
    for (QLabel* l : {titolo_, invito_}) {
        l->setTextFormat(Qt::PlainText);
        l->setAlignment(Qt::AlignCenter);
        colonna->addWidget(l);
    }
    colonna->addStretch(1);
    scala(1);
    hide();
}

void PannelloPausa::scala(double fattore) {
    titolo_->setFont(carattereDi(kCarattereTitolo, fattore));
    invito_->setFont(carattereDi(kCarattereInvito, fattore));
}

void PannelloPausa::keyPressEvent(QKeyEvent* evento) {
    switch (evento->key()) {
    case Qt::Key_Shift:
    case Qt::Key_Control:
    case Qt::Key_Alt:
    case Qt::Key_AltGr:
    case Qt::Key_Meta:
        return; // on the way to a shortcut (Alt+Tab to another window): not a key of its own
    default:
        if (allaRipresa) {
            allaRipresa();
        }
    }
}

void PannelloPausa::mousePressEvent(QMouseEvent*) {
    if (allaRipresa) {
        allaRipresa();
    }
}

} // namespace ui
