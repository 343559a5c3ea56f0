#pragma once
// A window for the game's handlers that records what they do and answers their dialogs from
// a script.

#include "core/window.hpp"

#include <chrono>
#include <deque>
#include <functional>
#include <map>
#include <set>
#include <string>
#include <thread>
#include <vector>

struct FakeFinestra : core::Finestra {
    // The texts as the window creates them; a control not listed reads as "".
    const std::map<core::Controllo, std::string> iniziali = {{core::Controllo::lblScore, "0"}};
    std::map<core::Controllo, std::string> testi = iniziali;
    std::set<core::Controllo> disabilitati;
    core::Controllo fuoco = core::Controllo::Text2;
    bool timer = true, ridotta = false; // the timer is enabled when the window is created
    core::Sfondo sfondo;
    std::string titolo = "Cifrolandia";
    std::vector<std::string> ripasso;      // the review as last shown
    std::deque<std::string> risposteInput; // answers of input boxes, in order; "" when none
    std::deque<int> risposteMessaggi;      // answers of message boxes; OK when none
    std::vector<std::string> dialoghi;     // "input: ...", "msg[code|title]: ...", "fine n"
    std::function<void()> duranteDialogo;  // runs inside every dialog, e.g. a tick
    int ricariche = 0, mostrata = 0, statoFinale = -1; // the exit status, once the game has ended

    void imposta(core::Controllo c, std::string_view t) override { testi[c] = t; }
    std::string testo(core::Controllo c) const override {
        return testi.contains(c) ? testi.at(c) : "";
    }
    void abilita(core::Controllo c, bool a) override {
        a ? void(disabilitati.erase(c)) : void(disabilitati.insert(c));
    }
    bool abilitato(core::Controllo c) const override { return !disabilitati.contains(c); }
    void daiFuoco(core::Controllo c) override { fuoco = c; }
    void abilitaTimer(bool a) override { timer = a; }
    void dipingiSfondo(const core::Sfondo& s) override { sfondo = s; }
    void impostaTitolo(std::string_view t) override { titolo = t; }
    bool ridottaAIcona() const override { return ridotta; }

    // Records a dialog, runs what comes meanwhile, and gives the next scripted answer.
    template <class T> T dialogo(std::string voce, std::deque<T>& risposte, T seNessuna) {
        dialoghi.push_back(std::move(voce));
        if (duranteDialogo) {
            duranteDialogo();
        }
        if (!risposte.empty()) {
            seNessuna = risposte.front();
            risposte.pop_front();
        }
        return seNessuna;
    }
    std::string inputBox(std::string_view domanda) override {
        return dialogo("input: " + std::string(domanda), risposteInput, std::string());
    }
    int messageBox(std::string_view t, int pulsanti, std::string_view titoloBox) override {
        return dialogo("msg[" + std::to_string(pulsanti) + "|" + std::string(titoloBox) +
                           "]: " + std::string(t),
                       risposteMessaggi, core::kRispostaOk);
    }
    void mostraRipasso(const std::vector<std::string>& righe) override { ripasso = righe; }
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
    std::string dataOdierna() const override { return "06/12/2026"; }
    void ricarica() override {
        ++ricariche;
        testi = iniziali;
        disabilitati.clear();
        sfondo = {};
    }
    void mostra() override { ++mostrata; }
    void termina(int stato) override {
        dialoghi.push_back("fine " + std::to_string(stato));
        statoFinale = stato;
    }
};
