// The real game window on the offscreen platform: its layout, and whole rounds of the game
// played through Qt's events.

#include "core/game.hpp"
#include "ui/tavola.hpp"
#include "ui/widgets.hpp"

#include <QInputDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <QToolButton>
#include <QtTest>

namespace {

// Answers the modal dialogs as they come: a text for an input box, a button for a message box.
// Every dialog met is logged as its title and text.
class Risponditore : public QObject {
public:
    explicit Risponditore(QStringList risposte) : risposte_(std::move(risposte)) {
        connect(&timer_, &QTimer::timeout, this, [this] { rispondi(); });
        timer_.start(5);
    }
    QStringList visti;

private:
    void rispondi() {
        QWidget* modale = QApplication::activeModalWidget();
        if (!modale || modale == ultimo_) {
            return;
        }
        ultimo_ = modale;
        const QString risposta = risposte_.isEmpty() ? QString() : risposte_.takeFirst();
        if (auto* input = qobject_cast<QInputDialog*>(modale)) {
            visti << input->windowTitle() + "|" + input->labelText();
            input->setTextValue(risposta);
            input->accept();
        } else if (auto* box = qobject_cast<QMessageBox*>(modale)) {
            visti << box->windowTitle() + "|" + box->text();
            QAbstractButton* b = risposta == "No" ? box->button(QMessageBox::No)
                                 : risposta == "Sì"
                                     ? box->button(QMessageBox::Yes)
                                     : static_cast<QAbstractButton*>(box->defaultButton());
            (b ? b : box->buttons().constFirst())->click();
        }
    }
    QStringList risposte_;
    QTimer timer_;
    QPointer<QWidget> ultimo_; // a new dialog may take the place of the last one in memory
};

class TavolaTest : public QObject {
    Q_OBJECT

    QTemporaryDir cartella_;
    std::unique_ptr<core::ArchivioRecord> archivio_;
    std::unique_ptr<ui::Tavola> tavola_;
    std::unique_ptr<core::Gioco> gioco_;
    int statoFinale_ = -1;

    template <typename T = QWidget> T* w(const char* nome) {
        auto* x = qobject_cast<T*>(tavola_->controllo(QString::fromLatin1(nome)));
        if (!x) {
            qFatal("no control %s", nome);
        }
        return x;
    }
    QLineEdit* risposta() { return w<QLineEdit>("txtAnswer"); }
    QToolButton* avanti() { return w<QToolButton>("cmdNext"); }
    QString testoDi(const char* nome) { return w<QLabel>(nome)->text(); }

    // A new window and game, started through its dialogs with this name and bound.
    void avvia(const QString& nome, const QString& limite) {
        archivio_ = std::make_unique<core::ArchivioRecord>(cartella_.path().toStdString());
        tavola_ = std::make_unique<ui::Tavola>();
        tavola_->allaFine = [this](int stato) { statoFinale_ = stato; };
        gioco_ = std::make_unique<core::Gioco>(*tavola_, *archivio_);
        tavola_->collega(*gioco_);
        Risponditore r({nome, "", "", limite});
        gioco_->avvia();
        QVERIFY(QTest::qWaitForWindowExposed(tavola_.get()));
        QApplication::setActiveWindow(tavola_.get());
    }
    QRgb pixel(int y) {
        const QImage img = tavola_->superficie().grab().toImage();
        return img.pixel(img.width() - 2, y < 0 ? img.height() + y : y);
    }

private slots:
    void init() { statoFinale_ = -1; }

