// The real game window played through Qt's events: whole rounds, keys and menus, what a pupil
// sees on every backdrop, Qt's own texts, the window filling larger screens, the help window,
// practice, and what a screen reader is told (that part only where a screen reader listens:
// see CMakeLists.txt).

#include "core/game.hpp"
#include "ui/lettere.hpp"
#include "ui/ripasso.hpp"
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
    auto f = [](double x) { return x <= 0.03928 ? x / 12.92 : std::pow((x + 0.055) / 1.055, 2.4); };
    auto l = [f](QColor c) {
        return 0.2126 * f(c.redF()) + 0.7152 * f(c.greenF()) + 0.0722 * f(c.blueF()) + 0.05;
    };
    return std::max(l(a), l(b)) / std::min(l(a), l(b));
}

QStringList annunciati; // the controls whose name a screen reader was told, in order

class TavolaTest : public QObject {
    Q_OBJECT

    QTemporaryDir cartella_;
    core::ArchivioRecord archivio_{cartella_.path().toStdString()};
    std::unique_ptr<ui::Tavola> tavola_;
    std::unique_ptr<core::Gioco> gioco_;

    template <typename T = ui::Etichetta> T* w(const char* nome) {
        return qobject_cast<T*>(tavola_->controllo(QString::fromLatin1(nome)));
    }
    QLineEdit* risposta() { return w<QLineEdit>("txtAnswer"); }

    // A new window; with `limite`, a game started through its dialogs with that bound.
    void avvia(QString limite = {}) {
        tavola_ = std::make_unique<ui::Tavola>();
        tavola_->allaFine = [](int) {};
        gioco_ = std::make_unique<core::Gioco>(*tavola_, archivio_);
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
            colore |= con.pixelColor(p) == lettere;
        }
        return colore && spiccano > e->height() && contrasto(lettere, e->coloreContorno()) >= 3;
    }

public:
    TavolaTest() { ui::caricaTraduzioniItaliane(*QCoreApplication::instance()); }

