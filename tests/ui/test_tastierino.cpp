// The on-screen keypad and practice from numeral to number in the real game window: every key,
// clicked or touched, does what the same key typed does, the focus never leaves the answer
// box, and neither the keypad nor the number box covers another control.

#include "core/gioco.hpp"
#include "core/romano.hpp"
#include "tavola_di_prova.hpp"
#include "ui/controlli.hpp"
#include "ui/tastierino.hpp"
#include "ui/tavola.hpp"

#include <QtTest>
#include <QtWidgets>

namespace {

class ProvaTastierino : public QObject, protected TavolaDiProva {
    Q_OBJECT
    QPointingDevice* dito_ = nullptr;

    QWidget* w(const char* nome) { return tavola_->controllo(QString::fromLatin1(nome)); }
    QLineEdit* risposta() { return static_cast<QLineEdit*>(w("txtAnswer")); }

    // A game started through its dialogs, each accepted as it comes. Every game draws the same
    // questions, so that a key typed, clicked and touched meets the same one.
    void avvia(core::Modo modo, QStringList testi = {"Anna", "3900"}) {
        semi_ = [seme = std::uint64_t{0}]() mutable { return ++seme; };
        nuovaPartita(testi, [modo](core::Gioco& g) { g.impostaModo(modo); });
        QTRY_COMPARE_WITH_TIMEOUT(QApplication::focusWidget(), risposta(), 2000);
    }
    // Normal size may pass the bottom of the offscreen platform's screen, where no touch lands.
    void aGrandezzaNormale() {
        tavola_->showNormal();
        tavola_->resize(ui::kLarghezzaNormale, ui::kAltezzaNormale + tavola_->menuBar()->height());
    }
    QAbstractButton* tastoLetto(const QString& nome) { // as a screen reader reads it
        for (QAbstractButton* t : tavola_->tastierino()->tasti())
            if (t->isVisible() &&
                QAccessible::queryAccessibleInterface(t)->text(QAccessible::Name) == nome)
                return t;
        return nullptr;
    }
    // The answer box and the verdict (the right answer written "="), the answers counted, and
    // where the focus is.
    QString esito() {
        const QString giusta = QString::fromStdString(gioco_->rispostaEsatta());
        QWidget* fuoco = QApplication::focusWidget();
        return QStringList{risposta()->text(), static_cast<QLabel*>(w("lblMessage"))->text(),
                           QString::number(gioco_->esatte() + gioco_->errate()),
                           fuoco ? fuoco->objectName() : "nessuno"}
            .join('|')
            .replace(giusta, "=");
    }

private slots:
    void initTestCase() {
        avvia(core::Modo::Gara);
        aGrandezzaNormale();
        QVERIFY2(!tavola_->tastierinoMostrato(), "no touch screen: no keypad at first");
        const int alta = tavola_->height();
        tavola_->mostraTastierino(true);
        QCOMPARE(tavola_->height() - alta, ui::kRettangoloTastierino.height());
        dito_ = QTest::createTouchDevice();
        const int conTastiera = tavola_->height();
        tavola_ = std::make_unique<ui::Tavola>();
        QVERIFY2(tavola_->tastierinoMostrato(), "shown by default when a touch screen is present");
        QCOMPARE(tavola_->height(), conTastiera);
    }

    void tasti_data() {
        QTest::addColumn<bool>("cifre");
        QTest::addColumn<QString>("nome");
        QTest::addColumn<QString>("prima"); // in the box before the key; "=" the right answer
        for (QChar c : QStringLiteral("IVXLCDM0123456789"))
            QTest::newRow(qPrintable(c)) << c.isDigit() << QString(c) << "24";
        for (bool cifre : {false, true})
            for (auto [nome, prima] : {std::pair{"Cancella", "24"}, {"Invio", "="}, {"Invio", ""}})
                QTest::addRow("%s %s %d", nome, prima, cifre) << cifre << nome << prima;
    }

    // Typed (a letter in small: the game makes it a capital), clicked and touched alike.
    void tasti() {
        QFETCH(bool, cifre);
        QFETCH(QString, nome);
        QFETCH(QString, prima);
        QString atteso;
        for (const char* come : {"typed", "clicked", "touched"}) {
            avvia(cifre ? core::Modo::AllenamentoInverso : core::Modo::Allenamento);
            tavola_->mostraTastierino(true);
            QAbstractButton* t = tastoLetto(nome);
            QVERIFY2(t && t->width() >= 48 && t->height() >= 48,
                     qPrintable("no key of 48×48 that a screen reader reads as " + nome));
            risposta()->setText(prima == "=" ? QString::fromStdString(gioco_->rispostaEsatta())
                                             : prima);
            const QPoint centro(24, 24);
            // Qt 6.4's touch sequences hand the window system logical points where it expects
            // device ones, so touches are tried at scale 1 only (Qt maps real touches itself).
            if (come == std::string_view("touched") && t->devicePixelRatio() == 1) {
                QTest::touchEvent(tavola_.get(), dito_).press(0, centro, t);
                QTest::touchEvent(tavola_.get(), dito_).release(0, centro, t);
            } else if (come != std::string_view("typed")) {
                QTest::mouseClick(t, Qt::LeftButton, {}, centro);
            } else if (nome.size() == 1) {
                QTest::keyClick(risposta(), nome.at(0).toLower().toLatin1());
            } else {
                QTest::keyClick(risposta(), nome == "Invio" ? Qt::Key_Return : Qt::Key_Backspace);
            }
            atteso = atteso.isNull() ? esito() : atteso;
            QVERIFY2(esito() == atteso, qPrintable(come + (": " + esito()) + ", typed: " + atteso));
        }
        QVERIFY2(!atteso.endsWith("|nessuno"), "the focus is on no control");
    }

    // Practice from numeral to number with the keypad, at normal size and at 1920×1080: the
    // keypad covers no control, and no numeral up to the bound covers one beyond the number
    // box's designed place (where "Numero da trasformare" touches it).
    void nienteCoperto() {
        for (auto [massimo, grande] : {std::pair{99, false}, {3899, false}, {3899, true}}) {
            avvia(core::Modo::AllenamentoInverso);
            aGrandezzaNormale();
            tavola_->mostraTastierino(true);
            if (grande)
                tavola_->resize(1920, 1080);
            QTRY_COMPARE_WITH_TIMEOUT(tavola_->scala().fattore > 1, grande, 2000);
            tavola_->impostaNumeroMassimo(massimo);
            QWidget* numero = w("lblNum1");
            const QRect posto = tavola_->scala().applica(ui::inPixel(ui::descrizioneDi("lblNum1")));
            QList<QWidget*> altri;
            for (QWidget* a :
                 tavola_->superficie().findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
                if (a != numero && a != tavola_->tastierino() && a->isVisible()) {
                    QVERIFY2(!tavola_->tastierino()->geometry().intersects(a->geometry()),
                             qPrintable("the keypad covers " + a->objectName()));
                    altri << a;
                }
            for (int n = 1; n <= massimo; ++n) {
                tavola_->imposta(core::Controllo::lblNum1, core::numeroRomano(n));
                for (QWidget* a : std::as_const(altri)) {
                    const QRect comune = numero->geometry() & a->geometry();
                    QVERIFY2(
                        comune.isEmpty() || posto.contains(comune),
                        qPrintable(QStringLiteral("%1 covers %2").arg(n).arg(a->objectName())));
                }
            }
        }
    }
};

} // namespace

QTEST_MAIN(ProvaTastierino)
#include "test_tastierino.moc"
