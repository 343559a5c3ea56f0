#include "core/game.hpp"
#include "fake_window.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <set>

using core::Controllo;
using enum core::Controllo;
namespace fs = std::filesystem;

namespace {

std::string leggiFile(const fs::path& p) {
    return {std::istreambuf_iterator<char>(std::ifstream(p, std::ios::binary).rdbuf()), {}};
}

void scriviFile(const fs::path& p, const std::string& contenuto) {
    std::ofstream(p, std::ios::binary) << contenuto;
}

const std::string kSaluto = "msg[0|]: Ciao a presto...Data 06/12/2026";

// A game over a record directory of its own, with a fixed sequence of seeds.
class GameTest : public testing::Test {
protected:
    ~GameTest() override { fs::remove_all(cartella); }

    // Starts a game with this name and bound; the first question is then open.
    void avvia(const std::string& nome = "Anna", const std::string& limite = "2") {
        finestra.risposteInput = {nome, limite};
        gioco.avvia();
    }
    void rispondi(const std::string& testo) {
        finestra.imposta(txtAnswer, testo);
        int tasto = 13;
        gioco.txtAnswer_KeyPress(tasto);
        EXPECT_EQ(tasto, 0); // the Enter never reaches the box
    }
    void scatti(int n) {
        for (int i = 0; i < n; ++i) {
            gioco.Timer1_Timer();
        }
    }
    std::string t(Controllo c) { return finestra.testo(c); }
    long dialoghi(const std::string& inizio) {
        return std::ranges::count_if(finestra.dialoghi,
                                     [&](auto& d) { return d.starts_with(inizio); });
    }

