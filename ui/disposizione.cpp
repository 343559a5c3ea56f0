#include "ui/disposizione.hpp"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <string_view>

namespace ui {
namespace {

constexpr QRgb rgb(int r, int g, int b) {
    return 0xFF000000u | (r << 16) | (g << 8) | b;
}

constexpr Carattere sans(double punti, bool grassetto = false, bool corsivo = false) {
    return {"MS Sans Serif", punti, grassetto, corsivo};
}

// Created in this order; later ones lie above earlier ones where they overlap.
// clang-format off
const std::array<DescrizioneControllo, 23> kControlli = {{
    {.nome = "Text2", .tipo = Tipo::Casella, .testo = "Text1",
     .sinistra = 0, .alto = 5280, .larghezza = 2775, .altezza = 615, .carattere = sans(8.25),
     .titoloAccessibile = "Casella di servizio", .descrizione = "Casella nascosta, non usata durante il gioco"},
    {.nome = "txtAnswer", .tipo = Tipo::Casella, .testo = "II",
     .sinistra = 3600, .alto = 360, .larghezza = 6615, .altezza = 1200,
     .carattere = {"Arial", 48, true}, .sfondo = rgb(0, 255, 255),
     .suggerimento = "Inserisci il risultato e  premi il tasto  Invio",
     .titoloAccessibile = "Risposta in numeri romani", .descrizione = "Risposta in numeri romani"},
    {.nome = "cmdNext", .tipo = Tipo::Pulsante, .testo = "&Nuovo calcolo",
     .sinistra = 4320, .alto = 6000, .larghezza = 1815, .altezza = 1095,
     .carattere = sans(8.25, true), .sfondo = rgb(0, 192, 192), .suggerimento = "Go",
     .titoloAccessibile = "Nuovo calcolo", .descrizione = "Mostra il prossimo numero da trasformare. Scorciatoia: Alt più N"},
    {.nome = "cmdExit1", .tipo = Tipo::Pulsante, .testo = "E&xit",
     .sinistra = 9600, .alto = 4080, .larghezza = 1575, .altezza = 1095,
     .carattere = sans(8.25, true), .sfondo = rgb(255, 128, 0),
     .suggerimento = "Ti prego resta ancora, forse riuscirai a fare il record",
     .titoloAccessibile = "Esci (Exit)", .descrizione = "Termina la partita; un punteggio più alto del record viene salvato. Scorciatoia: Alt più X"},
    {.nome = "Label4", .tipo = Tipo::Etichetta, .testo = "Scrivi il numero romano corrispondente",
     .sinistra = 3480, .alto = 0, .larghezza = 6495, .altezza = 375,
     .carattere = {"Times New Roman", 12, false, true}, .colore = rgb(255, 255, 255),
     .titoloAccessibile = "Scrivi il numero romano corrispondente", .descrizione = "Che cosa chiede il gioco"},
    {.nome = "Label2", .tipo = Tipo::Etichetta, .testo = "Numero da trasformare",
     .sinistra = 120, .alto = 0, .larghezza = 3135, .altezza = 495,
     .carattere = sans(13.5), .colore = rgb(255, 255, 255),
     .titoloAccessibile = "Numero da trasformare", .descrizione = "Titolo del numero da trasformare"},
    {.nome = "lblconto", .tipo = Tipo::Etichetta, .testo = "00.00.00",
     .sinistra = 120, .alto = 2640, .larghezza = 1575, .altezza = 495,
     .carattere = {"Arial Black", 12, true}, .colore = rgb(255, 255, 0), .bordo = true,
     .titoloAccessibile = "Tempo restante", .descrizione = "Il tempo che resta alla partita, in ore, minuti e secondi", .conValore = true},
    {.nome = "Label11", .tipo = Tipo::Etichetta, .testo = "Tempo restante",
     .sinistra = 120, .alto = 2040, .larghezza = 1575, .altezza = 375,
     .carattere = sans(9.75), .colore = rgb(255, 255, 0),
     .titoloAccessibile = "Tempo restante", .descrizione = "Titolo dell'orologio della partita"},
    {.nome = "lblpunti", .tipo = Tipo::Etichetta, .testo = "0",
     .sinistra = 7440, .alto = 7440, .larghezza = 270, .altezza = 555,
     .carattere = sans(24), .colore = rgb(192, 0, 192), .autoSize = true,
     .titoloAccessibile = "Punti del record", .descrizione = "Il punteggio del record da battere", .conValore = true},
    {.nome = "Label13", .tipo = Tipo::Etichetta, .testo = "con punti",
     .sinistra = 5880, .alto = 7440, .larghezza = 1455, .altezza = 435,
     .carattere = sans(18), .colore = rgb(192, 0, 192), .autoSize = true,
     .titoloAccessibile = "con punti", .descrizione = "Parte della frase del record"},
    {.nome = "lblnome", .tipo = Tipo::Etichetta, .testo = "nome",
     .sinistra = 2520, .alto = 7440, .larghezza = 990, .altezza = 435,
     .carattere = sans(18, true), .colore = rgb(0, 0, 255), .autoSize = true,
     .titoloAccessibile = "Autore del record", .descrizione = "Il nome di chi ha fatto il record", .conValore = true},
    {.nome = "Label12", .tipo = Tipo::Etichetta, .testo = "Il record  è di ",
     .sinistra = 240, .alto = 7440, .larghezza = 2295, .altezza = 375,
     .carattere = sans(18), .colore = rgb(192, 0, 192),
     .titoloAccessibile = "Il record è di", .descrizione = "Il record da battere: chi lo ha fatto e con quanti punti"},
    {.nome = "lblnome1", .tipo = Tipo::Etichetta, .testo = "",
     .sinistra = 960, .alto = 6360, .larghezza = 165, .altezza = 420,
     .carattere = sans(13.5, true), .colore = rgb(0, 128, 0), .bordo = true, .autoSize = true,
     .titoloAccessibile = "Sfidante", .descrizione = "Il nome di chi sta giocando", .conValore = true},
    {.nome = "Label14", .tipo = Tipo::Etichetta, .testo = "Sfidante",
     .sinistra = 480, .alto = 5640, .larghezza = 1425, .altezza = 420,
     .carattere = sans(13.5), .colore = rgb(0, 128, 0),
     .bordo = true, .centrato = true, .autoSize = true,
     .titoloAccessibile = "Sfidante", .descrizione = "Titolo del nome di chi sta giocando"},
    {.nome = "Label3", .tipo = Tipo::Etichetta, .testo = "Risposte totali",
     .sinistra = 7440, .alto = 3360, .larghezza = 2340, .altezza = 495,
     .carattere = sans(18), .colore = rgb(0, 0, 255), .bordo = true, .autoSize = true,
     .titoloAccessibile = "Risposte totali", .descrizione = "Titolo del numero di tutte le risposte date"},
    {.nome = "Label1", .tipo = Tipo::Etichetta, .testo = "Risposte errate",
     .sinistra = 3840, .alto = 3360, .larghezza = 2520, .altezza = 495,
     .carattere = sans(18), .colore = rgb(255, 0, 0), .bordo = true, .autoSize = true,
     .titoloAccessibile = "Risposte errate", .descrizione = "Titolo del numero delle risposte sbagliate"},
    {.nome = "lblScore2", .tipo = Tipo::Etichetta, .testo = "0",
     .sinistra = 8310, .alto = 4080, .larghezza = 555, .altezza = 885,
     .carattere = {"Times New Roman", 36, true}, .colore = rgb(0, 0, 255),
     .bordo = true, .centrato = true, .autoSize = true,
     .titoloAccessibile = "Risposte totali", .descrizione = "Quante risposte hai dato in questa partita", .conValore = true},
    {.nome = "lblScore1", .tipo = Tipo::Etichetta, .testo = "0",
     .sinistra = 4830, .alto = 4080, .larghezza = 540, .altezza = 885,
     .carattere = {"Times New Roman", 36, true}, .colore = rgb(255, 0, 0),
     .bordo = true, .centrato = true, .autoSize = true,
     .titoloAccessibile = "Risposte errate", .descrizione = "Quante risposte sbagliate hai dato in questa partita", .conValore = true},
    {.nome = "Image1", .tipo = Tipo::Figura, .testo = "",
     .sinistra = 0, .alto = 1680, .larghezza = 480, .altezza = 480, .carattere = sans(8.25),
     .suggerimento = "Clicca sotto di me per impostare il Timer",
     .titoloAccessibile = "Cronometro", .descrizione = "Figura dell'orologio della partita, sopra il tempo restante"},
    {.nome = "lblNum1", .tipo = Tipo::Etichetta, .testo = "",
     .sinistra = 120, .alto = 480, .larghezza = 2865, .altezza = 1185,
     .carattere = {"Arial", 48, true}, .sfondo = rgb(0, 255, 255),
     .bordo = true, .centrato = true, .autoSize = true,
     .titoloAccessibile = "Numero da trasformare", .descrizione = "Il numero da scrivere in numeri romani", .conValore = true, .annunciato = true},
    {.nome = "lblScore", .tipo = Tipo::Etichetta, .testo = "0",
     .sinistra = 1080, .alto = 4080, .larghezza = 555, .altezza = 885,
     .carattere = {"Times New Roman", 36, true}, .bordo = true, .centrato = true, .autoSize = true,
     .suggerimento = "Questo è il tuo punteggio. Forza con il  record",
     .titoloAccessibile = "Risposte esatte", .descrizione = "Il tuo punteggio: le risposte esatte di questa partita. Forza con il record", .conValore = true},
    {.nome = "lblMessage", .tipo = Tipo::Etichetta, .testo = "",
     .sinistra = 1680, .alto = 2040, .larghezza = 6615, .altezza = 615,
     .carattere = sans(24, true, true), .colore = rgb(255, 0, 0), .centrato = true,
     .titoloAccessibile = "Esito", .descrizione = "Il giudizio sull'ultima risposta data", .conValore = true, .annunciato = true},
    {.nome = "Label6", .tipo = Tipo::Etichetta, .testo = "Risposte esatte",
     .sinistra = 240, .alto = 3360, .larghezza = 2565, .altezza = 495,
     .carattere = sans(18), .colore = rgb(0, 192, 0),
     .bordo = true, .centrato = true, .autoSize = true,
     .titoloAccessibile = "Risposte esatte", .descrizione = "Titolo del numero delle risposte esatte"},
}};
// clang-format on

} // namespace

std::span<const DescrizioneControllo> controlliIniziali() {
    return kControlli;
}

const DescrizioneControllo& descrizioneDi(std::string_view nome) {
    for (const DescrizioneControllo& d : kControlli) {
        if (nome == d.nome) {
            return d;
        }
    }
    std::abort(); // every name asked for is in the table
}

QFont carattereDi(const Carattere& c, double fattore) {
    QFont font;
    if (std::strcmp(c.famiglia, "Times New Roman") == 0) {
        font.setFamilies({QStringLiteral("Liberation Serif"), QStringLiteral("DejaVu Serif")});
        font.setStyleHint(QFont::Serif);
    } else {
        font.setFamilies({QStringLiteral("Liberation Sans"), QStringLiteral("DejaVu Sans")});
        font.setStyleHint(QFont::SansSerif);
    }
    // Sizes in pixels at 96 dots per inch, so that text and layout scale together.
    font.setPixelSize(static_cast<int>(std::lround(c.punti * 96.0 / 72.0 * fattore)));
    const bool nero = std::strcmp(c.famiglia, "Arial Black") == 0;
    font.setBold(c.grassetto || nero);
    font.setItalic(c.corsivo);
    return font;
}

QRect Scala::applica(const QRect& disegnato) const {
    auto x = [this](int v) { return static_cast<int>(std::lround(origine.x() + v * fattore)); };
    auto y = [this](int v) { return static_cast<int>(std::lround(origine.y() + v * fattore)); };
    return QRect(QPoint(x(disegnato.left()), y(disegnato.top())),
                 QPoint(x(disegnato.left() + disegnato.width()) - 1,
                        y(disegnato.top() + disegnato.height()) - 1));
}

int Scala::lunghezza(int pixel) const {
    return static_cast<int>(std::lround(pixel * fattore));
}

double minimoPer(QSize libero, QSize normale) {
    return std::clamp(std::min(static_cast<double>(libero.width()) / normale.width(),
                               static_cast<double>(libero.height()) / normale.height()),
                      0.1, 1.0);
}

Scala scalaPer(QSize area, double minimo, QSize normale) {
    Scala s;
    s.fattore = std::max(minimo, std::min(static_cast<double>(area.width()) / normale.width(),
                                          static_cast<double>(area.height()) / normale.height()));
    s.origine = QPointF(std::max(0.0, (area.width() - normale.width() * s.fattore) / 2),
                        std::max(0.0, (area.height() - normale.height() * s.fattore) / 2));
    return s;
}

} // namespace ui
