#!/usr/bin/python3
# What a screen reader finds in the game window, walked through AT-SPI as Orca walks it.
#
# Run by orca_partita.sh, in its D-Bus session, after a wrong answer (the record is Giulia's,
# 1 point; the pupil is Luca): every control's role and name (one table), shown; the record line
# as one sentence; the review of mistakes as a list; no hidden box. Debian's Python, where
# python3-pyatspi is. Prints the tree and exits 1 on a failure.

import re
import sys

import pyatspi

# (role, accessible name as a regular expression, how many); 0: must not be there.
ATTESI = [
    ("text", r"Risposta in numeri romani", 1),
    ("push button", r"Nuovo calcolo", 1),
    ("push button", r"Esci \(Exit\)", 1),
    ("label", r"Numero da trasformare: \d+", 1),
    ("label", r"Esito: Sbagliato!! [IVXLCDM]+", 1),
    ("label", r"Tempo restante: 00:1\d:\d\d", 1),
    ("label", r"Sfidante: Luca", 1),
    ("label", r"Risposte errate: 1", 1),
    ("label", r"Il record è di Giulia con punti 1", 1),
    ("list", r"Errori di questa partita", 1),
    # The dash said in words, the numerals letter by letter.
    ("list item", r"\d+: hai scritto [IVXLCDM ]+, giusto: [IVXLCDM]( [IVXLCDM])*", 1),
    ("text", r"Casella di servizio", 0),  # the hidden box holding the right answer
    ("label", r"Autore del record.*|Punti del record.*|con punti", 0),  # in the sentence
]


def oggetti(o):
    for figlio in filter(None, (o.getChildAtIndex(i) for i in range(o.childCount))):
        yield figlio
        yield from oggetti(figlio)


giochi = [a for a in oggetti(pyatspi.Registry.getDesktop(0))
          if a.getRoleName() == "frame" and a.name == "Cifrolandia"]
albero = [(o.getRoleName(), o.name or "", o) for g in giochi[:1] for o in oggetti(g)]
errori = []
for ruolo, modello, quanti in ATTESI:
    trovati = [o for r, n, o in albero if r == ruolo and re.fullmatch(modello, n)]
    if len(trovati) != quanti:
        errori.append("[%s] /%s/: %d, attesi %d" % (ruolo, modello, len(trovati), quanti))
    # Shown, so that a screen reader never skips it as hidden (the pupil's name).
    errori += ["[%s] /%s/ non mostrato" % (ruolo, modello) for o in trovati
               if not o.getState().contains(pyatspi.STATE_SHOWING)]
if errori:
    print("FALLITO: " + "; ".join(errori) + "\n--- albero:", file=sys.stderr)
    print("\n".join("  [%s] %s" % (r, n) for r, n, _ in albero), file=sys.stderr)
    sys.exit(1)
