#include "ui/aiuto.hpp"

#include <QDialogButtonBox>
#include <QPushButton>
#include <QScreen>
#include <QTextEdit>
#include <QVBoxLayout>

namespace ui {
namespace {

const char* const kTesto = R"(
<h2>Come si gioca a Cifrolandia</h2>
<p>Il gioco mostra un numero: scrivi lo stesso numero in numeri romani.</p>

<h3>I sette simboli</h3>
<table border="1" cellpadding="4" cellspacing="0">
<tr><th>Simbolo</th><th>Valore</th></tr>
<tr><td>I</td><td>1</td></tr>
<tr><td>V</td><td>5</td></tr>
<tr><td>X</td><td>10</td></tr>
<tr><td>L</td><td>50</td></tr>
<tr><td>C</td><td>100</td></tr>
<tr><td>D</td><td>500</td></tr>
<tr><td>M</td><td>1000</td></tr>
</table>

<h3>Come si scrivono i numeri</h3>
<ul>
<li>I simboli si scrivono dal più grande al più piccolo e i loro valori si sommano:
VIII = 5 + 1 + 1 + 1 = 8, MDC = 1000 + 500 + 100 = 1600.</li>
<li>Un simbolo più piccolo scritto prima di uno più grande si toglie, ma solo in queste sei
coppie: IV = 4, IX = 9, XL = 40, XC = 90, CD = 400, CM = 900.</li>
<li>Una lettera si ripete al massimo tre volte di seguito: III = 3, ma 4 si scrive IV, non IIII.</li>
</ul>

<h3>Tre esempi</h3>
<ul>
<li>14 = 10 + 4 = X + IV = <b>XIV</b></li>
<li>388 = 300 + 80 + 8 = CCC + LXXX + VIII = <b>CCCLXXXVIII</b></li>
<li>1994 = 1000 + 900 + 90 + 4 = M + CM + XC + IV = <b>MCMXCIV</b></li>
</ul>

<h3>Come si gioca</h3>
<ol>
<li>Scrivi il numero romano nella casella azzurra: le lettere diventano maiuscole da sole.</li>
<li>Premi Invio: il gioco ti dice subito se la risposta è giusta. Se è sbagliata, ti mostra
quella giusta e la scrive nel riquadro degli errori, per ripassarla.</li>
<li>Premi di nuovo Invio (oppure "Nuovo calcolo") per avere il numero seguente.</li>
</ol>

<h3>Il tempo</h3>
<p>L'orologio parte da 00:15:00 e toglie un secondo ogni mezzo secondo reale: i 15 minuti
dell'orologio passano in 7 minuti e mezzo reali. Quando l'orologio arriva a 00:00:00 la
partita finisce. In Allenamento l'orologio non c'è e il tempo non finisce mai.</p>
<p>Nel menu Allenamento puoi allenarti anche al contrario, dal romano al numero: il gioco ti
mostra un numero romano e tu scrivi il numero in cifre. Sempre in quel menu, la Tastiera sullo
schermo mostra tasti grandi da toccare, per la lavagna interattiva.</p>

<h3>Il record</h3>
<p>Il tuo punteggio è il numero delle risposte esatte; quelle sbagliate non tolgono punti.
Se alla fine della partita hai superato il record, il tuo nome e i tuoi punti vengono salvati
come nuovo record. Una partita di Allenamento non cambia mai il record.</p>

<h3>I tasti</h3>
<table cellpadding="3">
<tr><td><b>Invio</b></td><td>giudica la risposta; premuto di nuovo, passa al numero seguente</td></tr>
<tr><td><b>Alt+N</b></td><td>Nuovo calcolo: il numero seguente</td></tr>
<tr><td><b>Alt+X</b></td><td>Exit: finisce la partita</td></tr>
<tr><td><b>F1</b></td><td>apre questo aiuto</td></tr>
<tr><td><b>F8</b></td><td>legge gli errori di questa partita, uno per riga (Esc torna al gioco)</td></tr>
<tr><td><b>F11</b></td><td>schermo intero, acceso e spento (Esc lo lascia)</td></tr>
<tr><td><b>Esc</b></td><td>chiude questa finestra</td></tr>
</table>
)";

} // namespace

FinestraAiuto::FinestraAiuto(QWidget* genitore) : QDialog(genitore) {
    setObjectName(QStringLiteral("Aiuto"));
    setWindowTitle(QStringLiteral("Come si gioca"));
    setAccessibleName(QStringLiteral("Come si gioca"));
    setModal(false);

    // A read-only text box rather than a browser: Qt shows a browser to a screen reader as a
    // label, whose text cannot be walked; a text box is read as a text, line by line.
    auto* testo = new QTextEdit(this);
    testo->setReadOnly(true);
    testo->setObjectName(QStringLiteral("testoAiuto"));
    testo->setHtml(QString::fromUtf8(kTesto));
    // A cursor the arrows move through the text, line by line: a screen reader reads each line
    // it reaches (the symbol table a row at a time, the symbol and then its value).
    testo->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    testo->setAccessibleName(QStringLiteral("Come si gioca a Cifrolandia"));
    testo->setAccessibleDescription(
        QStringLiteral("I numeri romani, le regole del gioco, il tempo, il record e i tasti"));

    auto* pulsanti = new QDialogButtonBox(QDialogButtonBox::Close, this);
    QPushButton* chiudi = pulsanti->button(QDialogButtonBox::Close);
    chiudi->setAccessibleName(QStringLiteral("Chiudi l'aiuto"));
    connect(pulsanti, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* colonna = new QVBoxLayout(this);
    colonna->addWidget(testo);
    colonna->addWidget(pulsanti);
    // Never beyond the screen, so that "Chiudi" stays on it at any QT_SCALE_FACTOR.
    const QSize libero = (genitore ? genitore->screen() : screen())->availableGeometry().size();
    resize(QSize(560, 620).boundedTo(libero - QSize(0, 40)));
    testo->setFocus();
}

} // namespace ui
