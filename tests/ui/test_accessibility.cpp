// The game window as every pupil meets it: what a screen reader is told about each control
// and when, Qt's own texts in Italian, and pictures that stay sharp at any pixel ratio.
// Runs on the X11 platform with the screen readers' bus (tests/ui/with_atspi.sh), once at
// scale 1 and once at QT_SCALE_FACTOR=2.

#include "core/window.hpp"
#include "ui/layout.hpp"
#include "ui/tavola.hpp"
#include "ui/translations.hpp"

#include <QAccessible>
#include <QDialogButtonBox>
#include <QInputDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <QtTest>

namespace {

// Every change of an accessible name Qt sends out: the control and its new name.
QList<QPair<QString, QString>> nomiCambiati;

void registra(QAccessibleEvent* e) {
    if (e->type() == QAccessible::NameChanged && e->object()) {
        nomiCambiati.append(
            {e->object()->objectName(), e->accessibleInterface()->text(QAccessible::Name)});
    }
}

QStringList annunci(const QString& controllo) {
    QStringList nomi;
    for (const auto& [c, nome] : nomiCambiati) {
        if (c == controllo) {
            nomi << nome;
        }
    }
    return nomi;
}

QString senzaScorciatoia(QString testo) {
    return testo.remove(QLatin1Char('&')).section(QLatin1Char('\t'), 0, 0);
}

// Runs `guarda` on the next modal dialog as soon as it is shown, then closes it with Escape.
void allaProssimaFinestra(std::function<void(QWidget*)> guarda) {
    auto* timer = new QTimer;
    QObject::connect(timer, &QTimer::timeout, [timer, guarda] {
        if (QWidget* modale = QApplication::activeModalWidget()) {
            timer->deleteLater();
            timer->stop();
            guarda(modale);
            QTest::keyClick(modale, Qt::Key_Escape);
        }
    });
    timer->start(10);
}

class AccessibilityTest : public QObject {
    Q_OBJECT

    QAccessibleInterface* interfaccia(ui::Tavola& tavola, const char* nome) {
        return QAccessible::queryAccessibleInterface(tavola.controllo(QString::fromLatin1(nome)));
    }

private slots:
    void initTestCase() {
        ui::caricaTraduzioniItaliane(*QCoreApplication::instance());
        QAccessible::installUpdateHandler(registra);
        // Qt sends its events only while a screen reader listens on the bus.
        QTRY_VERIFY_WITH_TIMEOUT(QAccessible::isActive(), 10000);
    }

    void everyControlHasNameDescriptionAndRole() {
        ui::Tavola tavola;
        QCOMPARE(ui::testiAccessibili().size(), ui::controlliIniziali().size());
        for (const ui::DescrizioneControllo& d : ui::controlliIniziali()) {
            QAccessibleInterface* i = interfaccia(tavola, d.nome);
            const ui::TestiAccessibili* t = ui::testiAccessibiliDi(QString::fromLatin1(d.nome));
            QVERIFY2(i && t && *t->titolo && *t->descrizione, d.nome);
            QVERIFY2(i->text(QAccessible::Name).startsWith(QString::fromUtf8(t->titolo)), d.nome);
            QCOMPARE(i->text(QAccessible::Description), QString::fromUtf8(t->descrizione));
            const QAccessible::Role atteso = d.tipo == ui::Tipo::Casella ? QAccessible::EditableText
                                             : d.tipo == ui::Tipo::Pulsante ? QAccessible::Button
                                             : d.tipo == ui::Tipo::Figura   ? QAccessible::Graphic
                                                                          : QAccessible::StaticText;
            QCOMPARE(i->role(), atteso);
        }
        QCOMPARE(interfaccia(tavola, "lblconto")->text(QAccessible::Name),
                 QString("Tempo restante: 00.00.00"));
        tavola.imposta(core::Controllo::lblnome, "Giulia\r\n"); // as read from nrom.txt
        QCOMPARE(interfaccia(tavola, "lblnome")->text(QAccessible::Name),
                 QString("Autore del record: Giulia"));
    }

