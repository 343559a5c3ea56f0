// What a game leaves in the history for each way it ends, the pause, and a bound fixed for the
// session.
#include "partita_di_prova.hpp"

#include <gtest/gtest.h>

namespace {

using core::Risposta;

// Games kept in memory, on a clock the test moves.
struct RegistroFinto : core::RegistroPartite {
    std::string istante() const override { return "2026-12-07T14:03:05+01:00"; }
    double secondi() const override { return adesso; }
    bool registra(const core::Partita& p) override {
        partite.push_back(p);
        return true;
    }
    double adesso = 1000;
    std::vector<core::Partita> partite;
};

class Cronaca : public testing::Test, protected PartitaDiProva {
protected:
    Cronaca() { gioco.impostaRegistro(registro); }
    void avvia() { PartitaDiProva::avvia("Anna", "5000"); }
    RegistroFinto registro;
};

// How a game ends: a call of the game, made `volte` times (the clock's ticks), after a Yes to
// its question with `si`; with two pauses, the second is still open at the end.
struct Fine {
    const char* nome;
    void (core::Gioco::*azione)();
    const char* scritta; // the ending written; nullptr: the game goes on, nothing is written
    bool si = false;
    int volte = 1, pause = 1;
    long secondiInPausa = 30;
};

class Fini : public Cronaca, public testing::WithParamInterface<Fine> {};

// A game of 100 real seconds with a pause of 30, one right answer and one wrong, then its end.
TEST_P(Fini, OgniFineScriveUnaRigaConIlGiocoIntero) {
    const Fine& f = GetParam();
    avvia();
    const std::string numero = std::to_string(gioco.numero());
    const std::string esatta = gioco.rispostaEsatta();
    rispondi("X");
    gioco.prossimaDomanda();
    rispondi(gioco.rispostaEsatta());
    registro.adesso += 40;
    gioco.pausa();
    registro.adesso += 30;
    gioco.riprendi();
    registro.adesso += 30;
    if (f.pause == 2) { // a pause still open at the end counts, up to the end
        gioco.pausa();
        registro.adesso += 20;
    }
    finestra.risposte = {f.si ? Risposta::Si : Risposta::No};
    for (int i = 0; i < f.volte; ++i) {
        (gioco.*f.azione)();
    }
    if (f.scritta == nullptr) {
        EXPECT_TRUE(registro.partite.empty()) << "the game goes on: nothing written";
        return;
    }
    ASSERT_EQ(registro.partite.size(), 1u) << "one line per game";
    const std::vector<core::Errore> errori{{numero, "X", esatta}};
    const core::Partita attesa{registro.istante(), 70,      "Anna",           "3800", "gara", 1, 1,
                               f.scritta,          f.pause, f.secondiInPausa, errori};
    EXPECT_EQ(registro.partite[0], attesa) << "the line of: " << f.nome;
    EXPECT_TRUE(finestra.note.empty()) << "nothing to say when the line is written";
    EXPECT_FALSE(finestra.pausa) << "no game ends covered";
    if (!f.si) { // not followed by a new game: the program ends, its clock stopped
        EXPECT_EQ(finestra.statoFinale, 0);
        EXPECT_FALSE(finestra.timer);
    }
}

using core::Gioco;
INSTANTIATE_TEST_SUITE_P(
    Storico, Fini,
    testing::Values(Fine{"uscita", &Gioco::esci, "uscita"},
                    Fine{"tempo", &Gioco::scatto, "tempo", false, 901},
                    Fine{"nuovo gioco", &Gioco::nuovaPartita, "nuovo-gioco", true},
                    Fine{"allenamento", &Gioco::nuovoAllenamento, "allenamento", true},
                    Fine{"finestra chiusa", &Gioco::chiudi, "finestra-chiusa"},
                    Fine{"nuovo gioco rifiutato", &Gioco::nuovaPartita, nullptr},
                    Fine{"chiusa in pausa", &Gioco::chiudi, "finestra-chiusa", false, 1, 2, 50}),
    [](const auto& info) { return "fine" + std::to_string(info.index); });

// The pause, in the timed game and in practice: the clock stands, nothing is typed or judged,
// the window covers the question, and the game goes on afterwards as it was.
class Pausa : public Cronaca, public testing::WithParamInterface<core::Modo> {};

TEST_P(Pausa, FermaLOrologioEIlGiocoNonDellaPartita) {
    const bool gara = GetParam() == core::Modo::Gara;
    gioco.impostaModo(GetParam());
    avvia();
    scatti(10);
    gioco.pausa();
    EXPECT_TRUE(finestra.pausa) << "the question is covered";
    EXPECT_FALSE(finestra.timer) << "the timer stops";
    scatti(2000);
    EXPECT_EQ(gioco.orologio().restanti, gara ? 890 : 900) << "the clock stood still";
    finestra.scritto = gioco.rispostaEsatta();
    EXPECT_EQ(gioco.tasto('i'), 0) << "nothing is typed while paused";
    EXPECT_EQ(gioco.tasto(13), 0);
    EXPECT_EQ(gioco.esatte(), 0) << "nothing is judged while paused";
    EXPECT_EQ(finestra.statoFinale, -1) << "a pause never ends the game";
    gioco.riprendi();
    EXPECT_FALSE(finestra.pausa) << "the question is shown again";
    EXPECT_EQ(finestra.timer, gara) << "only the timed game has a timer to restart";
    scatti(1);
    EXPECT_EQ(gioco.orologio().restanti, gara ? 889 : 900) << "the clock goes on";
}

INSTANTIATE_TEST_SUITE_P(Modi, Pausa, testing::Values(core::Modo::Gara, core::Modo::Allenamento));

TEST_F(Cronaca, UnMassimoFissoNonChiedeIlLimiteNemmenoAlNuovoGioco) {
    gioco.impostaMassimoFisso("5000");
    finestra.risposteInput = {"Anna"};
    gioco.avvia();
    finestra.risposte = {Risposta::Si};
    finestra.risposteInput = {"Bea"};
    gioco.nuovaPartita();
    // Twice the name and the challenge, and the question: no bound asked, nor its warning.
    EXPECT_EQ(finestra.dialoghi.size(), 5u);
    EXPECT_EQ(gioco.massimo(), "3800") << "read as a typed bound is";
}

} // namespace
