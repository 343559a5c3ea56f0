// The review of a game's mistakes and the practice mode, against the fake window.

#include "core/game.hpp"
#include "fake_window.hpp"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

namespace fs = std::filesystem;

namespace {

// A game with a record of 0 in a directory of its own; `p` answers the open question with
// `risposta` ("" for the right numeral), then asks the next one, and returns the review's line.
struct Partita {
    Partita() : cartella(mkdtemp(modello)), archivio(cartella.string()) {
        std::ofstream(cartella / "prom.txt") << "0\r\n";
        finestra.risposteInput = {"Anna", "3800", "Anna", "3800"}; // a start and a new game
    }
    ~Partita() { fs::remove_all(cartella); }
    std::string record() const {
        std::stringstream s;
        s << std::ifstream(cartella / "prom.txt").rdbuf()
          << std::ifstream(cartella / "nrom.txt").rdbuf();
        return s.str();
    }
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
    fs::path cartella;
    FakeFinestra finestra;
    core::ArchivioRecord archivio;
    core::Gioco gioco{finestra, archivio};
};

// Each character an answer: '=' right, any other letter that wrong answer. Played in practice,
// which "Nuovo gioco" leaves for the timed game.
class RipassoTest : public testing::TestWithParam<const char*> {};

TEST_P(RipassoTest, ListsEveryMistakeNewestFirstAndANewGameEmptiesIt) {
    Partita p;
    p.gioco.impostaAllenamento(true);
    p.gioco.avvia();
    std::vector<std::string> righe;
    for (const char* c = GetParam(); *c; ++c) {
        const std::string riga = p.rispondi(*c == '=' ? "" : std::string(1, *c));
        if (*c != '=') {
            righe.insert(righe.begin(), riga);
        }
    }
    EXPECT_EQ(p.gioco.ripasso().righe(), righe);
    EXPECT_EQ(p.finestra.ripasso, righe);

    p.finestra.risposteMessaggi = {core::kRispostaSi};
    p.gioco.Next_Click();
    EXPECT_TRUE(p.gioco.ripasso().errori().empty());
    EXPECT_TRUE(p.finestra.ripasso.empty());
    EXPECT_TRUE(p.finestra.timer);
    EXPECT_EQ(p.finestra.titolo, core::testi::kTitolo);
}

INSTANTIATE_TEST_SUITE_P(Risposte, RipassoTest, testing::Values("ZQ=", "Z=Q", "=QZ", "=="));

// Practice entered from the command line (before the start) or from its menu entry.
class AllenamentoTest : public testing::TestWithParam<bool> {};

TEST_P(AllenamentoTest, TimeNeverEndsItAndTheExitLeavesTheRecordAlone) {
    Partita p;
    p.gioco.impostaAllenamento(GetParam());
    p.gioco.avvia();
    p.finestra.risposteMessaggi = {core::kRispostaSi};
    if (!GetParam()) {
        p.gioco.Allenamento_Click();
    }
    const std::string prima = p.record();
    EXPECT_EQ(p.finestra.titolo, core::testi::kTitoloAllenamento);
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

INSTANTIATE_TEST_SUITE_P(Ingressi, AllenamentoTest, testing::Bool());

} // namespace