    void newNumberAndVerdictAreAnnouncedEachTime() {
        ui::Tavola tavola;
        tavola.show();
        QVERIFY(QTest::qWaitForWindowExposed(&tavola));
        nomiCambiati.clear();
        tavola.imposta(core::Controllo::lblNum1, "1");
        tavola.imposta(core::Controllo::lblMessage, "Esatto, è incredibile!!!");
        tavola.imposta(core::Controllo::lblMessage, "");
        tavola.imposta(core::Controllo::lblNum1, "1"); // the next question asks 1 again
        tavola.imposta(core::Controllo::lblMessage, "Sbagliato!! I");
        QCOMPARE(annunci("lblNum1"),
                 QStringList({"Numero da trasformare: 1", "Numero da trasformare: 1"}));
        QCOMPARE(annunci("lblMessage"),
                 QStringList({"Esito: Esatto, è incredibile!!!", "Esito", "Esito: Sbagliato!! I"}));
        // The clock's name follows it, but a value that stays is not announced again.
        tavola.imposta(core::Controllo::lblconto, "00:14:59");
        tavola.imposta(core::Controllo::lblconto, "00:14:59");
        QCOMPARE(annunci("lblconto"), QStringList({"Tempo restante: 00:14:59"}));
    }

    void qtDialogsSpeakItalian() {
        ui::Tavola tavola;
        QStringList visti;
        allaProssimaFinestra([&visti](QWidget* w) {
            auto* box = qobject_cast<QMessageBox*>(w);
            QVERIFY(box);
            visti << senzaScorciatoia(box->button(QMessageBox::Yes)->text())
                  << senzaScorciatoia(box->button(QMessageBox::No)->text());
        });
        QCOMPARE(tavola.messageBox("INIZIAMO UNA NUOVA GARA  ?", core::kSiNoDomandaNoPredefinito,
                                   "INIZIARE NUOVA GARA"),
                 core::kRispostaNo);
        allaProssimaFinestra([&visti](QWidget* w) {
            auto* pulsanti = w->findChild<QDialogButtonBox*>();
            QVERIFY(qobject_cast<QInputDialog*>(w) && pulsanti);
            visti << senzaScorciatoia(pulsanti->button(QDialogButtonBox::Ok)->text())
                  << senzaScorciatoia(pulsanti->button(QDialogButtonBox::Cancel)->text());
        });
        QCOMPARE(tavola.inputBox("Come ti chiami?"), std::string());
        QCOMPARE(visti, QStringList({"Sì", "No", "OK", "Annulla"}));

        auto* risposta = qobject_cast<QLineEdit*>(tavola.controllo("txtAnswer"));
        std::unique_ptr<QMenu> menu(risposta->createStandardContextMenu());
        QStringList voci;
        for (QAction* a : menu->actions()) {
            voci << senzaScorciatoia(a->text());
        }
        for (const char* voce : {"Annulla", "Taglia", "Copia", "Incolla", "Seleziona tutto"}) {
            QVERIFY2(voci.contains(QString::fromUtf8(voce)), qPrintable(voci.join(", ")));
        }
    }

    void layoutAndPicturesHoldAtAnyPixelRatio() {
        ui::Tavola tavola;
        tavola.show();
        QVERIFY(QTest::qWaitForWindowExposed(&tavola));
        // Positions and sizes are logical: the same at every scale.
        for (const ui::DescrizioneControllo& d : ui::controlliIniziali()) {
            QCOMPARE(tavola.controllo(QString::fromLatin1(d.nome))->geometry(), ui::inPixel(d));
        }
        // The stopwatch is shown from the image drawn for this ratio, not an enlarged one.
        const qreal rapporto = tavola.devicePixelRatioF();
        QCOMPARE(rapporto, qEnvironmentVariable("QT_SCALE_FACTOR", "1").toDouble());
        const QPixmap mostrata = qobject_cast<QLabel*>(tavola.controllo("Image1"))->pixmap();
        QCOMPARE(mostrata.devicePixelRatio(), rapporto);
        QCOMPARE(mostrata.deviceIndependentSize(), QSizeF(32, 32));
        const int lato = qRound(32 * rapporto);
        QImage disegnata(QStringLiteral(":/immagini/cronometro-%1.png").arg(lato));
        QVERIFY2(!disegnata.isNull(), "no picture drawn for this ratio");
        disegnata.setDevicePixelRatio(rapporto);
        const auto formato = QImage::Format_ARGB32_Premultiplied;
        QCOMPARE(mostrata.toImage().convertToFormat(formato), disegnata.convertToFormat(formato));
    }
};

} // namespace

QTEST_MAIN(AccessibilityTest)
#include "test_accessibility.moc"
