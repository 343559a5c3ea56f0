// The "Risultati" window over a history of two pupils: the table and its order, the filter,
// the mistakes made most often, the keyboard path, and the file exported for a spreadsheet.
// Then the pause of the game window: what covers the question, and what resumes it.

#include "core/gioco.hpp"
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

class RisultatiTest : public QObject {
    Q_OBJECT

    QPointer<ui::FinestraRisultati> finestra_;

    template <typename T> T* w(const char* nome) {
        return finestra_->findChild<T*>(QString::fromLatin1(nome));
    }
    // The texts of one column of the table, or of the list of mistakes.
    QStringList colonna(int c, const char* vista = "tblPartite") {
        const QAbstractItemModel* m = w<QAbstractItemView>(vista)->model();
        QStringList testi;
        for (int r = 0; r < m->rowCount(); ++r) {
            testi << m->index(r, c).data().toString();
        }
        return testi;
    }
    QStringList elenco() { return colonna(0, "lstErrori"); }

private slots:
    void init() {
        finestra_ = new ui::FinestraRisultati(storico());
        finestra_->show();
        QVERIFY(QTest::qWaitForWindowExposed(finestra_));
    }
    void cleanup() { delete finestra_; }

    void tabellaDallaPiuRecente() {
        QCOMPARE(colonna(0),
                 (QStringList{"07/12/2026 14:03", "05/12/2026 08:15", "03/12/2026 10:30",
                              "02/12/2026 11:00", "01/12/2026 09:00"}));
        QCOMPARE(colonna(1), (QStringList{kBruno, "Anna", "Anna", kBruno, "Anna"}));
        QCOMPARE(colonna(3).first(), QStringLiteral("a tempo"));
        QCOMPARE(colonna(6).first(), QStringLiteral("tempo scaduto"));
        QCOMPARE(finestra_->nomeScelto(), kBruno); // the newest game's name, chosen at opening
    }

    void filtro_data() {
        QTest::addColumn<QString>("testo");
        QTest::addColumn<QStringList>("nomi");
        QTest::addColumn<QString>("scelto");
        QTest::newRow("vuoto") << "" << QStringList{kBruno, "Anna", "Anna", kBruno, "Anna"}
                               << kBruno;
        QTest::newRow("minuscole") << "anna" << QStringList{"Anna", "Anna", "Anna"} << "Anna";
        QTest::newRow("punto e virgola") << "o; \"" << QStringList{kBruno, kBruno} << kBruno;
        QTest::newRow("nessuno") << "Carla" << QStringList{} << "";
        QTest::newRow("non un'espressione") << ".*" << QStringList{} << "";
    }
    void filtro() {
        QFETCH(QString, testo);
        QFETCH(QStringList, nomi);
        QFETCH(QString, scelto);
        w<QLineEdit>("txtFiltro")->setText(testo);
        QCOMPARE(colonna(1), nomi);
        QCOMPARE(finestra_->nomeScelto(), scelto);
    }

    void erroriFrequenti_data() {
        QTest::addColumn<QString>("nome");
        QTest::addColumn<QStringList>("righe");
        QTest::newRow("Anna") << "Anna"
                              << QStringList{"24 \u2192 XXIV: 3 volte", "9 \u2192 IX: 1 volta"};
        QTest::newRow("Bruno, anche allenamento inverso")
            << kBruno << QStringList{"40 \u2192 XL: 2 volte", "XIV \u2192 14: 1 volta"};
    }
    void erroriFrequenti() {
        QFETCH(QString, nome);
        QFETCH(QStringList, righe);
        w<QLineEdit>("txtFiltro")->setText(nome);
        QCOMPARE(elenco(), righe);
        QVERIFY2(w<QListWidget>("lstErrori")->accessibleName().contains(nome),
                 "the list tells a screen reader whose mistakes these are");
    }

    // Tab goes filter, table, list, Esporta, Chiudi; the chart takes no focus.
    void ordineDelTab() {
        QApplication::setActiveWindow(finestra_);
        w<QLineEdit>("txtFiltro")->setFocus();
        QStringList percorso{QApplication::focusWidget()->objectName()};
        for (int i = 0; i < 4; ++i) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            percorso << QApplication::focusWidget()->objectName();
        }
        QCOMPARE(percorso,
                 (QStringList{"txtFiltro", "tblPartite", "lstErrori", "cmdEsporta", "cmdChiudi"}));
    }

    void esportazione_data() {
        QTest::addColumn<int>("riga");
        QTest::addColumn<QString>("atteso");
        QTest::newRow("intestazione, separatore ;")
            << 0 << "\uFEFFData;Nome;Massimo;Modo;Esatte;Errate;Totale;Fine;";
        QTest::newRow("data del foglio, nome tra virgolette raddoppiate")
            << 1 << "07/12/2026 14:03:05;\"Bruno; \"\"il grande\"\"\";100;a tempo;7;1;8;";
        QTest::newRow("una formula resta testo") << 2 << "05/12/2026 08:15:00;'=SOMMA(1);100;";
        QTest::newRow("errori in parole") << 3 << "40: XXXX \u2192 XL, XIV: 16 \u2192 14";
    }
    void esportazione() {
        QFETCH(int, riga);
        QFETCH(QString, atteso);
        std::vector<core::Partita> partite = storico();
        partite[4].nome = "=SOMMA(1)";
        const QByteArray byte = ui::esportaPerFoglio({partite[1], partite[4], partite[3]});
        QVERIFY2(byte.endsWith("\r\n"), "the last line ends too");
        const QStringList righe = QString::fromUtf8(byte).split(QStringLiteral("\r\n"));
        QCOMPARE(righe.size(), 5); // header, three games, nothing after the last line end
        QVERIFY2(righe[riga].contains(atteso), qPrintable(righe[riga]));
    }
};

