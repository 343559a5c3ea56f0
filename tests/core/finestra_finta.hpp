#pragma once
// A window for the game that records what it is told to show and answers its dialogs from a
// script.

#include "core/finestra.hpp"

#include <deque>
#include <functional>
#include <map>
#include <set>
#include <string>
#include <vector>

struct FinestraFinta : core::Finestra {
    std::map<core::Controllo, std::string> testi; // as last shown
    std::string scritto;                          // what the player has typed
    std::set<core::Controllo> disabilitati;
    core::Controllo fuoco = core::Controllo::Text2;
    bool timer = true, ridotta = false; // the timer is enabled when the window is created
    core::Modo modo = core::Modo::Gara;
    int numeroMassimo = 0; // of the numerals shown in practice from numeral to number
    core::Sfondo sfondo;
    std::string titolo = "Cifrolandia";
    std::vector<core::Errore> ripasso;     // the review as last shown
    std::deque<std::string> risposteInput; // answers of input boxes, in order; "" when none
    std::deque<core::Risposta> risposte;   // answers of questions (not of OK-only boxes);
                                           // with none left: No, or Rinuncia
    std::vector<std::string> dialoghi;     // "input: ...", "msg[Pulsanti|title]: ...", "fine n"
    std::function<void(const std::string&)> duranteDialogo; // runs inside every dialog
    int ricariche = 0, mostrata = 0, statoFinale = -1;

    std::string t(core::Controllo c) const { return testi.contains(c) ? testi.at(c) : ""; }
    void imposta(core::Controllo c, std::string_view testo) override {
        testi[c] = testo;
        if (c == core::Controllo::txtAnswer) {
            scritto = testo;
        }
    }
    std::string rispostaScritta() const override { return scritto; }
    void abilita(core::Controllo c, bool a) override {
        a ? void(disabilitati.erase(c)) : void(disabilitati.insert(c));
    }
    void daiFuoco(core::Controllo c) override { fuoco = c; }
    void abilitaTimer(bool a) override { timer = a; }
    void dipingiSfondo(const core::Sfondo& s) override { sfondo = s; }
    void impostaTitolo(std::string_view testo) override { titolo = testo; }
    bool ridottaAIcona() const override { return ridotta; }
    void impostaModo(core::Modo m) override { modo = m; }
    void impostaNumeroMassimo(int massimo) override { numeroMassimo = massimo; }

    void dialogo(std::string voce) {
        dialoghi.push_back(voce);
        if (duranteDialogo) {
            duranteDialogo(voce);
        }
    }
    std::string chiediTesto(std::string_view domanda) override {
        dialogo("input: " + std::string(domanda));
        std::string risposta;
        if (!risposteInput.empty()) {
            risposta = risposteInput.front();
            risposteInput.pop_front();
        }
        return risposta;
    }
    core::Risposta avvisa(std::string_view testo, core::Pulsanti pulsanti,
                          std::string_view titoloBox, std::string_view dettaglio) override {
        static const char* const nomi[] = {"ok", "si-no", "errore", "riprova"};
        dialogo("msg[" + std::string(nomi[int(pulsanti)]) + "|" + std::string(titoloBox) + "]: " +
                std::string(testo) + (dettaglio.empty() ? "" : " / ") + std::string(dettaglio));
        if (pulsanti == core::Pulsanti::Ok || pulsanti == core::Pulsanti::ErroreCritico) {
            return core::Risposta::Ok;
        }
        core::Risposta r =
            pulsanti == core::Pulsanti::SiNo ? core::Risposta::No : core::Risposta::Rinuncia;
        if (!risposte.empty()) {
            r = risposte.front();
            risposte.pop_front();
        }
        return r;
    }
    void mostraRipasso(const std::vector<core::Errore>& errori) override { ripasso = errori; }
    // attendi tries once, then asks; the answers come from `risposte`, and with none left it
    // gives up, so that a test never waits forever.
    bool attendi(const std::function<bool()>& prova, std::string_view inAttesa,
                 std::string_view bloccata) override {
        if (prova()) {
            return true;
        }
        dialoghi.push_back("attesa: " + std::string(inAttesa));
        while (avvisa(bloccata, core::Pulsanti::RiprovaRinuncia, {}, {}) ==
               core::Risposta::Riprova) {
            if (prova()) {
                return true;
            }
        }
        return false;
    }
    bool pausa = false;
    std::vector<std::string> note;
    void mostraPausa(bool p) override { pausa = p; }
    void mostraNota(std::string_view testo) override { note.emplace_back(testo); }
    std::string dataOdierna() const override { return "06/12/2026"; }
    void ricarica() override {
        ++ricariche;
        testi.clear();
        scritto.clear();
        disabilitati.clear();
        sfondo = {};
    }
    void mostra() override { ++mostrata; }
    void termina(int stato) override {
        dialoghi.push_back("fine " + std::to_string(stato));
        statoFinale = stato;
    }
};
