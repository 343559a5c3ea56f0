#include "core/game.hpp"
#include "fake_window.hpp"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

using core::Controllo;
namespace fs = std::filesystem;

namespace {

std::string leggiFile(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

void scriviFile(const fs::path& p, const std::string& contenuto) {
    std::ofstream(p, std::ios::binary) << contenuto;
}

class GameTest : public testing::Test {
protected:
    void SetUp() override {
        char modello[] = "/tmp/cifrolandia-gioco-XXXXXX";
        cartella = mkdtemp(modello);
        archivio = core::ArchivioRecord(cartella.string());
    }
    void TearDown() override { fs::remove_all(cartella); }

    // A game started with the given name and bound; the first question is open.
    void avvia(const std::string& nome = "Anna", const std::string& limite = "50") {
        finestra.risposteInput = {nome, limite};
        gioco.avvia();
    }
    void rispondi(const std::string& testo) {
        finestra.imposta(Controllo::txtAnswer, testo);
        int tasto = 13;
        gioco.txtAnswer_KeyPress(tasto);
        EXPECT_EQ(tasto, 0);
    }
    void rispondiBene() { rispondi(gioco.rispostaEsatta()); }
    void scatti(int n) {
        for (int i = 0; i < n; ++i) {
            gioco.Timer1_Timer();
        }
    }

    fs::path cartella;
    FakeFinestra finestra;
    core::ArchivioRecord archivio{""}; // pointed at `cartella` by SetUp
    core::Gioco gioco{finestra, archivio};
};

TEST_F(GameTest, StartUpAsksNameAndBoundThenStartsTheClockAndShowsTheRecord) {
    scriviFile(cartella / "prom.txt", "12\r\n");
    scriviFile(cartella / "nrom.txt", "Bea\r\n");
    finestra.duranteDialogo = [this] { gioco.Timer1_Timer(); }; // ticks must not move it
    avvia("Anna", "50");

    const std::vector<std::string> attesi = {
        "input: Come ti chiami?",
        "msg[0|]:  Anna vediamo se sei un vero campione  ",
        "msg[0|]:  Inserisci il numero più grande che potrò utilizzare",
        "input: Allora arriverò fino al numero?  ",
    };
    EXPECT_EQ(finestra.dialoghi, attesi);
    EXPECT_EQ(finestra.testo(Controllo::lblnome1), "Anna");
    EXPECT_EQ(finestra.testo(Controllo::lblpunti), "12\r\n");
    EXPECT_EQ(finestra.testo(Controllo::lblnome), "Bea\r\n");
    EXPECT_EQ(finestra.testo(Controllo::lblconto), "00:15:00");
    EXPECT_EQ(gioco.orologio().restanti, 900);
    EXPECT_TRUE(finestra.timer);
    EXPECT_EQ(finestra.mostrata, 1);
    EXPECT_EQ(gioco.massimo(), "50");
    // The first question is open.
    EXPECT_FALSE(finestra.testo(Controllo::lblNum1).empty());
    EXPECT_FALSE(finestra.abilitato(Controllo::cmdNext));
    EXPECT_EQ(finestra.fuoco, Controllo::txtAnswer);
    EXPECT_EQ(finestra.sfondo.tipo, core::Sfondo::Tipo::Sfumatura);
}

TEST_F(GameTest, CancelledNameGivesAnEmptyChallengerAndFirstStartEmptyRecord) {
    avvia("", "");
    EXPECT_EQ(finestra.dialoghi[1], "msg[0|]:   vediamo se sei un vero campione  ");
    EXPECT_EQ(finestra.testo(Controllo::lblnome1), "");
    EXPECT_EQ(finestra.testo(Controllo::lblpunti), "");
    EXPECT_EQ(gioco.massimo(), "100");
    EXPECT_EQ(leggiFile(cartella / "prom.txt"), "");
}

TEST_F(GameTest, QuestionShowsTheNumberAndExpectsItsNumeral) {
    avvia("Anna", "2");
    EXPECT_EQ(finestra.testo(Controllo::lblNum1), "1");
    EXPECT_EQ(finestra.testo(Controllo::Text2), "I");
    EXPECT_EQ(gioco.rispostaEsatta(), "I");
}

TEST_F(GameTest, RightAndWrongAnswersAreJudgedAndCounted) {
    avvia();
    const core::Sfondo sfondoDomanda = finestra.sfondo;
    rispondiBene();
    EXPECT_EQ(finestra.testo(Controllo::lblMessage), "Esatto, è incredibile!!!");
    EXPECT_EQ(finestra.testo(Controllo::lblScore), "1");
    EXPECT_EQ(finestra.testo(Controllo::lblScore1), "0"); // untouched by a right answer
    EXPECT_EQ(finestra.testo(Controllo::lblScore2), "1");
    EXPECT_EQ(finestra.sfondo, sfondoDomanda);
    EXPECT_TRUE(finestra.abilitato(Controllo::cmdNext));
    EXPECT_EQ(finestra.fuoco, Controllo::cmdNext);

    gioco.cmdNext_Click();
    EXPECT_EQ(finestra.testo(Controllo::txtAnswer), "");
    EXPECT_EQ(finestra.testo(Controllo::lblMessage), "");
    const std::string atteso = gioco.rispostaEsatta();
    rispondi(" " + atteso); // a blank makes it wrong
    EXPECT_EQ(finestra.testo(Controllo::lblMessage), "Sbagliato!! " + atteso);
    EXPECT_EQ(finestra.sfondo.tipo, core::Sfondo::Tipo::Nero);
    EXPECT_EQ(finestra.testo(Controllo::lblScore), "1");
    EXPECT_EQ(finestra.testo(Controllo::lblScore1), "1");
    EXPECT_EQ(finestra.testo(Controllo::lblScore2), "2");

    gioco.cmdNext_Click();
    rispondi(""); // an empty box is a wrong answer too
    EXPECT_EQ(gioco.errate(), 2);
    gioco.cmdNext_Click();
    rispondi(gioco.rispostaEsatta() + "i"); // as if pasted: not upper-cased, so wrong
    EXPECT_EQ(gioco.errate(), 3);
    EXPECT_EQ(finestra.testo(Controllo::lblScore2), "4");
}

TEST_F(GameTest, KeysAreNormalisedAndOnlyEnterJudges) {
    avvia();
    for (auto [tasto, atteso] : {std::pair{'x', 'X'}, {'a', 'B'}, {'A', 'B'}, {'\b', '\b'}}) {
        int codice = tasto;
        gioco.txtAnswer_KeyPress(codice);
        EXPECT_EQ(codice, atteso);
    }
    EXPECT_EQ(gioco.esatte() + gioco.errate(), 0);
}

TEST(Clock, TicksCountDownOneSecondEach) {
    core::Orologio orologio;
    orologio.riparti();
    const std::map<int, std::pair<std::string, int>> attesi = {
        {1, {"00:14:59", 899}},  {60, {"00:14:00", 840}}, {61, {"00:13:59", 839}},
        {840, {"00:01:00", 60}}, {841, {"00:00:59", 59}}, {900, {"00:00:00", 0}},
    };
    for (int scatto = 1; scatto <= 900; ++scatto) {
        orologio.scatta();
        if (auto it = attesi.find(scatto); it != attesi.end()) {
            EXPECT_EQ(orologio.testo(), it->second.first) << scatto;
            EXPECT_EQ(orologio.restanti, it->second.second) << scatto;
        }
    }
}

TEST_F(GameTest, TheTickAfterZeroEndsTheGameOnceWhateverElseArrives) {
    avvia();
    scatti(900);
    EXPECT_EQ(finestra.testo(Controllo::lblconto), "00:00:00");
    EXPECT_EQ(finestra.statoFinale, -1);
    finestra.duranteDialogo = [this] { scatti(3); }; // ticks during the goodbye
    scatti(1);
    EXPECT_EQ(finestra.testo(Controllo::lblconto), "00:00:00");
    EXPECT_EQ(finestra.statoFinale, 0);
    EXPECT_FALSE(finestra.timer);
    int saluti = 0;
    for (const auto& d : finestra.dialoghi) {
        saluti += d.rfind("msg[0|]: Ciao a presto...Data 06/12/2026", 0) == 0;
    }
    EXPECT_EQ(saluti, 1);
    // Nothing runs after the end.
    const auto dialoghi = finestra.dialoghi.size();
    gioco.cmdExit1_Click();
    gioco.Next_Click();
    gioco.cmdNext_Click();
    EXPECT_EQ(finestra.dialoghi.size(), dialoghi);
}

TEST_F(GameTest, TimeRunningOutDuringTheNewGameQuestionEndsTheGame) {
    avvia();
    scatti(900);
    finestra.duranteDialogo = [this] { scatti(1); };
    finestra.risposteMessaggi = {core::kRispostaSi};
    gioco.Next_Click();
    EXPECT_EQ(finestra.statoFinale, 0);
    EXPECT_EQ(finestra.ricariche, 0); // the Yes came too late: no new game
}

TEST_F(GameTest, NewGameAsksAndYesStartsAFreshGame) {
    avvia("Anna", "5000");
    rispondiBene();
    scatti(10);
    finestra.risposteMessaggi = {core::kRispostaNo};
    gioco.Next_Click();
    EXPECT_EQ(finestra.dialoghi.back(), "msg[292|INIZIARE NUOVA GARA]: INIZIAMO UNA NUOVA GARA  ?");
    EXPECT_EQ(gioco.esatte(), 1);
    EXPECT_EQ(finestra.testo(Controllo::lblconto), "00:14:50");

    finestra.risposteMessaggi = {core::kRispostaSi};
    finestra.risposteInput = {"Bruno", "20"};
    gioco.Next_Click();
    EXPECT_EQ(finestra.ricariche, 1);
    EXPECT_EQ(finestra.mostrata, 2);
    EXPECT_EQ(gioco.esatte(), 0);
    EXPECT_EQ(gioco.massimo(), "20");
    EXPECT_EQ(finestra.testo(Controllo::lblnome1), "Bruno");
    EXPECT_EQ(finestra.testo(Controllo::lblconto), "00:15:00");
    EXPECT_EQ(gioco.orologio().restanti, 900);
    EXPECT_LT(std::stoi(finestra.testo(Controllo::lblNum1)), 20);
    EXPECT_EQ(leggiFile(cartella / "prom.txt"), ""); // a new game saves nothing
}

struct Esito {
    std::string prom;
    int punti;
    bool salvato;
};

void PrintTo(const Esito& e, std::ostream* os) {
    *os << testing::PrintToString(e.prom) << " against " << e.punti;
}

class RecordAtExitTest : public GameTest, public testing::WithParamInterface<Esito> {};

TEST_P(RecordAtExitTest, SavesOnlyAScoreStrictlyAboveTheRecord) {
    scriviFile(cartella / "prom.txt", GetParam().prom);
    scriviFile(cartella / "nrom.txt", "Bea\r\n");
    avvia("Carla", "100");
    for (int i = 0; i < GetParam().punti; ++i) {
        rispondiBene();
        gioco.cmdNext_Click();
    }
    gioco.cmdExit1_Click();
    EXPECT_EQ(finestra.statoFinale, 0);
    const std::string ok = "msg[0|]: Ok ho registrato il tuo record, C A M P I O N E\"";
    if (GetParam().salvato) {
        EXPECT_EQ(leggiFile(cartella / "prom.txt"), std::to_string(GetParam().punti) + "\r\n");
        EXPECT_EQ(leggiFile(cartella / "nrom.txt"), "Carla\r\n");
        EXPECT_EQ(finestra.dialoghi.end()[-2], ok);
    } else {
        EXPECT_EQ(leggiFile(cartella / "prom.txt"), GetParam().prom);
        EXPECT_EQ(leggiFile(cartella / "nrom.txt"), "Bea\r\n");
        EXPECT_EQ(finestra.dialoghi.end()[-2].rfind("msg[0|]: Ciao a presto...Data ", 0), 0u);
    }
}

INSTANTIATE_TEST_SUITE_P(HandEditedRecords, RecordAtExitTest,
                         testing::Values(Esito{"", 0, false}, Esito{"", 1, true},
                                         Esito{"3\r\n", 3, false}, Esito{"3\r\n", 4, true},
                                         Esito{"  1 2abc", 12, false}, Esito{"  1 2abc", 13, true},
                                         Esito{"&H3", 3, false}, Esito{"&H3", 4, true},
                                         Esito{"1E1", 10, false}, Esito{"-3", 0, true},
                                         Esito{std::string("\xff\0\x80", 3), 1, true}));

TEST_F(GameTest, MinimisedTitleFollowsTheClock) {
    avvia();
    scatti(1);
    finestra.ridotta = true;
    gioco.Form_Resize();
    EXPECT_EQ(finestra.titolo, "00:14:59");
    scatti(1);
    EXPECT_EQ(finestra.titolo, "00:14:58");
    finestra.ridotta = false;
    gioco.Form_Resize();
    EXPECT_EQ(finestra.titolo, "Cifrolandia");
    scatti(1);
    EXPECT_EQ(finestra.titolo, "Cifrolandia");
}

TEST_F(GameTest, AnUnusableRecordDirectoryStopsTheGameWithStatusOne) {
    const fs::path file = cartella / "un-file";
    scriviFile(file, "x");
    archivio = core::ArchivioRecord((file / "record").string()); // below a file
    avvia();
    EXPECT_EQ(finestra.statoFinale, 1);
    EXPECT_EQ(finestra.mostrata, 0);
    ASSERT_GE(finestra.dialoghi.size(), 2u);
    const std::string& errore = finestra.dialoghi[finestra.dialoghi.size() - 2];
    EXPECT_NE(errore.find((file / "record").string()), std::string::npos) << errore;
    EXPECT_FALSE(finestra.timer);
}

} // namespace
