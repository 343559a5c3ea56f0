#include "partita_di_prova.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <fcntl.h>
#include <set>
#include <sys/file.h>

using enum core::Controllo;
using core::Risposta;
namespace fs = std::filesystem;

namespace {

const std::string kSaluto = "msg[ok|]: Ciao a presto...Data 06/12/2026";

class Partita : public testing::Test, protected PartitaDiProva {
protected:
    std::string t(core::Controllo c) { return finestra.t(c); }
    long dialoghi(const std::string& inizio) {
        return std::ranges::count_if(finestra.dialoghi,
                                     [&](auto& d) { return d.starts_with(inizio); });
    }
};

TEST_F(Partita, LAvvioChiedeNomeELimitePoiMostraRecordEOrologio) {
    prova::scrivi(cartella / "prom.txt", "12 punti\r\n");
    prova::scrivi(cartella / "nrom.txt", "Bea\r\n");
    finestra.duranteDialogo = [this](auto&) { scatti(1), gioco.pausa(); }; // ticks, F5: nothing
    finestra.ridotta = true; // minimised, the window's title follows the clock
    avvia("An\u0080na\u009F");
    ASSERT_EQ(finestra.dialoghi.size(), 4u);
    EXPECT_EQ(finestra.dialoghi[1], "msg[ok|]:  An na  vediamo se sei un vero campione  ");
    EXPECT_EQ(t(lblnome1), "An na ") << "C1 controls became blanks";
    EXPECT_EQ(t(lblpunti), "12 punti\r\n");
    EXPECT_EQ(t(lblnome), "Bea\r\n");
    EXPECT_EQ(gioco.recordPunti(), 12) << "the number the record file begins with";
    EXPECT_EQ(t(lblNum1), "1");
    EXPECT_EQ(t(Text2), "I");
    EXPECT_EQ(gioco.orologio().restanti, 900);
    EXPECT_TRUE(finestra.timer);
    EXPECT_FALSE(finestra.pausa) << "no pause before the game begins";
    EXPECT_EQ(finestra.mostrata, 1);
    EXPECT_TRUE(finestra.disabilitati.contains(cmdNext));
    EXPECT_EQ(finestra.fuoco, txtAnswer);
    EXPECT_EQ(finestra.titolo, "00:15:00");
    scatti(1);
    EXPECT_EQ(finestra.titolo, "00:14:59");
    finestra.ridotta = false;
    gioco.aggiornaTitolo();
    scatti(1);
    EXPECT_EQ(finestra.titolo, "Cifrolandia");
    EXPECT_EQ(t(lblconto), "00:14:58");
}

TEST_F(Partita, UnLimiteVuotoVale100EOgniColoreDelloSfondoEsce) {
    avvia("", "");
    EXPECT_EQ(gioco.massimo(), "100");
    EXPECT_EQ(prova::leggi(cartella / "prom.txt"), "") << "an empty record is created";
    std::set<int> rossi, verdi;
    for (int i = 0; i < 3000; ++i) {
        gioco.prossimaDomanda();
        rossi.insert(finestra.sfondo.rosso), verdi.insert(finestra.sfondo.verde);
        ASSERT_LT(gioco.numero(), 100);
        ASSERT_EQ(t(lblNum1), std::to_string(gioco.numero()));
    }
    EXPECT_EQ(std::tuple(*rossi.begin(), *rossi.rbegin(), *verdi.begin(), *verdi.rbegin()),
              std::tuple(0, 255, 0, 255));
}

TEST_F(Partita, RisposteGiusteESbagliateSonoGiudicateContateERipassate) {
    avvia();
    EXPECT_EQ(gioco.tasto('x'), 'X') << "a letter is capitalised and judges nothing";
    rispondi("I");
    EXPECT_EQ(t(lblMessage), "Esatto, è incredibile!!!");
    EXPECT_FALSE(finestra.disabilitati.contains(cmdNext));
    EXPECT_EQ(finestra.fuoco, cmdNext);
    // A blank in front, an empty box, a letter not capitalised (as if pasted): all wrong.
    for (const char* risposta : {" I", "", "Ii"}) {
        gioco.prossimaDomanda();
        EXPECT_EQ(t(txtAnswer), "");
        EXPECT_EQ(t(lblMessage), "");
        rispondi(risposta);
        EXPECT_EQ(t(lblMessage), "Sbagliato!! I");
        EXPECT_EQ(finestra.sfondo.tipo, core::Sfondo::Tipo::Nero);
    }
    EXPECT_EQ(t(lblScore), "1");
    EXPECT_EQ(t(lblScore1), "3");
    EXPECT_EQ(t(lblScore2), "4");
    EXPECT_EQ(gioco.esatte(), 1);
    EXPECT_EQ(gioco.errate(), 3);
    // The review: every mistake with what was typed, newest first.
    const std::vector<core::Errore> attesi = {{"1", "Ii", "I"}, {"1", "", "I"}, {"1", " I", "I"}};
    EXPECT_EQ(finestra.ripasso, attesi);
    EXPECT_EQ(core::rigaDi(attesi[0]).intera(), "1: hai scritto Ii \u2014 giusto I");
    EXPECT_EQ(core::rigaDi(attesi[1]).intera(), "1: non hai scritto niente \u2014 giusto I");
}

TEST_F(Partita, LoScattoDopoLoZeroFinisceLaPartitaUnaVoltaAncheDuranteLaDomanda) {
    avvia();
    scatti(900);
    EXPECT_EQ(t(lblconto), "00:00:00");
    EXPECT_EQ(finestra.statoFinale, -1) << "00:00:00 is shown, the game goes on";
    finestra.duranteDialogo = [this](auto&) { scatti(1); };
    finestra.risposte = {Risposta::Si};
    gioco.nuovaPartita();
    EXPECT_EQ(finestra.statoFinale, 0);
    EXPECT_EQ(finestra.ricariche, 0) << "the Yes came too late";
    EXPECT_EQ(dialoghi(kSaluto), 1);
    EXPECT_EQ(dialoghi("msg[si-no"), 1);
    EXPECT_FALSE(finestra.timer);
    // Nothing runs after the end.
    const auto prima = std::pair(finestra.testi, finestra.dialoghi);
    gioco.esci(), gioco.nuovaPartita(), gioco.prossimaDomanda(), rispondi(""), scatti(2);
    EXPECT_EQ(std::pair(finestra.testi, finestra.dialoghi), prima);
}

TEST_F(Partita, SoloIlSiIniziaUnaNuovaPartitaELOrologioVecchioSiFerma) {
    avvia("Anna", "5000");
    rispondi(gioco.rispostaEsatta());
    gioco.prossimaDomanda();
    rispondi("");
    scatti(10);
    finestra.risposte = {Risposta::No};
    gioco.nuovaPartita();
    EXPECT_EQ(finestra.dialoghi.back(),
              "msg[si-no|INIZIARE NUOVA GARA]: INIZIAMO UNA NUOVA GARA  ? / Comincia una nuova "
              "gara a tempo, da 15 minuti. Il punteggio di questa partita non sarà conservato.");
    EXPECT_EQ(t(lblconto), "00:14:50");
    EXPECT_EQ(t(lblScore2), "2");
    std::vector<bool> timer;
    finestra.duranteDialogo = [&](auto&) { timer.push_back(finestra.timer), scatti(1); };
    finestra.risposte = {Risposta::Si};
    finestra.risposteInput = {"Bruno", "20"};
    gioco.nuovaPartita();
    EXPECT_EQ(timer, (std::vector<bool>{true, false, false, false, false}));
    EXPECT_EQ(finestra.ricariche, 1);
    EXPECT_EQ(finestra.mostrata, 2);
    EXPECT_EQ(gioco.esatte(), 0);
    EXPECT_EQ(gioco.errate(), 0);
    EXPECT_EQ(gioco.massimo(), "20");
    EXPECT_EQ(t(lblnome1), "Bruno");
    EXPECT_EQ(t(lblconto), "00:15:00");
}

struct Uscita {
    std::string nome;
    int punti;                       // against a record of 3
    std::string rivale = "";         // a record another game saves meanwhile
    std::string ostacolo = "";       // "cartella": the directory vanishes before the exit;
                                     // "blocco": another program holds its lock
    std::deque<Risposta> risposte{}; // to "Riprova o Rinuncia", which clears the obstacle
    std::string dopo = "";           // prom.txt and nrom.txt after the exit
    std::string penultimo = "";      // the dialog before the end
    int stato = 0;
};

class Uscite : public Partita, public testing::WithParamInterface<Uscita> {};

TEST_P(Uscite, RegistraSoloUnPunteggioPiuAltoDelRecordUnaVolta) {
    const Uscita& u = GetParam();
    prova::scrivi(cartella / "prom.txt", "3\r\n");
    prova::scrivi(cartella / "nrom.txt", "Bea\r\n");
    avvia("Carla", "100");
    for (int i = 0; i < u.punti; ++i) {
        rispondi(gioco.rispostaEsatta());
        gioco.prossimaDomanda();
    }
    int blocco = -1;
    if (u.ostacolo == "cartella") {
        fs::remove_all(cartella);
    } else if (u.ostacolo == "blocco") {
        blocco = ::open(cartella.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        ASSERT_EQ(::flock(blocco, LOCK_EX), 0);
    } else if (!u.rivale.empty()) {
        prova::scrivi(cartella / "prom.txt", u.rivale);
        prova::scrivi(cartella / "nrom.txt", "Rita\r\n");
    }
    finestra.risposte = u.risposte;
    // Every event that may come while a dialog is open; the obstacle goes at a retry.
    finestra.duranteDialogo = [&](const std::string& d) {
        scatti(1), gioco.esci(), gioco.nuovaPartita();
        if (d.starts_with("msg[riprova") && !finestra.risposte.empty()) {
            fs::create_directory(cartella);
            ::close(std::exchange(blocco, -1));
        }
    };
    gioco.esci();
    ::close(blocco);
    EXPECT_EQ(prova::leggi(cartella / "prom.txt") + prova::leggi(cartella / "nrom.txt"), u.dopo);
    EXPECT_EQ(dialoghi(kSaluto), 1);
    EXPECT_EQ(dialoghi("msg[si-no"), 0);
    EXPECT_EQ(dialoghi("msg[riprova"), long(!u.ostacolo.empty()));
    ASSERT_GE(finestra.dialoghi.size(), 2u);
    EXPECT_TRUE(finestra.dialoghi.end()[-2].starts_with(u.penultimo))
        << finestra.dialoghi.end()[-2];
    EXPECT_EQ(finestra.statoFinale, u.stato);
}

const std::string kRegistrato = "msg[ok|]: Ok ho registrato il tuo record, C A M P I O N E\"";
// clang-format off
INSTANTIATE_TEST_SUITE_P(Record, Uscite, testing::Values(
    Uscita{.nome = "pari", .punti = 3, .dopo = "3\r\nBea\r\n", .penultimo = kSaluto},
    Uscita{.nome = "superato", .punti = 4, .dopo = "4\r\nCarla\r\n", .penultimo = kRegistrato},
    Uscita{.nome = "rivale", .punti = 5, .rivale = "9\r\n", .dopo = "9\r\nRita\r\n", .penultimo = kSaluto},
    Uscita{.nome = "rinuncia", .punti = 4, .ostacolo = "cartella", .dopo = "",
           .penultimo = "msg[riprova|]: Non è stato possibile", .stato = 1},
    Uscita{.nome = "riprova", .punti = 4, .ostacolo = "cartella", .risposte = {Risposta::Riprova},
           .dopo = "4\r\nCarla\r\n", .penultimo = kRegistrato},
    Uscita{.nome = "bloccata", .punti = 4, .ostacolo = "blocco", .risposte = {Risposta::Riprova},
           .dopo = "4\r\nCarla\r\n", .penultimo = kRegistrato}),
    [](const auto& info) { return info.param.nome; });
// clang-format on

// Practice entered before the start (the command line) or from its menu entry.
class Allenamento : public Partita, public testing::WithParamInterface<bool> {};

TEST_P(Allenamento, NonHaOrologioNonToccaIlRecordEUnNuovoSvuotaIlRipasso) {
    const bool daRigaDiComando = GetParam();
    prova::scrivi(cartella / "prom.txt", "0\r\n");
    gioco.impostaModo(daRigaDiComando ? core::Modo::Allenamento : core::Modo::Gara);
    avvia();
    EXPECT_EQ(finestra.timer, !daRigaDiComando) << "no countdown in practice";
    rispondi("X");
    EXPECT_EQ(finestra.ripasso.size(), 1u);
    finestra.risposte = {Risposta::Si};
    finestra.risposteInput = {"Anna", "2"};
    gioco.nuovoAllenamento();
    EXPECT_TRUE(dialoghi("msg[si-no|INIZIARE UN ALLENAMENTO]: Iniziamo un allenamento"));
    EXPECT_EQ(finestra.modo, core::Modo::Allenamento);
    EXPECT_EQ(t(lblconto), "Allenamento");
    EXPECT_TRUE(gioco.ripasso().errori().empty());
    EXPECT_TRUE(finestra.ripasso.empty());
    scatti(1000);
    rispondi("I");
    EXPECT_EQ(t(lblScore), "1") << "the ticks ended nothing";
    gioco.esci(); // 1 beats the record of 0, but practice does not count
    EXPECT_EQ(finestra.dialoghi.end()[-2], kSaluto);
    EXPECT_EQ(finestra.statoFinale, 0);
    EXPECT_EQ(prova::leggi(cartella / "prom.txt") + prova::leggi(cartella / "nrom.txt"), "0\r\n");
}

INSTANTIATE_TEST_SUITE_P(Ingressi, Allenamento, testing::Bool());

TEST_F(Partita, UnaCartellaInutilizzabileFermaIlGiocoConStatoUno) {
    prova::scrivi(cartella / "un-file", "x");
    archivio = core::ArchivioRecord((cartella / "un-file" / "record").string()); // below a file
    finestra.duranteDialogo = [this](auto&) { scatti(1); };
    avvia();
    EXPECT_EQ(finestra.statoFinale, 1);
    EXPECT_EQ(finestra.mostrata, 0);
    EXPECT_NE(finestra.dialoghi.end()[-2].find((cartella / "un-file" / "record").string()),
              std::string::npos);
    EXPECT_EQ(t(lblconto), "00:15:00") << "the clock stood still";
    EXPECT_FALSE(finestra.timer);
}

} // namespace
