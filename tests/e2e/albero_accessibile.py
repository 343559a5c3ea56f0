#!/usr/bin/python3
"""What a screen reader finds in the game window, walked through AT-SPI as Orca walks it.

Usage: albero_accessibile.py <path of cifrolandia>. It runs itself again in a private D-Bus
session and X server, starts the game with a record of Giulia's, answers the start-up dialogs
and one question wrong, then checks the tree: every control's role and name (one table), the
record line as one sentence, the review of mistakes as a list, and no hidden box.
Debian's Python, where python3-pyatspi is.
"""

import os
import re
import subprocess
import sys
import tempfile
import time

ATTESA = 20  # seconds, for every wait

# (role, accessible name as a regular expression, how many): the tree of the game window after
# one wrong answer. A count of 0: must not be there.
ATTESI = [
    ("text", r"Risposta in numeri romani", 1),
    ("push button", r"Nuovo calcolo", 1),
    ("push button", r"Esci \(Exit\)", 1),
    ("label", r"Numero da trasformare: \d+", 1),
    ("label", r"Esito: Sbagliato!! [IVXLCDM]+", 1),
    ("label", r"Tempo restante: 00:1\d:\d\d", 1),
    ("label", r"Sfidante: Luca", 1),
    ("label", r"Risposte esatte: 0", 1),
    ("label", r"Risposte errate: 1", 1),
    ("label", r"Risposte totali: 1", 1),
    ("label", r"Il record è di Giulia con punti 12", 1),
    ("list", r"Errori di questa partita", 1),
    # The dash said in words, the numerals letter by letter.
    ("list item", r"\d+: hai scritto M M M M, giusto: [IVXLCDM]( [IVXLCDM])*", 1),
    ("text", r"Casella di servizio", 0),  # the hidden box holding the right answer
    ("label", r"Autore del record.*", 0),  # said in the record sentence
    ("label", r"Punti del record.*", 0),
    ("label", r"con punti", 0),
]


def fallisci(messaggio, albero=None):
    print("FALLITO: " + messaggio, file=sys.stderr)
    if albero:
        print("--- albero:", file=sys.stderr)
        for ruolo, nome, _ in albero:
            print("  [%s] %s" % (ruolo, nome), file=sys.stderr)
    sys.exit(1)


def attendi(cosa, prova):
    fine = time.monotonic() + ATTESA
    while time.monotonic() < fine:
        esito = prova()
        if esito:
            return esito
        time.sleep(0.1)
    fallisci("dopo %d s aspetto ancora %s" % (ATTESA, cosa))


def xdotool(*argomenti):
    return subprocess.run(["xdotool", *argomenti], capture_output=True, text=True,
                          timeout=5).stdout.strip()


def dialogo_nuovo(visti):
    """The window that holds the keyboard when it is one not seen before."""
    def prova():
        finestra = xdotool("getwindowfocus")
        return finestra if finestra and finestra not in visti else None
    finestra = attendi("una finestra nuova", prova)
    visti.add(finestra)


def albero(pyatspi, radice):
    """Every object under `radice`: role, name, object."""
    oggetti = []

    def visita(o):
        for i in range(o.childCount):
            figlio = o.getChildAtIndex(i)
            if figlio is None:
                continue
            oggetti.append((figlio.getRoleName(), figlio.name, figlio))
            visita(figlio)
    visita(radice)
    return oggetti


def controlla(gioco):
    import pyatspi

    cartella = tempfile.mkdtemp()
    record = os.path.join(cartella, "records")
    os.mkdir(record)
    with open(os.path.join(record, "prom.txt"), "wb") as f:
        f.write(b"12\r\n")
    with open(os.path.join(record, "nrom.txt"), "wb") as f:
        f.write(b"Giulia\r\n")
    ambiente = dict(os.environ, CIFROLANDIA_RECORD_DIR=record, LC_ALL="C.UTF-8",
                    QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1")
    processo = subprocess.Popen([gioco], env=ambiente, stdout=subprocess.DEVNULL,
                                stderr=subprocess.DEVNULL)
    try:
        visti = set()
        for tasti in (["type", "Luca"], None, None, ["type", "50"]):
            dialogo_nuovo(visti)
            if tasti:
                xdotool(*tasti)
            xdotool("key", "Return")
        dialogo_nuovo(visti)  # the game window

        def finestra():
            desktop = pyatspi.Registry.getDesktop(0)
            for i in range(desktop.childCount):
                app = desktop.getChildAtIndex(i)
                if app is not None and app.name == "Cifrolandia":
                    for j in range(app.childCount):
                        f = app.getChildAtIndex(j)
                        if f is not None and f.getRoleName() == "frame":
                            return f
            return None
        cornice = attendi("la finestra del gioco nell'albero", finestra)
        xdotool("type", "MMMM")  # a wrong answer, so that the review shows
        xdotool("key", "Return")
        attendi("il verdetto", lambda: any(re.fullmatch(r"Esito: Sbagliato.*", n or "")
                                          for _, n, _ in albero(pyatspi, cornice)))
        oggetti = albero(pyatspi, cornice)
        for ruolo, modello, quanti in ATTESI:
            trovati = [o for r, n, o in oggetti if r == ruolo and re.fullmatch(modello, n or "")]
            if len(trovati) != quanti:
                fallisci("[%s] /%s/: %d nell'albero, attesi %d" % (ruolo, modello, len(trovati),
                                                                 quanti), oggetti)
            # Shown, so that a screen reader never skips it as hidden (the pupil's name).
            nascosti = [o for o in trovati
                        if not o.getState().contains(pyatspi.STATE_SHOWING)]
            if nascosti:
                fallisci("[%s] /%s/: nell'albero ma non mostrato" % (ruolo, modello), oggetti)

        # The number labels the answer box: Orca says it with the box.
        casella = next(o for r, n, o in oggetti if r == "text")
        etichette = [bersaglio.name for rel in casella.getRelationSet()
                     if rel.getRelationType() == pyatspi.RELATION_LABELLED_BY
                     for bersaglio in (rel.getTarget(k) for k in range(rel.getNTargets()))]
        if not any(re.fullmatch(r"Numero da trasformare: \d+", e) for e in etichette):
            fallisci("la casella della risposta non è etichettata dal numero: %s" % etichette,
                     oggetti)
    finally:
        processo.kill()
        processo.wait(timeout=5)
    print("1 passed, 0 failed")


def main():
    gioco = os.path.abspath(sys.argv[1])
    if os.environ.get("ALBERO_DENTRO"):
        controlla(gioco)
        return
    casa = tempfile.mkdtemp()
    ambiente = dict(os.environ, ALBERO_DENTRO="1", HOME=casa, XDG_RUNTIME_DIR=casa,
                    GSETTINGS_BACKEND="memory")
    comando = ["timeout", "-k", "5", "100", "dbus-run-session", "--", "xvfb-run", "-a", "-s",
               "-screen 0 1024x768x24", sys.executable, os.path.abspath(__file__), gioco]
    sys.exit(subprocess.run(comando, env=ambiente).returncode)


if __name__ == "__main__":
    main()
