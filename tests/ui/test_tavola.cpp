// The real game window played through Qt's events: whole rounds, keys and menus, what a pupil
// sees on every backdrop, Qt's own texts, and what a screen reader is told (that part only
// where a screen reader's bus listens: tests/ui/with_atspi.sh).

#include "core/game.hpp"
#include "ui/tavola.hpp"
#include "ui/translations.hpp"
#include "ui/widgets.hpp"

#include <QtTest>
#include <QtWidgets>

namespace {

// Runs `guarda` on each modal dialog as it comes, then clicks its default button or accepts it.
std::unique_ptr<QTimer> risponditore(std::function<void(QWidget*)> guarda) {
    auto timer = std::make_unique<QTimer>();
    QObject::connect(
        timer.get(), &QTimer::timeout, [guarda, ultimo = QPointer<QWidget>()]() mutable {
            QWidget* d = QApplication::activeModalWidget();
            if (!d || d == ultimo) // a new dialog may take the place of the last one in memory
                return;
            guarda(ultimo = d);
            auto* box = qobject_cast<QMessageBox*>(d);
            box && box->defaultButton() ? box->defaultButton()->click()
                                        : static_cast<QDialog*>(d)->accept();
        });
    timer->start(5);
    return timer;
}

// Contrast ratio of two colours (WCAG 2): 1 for the same luminance, 21 for black and white.
double contrasto(QColor a, QColor b) {
    auto l = [](QColor c) {
        auto f = [](double x) {
            return x <= 0.03928 ? x / 12.92 : std::pow((x + 0.055) / 1.055, 2.4);
        };
        return 0.2126 * f(c.redF()) + 0.7152 * f(c.greenF()) + 0.0722 * f(c.blueF()) + 0.05;
    };
    return std::max(l(a), l(b)) / std::min(l(a), l(b));
}

bool vicino(QColor a, QColor b) { // within 8 in each channel
    return std::max({qAbs(a.red() - b.red()), qAbs(a.green() - b.green()),
                     qAbs(a.blue() - b.blue())}) <= 8;
}

QStringList annunciati; // the controls whose name a screen reader was told, in order

class TavolaTest : public QObject {
    Q_OBJECT

    QTemporaryDir cartella_;
    std::unique_ptr<core::ArchivioRecord> archivio_;
    std::unique_ptr<ui::Tavola> tavola_;
    std::unique_ptr<core::Gioco> gioco_;

    template <typename T = ui::Etichetta> T* w(const char* nome) {
        return qobject_cast<T*>(tavola_->controllo(QString::fromLatin1(nome)));
    }
    QLineEdit* risposta() { return w<QLineEdit>("txtAnswer"); }
    QString testoDi(const char* nome) { return w(nome)->text(); }

    // A new window; with `limite`, a game started through its dialogs with that bound.
    void avvia(QString limite = {}) {
        tavola_ = std::make_unique<ui::Tavola>();
        tavola_->allaFine = [](int) {};
        archivio_ = std::make_unique<core::ArchivioRecord>(cartella_.path().toStdString());
        gioco_ = std::make_unique<core::Gioco>(*tavola_, *archivio_);
        tavola_->collega(*gioco_);
        QStringList testi{"Anna", limite};
        auto r = risponditore([&testi](QWidget* d) {
            if (auto* input = qobject_cast<QInputDialog*>(d))
                input->setTextValue(testi.takeFirst());
        });
        limite.isNull() ? tavola_->show() : gioco_->avvia();
        QVERIFY(QTest::qWaitForWindowExposed(tavola_.get()));
        QApplication::setActiveWindow(tavola_.get());
    }
    // A label's text stands out (3:1) from the backdrop it hides, in letters of its own colour.
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
            colore |= vicino(con.pixelColor(p), lettere);
        }
        return colore && spiccano > e->height() && contrasto(lettere, e->coloreContorno()) >= 3;
    }

