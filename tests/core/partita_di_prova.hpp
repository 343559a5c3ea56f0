#pragma once
// A game over the fake window and a record directory of its own, with a fixed sequence of
// seeds: the base of the tests that play the game.

#include "core/gioco.hpp"
#include "file_di_prova.hpp"
#include "finestra_finta.hpp"

#include <gtest/gtest.h>

class PartitaDiProva {
protected:
    // Starts a game with this name and bound; the first question is then open.
    void avvia(const std::string& nome = "Anna", const std::string& limite = "2") {
        finestra.risposteInput = {nome, limite};
        gioco.avvia();
    }
    void rispondi(const std::string& testo) {
        finestra.scritto = testo;
        EXPECT_EQ(gioco.tasto(13), 0) << "the Enter never reaches the box";
    }
    void scatti(int n) {
        for (int i = 0; i < n; ++i) {
            gioco.scatto();
        }
    }

    prova::CartellaTemporanea temporanea;
    std::filesystem::path cartella = temporanea.percorso;
    FinestraFinta finestra;
    core::ArchivioRecord archivio{cartella.string()};
    std::uint64_t seme = 0;
    core::Gioco gioco{finestra, archivio, [this] { return ++seme; }};
};
