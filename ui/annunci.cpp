#include "ui/annunci.hpp"

#include "ui/controlli.hpp"

#include <QAccessibleWidget>
#include <QApplication>
#include <QEvent>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QTimer>

#include <utility>

namespace ui {
namespace {

constexpr int kSecondiDellaPartita = 900;

// Seconds shown by a clock text "hh:mm:ss"; -1 for any other text (practice shows a word).
int secondiDi(const QString& testo) {
    const QStringList parti = testo.split(QLatin1Char(':'));
    if (parti.size() != 3) {
        return -1;
    }
    int totale = 0;
    for (const QString& parte : parti) {
        bool ok = false;
        totale = totale * 60 + parte.toInt(&ok);
        if (!ok) {
            return -1;
        }
    }
    return totale;
}

class AnnuncioAccessibile : public QAccessibleWidget {
public:
    explicit AnnuncioAccessibile(QWidget* w) : QAccessibleWidget(w, QAccessible::Notification) {}
};

// Only the children that are shown: a hidden control (the record line in practice, the
// review with no mistake) is no part of what a screen reader walks, nor is one said elsewhere.
class SuperficieAccessibile : public QAccessibleWidget {
public:
    explicit SuperficieAccessibile(QWidget* w) : QAccessibleWidget(w, QAccessible::Client) {}
    int childCount() const override { return int(visibili().size()); }
    QAccessibleInterface* child(int indice) const override {
        const QList<QWidget*> figli = visibili();
        return indice >= 0 && indice < figli.size()
                   ? QAccessible::queryAccessibleInterface(figli.at(indice))
                   : nullptr;
    }
    int indexOfChild(const QAccessibleInterface* figlio) const override {
        return figlio ? int(visibili().indexOf(qobject_cast<QWidget*>(figlio->object()))) : -1;
    }

private:
    QList<QWidget*> visibili() const {
        QList<QWidget*> figli;
        for (QObject* o : widget()->children()) {
            auto* w = qobject_cast<QWidget*>(o);
            if (w && !w->isWindow() && !w->isHidden() && !w->property(kDettoAltrove).toBool()) {
                figli << w;
            }
        }
        return figli;
    }
};

QAccessible::UpdateHandler gestorePrecedente = nullptr;

void filtraEvento(QAccessibleEvent* evento) {
    switch (evento->type()) {
    case QAccessible::TextCaretMoved:
    case QAccessible::TextInserted:
    case QAccessible::TextRemoved:
    case QAccessible::TextUpdated:
    case QAccessible::TextSelectionChanged:
        if (auto* casella = qobject_cast<QLineEdit*>(evento->object());
            casella && !casella->hasFocus()) {
            return;
        }
        break;
    case QAccessible::Focus:
        // While a menu is open its entry has the focus: the window's control takes it again
        // only for a moment, when the arrows go from one menu to the next, and a screen reader
        // told of it would say that control instead of the entry.
        if (QApplication::activePopupWidget() && !qobject_cast<QMenu*>(evento->object()) &&
            !qobject_cast<QMenuBar*>(evento->object())) {
            return;
        }
        break;
    default:
        break;
    }
    if (gestorePrecedente) {
        gestorePrecedente(evento);
        return;
    }
    // Qt's own delivery, which runs only while no handler is installed.
    QAccessible::installUpdateHandler(nullptr);
    QAccessible::updateAccessibility(evento);
    QAccessible::installUpdateHandler(filtraEvento);
}

} // namespace

void tralasciaTestiSenzaFuoco() {
    static const bool installato = [] {
        gestorePrecedente = QAccessible::installUpdateHandler(filtraEvento);
        return true;
    }();
    (void)installato;
}

Annuncio::Annuncio(QWidget* genitore) : QWidget(genitore) {
    setObjectName(QStringLiteral("Annuncio"));
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setFocusPolicy(Qt::NoFocus);
    resize(1, 1);
    hide();
}

void Annuncio::annuncia(const QString& frase) {
    hide();
    setAccessibleName(frase);
    show(); // Qt tells the screen reader that a notification is showing
    QTimer::singleShot(1000, this, &QWidget::hide);
}

OrologioParlato::OrologioParlato(QObject* genitore) : QObject(genitore) {
    quiete_.start();
}

QString OrologioParlato::mostra(const QString& testo) {
    const int restanti = secondiDi(testo);
    if (restanti == 0) {
        inAttesa_.clear();
        return QStringLiteral("Tempo scaduto");
    }
    const bool minutoVero = restanti < kSecondiDellaPartita && restanti % 120 == 60;
    if (restanti > 0 && (minutoVero || restanti == 120)) {
        inAttesa_ = QStringLiteral("Tempo restante: ") + testo;
    }
    if (inAttesa_.isEmpty() || quiete_.elapsed() < kQuieteMs) {
        return {};
    }
    return std::exchange(inAttesa_, QString());
}

bool OrologioParlato::eventFilter(QObject* oggetto, QEvent* evento) {
    if (evento->type() == QEvent::KeyPress || evento->type() == QEvent::FocusIn) {
        quiete_.restart();
    }
    return QObject::eventFilter(oggetto, evento);
}

QString descrizioneConVerdetto(const QString& verdetto, const QString& esatte,
                               const QString& errate) {
    const QString v = verdetto.simplified();
    // A full stop after a verdict that ends in a letter ("Sbagliato!! XXIV."), so that the
    // counts are said as a sentence of their own.
    const QString punto =
        !v.isEmpty() && v.back().isLetterOrNumber() ? QStringLiteral(".") : QString();
    return QStringLiteral("%1%2 Esatte %3, errate %4")
        .arg(v, punto, esatte.simplified(), errate.simplified());
}

QString fraseDelRecord(const QString& nome, const QString& punti) {
    return QStringLiteral("Il record è di %1 con punti %2")
        .arg(nome.simplified(), punti.simplified());
}

QString compitato(const QString& numerale) {
    QStringList lettere;
    for (QChar c : numerale) {
        lettere << QString(c);
    }
    return lettere.join(QLatin1Char(' '));
}

QAccessibleInterface* accessibileDelGioco(const QString& classe, QObject* oggetto) {
    auto* w = qobject_cast<QWidget*>(oggetto);
    if (classe == QLatin1String(Superficie::staticMetaObject.className()) && w) {
        return new SuperficieAccessibile(w);
    }
    if (classe == QLatin1String(Annuncio::staticMetaObject.className()) && w) {
        return new AnnuncioAccessibile(w);
    }
    return accessibileVivo(classe, oggetto);
}

} // namespace ui
