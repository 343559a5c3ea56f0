// The game window filling a larger screen, its help window and the practice entry, on the
// offscreen platform.

#include "core/game.hpp"
#include "ui/ripasso.hpp"
#include "ui/tavola.hpp"
#include "ui/widgets.hpp"

#include <QDialog>
#include <QLabel>
#include <QMenuBar>
#include <QTemporaryDir>
#include <QtTest>

namespace {

// The start-up dialogs answered at once, and every question answered Yes.
class TavolaDiProva : public ui::Tavola {
public:
    std::string inputBox(std::string_view domanda) override {
        return domanda == core::testi::kChiediNome ? "Aldo" : "50";
    }
    int messageBox(std::string_view, int, std::string_view) override { return core::kRispostaSi; }
};

} // namespace

class SchermoTest : public QObject {
    Q_OBJECT
    QTemporaryDir cartella_;
    core::ArchivioRecord archivio_{cartella_.path().toStdString()};
    TavolaDiProva tavola_;
    core::Gioco gioco_{tavola_, archivio_};
    QString conto() { return static_cast<QLabel*>(tavola_.controllo("lblconto"))->text(); }

private slots:
    void initTestCase() {
        tavola_.allaFine = [](int) {};
        tavola_.collega(gioco_);
        gioco_.avvia();
        tavola_.showNormal();
    }

    void scalaUnica_data() {
        QTest::addColumn<QSize>("area");
        QTest::newRow("normale") << QSize(753, 554);
        QTest::newRow("1280x1024") << QSize(1280, 1024);
        QTest::newRow("1920x1080") << QSize(1920, 1080);
        QTest::newRow("3840x2160") << QSize(3840, 2160);
    }
    // Designed rectangles in pixels at normal size, scaled by one factor and centred.
    void scalaUnica() {
        QFETCH(QSize, area);
        tavola_.resize(area.width(), area.height() + tavola_.menuBar()->height());
        QTRY_COMPARE(tavola_.superficie().size(), area);
        const double f = std::min(area.width() / 753.0, area.height() / 554.0);
        const QPointF origine((area.width() - 753 * f) / 2, (area.height() - 554 * f) / 2);
        const std::pair<const char*, QRect> disegnati[] = {{"txtAnswer", {240, 24, 441, 80}},
                                                           {"cmdExit1", {640, 272, 105, 73}},
                                                           {"lblMessage", {112, 136, 441, 41}},
                                                           {"Image1", {0, 112, 32, 32}}};
        for (const auto& [nome, r] : disegnati) {
            const QRect g = tavola_.controllo(nome)->geometry();
            const QRectF atteso(origine + QPointF(r.topLeft()) * f, QSizeF(r.size()) * f);
            QVERIFY2(std::abs(g.x() - atteso.x()) <= 1 && std::abs(g.y() - atteso.y()) <= 1 &&
                         std::abs(g.width() - atteso.width()) <= 1 &&
                         std::abs(g.height() - atteso.height()) <= 1,
                     nome);
        }
        for (QWidget* w : tavola_.superficie().findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
            QVERIFY2(w == &tavola_.ripasso() || !w->isVisible() ||
                         !w->geometry().intersects(tavola_.ripasso().geometry()),
                     qPrintable(w->objectName()));
        }
    }

    void f1ApreLAiutoEIlTempoCorre() {
        const QString prima = conto();
        tavola_.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&tavola_));
        QTest::keyClick(&tavola_, Qt::Key_F1);
        auto* aiuto = tavola_.findChild<QDialog*>("Aiuto");
        QVERIFY(aiuto && aiuto->isVisible() && !aiuto->isModal());
        QTRY_VERIFY_WITH_TIMEOUT(conto() != prima, 3000);
        QTest::keyClick(aiuto, Qt::Key_Escape);
        QTRY_VERIFY(!tavola_.findChild<QDialog*>("Aiuto"));
    }

    void allenamentoDalMenuENuovoGioco() {
        tavola_.findChild<QAction*>("Allenamento")->trigger();
        QTRY_COMPARE(tavola_.windowTitle(), QString::fromUtf8(core::testi::kTitoloAllenamento));
        QCOMPARE(conto(), core::testi::kAllenamento);
        QVERIFY(!tavola_.timer1().isActive());
        tavola_.findChild<QAction*>("Next")->trigger();
        QTRY_COMPARE(tavola_.windowTitle(), QString::fromUtf8(core::testi::kTitolo));
        QVERIFY(tavola_.timer1().isActive());
    }
};

QTEST_MAIN(SchermoTest)
#include "test_schermo.moc"