    std::string modello = "/tmp/cifrolandia-gioco-XXXXXX";
    fs::path cartella = mkdtemp(modello.data());
    FakeFinestra finestra;
    core::ArchivioRecord archivio{cartella.string()};
    std::uint64_t seme = 0;
    core::Gioco gioco{finestra, archivio, [this] { return ++seme; }};
};

TEST_F(GameTest, StartUpAsksNameAndBoundThenStartsTheClockAndShowsTheRecord) {
    scriviFile(cartella / "prom.txt", "12\r\n");
    scriviFile(cartella / "nrom.txt", "Bea\r\n");
    finestra.duranteDialogo = [this] { scatti(1); }; // ticks must not move it
    finestra.ridotta = true; // minimised, the window's title follows the clock
    avvia();
    EXPECT_EQ(finestra.dialoghi.size(), 4u);
    EXPECT_EQ(finestra.dialoghi[1], "msg[0|]:  Anna vediamo se sei un vero campione  ");
    EXPECT_EQ(t(lblnome1) + t(lblpunti) + t(lblnome) + t(lblNum1) + t(Text2),
              "Anna12\r\nBea\r\n1I");
    EXPECT_EQ(gioco.rispostaEsatta() + " " + std::to_string(gioco.orologio().restanti), "I 900");
    EXPECT_TRUE(finestra.timer && finestra.mostrata == 1 && !finestra.abilitato(cmdNext));
    EXPECT_EQ(finestra.fuoco, txtAnswer);
    EXPECT_EQ(finestra.titolo, "00:15:00");
    scatti(1);
    EXPECT_EQ(finestra.titolo, "00:14:59");
    finestra.ridotta = false;
    gioco.Form_Resize();
    scatti(1);
    EXPECT_EQ(finestra.titolo + " " + t(lblconto), "Cifrolandia 00:14:58");
}

TEST_F(GameTest, AnEmptyBoundMeansAHundredAndEveryBackdropColourComesUp) {
    avvia("", "");
    EXPECT_EQ(gioco.massimo() + leggiFile(cartella / "prom.txt"), "100"); // an empty record
    std::set<int> rossi, verdi;
    for (int i = 0; i < 3000; ++i) {
        gioco.cmdNext_Click();
        EXPECT_EQ(finestra.sfondo.tipo, core::Sfondo::Tipo::Sfumatura);
        rossi.insert(finestra.sfondo.rosso), verdi.insert(finestra.sfondo.verde);
        ASSERT_LT(std::stoi(t(lblNum1)), 100);
    }
    EXPECT_EQ(std::tuple(*rossi.begin(), *rossi.rbegin(), *verdi.begin(), *verdi.rbegin()),
              std::tuple(0, 255, 0, 255));
}

TEST_F(GameTest, RightAndWrongAnswersAreJudgedCountedAndReviewed) {
    avvia();
    int tasto = 'x';
    gioco.txtAnswer_KeyPress(tasto); // a letter is capitalised and judges nothing
    EXPECT_EQ(tasto, 'X');
    rispondi("I");
    EXPECT_EQ(t(lblMessage), "Esatto, è incredibile!!!");
    EXPECT_TRUE(finestra.abilitato(cmdNext) && finestra.fuoco == cmdNext);
    // A blank in front, an empty box, a letter not capitalised (as if pasted): all wrong.
    for (const char* risposta : {" I", "", "Ii"}) {
        gioco.cmdNext_Click();
        EXPECT_EQ(t(txtAnswer) + t(lblMessage), "");
        rispondi(risposta);
        EXPECT_EQ(t(lblMessage), "Sbagliato!! I");
        EXPECT_EQ(finestra.sfondo.tipo, core::Sfondo::Tipo::Nero);
    }
    EXPECT_EQ(t(lblScore) + t(lblScore1) + t(lblScore2), "134");
    // The review: every mistake with what was typed, newest first.
    EXPECT_EQ(finestra.ripasso,
              (std::vector<std::string>{"1: Ii → I", "1: (vuota) → I", "1:  I → I"}));
}

TEST(Clock, TicksCountDownOneSecondEach) {
    core::Orologio orologio;
    orologio.riparti();
    const std::map<int, std::string> attesi = {{0, "00:15:00 900"},  {1, "00:14:59 899"},
                                               {60, "00:14:00 840"}, {61, "00:13:59 839"},
                                               {841, "00:00:59 59"}, {900, "00:00:00 0"}};
    for (int scatto = 0; scatto <= 900; orologio.scatta(), ++scatto) {
        if (attesi.contains(scatto)) {
            EXPECT_EQ(orologio.testo() + " " + std::to_string(orologio.restanti),
                      attesi.at(scatto));
        }
    }
}

TEST_F(GameTest, TheTickAfterZeroEndsTheGameOnceEvenDuringTheNewGameQuestion) {
    avvia();
    scatti(900);
    EXPECT_EQ(t(lblconto) + std::to_string(finestra.statoFinale), "00:00:00-1");
    finestra.duranteDialogo = [this] { scatti(1); };
    finestra.risposteMessaggi = {core::kRispostaSi, core::kRispostaSi};
    gioco.Next_Click();
    EXPECT_EQ(finestra.statoFinale * 10 + finestra.ricariche, 0); // the Yes came too late
    EXPECT_EQ(dialoghi(kSaluto) + dialoghi("msg[292"), 2);
    EXPECT_FALSE(finestra.timer);
    // Nothing runs after the end.
    const auto prima = std::pair(finestra.testi, finestra.dialoghi);
    gioco.cmdExit1_Click(), gioco.Next_Click(), gioco.cmdNext_Click(), rispondi(""), scatti(2);
    EXPECT_EQ(std::pair(finestra.testi, finestra.dialoghi), prima);
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
    EXPECT_EQ(t(lblconto) + t(lblScore2), "00:14:502");
    std::vector<bool> timer;
    finestra.duranteDialogo = [&] { timer.push_back(finestra.timer), scatti(1); };
    finestra.risposteMessaggi = {core::kRispostaSi};
    finestra.risposteInput = {"Bruno", "20"};
    gioco.Next_Click();
    EXPECT_EQ(timer, (std::vector<bool>{true, false, false, false, false}));
    EXPECT_EQ(finestra.ricariche * 10 + finestra.mostrata, 12);
    EXPECT_EQ(gioco.esatte() + gioco.errate(), 0);
    EXPECT_EQ(gioco.massimo() + t(lblnome1), "20Bruno");
    EXPECT_EQ(t(lblconto) + leggiFile(cartella / "prom.txt"), "00:15:00");
}

struct Uscita {
    int punti;             // against a record of 3
    std::string rivale;    // a record another game saves meanwhile; "-": the directory vanishes
    std::string dopo;      // prom.txt and nrom.txt after the exit
    std::string penultimo; // the dialog before the end
};

void PrintTo(const Uscita& u, std::ostream* os) {
    *os << u.punti << " punti"
        << (u.rivale.empty()  ? ""
            : u.rivale == "-" ? ", senza cartella"
                              : ", rivale");
}

class ExitTest : public GameTest, public testing::WithParamInterface<Uscita> {};

TEST_P(ExitTest, SavesOnlyAScoreStrictlyAboveTheRecordOnce) {
    const Uscita& u = GetParam();
    scriviFile(cartella / "prom.txt", "3\r\n");
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
    // Every event that may come while a dialog is open.
    finestra.duranteDialogo = [this] { scatti(1), gioco.cmdExit1_Click(), gioco.Next_Click(); };
    gioco.cmdExit1_Click();
    EXPECT_EQ(leggiFile(cartella / "prom.txt") + leggiFile(cartella / "nrom.txt"), u.dopo);
    EXPECT_EQ(dialoghi(kSaluto) + dialoghi("msg[292"), 1);
    EXPECT_TRUE(finestra.dialoghi.end()[-2].starts_with(u.penultimo));
    EXPECT_EQ(finestra.dialoghi.back(), u.rivale == "-" ? "fine 1" : "fine 0");
}

const std::string kRegistrato = "msg[0|]: Ok ho registrato il tuo record, C A M P I O N E\"";
INSTANTIATE_TEST_SUITE_P(Records, ExitTest,
                         testing::Values(Uscita{3, "", "3\r\nBea\r\n", kSaluto},
                                         Uscita{4, "", "4\r\nCarla\r\n", kRegistrato},
                                         Uscita{5, "9\r\n", "9\r\nRita\r\n", kSaluto},
                                         Uscita{4, "-", "", "msg[16|]: "}));

// Practice entered before the start (the command line) or from its menu entry.
class PracticeTest : public GameTest, public testing::WithParamInterface<bool> {};

TEST_P(PracticeTest, HasNoClockLeavesTheRecordAloneAndANewOneEmptiesTheReview) {
    const bool daRigaDiComando = GetParam();
    scriviFile(cartella / "prom.txt", "0\r\n");
    gioco.impostaAllenamento(daRigaDiComando);
    avvia();
    EXPECT_EQ(finestra.timer, !daRigaDiComando); // no countdown in practice
    rispondi("X");
    EXPECT_EQ(finestra.ripasso.size(), 1u);
    finestra.risposteMessaggi = {core::kRispostaSi};
    finestra.risposteInput = {"Anna", "2"};
    gioco.Allenamento_Click();
    EXPECT_TRUE(gioco.ripasso().errori().empty() && finestra.ripasso.empty());
    scatti(1000);
    rispondi("I");
    EXPECT_EQ(t(lblScore), "1"); // the ticks ended nothing
    gioco.cmdExit1_Click();      // 1 beats the record of 0, but practice does not count
    EXPECT_EQ(finestra.dialoghi.end()[-2] + finestra.dialoghi.back(), kSaluto + "fine 0");
    EXPECT_EQ(leggiFile(cartella / "prom.txt") + leggiFile(cartella / "nrom.txt"), "0\r\n");
}

INSTANTIATE_TEST_SUITE_P(Ingressi, PracticeTest, testing::Bool());

TEST_F(GameTest, AnUnusableRecordDirectoryStopsTheGameWithStatusOne) {
    scriviFile(cartella / "un-file", "x");
    archivio = core::ArchivioRecord((cartella / "un-file" / "record").string()); // below a file
    finestra.duranteDialogo = [this] { scatti(1); };
    avvia();
    EXPECT_EQ(finestra.statoFinale * 10 + finestra.mostrata, 10);
    EXPECT_NE(finestra.dialoghi.end()[-2].find((cartella / "un-file" / "record").string()),
              std::string::npos);
    EXPECT_EQ(t(lblconto), "00:15:00"); // the clock stood still
    EXPECT_FALSE(finestra.timer);
}

} // namespace
