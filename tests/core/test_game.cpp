#include "core/game.hpp"
#include "fake_window.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>

using core::Controllo;
namespace fs = std::filesystem;

namespace {

std::string leggiFile(const fs::path& p) {
    std::stringstream s;
    s << std::ifstream(p, std::ios::binary).rdbuf();
    return s.str();
}

void scriviFile(const fs::path& p, const std::string& contenuto) {
    std::ofstream(p, std::ios::binary) << contenuto;
}

// A game over a record directory of its own, with a fixed sequence of seeds.
class GameTest : public testing::Test {
protected:
    void SetUp() override {
        char modello[] = "/tmp/cifrolandia-gioco-XXXXXX";
        cartella = mkdtemp(modello);
        archivio = core::ArchivioRecord(cartella.string());
    }
    void TearDown() override { fs::remove_all(cartella); }

    // Starts a game with this name and bound; the first question is then open.
    void avvia(const std::string& nome = "Anna", const std::string& limite = "50") {
        finestra.risposteInput = {nome, limite};
        gioco.avvia();
    }
    void rispondi(const std::string& testo) {
        finestra.imposta(Controllo::txtAnswer, testo);
        int tasto = 13;
        gioco.txtAnswer_KeyPress(tasto);
        EXPECT_EQ(tasto, 0); // the Enter never reaches the box
    }
    void scatti(int n) {
        for (int i = 0; i < n; ++i) {
            gioco.Timer1_Timer();
        }
    }
    long dialoghi(const std::string& inizio) {
        return std::ranges::count_if(finestra.dialoghi,
                                     [&](const std::string& d) { return d.starts_with(inizio); });
    }