private slots:

    void wholeRound() {
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
            gioco_->cmdNext_Click();
        QTest::keyClicks(risposta(), "MMMDCCCLXXXVIIIX\r"); // one letter more than it holds
        QCOMPARE(w("lblMessage")->text(), QString("Esatto, è incredibile!!!"));
        // F1 opens the help, and the clock runs on behind it.
        const QString prima = w("lblconto")->text();
        QTest::keyClick(tavola_.get(), Qt::Key_F1);
        QTRY_VERIFY(tavola_->findChild<QWidget*>("Aiuto"));
        QTRY_VERIFY_WITH_TIMEOUT(w("lblconto")->text() != prima, 3000);
    }

    // The menu entry, then "Nuovo gioco" back to the timed game, each question answered Yes.
    void practice() {
        avvia("50");
        auto r = risponditore([](QWidget* d) {
            if (auto* box = qobject_cast<QMessageBox*>(d))
                box->setDefaultButton(QMessageBox::Yes);
        });
        tavola_->findChild<QAction*>("Allenamento")->trigger();
        QTRY_COMPARE(tavola_->windowTitle(), QString::fromUtf8(core::testi::kTitoloAllenamento));
        QVERIFY(!tavola_->timer1().isActive());
        tavola_->findChild<QAction*>("Next")->trigger();
        QTRY_VERIFY(tavola_->timer1().isActive());
    }

    void scaledGeometry_data() {
        QTest::addColumn<QSize>("area");
        for (QSize s : {QSize(753, 554), QSize(1280, 1024), QSize(1920, 1080), QSize(3840, 2160)})
            QTest::addRow("%dx%d", s.width(), s.height()) << s;
    }
    // Rectangles of the layout at normal size, scaled by one factor and centred, within a
    // pixel or two; the review covers no control.
    void scaledGeometry() {
        QFETCH(QSize, area);
        avvia("50");
        tavola_->showNormal();
        tavola_->resize(area.width(), area.height() + tavola_->menuBar()->height());
        QTRY_COMPARE(tavola_->superficie().size(), area);
        const double f = std::min(area.width() / 753.0, area.height() / 554.0);
        const QPointF origine((area.width() - 753 * f) / 2, (area.height() - 554 * f) / 2);
        for (auto [nome, r] : {std::pair("txtAnswer", QRect(240, 24, 441, 80)),
                               std::pair("cmdExit1", QRect(640, 272, 105, 73)),
                               std::pair("Image1", QRect(0, 112, 32, 32))}) {
            const QRectF g = tavola_->controllo(nome)->geometry();
            const QRectF a(origine + r.topLeft() * f, QSizeF(r.size()) * f);
            QVERIFY2((g.topLeft() - a.topLeft()).manhattanLength() <= 2 &&
                         (g.bottomRight() - a.bottomRight()).manhattanLength() <= 2,
                     nome);
        }
        for (QWidget* c : tavola_->superficie().findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
            QVERIFY(c == &tavola_->ripasso() ||
                    !c->geometry().intersects(tavola_->ripasso().geometry()));
        // The number's digits show, however large (Qt's glyph cache once lost them on X11).
        gioco_->cmdNext_Click();
        QCoreApplication::processEvents();
        const qreal dpr = tavola_->devicePixelRatio();
        const auto schermo = [this] { // the window's image, where Qt paints it
            return dynamic_cast<QImage*>(tavola_->backingStore()->paintDevice());
        };
        QWidget* n = tavola_->controllo("lblNum1");
        const QImage numero = schermo()->copy(
            QRect(n->mapTo(tavola_.get(), QPoint()) * dpr, n->size() * dpr).adjusted(9, 9, -9, -9));
        int scuri = 0; // inside its border
        for (int i = 0; i < numero.width() * numero.height(); ++i)
            scuri += qGray(numero.pixel(i % numero.width(), i / numero.width())) < 64;
        QVERIFY(scuri > numero.width() * numero.height() / 20);
        // The backdrop as written straight into the window's image, and as QPainter fills a
        // 24-bit picture of it, the controls hidden.
        for (QWidget* c : tavola_->superficie().findChildren<QWidget*>())
            c->hide();
        QCoreApplication::processEvents();
        QImage atteso(area * dpr, QImage::Format_RGB888);
        atteso.setDevicePixelRatio(dpr);
        tavola_->superficie().render(&atteso);
        QCOMPARE(schermo()
                     ->copy(QRect(tavola_->superficie().pos() * dpr, atteso.size()))
                     .convertToFormat(QImage::Format_RGB32),
                 atteso.convertToFormat(QImage::Format_RGB32));
    }

    // A key in the answer box or in an input box: what it types, the menu or dialog it opens.
    void keys_data() {
        QTest::addColumn<QString>("riga");
        for (const char* riga :
             {"box|Alt+N||", "box|Ctrl+Alt+V||", "box|Meta+V||", "box|Ctrl+V|xiv|",
              "box|Alt+I||INFOMAZIONI", "box|F10||INFOMAZIONI", "box|Alt+R||Ciao", "box|Alt+L||lic",
              "box|Alt+G||INIZIARE NUOVA GARA|Sì|No", "box|Alt+X||Cifrolandia|OK",
              "dialog|Alt+N||Cifrolandia|OK|Annulla", "dialog|Ctrl+Alt+V||Cifrolandia|OK|Annulla",
              "dialog|Meta+V||Cifrolandia|OK|Annulla", "dialog|Ctrl+V|xiv|Cifrolandia|OK|Annulla",
              "dialog|Alt+I||Cifrolandia|OK|Annulla", "dialog|Alt+X||Cifrolandia|OK|Annulla"})
            QTest::newRow(riga) << QString::fromUtf8(riga);
    }
    void keys() {
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
        QCOMPARE(casella ? risposta()->text() : QString::fromStdString(tavola_->inputBox("?")),
                 r[2]);
        QTRY_COMPARE(aperto, riga.section('|', 3));
        QCOMPARE(w("lblScore2")->text(), QString("0")); // nothing judged
    }

    // Large text drawn from glyph pictures looks as QPainter::drawText draws it: same places,
    // lines, alignment, clip and edges (at most a quarter pixel apart).
    void largeLetters_data() {
        QTest::addColumn<int>("pixel");
        QTest::addColumn<int>("flags");
        for (int pixel : {70, 130})
            for (int flags : {Qt::AlignHCenter | Qt::TextWordWrap, int(Qt::AlignLeft)})
                QTest::addRow("%d px, %x", pixel, flags) << pixel << (flags | Qt::AlignTop);
    }
    void largeLetters() {
        QFETCH(int, pixel);
        QFETCH(int, flags);
        QFont carattere(QStringLiteral("Liberation Serif"));
        carattere.setPixelSize(pixel);
        QImage atteso(700, 500, QImage::Format_ARGB32_Premultiplied), ottenuto = atteso;
        const QRectF area(10, 10, 520, 420);
        const QString testo = QString::fromUtf8("0 Giulia è qui\nZ 3888 MMMDCCCLXXXVIII");
        for (QImage* i : {&atteso, &ottenuto})
            i->fill(Qt::transparent);
        {
            QPainter q(&ottenuto);
            ui::disegnaLettere(q, area, flags, testo, carattere);
        }
        QPainter p(&atteso);
        p.setFont(carattere);
        p.drawText(area, flags, testo);
        p.end();
        int diversi = 0;
        for (int i = 0; i < atteso.width() * atteso.height(); ++i) {
            const QPoint q(i % atteso.width(), i / atteso.width());
            diversi += std::abs(qAlpha(atteso.pixel(q)) - qAlpha(ottenuto.pixel(q))) > 64;
        }
        QCOMPARE(diversi, 0);
    }

    void windowAsSeen() {
        avvia();
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
            auto faccia = [b] {
                return b->grab().toImage().pixelColor(QPoint(6, 6) * b->devicePixelRatio());
            };
            QCOMPARE(faccia(), colore);
            b->setDown(true);
            QVERIFY2(faccia() != colore, "no pressed state");
        }
        // The stopwatch from the image drawn for the screen's pixel ratio, not an enlarged one.
        QImage disegnata(
            QString(":/immagini/cronometro-%1.png").arg(32 * tavola_->devicePixelRatio()));
        disegnata.setDevicePixelRatio(tavola_->devicePixelRatio());
        QCOMPARE(w<QLabel>("Image1")->pixmap().toImage(),
                 disegnata.convertToFormat(QImage::Format_ARGB32_Premultiplied));
        // The record line keeps its score inside the window; a long name is cut with "…".
        tavola_->imposta(core::Controllo::lblpunti, "3888");
        for (const QString& nome : {QString("Giulia"), QString(300, QChar(u'W'))}) {
            tavola_->imposta(core::Controllo::lblnome, (nome + "\r\n").toStdString());
            QCOMPARE(w("lblnome")->text().startsWith(nome), nome.size() < 20);
            QVERIFY(w("lblpunti")->geometry().right() < tavola_->superficie().width());
            QCOMPARE(w("lblnome")->toolTip(), nome);
            QVERIFY(w("lblnome")->accessibleDescription().endsWith(nome));
        }
    }

    void announcements() {
        if (QGuiApplication::platformName() == "offscreen")
            QSKIP("Qt tells screen readers nothing on the offscreen platform");
        QAccessible::installUpdateHandler([](QAccessibleEvent* e) {
            if (e->type() == QAccessible::NameChanged && e->object())
                annunciati << e->object()->objectName();
        });
        QTRY_VERIFY_WITH_TIMEOUT(QAccessible::isActive(), 10000);
        avvia();
        annunciati.clear();
        // A number each time it is shown, even the same again.
        for (int i = 0; i < 2; ++i)
            tavola_->imposta(core::Controllo::lblNum1, "1");
        QCOMPARE(annunciati, QStringList({"lblNum1", "lblNum1"}));
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
