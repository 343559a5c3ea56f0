#include "ui/layout.hpp"

#include <array>
#include <cmath>
#include <cstring>

namespace ui {
namespace {

constexpr QRgb rgb(int r, int g, int b) {
    return 0xFF000000u | (r << 16) | (g << 8) | b;
}

constexpr Carattere sans(double punti, bool grassetto = false, bool corsivo = false) {
    return {"MS Sans Serif", punti, grassetto, corsivo};
}

// Created in this order; later ones lie above earlier ones where they overlap.
const std::array<DescrizioneControllo, 23> kControlli = {{
    {"Text2", Tipo::Casella, "Text1", 0, 5280, 2775, 615, sans(8.25)},
    {"txtAnswer",
     Tipo::Casella,
     "II",
     3600,
     360,
     6615,
     1200,
     {"Arial", 48, true},
     0,
     true,
     rgb(0, 255, 255),
     true,
     false,
     false,
     false,
     "Inserisci il risultato e  premi il tasto  Invio"},
    {"cmdNext", Tipo::Pulsante, "&Nuovo calcolo", 4320, 6000, 1815, 1095, sans(8.25, true), 0, true,
     rgb(0, 192, 192), true, false, false, false, "Go"},
    {"cmdExit1", Tipo::Pulsante, "E&xit", 9600, 4080, 1575, 1095, sans(8.25, true), 0, true,
     rgb(255, 128, 0), true, false, false, false,
     "Ti prego resta ancora, forse riuscirai a fare il record"},
    {"Label4",
     Tipo::Etichetta,
     "Scrivi il numero romano corrispondente",
     3480,
     0,
     6495,
     375,
     {"Times New Roman", 12, false, true},
     rgb(255, 255, 255),
     false},
    {"Label2", Tipo::Etichetta, "Numero da trasformare", 120, 0, 3135, 495, sans(13.5),
     rgb(255, 255, 255), false},
    {"lblconto",
     Tipo::Etichetta,
     "00.00.00",
     120,
     2640,
     1575,
     495,
     {"Arial Black", 12, true},
     rgb(255, 255, 0),
     false,
     0,
     false,
     true},
    {"Label11", Tipo::Etichetta, "Tempo restante", 120, 2040, 1575, 375, sans(9.75),
     rgb(255, 255, 0), false},
    {"lblpunti", Tipo::Etichetta, "0", 7440, 7440, 270, 555, sans(24), rgb(192, 0, 192), false, 0,
     false, false, false, true},
    {"Label13", Tipo::Etichetta, "con punti", 5880, 7440, 1455, 435, sans(18), rgb(192, 0, 192),
     false, 0, false, false, false, true},
    {"lblnome", Tipo::Etichetta, "nome", 2520, 7440, 990, 435, sans(18, true), rgb(0, 0, 255),
     false, 0, false, false, false, true},
    {"Label12", Tipo::Etichetta, "Il record  è di ", 240, 7440, 2295, 375, sans(18),
     rgb(192, 0, 192), false},
    {"lblnome1", Tipo::Etichetta, "", 960, 6360, 165, 420, sans(13.5, true), rgb(0, 128, 0), false,
     0, false, true, false, true},
    {"Label14", Tipo::Etichetta, "Sfidante", 480, 5640, 1425, 420, sans(13.5), rgb(0, 128, 0),
     false, 0, false, true, true, true},
    {"Label3", Tipo::Etichetta, "Risposte totali", 7440, 3360, 2340, 495, sans(18), rgb(0, 0, 255),
     false, 0, false, true, false, true},
    {"Label1", Tipo::Etichetta, "Risposte errate", 3840, 3360, 2520, 495, sans(18), rgb(255, 0, 0),
     false, 0, false, true, false, true},
    {"lblScore2",
     Tipo::Etichetta,
     "0",
     8310,
     4080,
     555,
     885,
     {"Times New Roman", 36, true},
     rgb(0, 0, 255),
     false,
     0,
     false,
     true,
     true,
     true},
    {"lblScore1",
     Tipo::Etichetta,
     "0",
     4830,
     4080,
     540,
     885,
     {"Times New Roman", 36, true},
     rgb(255, 0, 0),
     false,
     0,
     false,
     true,
     true,
     true},
    {"Image1", Tipo::Figura, "", 0, 1680, 480, 480, sans(8.25), 0, true, 0, false, false, false,
     false, "Clicca sotto di me per impostare il Timer"},
    {"lblNum1",
     Tipo::Etichetta,
     "",
     120,
     480,
     2865,
     1185,
     {"Arial", 48, true},
     0,
     true,
     rgb(0, 255, 255),
     true,
     true,
     true,
     true},
    {"lblScore",
     Tipo::Etichetta,
     "0",
     1080,
     4080,
     555,
     885,
     {"Times New Roman", 36, true},
     0,
     true,
     0,
     false,
     true,
     true,
     true,
     "Questo è il tuo punteggio. Forza con il  record"},
    {"lblMessage", Tipo::Etichetta, "", 1680, 2040, 6615, 615, sans(24, true, true), rgb(255, 0, 0),
     false, 0, false, false, true},
    {"Label6", Tipo::Etichetta, "Risposte esatte", 240, 3360, 2565, 495, sans(18), rgb(0, 192, 0),
     false, 0, false, true, true, true},
}};

const std::array<TestiAccessibili, 23> kTestiAccessibili = {{
    {"Text2", "Casella di servizio", "Casella nascosta, non usata durante il gioco"},
    {"txtAnswer", "Risposta in numeri romani",
     "Scrivi il numero romano corrispondente al numero da trasformare e premi Invio"},
    {"cmdNext", "Nuovo calcolo",
     "Mostra il prossimo numero da trasformare. Scorciatoia: Alt più N"},
    {"cmdExit1", "Esci (Exit)",
     "Termina la partita; un punteggio più alto del record viene salvato. Scorciatoia: Alt più X"},
    {"Label4", "Scrivi il numero romano corrispondente", "Che cosa chiede il gioco"},
    {"Label2", "Numero da trasformare", "Titolo del numero da trasformare"},
    {"lblconto", "Tempo restante", "Il tempo che resta alla partita, in ore, minuti e secondi",
     true},
    {"Label11", "Tempo restante", "Titolo dell'orologio della partita"},
    {"lblpunti", "Punti del record", "Il punteggio del record da battere", true},
    {"Label13", "con punti", "Parte della frase del record"},
    {"lblnome", "Autore del record", "Il nome di chi ha fatto il record", true},
    {"Label12", "Il record è di", "Inizio della frase del record"},
    {"lblnome1", "Sfidante", "Il nome di chi sta giocando", true},
    {"Label14", "Sfidante", "Titolo del nome di chi sta giocando"},
    {"Label3", "Risposte totali", "Titolo del numero di tutte le risposte date"},
    {"Label1", "Risposte errate", "Titolo del numero delle risposte sbagliate"},
    {"lblScore2", "Risposte totali", "Quante risposte hai dato in questa partita", true},
    {"lblScore1", "Risposte errate", "Quante risposte sbagliate hai dato in questa partita", true},
    {"Image1", "Cronometro", "Figura dell'orologio della partita, sopra il tempo restante"},
    {"lblNum1", "Numero da trasformare", "Il numero da scrivere in numeri romani", true, true},
    {"lblScore", "Risposte esatte",
     "Il tuo punteggio: le risposte esatte di questa partita. Forza con il record", true},
    {"lblMessage", "Esito", "Il giudizio sull'ultima risposta data", true, true},
    {"Label6", "Risposte esatte", "Titolo del numero delle risposte esatte"},
}};

} // namespace

std::span<const DescrizioneControllo> controlliIniziali() {
    return kControlli;
}

std::span<const TestiAccessibili> testiAccessibili() {
    return kTestiAccessibili;
}

const TestiAccessibili* testiAccessibiliDi(const QString& nome) {
    for (const TestiAccessibili& t : kTestiAccessibili) {
        if (nome == QLatin1String(t.nome)) {
            return &t;
        }
    }
    return nullptr;
}

QFont carattereDi(const Carattere& c) {
    QFont font;
    if (std::strcmp(c.famiglia, "Times New Roman") == 0) {
        font.setFamilies({QStringLiteral("Liberation Serif"), QStringLiteral("DejaVu Serif")});
        font.setStyleHint(QFont::Serif);
    } else {
        font.setFamilies({QStringLiteral("Liberation Sans"), QStringLiteral("DejaVu Sans")});
        font.setStyleHint(QFont::SansSerif);
    }
    // Sizes in pixels at 96 dots per inch, so that text and layout scale together.
    font.setPixelSize(static_cast<int>(std::lround(c.punti * 96.0 / 72.0)));
    const bool nero = std::strcmp(c.famiglia, "Arial Black") == 0;
    font.setBold(c.grassetto || nero);
    font.setItalic(c.corsivo);
    return font;
}

} // namespace ui
