#pragma once
// A window for the game's handlers that records what they do and answers their dialogs from
// a script.

#include "core/window.hpp"

#include <chrono>
#include <deque>
#include <functional>
#include <map>
#include <string>
#include <thread>
#include <vector>

struct FakeFinestra : core::Finestra {
    // The texts the window's controls are created with.
    static std::map<core::Controllo, std::string> testiIniziali() {
        using core::Controllo;
        return {{Controllo::lblScore, "0"},   {Controllo::lblScore1, "0"},
                {Controllo::lblScore2, "0"},  {Controllo::lblpunti, "0"},
                {Controllo::lblnome, "nome"}, {Controllo::lblconto, "00.00.00"},
                {Controllo::txtAnswer, "II"}, {Controllo::Text2, "Text1"}};
    }
    std::map<core::Controllo, std::string> testi = testiIniziali();
    std::map<core::Controllo, bool> abilitati;
    core::Controllo fuoco = core::Controllo::Text2;
    bool timer = true; // enabled when the window is created
    core::Sfondo sfondo;
    std::string titolo = "Cifrolandia";
    bool ridotta = false;
    std::string data = "06/12/2026";

    std::deque<std::string> risposteInput; // answers of input boxes, in order
    std::deque<int> risposteMessaggi;      // answers of message boxes; OK when empty
    std::vector<std::string> dialoghi;     // "input: ...", "msg[code|title]: ..." as shown
    std::function<void()> duranteDialogo;  // runs inside every dialog, e.g. a tick
    int ricariche = 0;
    int mostrata = 0;
    int statoFinale = -1; // exit status, once the game has ended

    void imposta(core::Controllo c, std::string_view t) override { testi[c] = std::string(t); }
    std::string testo(core::Controllo c) const override {
        auto it = testi.find(c);
        return it == testi.end() ? std::string() : it->second;
    }
    void abilita(core::Controllo c, bool a) override { abilitati[c] = a; }
    bool abilitato(core::Controllo c) const override {
        auto it = abilitati.find(c);
        return it == abilitati.end() || it->second;
    }
    void daiFuoco(core::Controllo c) override { fuoco = c; }
    void abilitaTimer(bool a) override { timer = a; }
    void dipingiSfondo(const core::Sfondo& s) override { sfondo = s; }
    void impostaTitolo(std::string_view t) override { titolo = std::string(t); }
    bool ridottaAIcona() const override { return ridotta; }

    std::string inputBox(std::string_view domanda) override {
        dialoghi.push_back("input: " + std::string(domanda));
        if (duranteDialogo) {
            duranteDialogo();
        }
        std::string r;
        if (!risposteInput.empty()) {
            r = risposteInput.front();
            risposteInput.pop_front();
        }
        return r;
    }
    int messageBox(std::string_view t, int pulsanti, std::string_view titoloBox) override {
        dialoghi.push_back("msg[" + std::to_string(pulsanti) + "|" + std::string(titoloBox) +
                           "]: " + std::string(t));
        if (duranteDialogo) {
            duranteDialogo();
        }
        if (risposteMessaggi.empty()) {
            return core::kRispostaOk;
        }
        const int r = risposteMessaggi.front();
        risposteMessaggi.pop_front();
        return r;
    }
    // attendi keeps trying for `periodo`, then asks; the answers come from risposteMessaggi
    // (1: Riprova, 0: Rinuncia), and with no answer left it gives up, so that a test never
    // waits forever.
    std::chrono::milliseconds periodo{0};
    bool attendi(const std::function<bool()>& prova, std::string_view inAttesa,
                 std::string_view bloccata) override {
        if (prova()) {
            return true;
        }
        dialoghi.push_back("attesa: " + std::string(inAttesa));
        for (;;) {
            const auto fine = std::chrono::steady_clock::now() + periodo;
            do {
                std::this_thread::sleep_for(std::chrono::milliseconds(10));
                if (prova()) {
                    return true;
                }
            } while (std::chrono::steady_clock::now() < fine);
            if (risposteMessaggi.empty() || messageBox(bloccata, -1, {}) == 0) {
                return false;
            }
        }
    }
    std::string dataOdierna() const override { return data; }
    void ricarica() override {
        ++ricariche;
        testi = testiIniziali();
        abilitati.clear();
        sfondo = {};
    }
    void mostra() override { ++mostrata; }
    void termina(int stato) override {
        dialoghi.push_back("fine " + std::to_string(stato));
        statoFinale = stato;
    }
};
