#pragma once
// The game window: the controls, menus and timer of the game, implementing the window the
// game's handlers talk to, and routing Qt's events to those handlers.

#include "core/window.hpp"
#include "ui/layout.hpp"

#include <QHash>
#include <QMainWindow>
#include <QPointer>
#include <QSet>
#include <QTimer>

#include <functional>

class QLineEdit;
class QMenu;
class QAction;
class QShortcut;
class QWidget;

namespace core {
class Gioco;
}

namespace ui {

class Etichetta;
class CasellaRisposta;
class PulsanteFigura;
class Superficie;
class PannelloRipasso;
class FinestraAiuto;

class Tavola : public QMainWindow, public core::Finestra {
    Q_OBJECT
public:
    explicit Tavola(QWidget* genitore = nullptr);
    ~Tavola() override;

    // Routes the window's events to the game's handlers.
    void collega(core::Gioco& gioco);

    // What ends the program; tests replace it to watch the end instead.
    std::function<void(int)> allaFine;

    // core::Finestra
    void imposta(core::Controllo c, std::string_view testo) override;
    std::string testo(core::Controllo c) const override;
    void abilita(core::Controllo c, bool abilitato) override;
    bool abilitato(core::Controllo c) const override;
    void daiFuoco(core::Controllo c) override;
    void abilitaTimer(bool abilitato) override;
    void dipingiSfondo(const core::Sfondo& sfondo) override;
    void impostaTitolo(std::string_view titolo) override;
    bool ridottaAIcona() const override;
    std::string inputBox(std::string_view domanda) override;
    int messageBox(std::string_view testo, int pulsanti, std::string_view titolo) override;
    bool attendi(const std::function<bool()>& prova, std::string_view inAttesa,
                 std::string_view bloccata) override;
    std::string dataOdierna() const override;
    void ricarica() override;
    void mostra() override;
    void termina(int stato) override;
    void mostraRipasso(const std::vector<std::string>& righe) override;

    // For tests and benchmarks: a control by its name in the window, and the timer.
    QWidget* controllo(const QString& nome) const { return perNome_.value(nome); }
    QTimer& timer1() { return timer1_; }
    Superficie& superficie() const { return *superficie_; }
    // The layout's scale factor and corner for the present size of the client area.
    const Scala& scala() const { return scala_; }
    PannelloRipasso& ripasso() const { return *ripasso_; }
    // "Come si gioca" (F1), "Informazioni su Cifrolandia", full screen (F11, Esc leaves it).
    void apriAiuto();
    void apriInformazioni();
    void alternaSchermoIntero();

    void setVisible(bool visibile) override;

protected:
    void changeEvent(QEvent* evento) override;
    void resizeEvent(QResizeEvent* evento) override;
    void closeEvent(QCloseEvent* evento) override;

private:
    void creaControlli();
    void creaMenu();
    void creaMenuAggiunti();
    void ridisponi();
    void aggiornaFigure();
    void caricaFigure();
    void valoriIniziali();
    void disponiRigaRecord();
    void nominaPerAccessibilita(QWidget* w, bool nuovoTesto);
    QWidget* finestraDialoghi();
    void riattiva();
    QWidget* widget(core::Controllo c) const;
    bool premiPredefinito();

    core::Gioco* gioco_ = nullptr;
    Superficie* superficie_ = nullptr;
    QHash<QString, QWidget*> perNome_;
    QHash<QString, std::string> didascalie_; // captions as written, read back as such
    QTimer timer1_;
    QAction* nuovoGioco_ = nullptr;
    bool figureCaricate_ = false;
    QAction* allenamento_ = nullptr;
    QShortcut* esciSchermoIntero_ = nullptr;
    PannelloRipasso* ripasso_ = nullptr;
    QPointer<FinestraAiuto> aiuto_;
    Scala scala_;
    double fattoreFigure_ = 0;    // the factor the pictures were made for
    QSet<QString> conTesto_;      // labels whose text the game has set: they size to it
    bool eraMassimizzata_ = true; // the state full screen goes back to
    QString minutoAnnunciato_;    // "hh:mm" of the clock when last announced
};

} // namespace ui
