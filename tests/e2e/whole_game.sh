#!/usr/bin/env bash
# Whole games with the real program on a virtual X server, played with the keyboard alone
# through xdotool: the start-up dialogs, answers, the exit button and the record files.
# Usage: whole_game.sh <path of cifrolandia>   (run inside xvfb-run)
set -euo pipefail

gioco=$1
cartella=$(mktemp -d)
trap 'rm -rf "$cartella"' EXIT
export CIFROLANDIA_RECORD_DIR=$cartella/records

passo() { sleep "${PAUSA:-0.6}"; }
tasto() { xdotool key --clearmodifiers "$@"; passo; }
scrivi() { xdotool type --delay 30 "$1"; passo; }
fallisci() { echo "FALLITO: $*" >&2; import -window root "$cartella/schermo.png" 2>/dev/null || true; exit 1; }

# One game: name and bound (2, so that every question is 1, "I"), `giuste` right answers typed
# in small letters, then Alt+X and OK on every message until the program ends.
partita() {
    local nome=$1 giuste=$2
    "$gioco" & pid=$!
    xdotool search --sync --onlyvisible --name '^Cifrolandia$' >/dev/null
    passo
    scrivi "$nome"; tasto Return      # name
    tasto Return                       # greeting
    tasto Return                       # notice
    scrivi "2"; tasto Return           # bound
    for ((i = 0; i < giuste; i++)); do
        scrivi "i"; tasto Return       # judged
        if ((i == 0)); then tasto alt+n; else tasto Return; fi # next question
    done
    tasto alt+x
    messaggi=0
    while kill -0 "$pid" 2>/dev/null && ((messaggi < 4)); do
        tasto Return
        messaggi=$((messaggi + 1))
    done
    wait "$pid" || fallisci "$nome: stato d'uscita $?"
    echo "$nome: $giuste risposte esatte, $messaggi messaggi prima della fine"
}

file_uguale() { # file, expected bytes as printf format
    cmp -s "$1" <(printf "$2") || fallisci "$1 contiene $(od -c "$1" | head -2)"
}

partita Giulia 3
file_uguale "$CIFROLANDIA_RECORD_DIR/prom.txt" '3\r\n'
file_uguale "$CIFROLANDIA_RECORD_DIR/nrom.txt" 'Giulia\r\n'
((messaggi == 2)) || fallisci "attesi il saluto e il messaggio del record, visti $messaggi"

# The second start reads the record: a tie saves nothing and shows only the goodbye.
partita Marco 3
file_uguale "$CIFROLANDIA_RECORD_DIR/nrom.txt" 'Giulia\r\n'
((messaggi == 1)) || fallisci "un pareggio mostra solo il saluto, visti $messaggi messaggi"

partita "Nicolò" 4
file_uguale "$CIFROLANDIA_RECORD_DIR/prom.txt" '4\r\n'
file_uguale "$CIFROLANDIA_RECORD_DIR/nrom.txt" 'Nicol\xf2\r\n'
echo "1 passed, 0 failed"
