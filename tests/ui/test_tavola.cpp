// The real game window played through Qt's events: whole rounds, keys and menus, what a pupil
// sees on the worst backdrops, Qt's own texts, the window filling larger screens, the help
// window. What a screen reader says is checked with Orca itself (tests/e2e).

#include "core/contrasto.hpp"
#include "core/gioco.hpp"
#include "tavola_di_prova.hpp"
#include "ui/controlli.hpp"
#include "ui/ripasso.hpp"
#include "ui/tavola.hpp"
#include "ui/traduzioni.hpp"

#include <QtTest>
#include <QtWidgets>

namespace {

double contrasto(QColor a, QColor b) {
    return core::contrasto({a.red(), a.green(), a.blue()}, {b.red(), b.green(), b.blue()});
}

class ProvaTavola : public QObject, protected TavolaDiProva {
    Q_OBJECT

    template <typename T = ui::Etichetta> T* w(const char* nome) {
        return qobject_cast<T*>(tavola_->controllo(QString::fromLatin1(nome)));
    }
    QLineEdit* risposta() { return w<QLineEdit>("txtAnswer"); }

    // A new window; with `limite`, a game started through its dialogs with that bound.
    void avvia(QString limite = {}) {
        nuovaPartita(limite.isNull() ? QStringList() : QStringList{"Anna", limite}, {});
    }
    // A label's text stands out (3:1) from the backdrop it hides, in letters of its own colour,
    // with an outline at 3:1 from them, at least 2 pixels wide and a twelfth of the letters.
    bool leggibile(ui::Etichetta* e) {
        const QImage con = tavola_->superficie().grab(e->geometry()).toImage();
        e->hide();
        const QImage senza = tavola_->superficie().grab(e->geometry()).toImage();
        e->show();
        const QColor lettere = e->palette().color(QPalette::WindowText);
        int spiccano = 0;
        bool colore = false;
        for (int i = 0; i < con.width() * con.height(); ++i) {
            const QPoint p(i % con.width(), i / con.width());
            spiccano += contrasto(con.pixelColor(p), senza.pixelColor(p)) >= 3;
            colore |= con.pixelColor(p) == lettere;
        }
        return colore && spiccano > e->height() &&
               contrasto(lettere, QColor(e->contorno().interno.rosso, e->contorno().interno.verde,
                                         e->contorno().interno.blu)) >= 3 &&
               e->spessoreContorno() >= std::max(2.0, e->font().pixelSize() / 12.0);
    }

public:
    ProvaTavola() { ui::caricaTraduzioniItaliane(*QCoreApplication::instance()); }

private slots:

    // The menu bar from the keyboard: F10, arrows (R, L) and Enter; then Esc, twice at most,
    // leaves it with nothing highlighted and the keyboard back in the answer box.
    void menuDaTastiera_data() {
        QTest::addColumn<QString>("riga"); // keys | entries highlighted after F10 and each key |
        for (const char* riga :            // the question the last one asks
             {"RRRRRRRRRRR\n|INFOMAZIONI Ciao lic Next MenuAllenamento Pausa Risultati Aiuto "
              "INFOMAZIONI Ciao lic Next -|INIZIARE NUOVA GARA",
              "L|INFOMAZIONI Aiuto|",
              "LLLL\n|INFOMAZIONI Aiuto Risultati Pausa MenuAllenamento -|"
              "INIZIARE UN ALLENAMENTO"})
            QTest::newRow(QByteArray(riga).split('|')[0].replace('\n', " Invio")) << QString(riga);
    }
    void menuDaTastiera() {
        QFETCH(QString, riga);
        const QString tasti = riga.section('|', 0, 0), domanda = riga.section('|', 2);
        avvia("100");
        QMenuBar* barra = tavola_->menuBar();
        QString chiesta;
        auto g = risponditore([&](QWidget* d) { chiesta = d->windowTitle(); });
        auto premi = [](Qt::Key tasto) {
            QWidget* qui = QApplication::activePopupWidget();
            QTest::keyClick(qui ? qui : QApplication::focusWidget(), tasto);
            QCoreApplication::processEvents();
        };
        QStringList visitate;
        for (QChar c : "F" + tasti) {
            premi(c == 'F'   ? Qt::Key_F10
                  : c == 'R' ? Qt::Key_Right
                  : c == 'L' ? Qt::Key_Left
                             : Qt::Key_Return);
            QAction* a = barra->activeAction();
            visitate << (!a ? "-" : a->menu() ? a->menu()->objectName() : a->objectName());
        }
        QCOMPARE(visitate.join(' '), riga.section('|', 1, 1));
        QTRY_COMPARE(chiesta, domanda);
        for (int esc = 0; esc < 2 && barra->activeAction(); ++esc)
            premi(Qt::Key_Escape);
        QVERIFY(!barra->activeAction());
        QTRY_COMPARE(QApplication::focusWidget(), risposta());
        QVERIFY(!gioco_->finito());
    }

