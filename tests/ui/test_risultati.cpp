// The "Risultati" window over a history of two pupils: the table, newest first, and its filter
// with the mistakes made most often; the file exported for a spreadsheet.
// Then the pause of the game window: what covers the question, and what resumes it.

#include "core/gioco.hpp"
#include "tavola_di_prova.hpp"
#include "ui/controlli.hpp"
#include "ui/esportazione.hpp"
#include "ui/risultati.hpp"
#include "ui/tavola.hpp"

#include <QtTest>
#include <QtWidgets>

namespace {

const QString kBruno = QStringLiteral("Bruno; \"il grande\"");

core::Partita partita(const char* inizio, const QString& nome, int esatte, int errate,
                      std::vector<core::Errore> errori = {}) {
    return {inizio, 450, nome.toStdString(), "100", "gara", esatte, errate, "tempo", 0, 0, errori};
}

// Five games of Anna and Bruno, in the order the file holds them (not by date).
std::vector<core::Partita> storico() {
    return {
        partita("2026-12-01T09:00:00+01:00", "Anna", 10, 3,
                {{"24", "XX", "XXIV"}, {"9", "VIIII", "IX"}, {"24", "XXIIII", "XXIV"}}),
        partita("2026-12-07T14:03:05+01:00", kBruno, 7, 1, {{"40", "XXXX", "XL"}}),
        partita("2026-12-03T10:30:00+01:00", "Anna", 12, 1, {{"24", "IVXX", "XXIV"}}),
        partita("2026-12-02T11:00:00+01:00", kBruno, 5, 2,
                {{"40", "XXXX", "XL"}, {"XIV", "16", "14"}}),
        partita("2026-12-05T08:15:00+01:00", "Anna", 15, 0),
    };
}

class RisultatiTest : public QObject, protected TavolaDiProva {
    Q_OBJECT

    QPointer<ui::FinestraRisultati> finestra_;

    void apri() {
        finestra_ = new ui::FinestraRisultati(storico());
        finestra_->show();
        QVERIFY(QTest::qWaitForWindowExposed(finestra_));
    }
    template <typename T> T* w(const char* nome) {
        return finestra_->findChild<T*>(QString::fromLatin1(nome));
    }
    // The texts of one column of the table, or of the list of mistakes.
    QStringList colonna(int c, const char* vista = "tblPartite") {
        const QAbstractItemModel* m = w<QAbstractItemView>(vista)->model();
        QStringList testi;
        for (int r = 0; r < m->rowCount(); ++r)
            testi << m->index(r, c).data().toString();
        return testi;
    }
    // A game started through its dialogs, answered as they open.
    void avvia() {
        nuovaPartita({"Anna"}, [](core::Gioco& g) { g.impostaMassimoFisso("100"); });
        QTRY_VERIFY_WITH_TIMEOUT(tavola_->controllo("txtAnswer")->hasFocus(), 5000);
    }

private slots:
    void cleanup() {
        delete finestra_;
        tavola_.reset();
        gioco_.reset();
    }

    // The games whose name holds the text, in any case and never read as a pattern, newest
    // first; the newest one's name is chosen, and the list shows its mistakes, the most
    // frequent first. With no text, every game, and the newest name chosen at opening.
    void filtro_data() {
        QTest::addColumn<QString>("testo");
        QTest::addColumn<QStringList>("date");
        QTest::addColumn<QStringList>("nomi");
        QTest::addColumn<QStringList>("errori");
        const QString g7 = "07/12/2026 14:03", g5 = "05/12/2026 08:15", g3 = "03/12/2026 10:30",
                      g2 = "02/12/2026 11:00", g1 = "01/12/2026 09:00";
        const QStringList diBruno{"40 \u2192 XL: 2 volte", "XIV \u2192 14: 1 volta"};
        QTest::newRow("tutte") << "" << QStringList{g7, g5, g3, g2, g1}
                               << QStringList{kBruno, "Anna", "Anna", kBruno, "Anna"} << diBruno;
        QTest::newRow("minuscole")
            << "anna" << QStringList{g5, g3, g1} << QStringList{"Anna", "Anna", "Anna"}
            << QStringList{"24 \u2192 XXIV: 3 volte", "9 \u2192 IX: 1 volta"};
        QTest::newRow("punto e virgola, allenamento inverso")
            << "o; \"" << QStringList{g7, g2} << QStringList{kBruno, kBruno} << diBruno;
        QTest::newRow("non un'espressione")
            << ".*" << QStringList{} << QStringList{} << QStringList{};
    }
    void filtro() {
        QFETCH(QString, testo);
        QFETCH(QStringList, date);
        QFETCH(QStringList, nomi);
        QFETCH(QStringList, errori);
        apri();
        w<QLineEdit>("txtFiltro")->setText(testo);
        QCOMPARE(colonna(0), date);
        QCOMPARE(colonna(1), nomi);
        QCOMPARE(finestra_->nomeScelto(), nomi.value(0));
        QCOMPARE(colonna(0, "lstErrori"), errori);
        QVERIFY2(w<QListWidget>("lstErrori")->accessibleName().contains(nomi.value(0)),
                 "the list tells a screen reader whose mistakes these are");
    }

