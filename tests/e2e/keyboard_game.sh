# Sourced by the tests that play the real program with xdotool on a virtual X server.
# The caller defines `fallisci` (report and exit) and starts the game, keeping its pid in `pid`.
# Every step first waits for the window it expects to hold the keyboard: a key never goes to a
# window that is not there yet, and a window that does not come fails the game.

x() { timeout 5 xdotool "$@"; }

# Waits at most ATTESA seconds (default 30) until the window holding the keyboard (`id`,
# `titolo`) passes the test `$2`, and keeps it in `ultima`. Fails at once on a window of another
# title, and when the game ends meanwhile, except with `--o-fine`: then returns 1.
aspetta() {
    local o_fine=; [ "$1" = --o-fine ] && o_fine=1 && shift
    local cosa=$1 prova=$2 fine=$((SECONDS + ${ATTESA:-30})) id= titolo=
    while ((SECONDS < fine)); do
        kill -0 "$pid" 2>/dev/null || { [ -n "$o_fine" ] && return 1; fallisci "il gioco è finito: aspettavo $cosa"; }
        id=$(x getwindowfocus 2>/dev/null) && titolo=$(x getwindowname "$id" 2>/dev/null) || id= titolo=
        [ -n "$titolo" ] && [ "$titolo" != Cifrolandia ] && fallisci "ha la tastiera «$titolo», aspettavo $cosa"
        [ -n "$id" ] && [ "$titolo" = Cifrolandia ] && $prova && ultima=$id && return 0
        sleep 0.1
    done
    fallisci "dopo ${ATTESA:-30} s aspetto ancora $cosa; ha la tastiera: ${titolo:-nessuna finestra}"
}
dialogo() { [ "$id" != "$ultima" ] && [ "$id" != "$principale" ]; } # a new one, over the game
finestra() { # the game window: the first new one after the dialogs of the start
    [ -n "$principale" ] || { [ "$id" != "$ultima" ] && principale=$id; }
    [ "$id" = "$principale" ]
}

# Plays the game started as `pid` with the keyboard alone: name `nome`, bound 2 (so every
# question is 1, "I"), `giuste` right answers typed in small letters, each next question by
# Enter (a click at once: Alt+N clicks 100 ms later, when the next keys may have gone by),
# then Alt+X and Enter on every message until the program ends. `messaggi` counts those
# messages; a non-zero exit status fails.
gioca() {
    local nome=$1 giuste=$2 i
    principale= ultima= messaggi=0
    aspetta "la domanda del nome" dialogo && x type --delay 30 "$nome" && x key Return
    aspetta "la sfida" dialogo && x key Return
    aspetta "l'avviso sul numero più grande" dialogo && x key Return
    aspetta "la domanda del numero più grande" dialogo && x type 2 && x key Return
    aspetta "la finestra del gioco" finestra
    for ((i = 0; i < giuste; i++)); do
        x type i && x key Return Return # judged; then the next question
    done
    x key alt+x
    while aspetta --o-fine "un messaggio o la fine" dialogo; do
        ((++messaggi <= 3)) || fallisci "$nome: più di 3 messaggi"
        x key Return
    done
    wait "$pid" || fallisci "$nome: stato d'uscita $?"
}