// A game started through its dialogs (answered as they open), then paused.
class PausaTest : public QObject {
    Q_OBJECT

    QTemporaryDir cartella_;
    core::ArchivioRecord archivio_{cartella_.path().toStdString()};
    std::unique_ptr<ui::Tavola> tavola_;
    std::unique_ptr<core::Gioco> gioco_;

    QWidget* w(const char* nome) { return tavola_->controllo(QString::fromLatin1(nome)); }
    QWidget* pannello() { return tavola_->findChild<QWidget*>(QStringLiteral("pnlPausa")); }

private slots:
    void init() {
        tavola_ = std::make_unique<ui::Tavola>();
        tavola_->allaFine = [](int) {};
        gioco_ = std::make_unique<core::Gioco>(*tavola_, archivio_);
        tavola_->collega(*gioco_);
        gioco_->impostaMassimoFisso("100");
        QTimer risponditore;
        connect(&risponditore, &QTimer::timeout, [] {
            if (auto* input = qobject_cast<QInputDialog*>(QApplication::activeModalWidget())) {
                input->setTextValue(QStringLiteral("Anna"));
                input->accept();
            } else if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
                box->defaultButton() ? box->defaultButton()->click() : box->accept();
            }
        });
        risponditore.start(5);
        gioco_->avvia();
        QVERIFY(QTest::qWaitForWindowExposed(tavola_.get()));
        QApplication::setActiveWindow(tavola_.get());
        QTRY_VERIFY_WITH_TIMEOUT(w("txtAnswer")->hasFocus(), 5000);
    }
    void cleanup() {
        tavola_.reset();
        gioco_.reset();
    }

    void riprende_data() {
        QTest::addColumn<int>("tasto"); // 0: a click on the cover
        QTest::addColumn<bool>("alt");
        QTest::newRow("F5") << int(Qt::Key_F5) << false;
        QTest::newRow("Pausa") << int(Qt::Key_Pause) << false;
        QTest::newRow("una lettera") << int(Qt::Key_V) << false;
        QTest::newRow("Alt+lettera") << int(Qt::Key_X) << true;
        QTest::newRow("un clic") << 0 << false;
    }
    void riprende() {
        QFETCH(int, tasto);
        QFETCH(bool, alt);
        auto* risposta = qobject_cast<QLineEdit*>(w("txtAnswer"));
        QTest::keyClicks(risposta, QStringLiteral("X"));
        QTest::keyClick(tavola_.get(), Qt::Key_F5);
        QVERIFY2(gioco_->inPausa(), "F5 pauses");
        QVERIFY2(pannello()->isVisible(), "the cover is shown");
        QCOMPARE(pannello()->geometry(), tavola_->superficie().geometry());
        QVERIFY2(!w("lblNum1")->isVisible(), "the question cannot be seen");
        QVERIFY2(!tavola_->timer1().isActive(), "the clock stands");
        QCOMPARE(QApplication::focusWidget(), pannello());

        tasto == 0 ? QTest::mouseClick(pannello(), Qt::LeftButton)
                   : QTest::keyClick(QApplication::focusWidget(), Qt::Key(tasto),
                                     alt ? Qt::AltModifier : Qt::NoModifier);
        QVERIFY2(!gioco_->inPausa(), "resumed");
        QVERIFY2(!pannello()->isVisible(), "the cover is gone");
        QVERIFY2(tavola_->timer1().isActive(), "the clock runs again");
        QCOMPARE(risposta->text(), QStringLiteral("X")); // the key resumed, and typed nothing
        QVERIFY2(!qobject_cast<QToolButton*>(w("cmdNext"))->isEnabled(), "nothing was judged");
        QTRY_VERIFY2_WITH_TIMEOUT(risposta->hasFocus(), "the answer box has the keyboard again",
                                  5000);
    }
};

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    RisultatiTest risultati;
    PausaTest pausa;
    return QTest::qExec(&risultati, argc, argv) | QTest::qExec(&pausa, argc, argv);
}
#include "test_risultati.moc"
