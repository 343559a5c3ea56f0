#!/usr/bin/env bash
# A game played by ear: Orca, the screen reader, runs on a virtual X server in a private D-Bus
# session with the screen readers' bus, and the test goes on only when Orca has said what a
# blind pupil needs to hear: the number when the window appears and after each "Nuovo calcolo",
# each verdict with the counts after Enter, the review, the menus, the help, the clock after its
# first real minute, the goodbye. The answers are worked out from what Orca said, as the pupil
# would. Orca's speech is read from what it hands its speech server (voce_registrata.py, no
# sound). The bound is given on the command line (--massimo), so only the name is asked.
# Usage: orca_partita.sh <path of cifrolandia>
# On a failure it prints what Orca said and exits 1; every wait has a deadline.
set -euo pipefail

gioco=$1
qui=$(cd "$(dirname "$0")" && pwd)

# Outside: a private home (Orca's settings, the screen readers' bus socket), then this script
# again inside its own D-Bus session and X server.
if [ -z "${ORCA_PARTITA_CARTELLA:-}" ]; then
    cartella=$(mktemp -d)
    trap 'rm -rf "$cartella"' EXIT
    export ORCA_PARTITA_CARTELLA=$cartella HOME=$cartella/casa XDG_RUNTIME_DIR=$cartella/run
    export GSETTINGS_BACKEND=memory LC_ALL=C.UTF-8 # and the XDG directories under that home:
    unset XDG_CONFIG_HOME XDG_DATA_HOME XDG_CACHE_HOME
    mkdir -p "$HOME" "$XDG_RUNTIME_DIR" && chmod 700 "$XDG_RUNTIME_DIR"
    # A failure exits here with its status (set -e); the trap still cleans up.
    timeout -k 5 170 dbus-run-session -- xvfb-run -a -s "-noreset -screen 0 1024x768x24" \
        "$0" "$gioco"
    exit
fi

cartella=$ORCA_PARTITA_CARTELLA
voce=$cartella/voce.log
: >"$voce"

fallisci() {
    {
        echo "FALLITO: $*"
        echo "--- Orca ha detto (secondi dall'avvio del gioco, + interrompe, = aspetta):"
        awk -v t0="${inizio:-0}" '{ t = $1; $1 = ""; printf "%7.2f%s\n", t - t0, $0 }' "$voce"
        echo "--- uscita del gioco:" && cat "$cartella/uscita.log" 2>/dev/null
        cp "$cartella/orca.log" "$PWD/orca-partita.log" && echo "registro di Orca: $PWD/orca-partita.log"
    } >&2
    exit 1
}
# Orca refuses to start while another Orca of the same user runs: ours must be gone at the end.
ferma() {
    kill "${pid:-}" 2>/dev/null || true
    [ -n "${orca:-}" ] || return 0
    kill "$orca" 2>/dev/null || true
    timeout 5 tail --pid="$orca" -f /dev/null || kill -9 "$orca" 2>/dev/null || true
}
trap ferma EXIT

# Orca's settings: speech on, through the silent speech server that writes down what it says.
mkdir -p "$cartella/orca"
cat >"$cartella/orca/user-settings.conf" <<'FINE'
{"general": {"speechServerFactory": "voce_registrata", "enableSpeech": true,
             "firstStart": false},
 "profiles": {"default": {"profile": ["Default", "default"]}},
 "pronunciations": {}, "keybindings": {}}
FINE
timeout 10 bash -c 'while pgrep -u "$(id -u)" -x orca >/dev/null; do sleep 0.2; done' ||
    fallisci "un altro Orca di questo utente è in esecuzione: Orca non ne avvia un secondo"
PYTHONPATH=$qui CIFROLANDIA_VOCE=$voce orca -u "$cartella/orca" --debug-file "$cartella/orca.log" \
    >"$cartella/orca.out" 2>&1 &
orca=$!

