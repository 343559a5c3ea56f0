#include "ui/ripasso.hpp"

#include "ui/annunci.hpp"
#include "ui/disposizione.hpp"

#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QPainter>
#include <QStyledItemDelegate>
#include <QTimer>
#include <QVBoxLayout>

namespace ui {
namespace {

const char* const kTitolo = "Errori di questa partita";
constexpr Carattere kCarattereTitolo{"MS Sans Serif", 12, true};
constexpr Carattere kCarattereElenco{"Arial", 12};
constexpr int kGiusto = Qt::UserRole; // the right answer, drawn in its own style

// Draws a line in two parts: what was asked and typed in the list's colour, then the right
// answer in bold green. Both are plain text, drawn as they are.
class DelegatoRiga : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    void paint(QPainter* p, const QStyleOptionViewItem& opzione,
               const QModelIndex& indice) const override {
        QStyleOptionViewItem o = opzione;
        initStyleOption(&o, indice);
        const QString giusto = indice.data(kGiusto).toString();
        const QString prima = o.text.left(o.text.size() - giusto.size());
        o.text.clear();
        o.widget->style()->drawControl(QStyle::CE_ItemViewItem, &o, p, o.widget);
        const QRect r = o.rect.adjusted(2, 0, -2, 0);
        p->save();
        p->setFont(o.font);
        p->setPen(o.palette.color(QPalette::Text));
        p->drawText(r, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, prima);
        QFont grassetto = o.font;
        grassetto.setBold(true);
        p->setFont(grassetto);
        p->setPen(QColor(0, 110, 0)); // 6.5:1 on the panel
        p->drawText(r.adjusted(QFontMetrics(o.font).horizontalAdvance(prima), 0, 0, 0),
                    Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, giusto);
        p->restore();
    }
};

} // namespace

PannelloRipasso::PannelloRipasso(QWidget* genitore) : QFrame(genitore) {
    setObjectName(QStringLiteral("Ripasso"));
    setFrameStyle(QFrame::Box | QFrame::Plain);
    setAutoFillBackground(true);
    QPalette p = palette();
    for (auto ruolo : {QPalette::Window, QPalette::Base}) {
        p.setColor(ruolo, QColor(255, 255, 240));
    }
    for (auto ruolo : {QPalette::WindowText, QPalette::Text}) {
        p.setColor(ruolo, QColor(20, 20, 20));
    }
    setPalette(p);

    titolo_ = new QLabel(QString::fromUtf8(kTitolo), this);
    titolo_->setTextFormat(Qt::PlainText);
    elenco_ = new QListWidget(this);
    elenco_->setObjectName(QStringLiteral("ElencoErrori"));
    elenco_->setFrameShape(QFrame::NoFrame);
    elenco_->setItemDelegate(new DelegatoRiga(elenco_));
    elenco_->setFocusPolicy(Qt::ClickFocus); // outside the designed tab order
    elenco_->setAccessibleName(QString::fromUtf8(kTitolo));
    elenco_->setAccessibleDescription(
        QStringLiteral("Le risposte sbagliate, dalla più recente: il numero, quello che hai "
                       "scritto e la risposta giusta"));
    titolo_->setBuddy(elenco_);
    elenco_->installEventFilter(this);
    auto* colonna = new QVBoxLayout(this);
    colonna->addWidget(titolo_);
    colonna->addWidget(elenco_, 1);
    setAccessibleName(QString::fromUtf8(kTitolo));
    scala(1);
    hide();
}

void PannelloRipasso::mostra(const std::vector<core::Errore>& errori) {
    elenco_->clear();
    for (const core::Errore& e : errori) {
        const core::RigaRipasso riga = core::rigaDi(e);
        auto* voce = new QListWidgetItem(QString::fromStdString(riga.intera()), elenco_);
        voce->setData(kGiusto, QString::fromStdString(riga.giusto));
        // Read with the dash in words and the numerals letter by letter, as numerals.
        const QString scritto =
            e.scritto.empty()
                ? QStringLiteral("non hai scritto niente")
                : QStringLiteral("hai scritto ") + compitato(QString::fromStdString(e.scritto));
        voce->setData(Qt::AccessibleTextRole,
                      QStringLiteral("%1: %2, giusto: %3")
                          .arg(QString::fromStdString(e.domanda), scritto,
                               compitato(QString::fromStdString(e.esatto))));
    }
    setVisible(!errori.empty());
}

bool PannelloRipasso::leggi() {
    if (isHidden() || elenco_->count() == 0) {
        return false;
    }
    if (!elenco_->hasFocus()) {
        fuocoPrima_ = QApplication::focusWidget();
    }
    // The line becomes current again once the list has taken the focus (which makes the
    // first line current): Qt then tells a screen reader that the focus moved on from the list
    // to that line, and the line is read.
    elenco_->setFocus(Qt::ShortcutFocusReason);
    QTimer::singleShot(0, elenco_, [this] {
        elenco_->setCurrentRow(-1);
        elenco_->setCurrentRow(0);
    });
    return true;
}

bool PannelloRipasso::eventFilter(QObject* oggetto, QEvent* evento) {
    if (oggetto == elenco_ && evento->type() == QEvent::KeyPress &&
        static_cast<QKeyEvent*>(evento)->key() == Qt::Key_Escape && fuocoPrima_) {
        fuocoPrima_->setFocus(Qt::ShortcutFocusReason);
        return true;
    }
    return QFrame::eventFilter(oggetto, evento);
}

void PannelloRipasso::scala(double fattore) {
    titolo_->setFont(carattereDi(kCarattereTitolo, fattore));
    elenco_->setFont(carattereDi(kCarattereElenco, fattore));
    const int m = static_cast<int>(4 * fattore);
    layout()->setContentsMargins(m, m / 2, m, m / 2);
    layout()->setSpacing(m / 2);
    setLineWidth(std::max(1, static_cast<int>(fattore)));
}

} // namespace ui
