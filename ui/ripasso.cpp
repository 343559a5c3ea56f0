#include "ui/ripasso.hpp"

#include "ui/layout.hpp"

#include <QLabel>
#include <QVBoxLayout>

namespace ui {
namespace {

const char* const kTitolo = "Errori di questa partita";
constexpr Carattere kCarattereTitolo{"MS Sans Serif", 12, true};
constexpr Carattere kCarattereElenco{"Arial", 12};

} // namespace

PannelloRipasso::PannelloRipasso(QWidget* genitore) : QFrame(genitore) {
    setObjectName(QStringLiteral("Ripasso"));
    setFrameStyle(QFrame::Box | QFrame::Plain);
    setAutoFillBackground(true);
    QPalette p = palette();
    p.setColor(QPalette::Window, QColor(255, 255, 240));
    p.setColor(QPalette::WindowText, QColor(20, 20, 20));
    setPalette(p);

    titolo_ = new QLabel(QString::fromUtf8(kTitolo), this);
    titolo_->setAccessibleName(QString::fromUtf8(kTitolo));
    elenco_ = new QLabel(this);
    elenco_->setTextFormat(Qt::PlainText); // typed answers are shown as typed
    elenco_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    elenco_->setSizePolicy(QSizePolicy::Ignored,
                           QSizePolicy::Ignored); // lines that do not fit are cut
    auto* colonna = new QVBoxLayout(this);
    colonna->addWidget(titolo_);
    colonna->addWidget(elenco_, 1);
    setAccessibleName(QString::fromUtf8(kTitolo));
    setAccessibleDescription(
        QStringLiteral("Le risposte sbagliate, dalla più recente: il numero, quello che hai "
                       "scritto e il numero romano giusto"));
    scala(1);
    hide();
}

void PannelloRipasso::mostra(const std::vector<std::string>& righe) {
    QStringList testo;
    QStringList letto; // what a screen reader says: the arrow in words
    for (const std::string& riga : righe) {
        const QString r = QString::fromStdString(riga);
        testo << r;
        letto << QString(r).replace(QStringLiteral(" \u2192 "), QStringLiteral(", giusto: "));
    }
    elenco_->setText(testo.join(QLatin1Char('\n')));
    elenco_->setAccessibleName(letto.isEmpty() ? QStringLiteral("Nessun errore")
                                               : letto.join(QStringLiteral("; ")));
    setVisible(!righe.empty());
}

void PannelloRipasso::scala(double fattore) {
    titolo_->setFont(carattereDi(kCarattereTitolo, fattore));
    elenco_->setFont(carattereDi(kCarattereElenco, fattore));
    const int m = static_cast<int>(4 * fattore);
    layout()->setContentsMargins(m, m / 2, m, m / 2);
    layout()->setSpacing(m / 2);
    setLineWidth(std::max(1, static_cast<int>(fattore)));
}

QString PannelloRipasso::elenco() const {
    return elenco_->text();
}

} // namespace ui
