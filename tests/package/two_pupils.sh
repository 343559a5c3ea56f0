#!/usr/bin/env bash
# The Debian package on this very computer, as a teacher installs it for a school lab: built
# from this build tree by CPack and checked, installed with apt, then played on the virtual X
# server by two pupils with accounts of their own, who share one record with no environment
# variable set; then removed (the record stays) and purged (the record goes), leaving the
# computer as it was. The games are played with the keyboard through xdotool, as in
# tests/e2e/whole_game.sh.
# Usage: two_pupils.sh <CPackConfig.cmake of the build> <record directory compiled in>
# (as root, inside xvfb-run -s "-ac ...", so that the pupils' games may use the display)
set -euo pipefail

configurazione=$1
record=$2

salta() {
    echo "SALTATO: $*"
    exit 77
}
[ "$(id -u)" -eq 0 ] || salta "serve root: il test installa un pacchetto e crea due utenti"
command -v apt-get >/dev/null || salta "apt-get non c'è: non è un sistema Debian"
if lslocks -n -o PATH 2>/dev/null | grep -q '^/var/lib/dpkg/lock'; then
    salta "dpkg è occupato da un altro programma"
fi
if dpkg-query -W -f='${Status}' cifrolandia 2>/dev/null | grep -qv '^unknown ok not-installed'; then
    salta "cifrolandia è già installato su questo computer (o non rimosso del tutto): il test lo toglierebbe"
fi
[ ! -e /usr/bin/cifrolandia ] || salta "/usr/bin/cifrolandia esiste già: il test lo toglierebbe"
[ ! -e "$record" ] || salta "$record esiste già: il record di questo computer non si tocca"

lavoro=$(mktemp -d)
chmod 755 "$lavoro" # apt's download user and the two pupils read in here
alunni=("cifro$$a" "cifro$$b")
installato=0
pid=
pulisci() {
    set +e
    if [ -n "$pid" ] && kill "$pid" 2>/dev/null; then # a game left running by a failure
        sleep 1
    fi
    if ((installato)); then
        apt-get purge -y -q cifrolandia >"$lavoro/purge.log" 2>&1
    fi
    for u in "${alunni[@]}"; do
        id "$u" >/dev/null 2>&1 && userdel -r "$u" 2>/dev/null
    done
    rm -rf "$lavoro"
}
trap pulisci EXIT

fallisci() {
    echo "FALLITO: $*" >&2
    import -window root "/tmp/cifrolandia-pacchetto-fallito.png" 2>/dev/null &&
        echo "schermo: /tmp/cifrolandia-pacchetto-fallito.png" >&2
    exit 1
}
apt_get() {
    DEBIAN_FRONTEND=noninteractive apt-get -y -q -o DPkg::Lock::Timeout=60 "$@" \
        >"$lavoro/apt.log" 2>&1 || {
        cat "$lavoro/apt.log" >&2
        fallisci "apt-get $*"
    }
}

# --- The package as built --------------------------------------------------------------------
cpack -G DEB --config "$configurazione" -B "$lavoro/cpack" >"$lavoro/cpack.log" 2>&1 || {
    cat "$lavoro/cpack.log" >&2
    fallisci "cpack"
}
deb=$(echo "$lavoro"/cpack/cifrolandia_*.deb)
[ -f "$deb" ] || fallisci "nessun pacchetto in $lavoro/cpack"

dipendenze=$(dpkg-deb -f "$deb" Depends)
for p in libqt6widgets6 libqt6gui6 libqt6core6 qt6-qpa-plugins qt6-translations-l10n \
    fonts-liberation; do
    grep -Eq "(^|, )$p( |,|$)" <<<"$dipendenze" || fallisci "manca la dipendenza $p: $dipendenze"
done
contenuto=$(dpkg-deb -c "$deb")
grep -q "^drwxrwxrwx .* \.$record/\$" <<<"$contenuto" || fallisci "$record non è 0777 nel pacchetto"
! awk '{print $1}' <<<"$contenuto" | grep -q '[sStT]' || fallisci "bit setuid, setgid o sticky: $contenuto"