    // The file for a spreadsheet: UTF-8 marked as such, ";" between fields, CRLF after every
    // line; a name holding ";" or quotes goes in quotes, a formula stays text.
    void esportazione() {
        std::vector<core::Partita> partite = storico();
        partite[4].nome = "=SOMMA(1)";
        QCOMPARE(QString::fromUtf8(ui::esportaPerFoglio({partite[1], partite[4], partite[3]})),
                 QString("\uFEFFData;Nome;Massimo;Modo;Esatte;Errate;Totale;Fine;Durata (secondi);"
                         "Pause;Secondi in pausa;Errori\r\n"
                         "07/12/2026 14:03:05;\"Bruno; \"\"il grande\"\"\";100;a tempo;7;1;8;"
                         "tempo scaduto;450;0;0;40: XXXX \u2192 XL\r\n"
                         "05/12/2026 08:15:00;'=SOMMA(1);100;a tempo;15;0;15;tempo scaduto;450;0;0;"
                         "\r\n"
                         "02/12/2026 11:00:00;\"Bruno; \"\"il grande\"\"\";100;a tempo;5;2;7;"
                         "tempo scaduto;450;0;0;40: XXXX \u2192 XL, XIV: 16 \u2192 14\r\n"));
    }

    // The pause (F5; the Pause key before any other resuming key) covers the question and stops
    // the clock; each of these resumes it, typing nothing, and gives the keyboard back.
    void riprende_data() {
        QTest::addColumn<int>("tasto"); // 0: a click on the cover
        QTest::addColumn<int>("alt");
        QTest::newRow("F5") << int(Qt::Key_F5) << 0;
        QTest::newRow("una lettera") << int(Qt::Key_V) << 0;
        QTest::newRow("Alt+lettera (Esci)") << int(Qt::Key_X) << int(Qt::AltModifier);
        QTest::newRow("un clic") << 0 << 0;
    }
    void riprende() {
        QFETCH(int, tasto);
        QFETCH(int, alt);
        avvia();
        auto* risposta = qobject_cast<QLineEdit*>(tavola_->controllo("txtAnswer"));
        auto* pannello = tavola_->findChild<QWidget*>(QStringLiteral("pnlPausa"));
        QTest::keyClicks(risposta, QStringLiteral("X"));
        QTest::keyClick(tavola_.get(), tasto == Qt::Key_F5 ? Qt::Key_F5 : Qt::Key_Pause);
        QCOMPARE(pannello->geometry(), tavola_->superficie().geometry());
        QCOMPARE(QApplication::focusWidget(), pannello); // so the cover is shown
        QVERIFY2(!tavola_->controllo("lblNum1")->isVisible(), "the question cannot be seen");
        QVERIFY2(!tavola_->timer1().isActive(), "the clock stands");

        QTest::keyClick(pannello, Qt::Key_Alt); // on the way to Alt+Tab, say: not a key of its own
        QVERIFY2(pannello->isVisible(), "Alt alone resumes");
        tasto == 0 ? QTest::mouseClick(pannello, Qt::LeftButton)
                   : QTest::keyClick(pannello, Qt::Key(tasto), Qt::KeyboardModifiers(alt));
        QVERIFY2(!pannello->isVisible(), "the cover is gone");
        QVERIFY2(tavola_->timer1().isActive(), "the clock runs again");
        QCOMPARE(risposta->text(), QStringLiteral("X")); // the key resumed, and typed nothing
        QTRY_VERIFY2_WITH_TIMEOUT(risposta->hasFocus(), "the answer box has the keyboard again",
                                  5000);
    }
};

} // namespace

QTEST_MAIN(RisultatiTest)
#include "test_risultati.moc"