    fs::path cartella;
    FakeFinestra finestra;
    core::ArchivioRecord archivio{""}; // pointed at `cartella` by SetUp
    std::uint64_t seme = 0;
    core::Gioco gioco{finestra, archivio, [this] { return ++seme; }};
};

const std::string kSaluto = "msg[0|]: Ciao a presto...Data 06/12/2026";

TEST_F(GameTest, StartUpAsksNameAndBoundThenStartsTheClockAndShowsTheRecord) {
    scriviFile(cartella / "prom.txt", "12\r\n");
    scriviFile(cartella / "nrom.txt", "Bea\r\n");
    finestra.duranteDialogo = [this] { scatti(1); }; // ticks must not move it
    avvia("Anna", "2");
    const std::vector<std::string> attesi = {
        "input: Come ti chiami?", "msg[0|]:  Anna vediamo se sei un vero campione  ",
        "msg[0|]:  Inserisci il numero più grande che potrò utilizzare",
        "input: Allora arriverò fino al numero?  "};
    EXPECT_EQ(finestra.dialoghi, attesi);
    const std::map<Controllo, std::string> testi = {
        {Controllo::lblnome1, "Anna"},   {Controllo::lblpunti, "12\r\n"},
        {Controllo::lblnome, "Bea\r\n"}, {Controllo::lblconto, "00:15:00"},
        {Controllo::lblNum1, "1"},       {Controllo::Text2, "I"},
    };
    for (const auto& [controllo, testo] : testi) {
        EXPECT_EQ(finestra.testo(controllo), testo);
    }
    EXPECT_EQ(gioco.orologio().restanti, 900);
    EXPECT_EQ(gioco.rispostaEsatta(), "I");
    EXPECT_TRUE(finestra.timer);
    EXPECT_EQ(finestra.mostrata, 1);
    EXPECT_FALSE(finestra.abilitato(Controllo::cmdNext));
    EXPECT_EQ(finestra.fuoco, Controllo::txtAnswer);
}

TEST_F(GameTest, AnEmptyBoundMeansAHundredAndEveryBackdropColourComesUp) {
    avvia("", "");
    EXPECT_EQ(finestra.dialoghi[1], "msg[0|]:   vediamo se sei un vero campione  ");
    EXPECT_EQ(gioco.massimo(), "100");
    EXPECT_EQ(leggiFile(cartella / "prom.txt"), ""); // a first start finds an empty record
    int minimo = 255, massimo = 0;
    for (int i = 0; i < 3000; ++i) {
        gioco.cmdNext_Click();
        EXPECT_EQ(finestra.sfondo.tipo, core::Sfondo::Tipo::Sfumatura);
        minimo = std::min({minimo, finestra.sfondo.rosso, finestra.sfondo.verde});
        massimo = std::max({massimo, finestra.sfondo.rosso, finestra.sfondo.verde});
        ASSERT_LT(std::stoi(finestra.testo(Controllo::lblNum1)), 100);
    }
    EXPECT_EQ(minimo, 0);
    EXPECT_EQ(massimo, 255);
}

TEST_F(GameTest, RightAndWrongAnswersAreJudgedAndCounted) {
    avvia();
    int tasto = 'x';
    gioco.txtAnswer_KeyPress(tasto); // a letter is capitalised and judges nothing
    EXPECT_EQ(tasto, 'X');
    const core::Sfondo sfondoDomanda = finestra.sfondo;
    rispondi(gioco.rispostaEsatta());
    EXPECT_EQ(finestra.testo(Controllo::lblMessage), "Esatto, è incredibile!!!");
    EXPECT_EQ(finestra.sfondo, sfondoDomanda);
    EXPECT_TRUE(finestra.abilitato(Controllo::cmdNext));
    EXPECT_EQ(finestra.fuoco, Controllo::cmdNext);
    // Then a blank in front, an empty box, an answer not capitalised: each one is wrong.
    for (std::string prima : {" ", "", "x"}) {
        gioco.cmdNext_Click();
        EXPECT_EQ(finestra.testo(Controllo::txtAnswer) + finestra.testo(Controllo::lblMessage), "");
        const std::string atteso = gioco.rispostaEsatta();
        rispondi(prima == "x" ? atteso + "i" : prima == "" ? "" : prima + atteso);
        EXPECT_EQ(finestra.testo(Controllo::lblMessage), "Sbagliato!! " + atteso);
        EXPECT_EQ(finestra.sfondo.tipo, core::Sfondo::Tipo::Nero);
    }
    EXPECT_EQ(finestra.testo(Controllo::lblScore) + finestra.testo(Controllo::lblScore1) +
                  finestra.testo(Controllo::lblScore2),
              "134");
}

TEST(Clock, TicksCountDownOneSecondEach) {
    core::Orologio orologio;
    orologio.riparti();
    const std::map<int, std::pair<std::string, int>> attesi = {
        {0, {"00:15:00", 900}},  {1, {"00:14:59", 899}},  {60, {"00:14:00", 840}},
        {61, {"00:13:59", 839}}, {841, {"00:00:59", 59}}, {900, {"00:00:00", 0}},
    };
    for (int scatto = 0; scatto <= 900; orologio.scatta(), ++scatto) {
        if (auto it = attesi.find(scatto); it != attesi.end()) {
            EXPECT_EQ(orologio.testo() + " " + std::to_string(orologio.restanti),
                      it->second.first + " " + std::to_string(it->second.second));
        }
    }
}

TEST_F(GameTest, TheTickAfterZeroEndsTheGameOnceEvenDuringTheNewGameQuestion) {
    avvia();
    scatti(900);
    EXPECT_EQ(finestra.testo(Controllo::lblconto) + " " + std::to_string(finestra.statoFinale),
              "00:00:00 -1");
    // Every event that may come while a dialog is open.
    finestra.duranteDialogo = [this] { scatti(1), gioco.cmdExit1_Click(), gioco.Next_Click(); };
    finestra.risposteMessaggi = {core::kRispostaSi, core::kRispostaSi};
    gioco.Next_Click();
    EXPECT_EQ(finestra.statoFinale, 0);
    EXPECT_EQ(finestra.ricariche, 0); // the Yes came too late
    EXPECT_FALSE(finestra.timer);
    EXPECT_EQ(dialoghi(kSaluto) + dialoghi("msg[292"), 2);
    // Nothing runs after the end.
    const auto testi = finestra.testi;
    const auto quanti = finestra.dialoghi.size();
    gioco.cmdExit1_Click(), gioco.Next_Click(), gioco.cmdNext_Click(), rispondi("");
    EXPECT_EQ(finestra.testi, testi);
    EXPECT_EQ(finestra.dialoghi.size(), quanti);
}

TEST_F(GameTest, OnlyYesStartsAFreshGameAndTheOldClockStopsDuringItsDialogs) {
    avvia("Anna", "5000");
    rispondi(gioco.rispostaEsatta());
    gioco.cmdNext_Click();
    rispondi("");
    scatti(10);
    finestra.risposteMessaggi = {core::kRispostaNo};
    gioco.Next_Click();
    EXPECT_EQ(finestra.dialoghi.back(), "msg[292|INIZIARE NUOVA GARA]: INIZIAMO UNA NUOVA GARA  ?");
    EXPECT_EQ(gioco.esatte() * 10 + gioco.errate(), 11);
    EXPECT_EQ(finestra.testo(Controllo::lblconto), "00:14:50");
    std::vector<bool> timer;
    finestra.duranteDialogo = [&] { timer.push_back(finestra.timer), scatti(1); };
    finestra.risposteMessaggi = {core::kRispostaSi};
    finestra.risposteInput = {"Bruno", "20"};
    gioco.Next_Click();
    EXPECT_EQ(timer, (std::vector<bool>{true, false, false, false, false}));
    EXPECT_EQ(finestra.ricariche * 10 + finestra.mostrata, 12);
    EXPECT_EQ(gioco.esatte() + gioco.errate(), 0);
    EXPECT_EQ(gioco.massimo() + finestra.testo(Controllo::lblnome1), "20Bruno");
    EXPECT_EQ(finestra.testo(Controllo::lblconto), "00:15:00");
    EXPECT_EQ(leggiFile(cartella / "prom.txt"), ""); // a new game saves nothing
}

struct Uscita {
    std::string prom; // the record when the game starts
    int punti;
    std::string rivale;    // a record another game saves meanwhile; "-": the directory vanishes
    std::string promDopo;  // the record after the exit
    std::string penultimo; // the dialog before the end
};

class ExitTest : public GameTest, public testing::WithParamInterface<Uscita> {};

TEST_P(ExitTest, SavesOnlyAScoreStrictlyAboveTheRecordOnce) {
    const Uscita& u = GetParam();
    scriviFile(cartella / "prom.txt", u.prom);
    scriviFile(cartella / "nrom.txt", "Bea\r\n");
    avvia("Carla", "100");
    for (int i = 0; i < u.punti; ++i) {
        rispondi(gioco.rispostaEsatta());
        gioco.cmdNext_Click();
    }
    if (u.rivale == "-") {
        fs::remove_all(cartella);
    } else if (!u.rivale.empty()) {
        scriviFile(cartella / "prom.txt", u.rivale);
        scriviFile(cartella / "nrom.txt", "Rita\r\n");
    }
    finestra.duranteDialogo = [this] { scatti(1), gioco.cmdExit1_Click(), gioco.Next_Click(); };
    gioco.cmdExit1_Click();
    EXPECT_EQ(leggiFile(cartella / "prom.txt"), u.promDopo);
    const bool salvato = u.promDopo == std::to_string(u.punti) + "\r\n" && u.prom != u.promDopo;
    EXPECT_EQ(leggiFile(cartella / "nrom.txt"), salvato            ? "Carla\r\n"
                                                : u.rivale == "-"  ? ""
                                                : u.rivale.empty() ? "Bea\r\n"
                                                                   : "Rita\r\n");
    EXPECT_EQ(dialoghi(kSaluto) + dialoghi("msg[292"), 1);
    EXPECT_EQ(finestra.dialoghi.end()[-2].substr(0, u.penultimo.size()), u.penultimo);
    EXPECT_EQ(finestra.dialoghi.back(), u.rivale == "-" ? "fine 1" : "fine 0");
}

const std::string kRegistrato = "msg[0|]: Ok ho registrato il tuo record, C A M P I O N E\"";
INSTANTIATE_TEST_SUITE_P(
    Records, ExitTest,
    testing::Values(
        Uscita{"", 0, "", "", kSaluto}, Uscita{"", 1, "", "1\r\n", kRegistrato},
        Uscita{"3\r\n", 3, "", "3\r\n", kSaluto}, Uscita{"3\r\n", 4, "", "4\r\n", kRegistrato},
        Uscita{"  1 2abc", 12, "", "  1 2abc", kSaluto},
        Uscita{"  1 2abc", 13, "", "13\r\n", kRegistrato}, Uscita{"&H3", 3, "", "&H3", kSaluto},
        Uscita{"&H3", 4, "", "4\r\n", kRegistrato}, Uscita{"1E1", 10, "", "1E1", kSaluto},
        Uscita{"-3", 0, "", "0\r\n", kRegistrato},
        Uscita{std::string("\xff\0\x80", 3), 1, "", "1\r\n", kRegistrato},
        Uscita{"3\r\n", 5, "9\r\n", "9\r\n", kSaluto},
        Uscita{"3\r\n", 5, "4\r\n", "5\r\n", kRegistrato},
        Uscita{"3\r\n", 4, "-", "", "msg[16|]: "}));

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
    scatti(1);
    EXPECT_EQ(finestra.titolo, "Cifrolandia");
}

TEST_F(GameTest, AnUnusableRecordDirectoryStopsTheGameWithStatusOne) {
    scriviFile(cartella / "un-file", "x");
    archivio = core::ArchivioRecord((cartella / "un-file" / "record").string()); // below a file
    finestra.duranteDialogo = [this] { scatti(1); };
    avvia();
    EXPECT_EQ(finestra.statoFinale * 10 + finestra.mostrata, 10);
    EXPECT_NE(finestra.dialoghi.end()[-2].find((cartella / "un-file" / "record").string()),
              std::string::npos);
    EXPECT_EQ(finestra.testo(Controllo::lblconto), "00:15:00"); // the clock stood still
    EXPECT_FALSE(finestra.timer);
}

} // namespace
