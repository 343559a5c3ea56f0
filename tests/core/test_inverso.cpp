// Practice from numeral to number, through the game and a fake window: what is shown, which
// keys reach the answer box, the verdict and the review line.

#include "core/romano.hpp"
#include "partita_di_prova.hpp"

#include <gtest/gtest.h>

#include <regex>

using enum core::Controllo;

namespace {

struct Caso {
    const char* nome;
    std::string limite;  // as typed in the start-up dialog
    int massimo;         // the largest number it may draw
    std::string tasti;   // the keys typed, '#' for the right number's digits
    std::string scritto; // what reaches the box
    bool esatta;
};

class AllenamentoInverso : public testing::TestWithParam<Caso>, protected PartitaDiProva {};

std::string conNumero(const std::string& testo, int numero) {
    return std::regex_replace(testo, std::regex("#"), std::to_string(numero));
}

TEST_P(AllenamentoInverso, MostraIlRomanoPrendeSoloCifreEGiudicaIlNumero) {
    const Caso& c = GetParam();
    gioco.impostaModo(core::Modo::AllenamentoInverso);
    avvia("Anna", c.limite);
    const int numero = gioco.numero();
    const std::string romano = core::numeroRomano(numero);
    EXPECT_EQ(finestra.titolo, core::testi::kTitoloAllenamentoInverso) << "the practice named";
    EXPECT_EQ(finestra.numeroMassimo, c.massimo) << "the window told the largest numeral";
    EXPECT_TRUE(numero >= 1 && numero <= c.massimo) << numero << " drawn as the timed game does";
    EXPECT_EQ(finestra.t(lblNum1), romano) << "the number box shows the numeral";

    std::string scritto;
    for (char tasto : conNumero(c.tasti, numero)) {
        if (const int codice = gioco.tasto(static_cast<unsigned char>(tasto))) {
            scritto += static_cast<char>(codice);
        }
    }
    EXPECT_EQ(scritto, conNumero(c.scritto, numero)) << "digits only reach the box";
    finestra.scritto = scritto;
    EXPECT_EQ(gioco.tasto(13), 0) << "the Enter never reaches the box";

    const std::string giusto = std::to_string(numero);
    EXPECT_EQ(finestra.t(lblMessage),
              c.esatta ? "Esatto, è incredibile!!!" : "Sbagliato!! " + giusto);
    if (c.esatta) {
        EXPECT_TRUE(finestra.ripasso.empty()) << "nothing to review";
    } else {
        ASSERT_EQ(finestra.ripasso.size(), 1u);
        EXPECT_EQ(core::rigaDi(finestra.ripasso[0]).intera(),
                  romano +
                      (scritto.empty() ? ": non hai scritto niente" : ": hai scritto " + scritto) +
                      " \u2014 giusto " + giusto)
            << "the numeral asked, then the number";
    }
}

INSTANTIATE_TEST_SUITE_P(Limiti, AllenamentoInverso,
                         testing::Values(Caso{"Giusta", "2", 1, "#", "#", true},
                                         Caso{"ConZeriDavanti", "100", 99, "00#", "00#", true},
                                         Caso{"LettereIgnorate", "40", 39, "xaIV#v", "#", true},
                                         Caso{"Sbagliata", "5000", 3799, "#0", "#0", false},
                                         Caso{"Vuota", "10", 9, "", "", false},
                                         Caso{"SoloLettere", "3900", 3899, "MMXa", "", false}),
                         [](const auto& info) { return info.param.nome; });

} // namespace