    void partitaIntera() {
        avvia("3900");
        // A right answer in small letters; Enter again draws the next question, judging nothing.
        QTest::keyClicks(risposta(), QString::fromStdString(gioco_->rispostaEsatta()).toLower());
        QTest::keyClick(risposta(), Qt::Key_Return);
        QCOMPARE(w("lblMessage")->text(), QString("Esatto, è incredibile!!!"));
        risposta()->setFocus();
        QTest::keyClick(risposta(), Qt::Key_Return);
        QVERIFY(!w<QToolButton>("cmdNext")->isEnabled());
        // A pasted small letter is wrong: the window turns black, and the score still shows.
        const QString atteso = QString::fromStdString(gioco_->rispostaEsatta());
        risposta()->setText(atteso.toLower());
        QTest::keyClick(risposta(), Qt::Key_Enter);
        QCOMPARE(w("lblMessage")->text(), "Sbagliato!! " + atteso);
        QCOMPARE(tavola_->superficie().grab().toImage().pixel(1, 1), qRgb(0, 0, 0));
        QVERIFY(leggibile(w("lblScore")));
        // Alt+N, the next-question button's access key, from the answer box.
        QTest::keyClick(risposta(), Qt::Key_N, Qt::AltModifier);
        QTRY_VERIFY(!w<QToolButton>("cmdNext")->isEnabled());
        // The longest numeral a question can ask fits in the box.
        while (gioco_->rispostaEsatta() != "MMMDCCCLXXXVIII")
            gioco_->prossimaDomanda();
        QTest::keyClicks(risposta(), "MMMDCCCLXXXVIIIX\r"); // one letter more than it holds
        QCOMPARE(w("lblMessage")->text(), QString("Esatto, è incredibile!!!"));
        // F1 opens the help, and the clock runs on behind it.
        const QString prima = w("lblconto")->text();
        QTest::keyClick(tavola_.get(), Qt::Key_F1);
        QTRY_VERIFY(tavola_->findChild<QWidget*>("Aiuto"));
        QTRY_VERIFY_WITH_TIMEOUT(w("lblconto")->text() != prima, 3000);
    }

    // After a verdict, from each control that can hold the focus: an arrow, then Enter. The
    // game goes on to the next question; no arrow moves the focus to "Exit".
    void frecce() {
        for (const char* da : {"cmdNext", "cmdExit1", "txtAnswer"}) {
            avvia("50");
            QTest::keyClick(risposta(), Qt::Key_Return); // a verdict: the focus is on cmdNext
            QWidget* partenza = tavola_->controllo(da);
            partenza->setFocus();
            for (Qt::Key freccia : {Qt::Key_Left, Qt::Key_Right, Qt::Key_Up, Qt::Key_Down}) {
                QTest::keyClick(partenza, freccia);
                QVERIFY2(QApplication::focusWidget() == partenza, da);
            }
            if (da == std::string_view("cmdExit1"))
                continue; // Enter on Exit itself ends the game, as it says
            auto r = risponditore([](QWidget*) { QFAIL("no dialog may open"); });
            QTest::keyClick(partenza, Qt::Key_Return);             // ending would say goodbye
            QVERIFY2(!w<QToolButton>("cmdNext")->isEnabled(), da); // the next question is open
        }
    }

