#!/usr/bin/env bash
# The command line of the real program, with no display at all: it is read before Qt starts.
# Usage: riga_di_comando.sh <program> <version>
set -uo pipefail
programma=$1 versione=$2
cartella=/nessuna/cartella # the record directory --help names; never used here
ulimit -c 0                # Qt aborts a program that has no display: no core file
d=$(mktemp -d)
trap 'rm -rf "$d"' EXIT
falliti=0
# arguments | exit status, or "qt": accepted, on to start Qt, which finds no display and stops
# it | the stream (out, err) and a line it must hold; on status 2 the usage follows the error,
# and the other stream stays empty
while IFS='|' read -r argomenti stato flusso atteso; do
    # shellcheck disable=SC2086 # the arguments are split on purpose
    { env -u DISPLAY -u WAYLAND_DISPLAY QT_QPA_PLATFORM= CIFROLANDIA_RECORD_DIR=$cartella \
        "$programma" $argomenti >"$d/out" 2>"$d/err"; } 2>/dev/null # no "Aborted" from bash
    ottenuto=$?
    [ "$stato" = qt ] && ((ottenuto != 0 && ottenuto != 2)) && stato=$ottenuto
    grep -Eq -- "$atteso" "$d/$flusso" && [ "$ottenuto" = "$stato" ] &&
        { [ "$stato" != 2 ] || grep -q '^Uso: cifrolandia' "$d/err"; } &&
        { [ "$stato" -gt 2 ] || [ ! -s "$d/$([ "$stato" = 0 ] && echo err || echo out)" ]; } &&
        continue
    echo "FALLITO: cifrolandia $argomenti: stato $ottenuto, $(head -1 "$d/out") $(head -1 "$d/err")"
    falliti=$((falliti + 1))
done <<EOF
--help|0|out|^Cartella del record: $cartella$
--version|0|out|^Cifrolandia $versione$
-platform offscreen -reverse --version|0|out|^Cifrolandia $versione$
--boh|2|err|^cifrolandia: opzione sconosciuta: --boh$
--allenamento --help=1|2|err|^cifrolandia: opzione sconosciuta: --help=1$
partita|2|err|^cifrolandia: argomento inatteso: partita$
--allenamento|qt|err|platform plugin
--massimo 50 --allenamento|qt|err|platform plugin
--massimo=4e3|qt|err|platform plugin
--risultati|qt|err|platform plugin
--massimo|2|err|^cifrolandia: --massimo vuole un numero$
--massimo 1|2|err|^cifrolandia: --massimo vuole un numero da 2 in su, non: 1$
--massimo=cento|2|err|^cifrolandia: --massimo vuole un numero da 2 in su, non: cento$
--allenamento-inverso --tastiera|qt|err|platform plugin
EOF
((falliti == 0)) && echo "riga di comando: tutti i casi passano"