    void layout_data() {
        QTest::addColumn<QString>("nome");
        QTest::addColumn<QRect>("rettangolo");
        QTest::addColumn<QString>("testo");
        QTest::newRow("txtAnswer") << "txtAnswer" << QRect(240, 24, 441, 80) << "II";
        QTest::newRow("cmdNext") << "cmdNext" << QRect(288, 400, 121, 73) << "&Nuovo calcolo";
        QTest::newRow("cmdExit1") << "cmdExit1" << QRect(640, 272, 105, 73) << "E&xit";
        QTest::newRow("Label4") << "Label4" << QRect(232, 0, 433, 25)
                                << "Scrivi il numero romano corrispondente";
        QTest::newRow("lblconto") << "lblconto" << QRect(8, 176, 105, 33) << "00.00.00";
        QTest::newRow("Label12") << "Label12" << QRect(16, 496, 153, 25) << "Il record  è di ";
        QTest::newRow("Label14") << "Label14" << QRect(32, 376, 95, 28) << "Sfidante";
        QTest::newRow("lblScore") << "lblScore" << QRect(72, 272, 37, 59) << "0";
        QTest::newRow("lblMessage") << "lblMessage" << QRect(112, 136, 441, 41) << "";
        QTest::newRow("Image1") << "Image1" << QRect(0, 112, 32, 32) << QString();
    }
    void layout() {
        QFETCH(QString, nome);
        QFETCH(QRect, rettangolo);
        QFETCH(QString, testo);
        ui::Tavola tavola;
        QWidget* c = tavola.controllo(nome);
        QVERIFY(c);
        QCOMPARE(c->geometry(), rettangolo);
        if (auto* l = qobject_cast<QLabel*>(c); l && !testo.isNull()) {
            QCOMPARE(l->text(), testo);
        } else if (auto* e = qobject_cast<QLineEdit*>(c)) {
            QCOMPARE(e->text(), testo);
        } else if (auto* b = qobject_cast<QToolButton*>(c)) {
            QCOMPARE(b->text(), testo);
        }
    }

    void windowAsCreated() {
        ui::Tavola tavola;
        QCOMPARE(tavola.windowTitle(), QString("Cifrolandia"));
        // Wide enough at normal size for the whole exit button.
        QVERIFY(tavola.width() >= 745);
        QVERIFY(!tavola.controllo("cmdNext")->isEnabled());
        QVERIFY(!tavola.controllo("Text2")->isVisibleTo(&tavola));
        QCOMPARE(tavola.controllo("cmdNext")->toolTip(), QString("Go"));
        QCOMPARE(tavola.controllo("lblScore")->toolTip(),
                 QString("Questo è il tuo punteggio. Forza con il  record"));
        QCOMPARE(tavola.timer1().interval(), 500);
        QCOMPARE(tavola.timer1().timerType(), Qt::PreciseTimer);
        // Keyboard order: the exit button, the next-question button, the answer box.
        auto prossimo = [](QWidget* w) {
            do {
                w = w->nextInFocusChain();
            } while (!(w->focusPolicy() & Qt::TabFocus));
            return w;
        };
        QCOMPARE(prossimo(tavola.controllo("cmdExit1")), tavola.controllo("cmdNext"));
        QCOMPARE(prossimo(tavola.controllo("cmdNext")), tavola.controllo("txtAnswer"));
        QCOMPARE(prossimo(tavola.controllo("txtAnswer")), tavola.controllo("cmdExit1"));

        QStringList voci;
        for (QAction* a : tavola.menuBar()->actions()) {
            voci << a->text();
            if (a->menu()) {
                for (QAction* b : a->menu()->actions()) {
                    voci << "  " + b->text();
                }
            }
        }
        QCOMPARE(voci.size(), 9);
        QCOMPARE(voci.at(0), QString("Informazioni"));
        QCOMPARE(voci.at(2), QString("  Gioco a tempo: hai 15 minuti a disposizione."));
        QCOMPARE(voci.at(6), QString("Licenza d'uso"));
        QCOMPARE(voci.at(8), QString("Nuovo gioco"));
    }