    // A name typed by a player (read back with its line end) is shown as typed in the label, its
    // tooltip and its accessible description, never read as markup (an <img> of /dev/zero would
    // hang the game); a long one is cut with "…" in the label, and the record line keeps its
    // score inside the window.
    void nomiInChiaro_data() {
        QTest::addColumn<QString>("nome");
        QTest::addColumn<QString>("controllo");
        for (const char* controllo : {"lblnome", "lblnome1"})
            for (const QString& nome :
                 {QString("Luca <img src=\"/dev/zero\">"), QString("<b>x</b>"),
                  QString("&#x202E;abc"), QString(300, QChar(u'W'))})
                QTest::addRow("%s %s", controllo, qPrintable(nome.left(30)))
                    << nome << QString(controllo);
    }
    void nomiInChiaro() {
        QFETCH(QString, nome);
        QFETCH(QString, controllo);
        avvia();
        const auto c =
            controllo == "lblnome" ? core::Controllo::lblnome : core::Controllo::lblnome1;
        tavola_->imposta(core::Controllo::lblpunti, "3888");
        tavola_->imposta(c, (nome + "\r\n").toStdString());
        auto* e = w(qPrintable(controllo));
        QString mostrato = e->text().section('\n', 0, 0); // the line end makes an empty line
        mostrato.chop(mostrato.endsWith(QChar(0x2026)) ? 1 : 0);
        QVERIFY2(nome.startsWith(mostrato) &&
                     mostrato.size() >= (nome.size() < 20 ? nome.size() : 3),
                 qPrintable(mostrato));
        QCOMPARE(e->textFormat(), Qt::PlainText);
        QCOMPARE(QTextDocumentFragment::fromHtml(e->toolTip()).toPlainText(), nome);
        QVERIFY(e->accessibleDescription().endsWith(nome));
        QVERIFY(w("lblpunti")->geometry().right() < tavola_->superficie().width());
    }

    // The window maximised on the screen, whatever QT_SCALE_FACTOR: every control shown, and
    // the help's Close button, inside the screen (ctest runs it on the screens of a school);
    // the review covers no control, and the number's digits are drawn.
    void dentroLoSchermo() {
        avvia("50");
        tavola_->showMaximized();
        const QRect schermo = tavola_->screen()->availableGeometry();
        QTRY_VERIFY(schermo.contains(tavola_->geometry()));
        tavola_->imposta(core::Controllo::lblnome, "Giulia");
        tavola_->imposta(core::Controllo::lblpunti, "3888");
        gioco_->tasto('X'); // a wrong answer: the review shows
        gioco_->tasto(13);
        QVERIFY(tavola_->ripasso().isVisible());
        const auto dentro = [&schermo](QWidget* w) {
            return schermo.contains(QRect(w->mapToGlobal(QPoint()), w->size()));
        };
        for (QWidget* c : tavola_->superficie().findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
            if (c->isVisible()) {
                QVERIFY2(dentro(c), qPrintable(c->objectName()));
                QVERIFY2(c == &tavola_->ripasso() ||
                             !c->geometry().intersects(tavola_->ripasso().geometry()),
                         qPrintable("the review covers " + c->objectName()));
            }
        // The number's digits show, however large (Qt's glyph cache once lost them on X11).
        const qreal dpr = tavola_->devicePixelRatio();
        QWidget* n = tavola_->controllo("lblNum1");
        const QImage numero =
            dynamic_cast<QImage*>(tavola_->backingStore()->paintDevice())
                ->copy(QRect(n->mapTo(tavola_.get(), QPoint()) * dpr, n->size() * dpr)
                           .adjusted(9, 9, -9, -9));
        int scuri = 0; // inside its border
        for (int i = 0; i < numero.width() * numero.height(); ++i)
            scuri += qGray(numero.pixel(i % numero.width(), i / numero.width())) < 64;
        QVERIFY(scuri > numero.width() * numero.height() / 20);
        tavola_->apriAiuto();
        auto* aiuto = tavola_->findChild<QDialog*>("Aiuto");
        QVERIFY(aiuto);
        QVERIFY(QTest::qWaitForWindowExposed(aiuto));
        auto* chiudi = aiuto->findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Close);
        QVERIFY2(dentro(chiudi), "Chiudi");
    }

