// The outline of a caption, worked out by hand from WCAG 2's contrast for one-colour backdrops.
#include "core/contrasto.hpp"

#include <gtest/gtest.h>

#include <vector>

namespace {

constexpr core::Rgb kNero{0, 0, 0}, kBianco{255, 255, 255};

struct Caso {
    const char* nome;
    core::Rgb lettere;
    std::vector<core::Rgb> sfondo;
    core::Rgb atteso; // the outline's colour
    bool altroRegge;  // the other colour would do too
};

class Contorni : public testing::TestWithParam<Caso> {};

TEST_P(Contorni, NeroOBiancoComeVuoleIlContrasto) {
    const Caso& c = GetParam();
    const core::Contorno atteso{c.atteso, c.atteso};
    const core::Rgb altro = c.atteso == kNero ? kBianco : kNero;
    EXPECT_EQ(core::contornoPer(c.lettere, c.sfondo), atteso);
    EXPECT_TRUE(core::leggibile(c.lettere, atteso, c.sfondo));
    EXPECT_EQ(core::leggibile(c.lettere, {altro, altro}, c.sfondo), c.altroRegge);
}

INSTANTIATE_TEST_SUITE_P(
    Casi, Contorni,
    testing::Values(
        // Red on blue stands at 2.1:1; black stands at 2.4:1 from blue, white at 8.6:1.
        Caso{"RossoSuBlu", {255, 0, 0}, {{0, 0, 255}}, kBianco, false},
        // Yellow reads by itself on black (19.6:1); on white only a black outline helps.
        Caso{"GialloSuNeroEBianco", {255, 255, 0}, {kNero, kBianco}, kNero, false},
        // On grey both do: the one standing further from the letters (4.9:1 against 4.3:1).
        Caso{"MagentaSuGrigio", {200, 0, 200}, {{140, 140, 140}}, kBianco, true},
        Caso{"VerdeSuGrigio", {0, 160, 0}, {{140, 140, 140}}, kNero, true}),
    [](const auto& info) { return info.param.nome; });

// Red letters over dark grey (30) and light grey (200): no outline of one colour reads on both.
// Black letters' outline stands out from red (5.3:1 against 4.0:1); white stands further from
// the backdrop's worst part (1.6:1 from the light grey) than black (1.2:1 from the dark).
TEST(Contrasto, SenzaUnColoreCheBastiIlBordoEsternoGuardaLoSfondo) {
    const std::vector<core::Rgb> sfondo{{30, 30, 30}, {200, 200, 200}};
    EXPECT_EQ(core::contornoPer({255, 0, 0}, sfondo), (core::Contorno{kNero, kBianco}));
}

TEST(Contrasto, ValoriNoti) {
    EXPECT_DOUBLE_EQ(core::contrasto(kBianco, kNero), 21);
    EXPECT_DOUBLE_EQ(core::contrasto(kNero, kBianco), 21) << "symmetric";
    EXPECT_NEAR(core::contrasto({255, 0, 0}, kNero), 5.252, 0.001);
}

} // namespace
