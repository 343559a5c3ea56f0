# Sourced by the tests that play the real program with xdotool on a virtual X server.
# The caller defines `fallisci` (report and exit) and starts the game, keeping its pid in `pid`.

passo() { sleep "${PAUSA:-0.6}"; }
tasto() { xdotool key --clearmodifiers "$@"; passo; }
scrivi() { xdotool type --delay 30 "$1"; passo; }

# Plays the game started as `pid` with the keyboard alone: name `nome`, bound 2 (so every
# question is 1, "I"), `giuste` right answers typed in small letters (the first next question
# by Alt+N, the others by Enter), then Alt+X and Enter on every message until the program
# ends. `messaggi` counts those messages; a non-zero exit status fails.
gioca() {
    local nome=$1 giuste=$2 i
    xdotool search --sync --onlyvisible --name '^Cifrolandia$' >/dev/null
    passo
    scrivi "$nome"; tasto Return       # name
    tasto Return                        # greeting
    tasto Return                        # notice
    scrivi "2"; tasto Return            # bound
    for ((i = 0; i < giuste; i++)); do
        scrivi "i"; tasto Return        # judged
        if ((i == 0)); then tasto alt+n; else tasto Return; fi # next question
    done
    tasto alt+x
    messaggi=0
    while kill -0 "$pid" 2>/dev/null && ((messaggi < 4)); do
        tasto Return
        messaggi=$((messaggi + 1))
    done
    wait "$pid" || fallisci "$nome: stato d'uscita $?"
}