# Waits at most `ATTESA` seconds (default 20) until a line said after line `dopo` of the speech
# matches the extended regular expression `$2`; keeps that line's text in `detto`, and its
# number in `dove` and `dopo` (the next wait hears only what comes after it).
ascolta() {
    local cosa=$1 modello=$2 fine=$((SECONDS + ${ATTESA:-20})) riga
    while ((SECONDS < fine)); do
        kill -0 "$orca" 2>/dev/null || fallisci "Orca si è fermato: aspettavo $cosa"
        riga=$(tail -n +"$((dopo + 1))" "$voce" | cut -d' ' -f3- | grep -n -E -m1 -- "$modello" || true)
        [ -n "$riga" ] && dove=$((dopo + ${riga%%:*})) detto=${riga#*:} && dopo=$dove && return 0
        sleep 0.1
    done
    fallisci "dopo ${ATTESA:-20} s Orca non ha ancora detto $cosa (/$modello/)"
}
# shellcheck disable=SC2086 # $1 may hold several keys
premi() { x key $1 && shift && ascolta "$@"; } # the keys $1, then what Orca says of them

dopo=0
ATTESA=30 ascolta "che è partito" "Screen reader on"

export CIFROLANDIA_RECORD_DIR=$cartella/records
mkdir "$CIFROLANDIA_RECORD_DIR" && printf '1\r\n' >"$CIFROLANDIA_RECORD_DIR/prom.txt"
printf 'Giulia\r\n' >"$CIFROLANDIA_RECORD_DIR/nrom.txt"
inizio=$(date +%s.%N)
"$gioco" --massimo 50 >"$cartella/uscita.log" 2>&1 &
pid=$!
source "$qui/keyboard_game.sh"

romano() { # the Roman numeral of $1 (1 to 3999)
    local n=$1 r= i v=(1000 900 500 400 100 90 50 40 10 9 5 4 1) s=(M CM D CD C XC L XL X IX V IV I)
    for i in "${!v[@]}"; do while ((n >= v[i])); do r+=${s[i]} n=$((n - v[i])); done; done
    echo "$r"
}

principale= ultima=
aspetta "la domanda del nome" dialogo && x type --delay 30 Luca && x key Return
aspetta "la sfida" dialogo && dopo=$(wc -l <"$voce") && x key Return
aspetta "la finestra del gioco" finestra

# Three questions, the second answered wrong: each number is heard with the answer box, each
# verdict with the counts.
esatte=0 errate=0
for domanda in 1 2 3; do
    ascolta "il numero $domanda, come nome della casella" "^Numero da trasformare: [0-9]+ text"
    [[ $detto =~ [0-9]+ ]] && giusta=$(romano "${BASH_REMATCH[0]}") && dove_numero=$dove
    ascolta "la casella della risposta dopo il numero" "^Risposta in numeri romani"
    ((dove == dove_numero + 1)) || fallisci "tra il numero e la casella Orca ha detto altro"
    if ((domanda == 2)); then
        sbagliata=$giusta errate=$((errate + 1))
        x type --delay 30 "${giusta}I"
        premi Return "il verdetto sbagliato" "Sbagliato!! $giusta\b.*Esatte $esatte, errate $errate"
    else
        esatte=$((esatte + 1))
        x type --delay 30 "$giusta"
        premi Return "il verdetto esatto" "Esatto, è incredibile!!!.*Esatte $esatte, errate $errate"
    fi
    ((domanda < 3)) && x key Return # "Nuovo calcolo", which has the focus
done

# The review of mistakes, from the keyboard (F8): its line with the numerals letter by letter,
# then Esc back to the game.
premi F8 "la riga del ripasso" "giusto: $(sed 's/./& /g; s/ $//' <<<"$sbagliata")"
premi Escape "il ritorno al gioco" "^Nuovo calcolo push button"
# The menus from the keyboard: F10 says the first entry of the first menu, → the first entry
# of the next one; Esc closes them.
premi F10 "la prima voce dei menu" "Dimostra di essere un vero campione"
premi Right "la voce del menu seguente" "Via dei Numeri 1, Roma"
x key Escape Escape
# The help (F1): its text has the focus, and the arrows read it a line at a time; Esc closes it.
premi F1 "l'aiuto, come testo" "Come si gioca a Cifrolandia (read only )?text"
premi "Down Down" "una riga dell'aiuto" "^Il gioco mostra un numero"
x key Escape

# The clock, once a real minute (two minutes of the clock after the start), said in a pause:
# nothing said in the 2 s before it, which it could have cut off.
ATTESA=75 ascolta "l'orologio dopo un minuto vero" "Tempo restante: 00:13:00"
pausa=$(awk -v n="$dove" 'NR == n - 1 { prima = $1 } NR == n { printf "%.0f", ($1 - prima) * 1000 }' "$voce")
((pausa >= 2000)) || fallisci "l'orologio è stato detto solo $pausa ms dopo la frase prima"

premi alt+x "il saluto" "^Ciao a presto"
aspetta "il saluto" dialogo && x key Return
# Two right answers beat Giulia's record of 1.
ascolta "il nuovo record" "ho registrato il tuo record"
aspetta "il messaggio del record" dialogo && x key Return
aspetta --o-fine "la fine" dialogo && fallisci "un messaggio dopo il saluto"
wait "$pid" || fallisci "stato d'uscita $?"
echo "1 passed, 0 failed"
