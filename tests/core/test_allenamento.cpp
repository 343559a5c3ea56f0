// The review of a game's mistakes and the practice mode, against the fake window.

#include "core/game.hpp"
#include "fake_window.hpp"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

namespace {

// A game with a record of 0 in a directory of its own, started in practice or not.
struct Partita {
    explicit Partita(bool allenamento) : cartella(mkdtemp(modello)), archivio(cartella) {
        std::ofstream(cartella + "/prom.txt") << "0\r\n";
        finestra.risposteInput = {"Anna", "3800", "Anna", "3800"}; // a start and a new game
        finestra.risposteMessaggi = {core::kRispostaOk, core::kRispostaOk, core::kRispostaSi};
        gioco.impostaAllenamento(allenamento);
        gioco.avvia();
    }
    ~Partita() { std::filesystem::remove_all(cartella); }
    std::string record() const {
        std::ifstream a(cartella + "/prom.txt"), b(cartella + "/nrom.txt");
        return std::string(std::istreambuf_iterator<char>(a), {}) + '|' +
               std::string(std::istreambuf_iterator<char>(b), {});
    }
    // Answers the open question with `risposta` ("" for the right numeral), asks the next one
    // and returns the line the review has for a wrong answer.
    std::string rispondi(const std::string& risposta) {
        const core::Errore e{std::stoi(finestra.testo(core::Controllo::lblNum1)), risposta,
                             gioco.rispostaEsatta()};
        finestra.imposta(core::Controllo::txtAnswer, risposta.empty() ? e.esatto : risposta);
        int tasto = 13;
        gioco.txtAnswer_KeyPress(tasto);
        gioco.cmdNext_Click();
        return core::rigaDi(e);
    }
    char modello[32] = "/tmp/cifrolandia-prova-XXXXXX";
    std::string cartella;
    FakeFinestra finestra;
    core::ArchivioRecord archivio;
    core::Gioco gioco{finestra, archivio};
};

// Practice entered before the start (the command line) or from its menu entry, after answers
// given as characters: '=' the right one, any other letter that wrong answer.
class AllenamentoTest : public testing::TestWithParam<std::tuple<bool, const char*>> {};

TEST_P(AllenamentoTest, ReviewNewestFirstThenPracticeLeavesTheRecordAlone) {
    const auto [daRigaDiComando, risposte] = GetParam();
    Partita p(daRigaDiComando);
    std::vector<std::string> righe;
    for (const char* c = risposte; *c; ++c) {
        const std::string riga = p.rispondi(*c == '=' ? "" : std::string(1, *c));
        if (*c != '=') {
            righe.insert(righe.begin(), riga);
        }
    }
    EXPECT_EQ(p.finestra.ripasso, righe);
    EXPECT_EQ(p.finestra.timer, !daRigaDiComando); // no countdown in practice
    p.gioco.Allenamento_Click();                   // a new game: the review is empty
    EXPECT_TRUE(p.gioco.ripasso().errori().empty());
    EXPECT_TRUE(p.finestra.ripasso.empty());

    const std::string prima = p.record();
    for (int i = 0; i < 1000; ++i) {
        p.gioco.Timer1_Timer();
    }
    EXPECT_FALSE(p.gioco.finito());
    p.rispondi("");
    p.gioco.cmdExit1_Click(); // 1 beats the record of 0, but practice does not count
    EXPECT_EQ(p.finestra.dialoghi.end()[-2], "msg[0|]: Ciao a presto...Data 06/12/2026");
    EXPECT_EQ(p.finestra.statoFinale, 0);
    EXPECT_EQ(p.record(), prima);
}

INSTANTIATE_TEST_SUITE_P(Ingressi, AllenamentoTest,
                         testing::Combine(testing::Bool(), testing::Values("ZQ=", "=QZ", "==")));

} // namespace