private slots:
    void initTestCase() {
        ui::caricaTraduzioniItaliane(*QCoreApplication::instance());
        QAccessible::installUpdateHandler([](QAccessibleEvent* e) {
            if (e->type() == QAccessible::NameChanged && e->object())
                annunciati << e->object()->objectName();
        });
    }

    void wholeRound() {
        avvia("100");
        QCOMPARE(testoDi("lblconto"), QString("00:15:00"));
        QTRY_COMPARE(QApplication::focusWidget(), risposta());
        QTest::keyClicks(risposta(), "xiva\b"); // capitalised, "a" turned into "B", Backspace
        QCOMPARE(risposta()->text(), QString("XIV"));
        // A right answer in small letters; Enter again draws the next question, judging nothing.
        risposta()->clear();
        QTest::keyClicks(risposta(), QString::fromStdString(gioco_->rispostaEsatta()).toLower());
        QTest::keyClick(risposta(), Qt::Key_Return);
        QCOMPARE(testoDi("lblMessage"), QString("Esatto, è incredibile!!!"));
        QCOMPARE(QApplication::focusWidget(), w<QToolButton>("cmdNext"));
        risposta()->setFocus();
        QTest::keyClick(risposta(), Qt::Key_Return);
        QVERIFY(!w<QToolButton>("cmdNext")->isEnabled());
        // A pasted small letter is wrong: the window turns black, and the score still shows.
        const QString atteso = QString::fromStdString(gioco_->rispostaEsatta());
        risposta()->setText(atteso.toLower());
        QTest::keyClick(risposta(), Qt::Key_Enter);
        QCOMPARE(testoDi("lblMessage"), "Sbagliato!! " + atteso);
        QCOMPARE(tavola_->superficie().grab().toImage().pixel(1, 1), qRgb(0, 0, 0));
        QVERIFY(leggibile(w("lblScore")));
        // Alt+N, the next-question button's access key, from the answer box.
        QTest::keyClick(risposta(), Qt::Key_N, Qt::AltModifier);
        QTRY_VERIFY(!w<QToolButton>("cmdNext")->isEnabled());
        QCOMPARE(testoDi("lblScore2"), QString("2"));
    }

    void longestNumeralCanBeTyped() {
        avvia("3900");
        while (gioco_->rispostaEsatta() != "MMMDCCCLXXXVIII")
            gioco_->cmdNext_Click();
        QTest::keyClicks(risposta(), "MMMDCCCLXXXVIIIX\r"); // one letter more than it holds
        QCOMPARE(testoDi("lblMessage"), QString("Esatto, è incredibile!!!"));
    }

    // A key in the answer box or in an input box: what it types, the menu or dialog it opens.
    void keys_data() {
        QTest::addColumn<QString>("riga");
        for (const char* riga :
             {"box|Alt+N||", "box|Ctrl+Alt+V||", "box|Meta+V||", "box|Ctrl+V|xiv|",
              "box|Alt+I||INFOMAZIONI", "box|F10||INFOMAZIONI", "box|Alt+R||Ciao", "box|Alt+L||lic",
              "box|Alt+G||INIZIARE NUOVA GARA", "box|Alt+X||Cifrolandia", "dialog|Alt+N||",
              "dialog|Ctrl+Alt+V||", "dialog|Meta+V||", "dialog|Ctrl+V|xiv|", "dialog|Alt+I||",
              "dialog|Alt+X||"})
            QTest::newRow(riga) << QString(riga);
    }
    void keys() {
        QFETCH(QString, riga);
        const QStringList r = riga.split('|'); // where, key, what it types, what it opens
        const bool casella = r[0] == "box";
        avvia("100");
        QApplication::clipboard()->setText("xiv");
        QString aperto;
        auto g = risponditore([&](QWidget* d) {
            casella ? void(aperto = d->windowTitle())
                    : QTest::keySequence(d->findChild<QLineEdit*>(), QKeySequence(r[1]));
        });
        if (casella) {
            QTest::keySequence(risposta(), QKeySequence(r[1]));
            if (QWidget* menu = QApplication::activePopupWidget()) {
                aperto = menu->objectName();
                menu->close();
            }
        }
        QCOMPARE(casella ? risposta()->text() : QString::fromStdString(tavola_->inputBox("?")),
                 r[2]);
        QTRY_COMPARE(aperto, r[3]);
        QCOMPARE(testoDi("lblScore2"), QString("0")); // nothing judged
    }

    void windowAsSeen() {
        avvia();
        // Captions, each on the backdrop that is worst for its colour.
        const std::tuple<const char*, const char*, int, int> righe[] = {
            {"lblconto", "00:14:59", 254, 254},
            {"lblMessage", "Esatto, è incredibile!!!", 234, 60},
            {"lblpunti", "12", 162, 31},
            {"Label6", "Risposte esatte", 135, 177}};
        for (auto [nome, testo, rosso, verde] : righe) {
            tavola_->dipingiSfondo({core::Sfondo::Tipo::Sfumatura, rosso, verde});
            w(nome)->impostaTesto(QString::fromUtf8(testo));
            QVERIFY2(leggibile(w(nome)), nome);
        }
        // Button faces in their own colours, darker while pressed, inside the window.
        for (auto [nome, colore] : {std::pair{"cmdNext", QColor(0, 192, 192)},
                                    std::pair{"cmdExit1", QColor(255, 128, 0)}}) {
            auto* b = w<QToolButton>(nome);
            QVERIFY2(vicino(b->grab().toImage().pixelColor(QPoint(6, 6) * b->devicePixelRatio()),
                            colore),
                     nome);
            b->setDown(true);
            QVERIFY2(!vicino(b->grab().toImage().pixelColor(QPoint(6, 6) * b->devicePixelRatio()),
                             colore),
                     nome);
            QVERIFY(b->geometry().right() < tavola_->superficie().width());
        }
        // The stopwatch from the image drawn for the screen's pixel ratio, not an enlarged one.
        const QPixmap mostrata = w<QLabel>("Image1")->pixmap();
        QImage disegnata(
            QStringLiteral(":/immagini/cronometro-%1.png").arg(32 * tavola_->devicePixelRatio()));
        disegnata.setDevicePixelRatio(tavola_->devicePixelRatio());
        const auto formato = QImage::Format_ARGB32_Premultiplied;
        QCOMPARE(mostrata.toImage().convertToFormat(formato), disegnata.convertToFormat(formato));
    }

    void recordLineStaysInside() {
        avvia();
        tavola_->imposta(core::Controllo::lblpunti, "3888");
        for (const QString& nome : {QString("Giulia"), QString(300, QChar(u'W'))}) {
            tavola_->imposta(core::Controllo::lblnome, (nome + "\r\n").toStdString());
            QCOMPARE(testoDi("lblnome").startsWith(nome), nome.size() < 20); // else cut with "…"
            QVERIFY(w("lblpunti")->geometry().right() < tavola_->superficie().width());
            QCOMPARE(w("lblnome")->toolTip(), nome);
            QVERIFY(w("lblnome")->accessibleDescription().endsWith(nome));
        }
    }

    void qtTextsAreItalian() {
        avvia();
        QStringList visti;
        auto r = risponditore([&visti](QWidget* d) {
            for (auto* b : d->findChildren<QAbstractButton*>())
                visti << b->text();
        });
        tavola_->messageBox("?", core::kSiNoDomandaNoPredefinito, "");
        tavola_->inputBox("?");
        const std::unique_ptr<QMenu> menu(risposta()->createStandardContextMenu());
        for (QAction* a : menu->actions())
            visti << a->text().section('\t', 0, 0);
        const QString tutti = visti.join('|').remove('&');
        for (const char* testo : {"Sì|No|OK|Annulla", "Incolla", "Seleziona tutto"})
            QVERIFY2(tutti.contains(QString::fromUtf8(testo)), qPrintable(tutti));
    }

    void announcements() {
        if (QGuiApplication::platformName() == "offscreen")
            QSKIP("Qt tells screen readers nothing on the offscreen platform");
        QTRY_VERIFY_WITH_TIMEOUT(QAccessible::isActive(), 10000);
        avvia();
        annunciati.clear();
        // A number or a verdict each time it is shown, even the same again.
        for (auto c :
             {core::Controllo::lblNum1, core::Controllo::lblNum1, core::Controllo::lblMessage})
            tavola_->imposta(c, "1");
        QCOMPARE(annunciati, QStringList({"lblNum1", "lblNum1", "lblMessage"}));
        // The clock once a minute, and at its end; read whenever asked.
        for (auto [secondi, annunci] : {std::pair{120, 2}, std::pair{900, 16}}) {
            annunciati.clear();
            for (int s = 1; s <= secondi; ++s)
                tavola_->imposta(core::Controllo::lblconto,
                                 QTime(0, 15).addSecs(-s).toString("hh:mm:ss").toStdString());
            QCOMPARE(annunciati.count("lblconto"), annunci);
        }
        QCOMPARE(QAccessible::queryAccessibleInterface(w("lblconto"))->text(QAccessible::Name),
                 QString("Tempo restante: 00:00:00"));
    }
};

} // namespace

QTEST_MAIN(TavolaTest)
#include "test_tavola.moc"
