#!/usr/bin/env bash
# Whole games with the real program on a virtual X server, played with the keyboard alone
# through xdotool: the start-up dialogs, answers, the exit button and the record files.
# Usage: whole_game.sh <path of cifrolandia>   (inside xvfb-run -s -noreset: the server must keep
# the keyboard set below between games)
# On a failure the screen is kept as e2e-schermo.png in the current directory.
set -euo pipefail

gioco=$1
cartella=$(mktemp -d)
trap 'rm -rf "$cartella"' EXIT
export CIFROLANDIA_RECORD_DIR=$cartella/records
export XDG_DATA_HOME=$cartella/dati # the history of games

fallisci() {
    echo "FALLITO: $*" >&2
    import -window root "$PWD/e2e-schermo.png" 2>/dev/null && echo "schermo: $PWD/e2e-schermo.png" >&2
    kill "${pid:-}" 2>/dev/null
    echo "--- uscita del gioco:" >&2 && cat "$cartella/uscita.log" >&2
    exit 1
}
source "$(dirname "$0")/keyboard_game.sh"
# An Italian keyboard has the ò: xdotool then types it as a key of the keyboard, instead of
# binding a spare key to it for an instant (a key the game may read after that instant).
setxkbmap it

partita() {
    local nome=$1 giuste=$2
    "$gioco" >"$cartella/uscita.log" 2>&1 & pid=$!
    gioca "$nome" "$giuste"
    echo "$nome: $giuste risposte esatte, $messaggi messaggi prima della fine ($SECONDS s)"
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

# Each game left its line in the history, private to the account.
storico=$XDG_DATA_HOME/Cifrolandia/partite.csv
[ "$(stat -c %a "$storico")" = 600 ] || fallisci "lo storico non è privato"
cut -d, -f3,5-9 "$storico" | tail -n +2 | cmp -s - <(printf '%s\n' Giulia,gara,3,0,3,uscita \
    Marco,gara,3,0,3,uscita "Nicolò,gara,4,0,4,uscita") || fallisci "storico: $(cat "$storico")"
echo "1 passed, 0 failed"