    void wholeRound() {
        avvia("Anna", "100");
        QCOMPARE(testoDi("lblnome1"), QString("Anna"));
        QCOMPARE(testoDi("lblconto"), QString("00:15:00"));
        QVERIFY(!testoDi("lblNum1").isEmpty());
        QVERIFY(!avanti()->isEnabled());
        QTRY_COMPARE(QApplication::focusWidget(), risposta());
        // The backdrop: blue 0 in the top band, 255 in the bottom one.
        QCOMPARE(qBlue(pixel(0)), 0);
        QCOMPARE(qBlue(pixel(-1)), 255);

        // Keys: letters capitalised, "a" turned into "B", Backspace edits, Enter inserts nothing.
        QTest::keyClicks(risposta(), "xiva");
        QCOMPARE(risposta()->text(), QString("XIVB"));
        QTest::keyClick(risposta(), Qt::Key_Backspace);
        QCOMPARE(risposta()->text(), QString("XIV"));

        // A right answer, typed in small letters.
        risposta()->clear();
        QTest::keyClicks(risposta(), QString::fromStdString(gioco_->rispostaEsatta()).toLower());
        QTest::keyClick(risposta(), Qt::Key_Return);
        QCOMPARE(testoDi("lblMessage"), QString("Esatto, è incredibile!!!"));
        QCOMPARE(testoDi("lblScore"), QString("1"));
        QCOMPARE(testoDi("lblScore1"), QString("0"));
        QCOMPARE(testoDi("lblScore2"), QString("1"));
        QVERIFY(avanti()->isEnabled());
        QCOMPARE(QApplication::focusWidget(), avanti());

        // Enter in the box now draws the next question and judges nothing.
        risposta()->setFocus();
        QTest::keyClick(risposta(), Qt::Key_Return);
        QVERIFY(!avanti()->isEnabled());
        QCOMPARE(risposta()->text(), QString());
        QCOMPARE(testoDi("lblScore2"), QString("1"));

        // A pasted small letter is not capitalised, so the answer is wrong; the window turns
        // black until the next question paints a new gradient.
        const QString atteso = QString::fromStdString(gioco_->rispostaEsatta());
        risposta()->setText(atteso.toLower());
        QTest::keyClick(risposta(), Qt::Key_Enter);
        QCOMPARE(testoDi("lblMessage"), "Sbagliato!! " + atteso);
        QCOMPARE(testoDi("lblScore1"), QString("1"));
        QCOMPARE(testoDi("lblScore2"), QString("2"));
        QCOMPARE(pixel(0), qRgb(0, 0, 0));
        QCOMPARE(pixel(-1), qRgb(0, 0, 0));
        QTest::keyClick(avanti(), Qt::Key_Return);
        QCOMPARE(qBlue(pixel(0)), 0);
        QCOMPARE(qBlue(pixel(-1)), 255);
        QCOMPARE(testoDi("lblScore2"), QString("2"));
    }

    void longestNumeralsCanBeTyped() {
        avvia("Anna", "3900");
        // Draw until a numeral of more than ten letters comes up, then type it in full.
        for (int i = 0; i < 500 && gioco_->rispostaEsatta().size() <= 10; ++i) {
            gioco_->cmdNext_Click();
        }
        const QString atteso = QString::fromStdString(gioco_->rispostaEsatta());
        QVERIFY(atteso.size() > 10);
        QTest::keyClicks(risposta(), atteso);
        QCOMPARE(risposta()->text(), atteso);
        QTest::keyClick(risposta(), Qt::Key_Return);
        QCOMPARE(testoDi("lblMessage"), QString("Esatto, è incredibile!!!"));

        risposta()->clear();
        QTest::keyClicks(risposta(), "MMMDCCCLXXXVIIIX"); // 3888 and one letter more
        QCOMPARE(risposta()->text(), QString("MMMDCCCLXXXVIII"));
    }

    void exitSaysGoodbyeAndEnds() {
        avvia("Anna", "100");
        Risponditore r({""});
        QTest::mouseClick(w<QToolButton>("cmdExit1"), Qt::LeftButton);
        QCOMPARE(statoFinale_, 0);
        QCOMPARE(r.visti.size(), 1);
        QVERIFY(r.visti.at(0).startsWith("Cifrolandia|Ciao a presto...Data "));
        QVERIFY(!tavola_->isVisible());
        QVERIFY(!tavola_->timer1().isActive());
    }

    void newGameQuestionNoChangesNothing() {
        avvia("Anna", "100");
        QTest::keyClick(risposta(), Qt::Key_Return);
        Risponditore r({"No"});
        tavola_->findChild<QAction*>("Next")->trigger();
        QTRY_COMPARE(r.visti.size(), 1);
        QCOMPARE(r.visti.at(0), QString("INIZIARE NUOVA GARA|INIZIAMO UNA NUOVA GARA  ?"));
        QCOMPARE(testoDi("lblScore2"), QString("1"));
        QVERIFY(tavola_->isVisible());
    }

    void namesAreShownAsTyped() {
        avvia("<b>Tom</b> & Jerry", "100");
        QCOMPARE(testoDi("lblnome1"), QString("<b>Tom</b> & Jerry"));
        QCOMPARE(w<QLabel>("lblnome1")->textFormat(), Qt::PlainText);
    }
};

} // namespace

QTEST_MAIN(TavolaTest)
#include "test_tavola.moc"