    // A key in the answer box or in an input box: what it types, the menu or dialog it opens.
    void tasti_data() {
        QTest::addColumn<QString>("riga");
        for (const char* riga :
             {"box|Alt+N||", "box|Ctrl+Alt+V||", "box|Meta+V||", "box|Ctrl+V|xiv|",
              "box|Alt+I||INFOMAZIONI", "box|Alt+R||Ciao", "box|Alt+L||lic",
              "box|Alt+G||INIZIARE NUOVA GARA|Sì|No", "box|Alt+X||Cifrolandia|OK",
              "dialog|Ctrl+Alt+V||Cifrolandia|OK|Annulla",
              "dialog|Ctrl+V|xiv|Cifrolandia|OK|Annulla", "dialog|Alt+X||Cifrolandia|OK|Annulla"})
            QTest::newRow(riga) << QString::fromUtf8(riga);
    }
    void tasti() {
        QFETCH(QString, riga);
        const QStringList r = riga.split('|'); // where, key, what it types, what it opens
        const bool casella = r[0] == "box";
        avvia("100");
        QApplication::clipboard()->setText("xiv");
        QString aperto;
        auto g = risponditore([&](QWidget* d) { // Qt's own buttons speak Italian
            if (!casella)
                QTest::keySequence(d->findChild<QLineEdit*>(), QKeySequence(r[1]));
            aperto = d->windowTitle();
            for (auto* b : d->findChildren<QAbstractButton*>())
                aperto += '|' + b->text().remove('&');
        });
        if (casella)
            QTest::keySequence(risposta(), QKeySequence(r[1]));
        if (QWidget* menu = QApplication::activePopupWidget()) {
            aperto = menu->objectName();
            menu->close();
        }
        QCOMPARE(casella ? risposta()->text() : QString::fromStdString(tavola_->chiediTesto("?")),
                 r[2]);
        QTRY_COMPARE(aperto, riga.section('|', 3));
        QCOMPARE(w("lblScore2")->text(), QString("0")); // nothing judged
    }

    void finestraComeSiVede() {
        avvia();
        // Every menu of the bar is on it at the designed width, none behind its ">>" button.
        QMenuBar* barra = tavola_->menuBar();
        QVERIFY(barra->actionGeometry(barra->actions().constLast()).right() < barra->width());
        // "Nuovo calcolo" disabled still reads at 3:1 on its face.
        auto* avanti = w<QToolButton>("cmdNext");
        QVERIFY(contrasto(avanti->palette().color(QPalette::Disabled, QPalette::ButtonText),
                          avanti->palette().color(QPalette::Button)) >= 3);
        // Captions, each on the backdrop that is worst for its colour.
        for (auto [nome, testo, rosso, verde] :
             {std::tuple{"lblconto", "00:14:59", 254, 254},
              std::tuple{"lblMessage", "Esatto, è incredibile!!!", 234, 60},
              std::tuple{"lblpunti", "12", 162, 31}}) {
            tavola_->dipingiSfondo({core::Sfondo::Tipo::Sfumatura, rosso, verde});
            w(nome)->impostaTesto(QString::fromUtf8(testo));
            QVERIFY2(leggibile(w(nome)), nome);
        }
        // Button faces in their own colours, darker while pressed.
        for (auto [nome, colore] : {std::pair{"cmdNext", QColor(0, 192, 192)},
                                    std::pair{"cmdExit1", QColor(255, 128, 0)}}) {
            auto* b = w<QToolButton>(nome);
            const QPoint p = QPoint(6, 6) * b->devicePixelRatio();
            QCOMPARE(b->grab().toImage().pixelColor(p), colore);
            b->setDown(true);
            QVERIFY2(b->grab().toImage().pixelColor(p) != colore, "no pressed state");
        }
        // The stopwatch from the image drawn for the screen's pixel ratio, not an enlarged one.
        QImage disegnata(
            QString(":/immagini/cronometro-%1.png").arg(32 * tavola_->devicePixelRatio()));
        disegnata.setDevicePixelRatio(tavola_->devicePixelRatio());
        QCOMPARE(w<QLabel>("Image1")->pixmap().toImage(),
                 disegnata.convertToFormat(QImage::Format_ARGB32_Premultiplied));
    }
};

} // namespace

QTEST_MAIN(ProvaTavola)
#include "test_tavola.moc"
