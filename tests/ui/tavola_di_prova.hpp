#pragma once
// The real game window and game over a record directory of their own, started through the
// dialogs of the start answered as they open: the base of the window tests that play.

#include "core/gioco.hpp"
#include "ui/tavola.hpp"

#include <QtTest>
#include <QtWidgets>

#include <functional>
#include <memory>

// Runs `guarda` on each modal dialog as it comes, then clicks its default button or accepts it.
inline std::unique_ptr<QTimer> risponditore(std::function<void(QWidget*)> guarda) {
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

class TavolaDiProva {
protected:
    QTemporaryDir cartella_;
    core::ArchivioRecord archivio_{cartella_.path().toStdString()};
    std::unique_ptr<ui::Tavola> tavola_;
    std::unique_ptr<core::Gioco> gioco_;
    // Where each new game takes its seeds: the clock, as in play, unless a test fixes them.
    core::Casuale::SorgenteSeme semi_ = core::Casuale::semeDallOrologio;

    // A new window and game, `prepara` run on the game first; with `testi`, the game started
    // with them typed in its text dialogs one after the other (without, the window only shown).
    void nuovaPartita(const QStringList& testi, const std::function<void(core::Gioco&)>& prepara) {
        tavola_ = std::make_unique<ui::Tavola>();
        tavola_->allaFine = [](int) {};
        gioco_ = std::make_unique<core::Gioco>(*tavola_, archivio_, semi_);
        tavola_->collega(*gioco_);
        if (prepara)
            prepara(*gioco_);
        QStringList daScrivere = testi;
        auto r = risponditore([&daScrivere](QWidget* d) {
            if (auto* input = qobject_cast<QInputDialog*>(d); input && !daScrivere.isEmpty())
                input->setTextValue(daScrivere.takeFirst());
        });
        testi.isEmpty() ? tavola_->show() : gioco_->avvia();
        QVERIFY(QTest::qWaitForWindowExposed(tavola_.get()));
        QApplication::setActiveWindow(tavola_.get());
    }
};
