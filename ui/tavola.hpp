#pragma once
// The game window: its controls, menus and timer. It shows what the game tells it (it
// implements core::Finestra) and routes Qt's events to the game.

#include "core/finestra.hpp"
#include "ui/disposizione.hpp"

#include <QMainWindow>
#include <QPointer>
#include <QTimer>

#include <array>
#include <functional>
#include <string>

class QAction;
class QLabel;
class QMenuBar;
class QShortcut;

namespace core {
class Gioco;
}

namespace ui {

class Etichetta;
class CasellaRisposta;
class PulsanteFigura;
class Figura;
class Superficie;
class PannelloRipasso;
class FinestraAiuto;
class FinestraRisultati;
class PannelloPausa;
class Annuncio;
class OrologioParlato;
class Tastierino;

class Tavola : public QMainWindow, public core::Finestra {
    Q_OBJECT
public:
    explicit Tavola(QWidget* genitore = nullptr);
    ~Tavola() override;

    // Routes the window's events to the game.
    void collega(core::Gioco& gioco);

    // What ends the program; tests replace it to watch the end instead.
    std::function<void(int)> allaFine;

    // core::Finestra (tavola_finestra.cpp)
    void imposta(core::Controllo c, std::string_view testo) override;
    std::string rispostaScritta() const override;
    void abilita(core::Controllo c, bool abilitato) override;
    void daiFuoco(core::Controllo c) override;
    void abilitaTimer(bool abilitato) override;
    void dipingiSfondo(const core::Sfondo& sfondo) override;
    void impostaTitolo(std::string_view titolo) override;
    bool ridottaAIcona() const override;
    void impostaModo(core::Modo modo) override;
    std::string chiediTesto(std::string_view domanda) override;
    core::Risposta avvisa(std::string_view testo, core::Pulsanti pulsanti, std::string_view titolo,
                          std::string_view dettaglio) override;
    bool attendi(const std::function<bool()>& prova, std::string_view inAttesa,
                 std::string_view bloccata) override;
    std::string dataOdierna() const override;
    void ricarica() override;
    void mostra() override;
    void termina(int stato) override;
    void mostraRipasso(const std::vector<core::Errore>& errori) override;
    // tavola_storico.cpp
    void mostraPausa(bool inPausa) override;
    void mostraNota(std::string_view testo) override;
    void impostaNumeroMassimo(int massimo) override; // tavola_inversa.cpp

    // The on-screen keypad (tavola_tastierino.cpp): shown beneath the layout, the window grown
    // by its strip; hidden, the window as designed. Its keys: none until the window first
    // shows them.
    void mostraTastierino(bool mostrato);
    bool tastierinoMostrato() const { return tastierinoMostrato_; }
    Tastierino* tastierino() const { return tastierino_; }

    // For tests and benchmarks: a control by its object name, and the timer.
    QWidget* controllo(const QString& nome) const;
    QTimer& timer1() { return timer1_; }
    Superficie& superficie() const { return *superficie_; }
    // The layout's scale factor and corner for the present size of the client area.
    const Scala& scala() const { return scala_; }
    PannelloRipasso& ripasso() const { return *ripasso_; }
    // "Come si gioca" (F1), "Informazioni su Cifrolandia", the review (F8), full screen (F11).
    void apriAiuto();
    void apriInformazioni();
    void vaiAlRipasso();
    void alternaSchermoIntero();
    // "Pausa" (F5, Pause) and "Risultati" (F6).
    void alternaPausa();
    void apriRisultati();

    void setVisible(bool visibile) override;

protected:
    void changeEvent(QEvent* evento) override;
    void resizeEvent(QResizeEvent* evento) override;
    void closeEvent(QCloseEvent* evento) override;

private:
    void creaControlli();
    void creaMenu();                       // menu.cpp
    void creaVociStorico(QMenuBar* barra); // tavola_storico.cpp
    void creaMenuAllenamento();
    void disponiAggiunte();
    void creaTastierino(); // tavola_tastierino.cpp
    QSize layoutNormale() const;
    void disponiTastierino();
    void preparaTastierino();
    void adattaAlModo(); // tavola_inversa.cpp
    void disponiNumeroInverso();
    void ridisponi();
    void aggiornaFigure();
    void caricaFigure();
    void valoriIniziali();
    void disponiRigaRecord();
    void limitaNomeSfidante();
    void nominaPerAccessibilita(QWidget* w, bool nuovoTesto);
    QWidget* finestraDialoghi();
    void riattiva();
    QWidget* widget(core::Controllo c) const;
    bool premiPredefinito();

    core::Gioco* gioco_ = nullptr;
    Superficie* superficie_ = nullptr;
    // Every control of the table, in its order, and those the window handles by name.
    std::vector<QWidget*> controlli_;
    std::array<QWidget*, 12> perControllo_{}; // by core::Controllo; none for Text2
    CasellaRisposta* risposta_ = nullptr;
    PulsanteFigura* avanti_ = nullptr;
    PulsanteFigura* esci_ = nullptr;
    Figura* cronometro_ = nullptr;
    Etichetta* nomeRecord_ = nullptr;
    Etichetta* sfidante_ = nullptr;
    QWidget* conPunti_ = nullptr;
    QWidget* puntiRecord_ = nullptr;
    QWidget* ilRecordEDi_ = nullptr;
    QWidget* tempoRestante_ = nullptr;

    QTimer timer1_;
    QAction* nuovoGioco_ = nullptr;
    QAction* allenamento_ = nullptr;
    QAction* tastiera_ = nullptr; // "Tastiera sullo schermo", checked while the keypad is shown
    Tastierino* tastierino_ = nullptr;
    bool tastierinoMostrato_ = false;
    int numeroMassimo_ = 0;                 // of the numerals of a practice from numeral to number
    std::pair<int, double> misuraNumero_{}; // numeroMassimo_ and factor the number box is for
    QShortcut* esciSchermoIntero_ = nullptr;
    PannelloRipasso* ripasso_ = nullptr;
    Annuncio* annuncio_ = nullptr;               // what a screen reader alone is told
    OrologioParlato* orologioParlato_ = nullptr; // when the clock is said
    QPointer<FinestraAiuto> aiuto_;
    QPointer<QWidget> fuocoPrimaDelMenu_; // where the keyboard goes back after F10 and Esc
    PannelloPausa* pannelloPausa_ = nullptr;
    QPointer<QWidget> fuocoPrimaDellaPausa_;
    QLabel* nota_ = nullptr;
    QPointer<FinestraRisultati> risultati_;
    Scala scala_;
    bool figureCaricate_ = false;
    double fattoreFigure_ = 0;    // the factor the pictures were made for
    bool eraMassimizzata_ = true; // the state full screen goes back to
    QString minutoAnnunciato_;    // "hh:mm" of the clock when last announced
    core::Modo modo_ = core::Modo::Gara;
};

} // namespace ui