dpkg-deb -x "$deb" "$lavoro/estratto"
voce=$lavoro/estratto/usr/share/applications/it.cifrolandia.Cifrolandia.desktop
desktop-file-validate "$voce" || fallisci "voce di menu non valida"
for riga in Name=Cifrolandia "Comment=Gioco dei numeri romani" Icon=cifrolandia \
    Categories=Education\;Game\; Exec=cifrolandia; do
    grep -qx "$riga" "$voce" || fallisci "manca $riga in $voce"
done
appstreamcli validate --no-net \
    "$lavoro/estratto/usr/share/metainfo/it.cifrolandia.Cifrolandia.metainfo.xml" ||
    fallisci "metainfo non valido"
for lato in 16 32 48 64 128 256; do
    icona=$lavoro/estratto/usr/share/icons/hicolor/${lato}x${lato}/apps/cifrolandia.png
    [ "$(identify -format '%wx%h' "$icona")" = "${lato}x${lato}" ] || fallisci "icona $icona"
done
grep -q '<svg' "$lavoro/estratto/usr/share/icons/hicolor/scalable/apps/cifrolandia.svg" ||
    fallisci "icona SVG"

# --- Installed ---------------------------------------------------------------------------------
installato=1
apt_get install "$deb"
[ "$(stat -c '%a %U' "$record")" = "777 root" ] || fallisci "$record: $(stat -c '%A %U' "$record")"
while read -r f; do
    if [ -f "$f" ] && { [ -u "$f" ] || [ -g "$f" ]; }; then
        fallisci "$f è setuid o setgid"
    fi
done < <(dpkg -L cifrolandia)

# --- Two pupils, one record ------------------------------------------------------------------
for u in "${alunni[@]}"; do
    useradd --create-home --home-dir "$lavoro/$u" --shell /usr/sbin/nologin "$u"
    install -d -m 700 -o "$u" "$lavoro/$u/run"
done

source "$(dirname "$0")/../e2e/keyboard_game.sh"

# One game of the installed program, started from the menu's command as `utente` with a bare
# environment.
partita() {
    local utente=$1 nome=$2 giuste=$3
    runuser -u "$utente" -- env -i HOME="$lavoro/$utente" USER="$utente" LANG=C.UTF-8 \
        PATH=/usr/bin:/bin DISPLAY="$DISPLAY" XDG_RUNTIME_DIR="$lavoro/$utente/run" \
        cifrolandia &
    pid=$!
    gioca "$nome" "$giuste"
    pid=
    echo "$nome ($utente): $giuste risposte esatte, $messaggi messaggi prima della fine"
}
record_uguale() { # score, name, owner
    cmp -s "$record/prom.txt" <(printf '%s\r\n' "$1") || fallisci "prom.txt: $(od -c "$record/prom.txt")"
    cmp -s "$record/nrom.txt" <(printf '%s\r\n' "$2") || fallisci "nrom.txt: $(od -c "$record/nrom.txt")"
    [ "$(stat -c %U "$record/prom.txt" "$record/nrom.txt")" = "$3"$'\n'"$3" ] ||
        fallisci "i file del record non sono di $3"
}

partita "${alunni[0]}" Anna 2
record_uguale 2 Anna "${alunni[0]}"
((messaggi == 2)) || fallisci "attesi il saluto e il messaggio del record, visti $messaggi"

# The other pupil sees Anna's record: a tie saves nothing.
partita "${alunni[1]}" Bruno 2
((messaggi == 1)) || fallisci "un pareggio mostra solo il saluto, visti $messaggi messaggi"
record_uguale 2 Anna "${alunni[0]}"

# ... and can beat it, replacing the files of another user.
partita "${alunni[1]}" Bruno 3
((messaggi == 2)) || fallisci "Bruno batte il record: attesi 2 messaggi, visti $messaggi"
record_uguale 3 Bruno "${alunni[1]}"

# --- Removed, then purged ----------------------------------------------------------------------
apt_get remove cifrolandia
[ ! -e /usr/bin/cifrolandia ] || fallisci "/usr/bin/cifrolandia resta dopo la rimozione"
record_uguale 3 Bruno "${alunni[1]}"
apt_get purge cifrolandia
installato=0
[ ! -e "$record" ] || fallisci "$record resta dopo l'eliminazione completa: $(ls -A "$record")"
echo "1 passed, 0 failed"
