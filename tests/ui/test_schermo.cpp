// The game window filling a larger screen, its help window and the practice entry, on the
// offscreen platform.

#include "core/game.hpp"
#include "ui/ripasso.hpp"
#include "ui/tavola.hpp"
#include "ui/widgets.hpp"

#include <QLabel>
#include <QMenuBar>
#include <QTemporaryDir>
#include <QtTest>

// The start-up dialogs answered at once ("50" to both), every question answered Yes.
class TavolaDiProva : public ui::Tavola {
    std::string inputBox(std::string_view) override { return "50"; }
    int messageBox(std::string_view, int, std::string_view) override { return core::kRispostaSi; }
};

class SchermoTest : public QObject {
    Q_OBJECT
    QTemporaryDir cartella_;
    core::ArchivioRecord archivio_{cartella_.path().toStdString()};
    TavolaDiProva tavola_;
    core::Gioco gioco_{tavola_, archivio_};
    QString conto() { return static_cast<QLabel*>(tavola_.controllo("lblconto"))->text(); }

private slots:
    void initTestCase() {
        tavola_.collega(gioco_);
        gioco_.avvia();
        tavola_.showNormal();
    }
    void scalaUnica_data() {
        QTest::addColumn<QSize>("area");
        for (QSize s : {QSize(753, 554), QSize(1280, 1024), QSize(1920, 1080), QSize(3840, 2160)}) {
            QTest::addRow("%dx%d", s.width(), s.height()) << s;
        }
    }
    // Rectangles of the layout at normal size, scaled by one factor and centred, within a
    // pixel or two; the review covers no control.
    void scalaUnica() {
        QFETCH(QSize, area);
        tavola_.resize(area.width(), area.height() + tavola_.menuBar()->height());
        QTRY_COMPARE(tavola_.superficie().size(), area);
        const double f = std::min(area.width() / 753.0, area.height() / 554.0);
        const QPointF origine((area.width() - 753 * f) / 2, (area.height() - 554 * f) / 2);
        for (auto [nome, r] : {std::pair("txtAnswer", QRect(240, 24, 441, 80)),
                               std::pair("cmdExit1", QRect(640, 272, 105, 73)),
                               std::pair("Image1", QRect(0, 112, 32, 32))}) {
            const QRectF g = tavola_.controllo(nome)->geometry();
            const QRectF a(origine + r.topLeft() * f, QSizeF(r.size()) * f);
            QVERIFY2((g.topLeft() - a.topLeft()).manhattanLength() <= 2 &&
                         (g.bottomRight() - a.bottomRight()).manhattanLength() <= 2,
                     nome);
        }
        for (QWidget* w : tavola_.superficie().findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
            QVERIFY(w == &tavola_.ripasso() ||
                    !w->geometry().intersects(tavola_.ripasso().geometry()));
        }
    }
    void f1ApreLAiutoEIlTempoCorre() {
        const QString prima = conto();
        tavola_.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&tavola_));
        QTest::keyClick(&tavola_, Qt::Key_F1);
        QTRY_VERIFY(tavola_.findChild<QWidget*>("Aiuto"));
        QTRY_VERIFY_WITH_TIMEOUT(conto() != prima, 3000);
    }
    // The menu entry, then "Nuovo gioco" back to the timed game.
    void allenamentoNelTitolo() {
        tavola_.findChild<QAction*>("Allenamento")->trigger();
        QTRY_COMPARE(tavola_.windowTitle(), QString::fromUtf8(core::testi::kTitoloAllenamento));
        QVERIFY(!tavola_.timer1().isActive());
        tavola_.findChild<QAction*>("Next")->trigger();
        QTRY_VERIFY(tavola_.timer1().isActive());
    }
};

QTEST_MAIN(SchermoTest)
#include "test_schermo.moc"
