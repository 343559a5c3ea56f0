#!/usr/bin/env bash
# The Debian package on this very computer, as a school lab's administrator installs it: built
# from this tree by dpkg-buildpackage (scripts/costruisci-deb.sh, without its tests, which ctest
# runs anyway), accepted by lintian, installed with apt, its files where Debian expects them;
# then three whole games played with the keyboard by a pupil with an account of their own,
# started with the menu entry's command (a new record; a tie, which saves nothing; a name with
# an ò, saved in Windows-1252), each leaving its line in the pupil's history; then removed (the
# record stays) and purged (the record goes), leaving the computer as it was.
# Usage: install_and_play.sh
# (as root, inside xvfb-run -s "-ac -noreset ...", so that the pupil's game may use the display
# and the server keeps the keyboard set here between games)
set -euo pipefail
radice=$(cd "$(dirname "$0")/../.." && pwd)
record=/var/games/cifrolandia # the package's record directory

salta() { echo "SALTATO: $*"; exit 77; }
[ "$(id -u)" -eq 0 ] && command -v apt-get >/dev/null || salta "serve root, su Debian"
! dpkg-query -W -f='${Status}' cifrolandia 2>/dev/null | grep -qv 'not-installed$' &&
    [ ! -e "$record" ] || salta "cifrolandia è installato, o $record esiste: il test li toglierebbe"

lavoro=$(mktemp -d)
chmod 755 "$lavoro" # apt's download user and the pupil read in here
alunno="cifro$$"
installato=0
pid=
pulisci() {
    set +e
    [ -z "$pid" ] || kill "$pid" 2>/dev/null # a game left running by a failure
    ((installato)) && apt-get purge -y -q cifrolandia >/dev/null 2>&1
    userdel -r "$alunno" 2>/dev/null
    rm -rf "$lavoro"
}
trap pulisci EXIT
fallisci() {
    echo "FALLITO: $*" >&2
    import -window root /tmp/cifrolandia-pacchetto-fallito.png 2>/dev/null &&
        echo "schermo: /tmp/cifrolandia-pacchetto-fallito.png" >&2
    exit 1
}
# Runs a command with its output aside, shown only when it fails.
muto() { "$@" >"$lavoro/log" 2>&1 || { cat "$lavoro/log" >&2; fallisci "$*"; }; }
apt_get() { muto env DEBIAN_FRONTEND=noninteractive apt-get -y -q -o DPkg::Lock::Timeout=60 "$@"; }

# --- Built and checked -----------------------------------------------------------------------
muto env DEB_BUILD_OPTIONS="nocheck parallel=${JOBS:-2}" "$radice/scripts/costruisci-deb.sh" \
    "$lavoro/deb"
deb=$(echo "$lavoro"/deb/cifrolandia_*.deb)
# lintian also finds a program in /usr/bin, a setuid or setgid file, a bad menu entry, a
# missing manual page, copyright file or changelog, the record directory's mode without its
# override.
lintian --fail-on error,warning "$deb" || fallisci "lintian"
# What the program loads without linking to it, beside the libraries dpkg-shlibdeps finds.
dipendenze=$(dpkg-deb -f "$deb" Depends)
for d in qt6-qpa-plugins qt6-translations-l10n fonts-liberation fonts-dejavu-core libqt6widgets6; do
    [[ ", $dipendenze," == *", $d"[\ ,]* ]] || fallisci "$d manca dalle dipendenze: $dipendenze"
done

# --- Installed, where Debian expects it ------------------------------------------------------
installato=1
apt_get install "$deb"
voce=/usr/share/applications/it.cifrolandia.Cifrolandia.desktop
# The record directory, shared by every pupil of the computer.
[ "$(stat -c '%a %U' "$record")" = "777 root" ] || fallisci "$record: $(stat -c '%A %U' "$record")"
appstreamcli validate --no-net /usr/share/metainfo/it.cifrolandia.Cifrolandia.metainfo.xml ||
    fallisci "metainfo non valido"

# --- Three games, started as the menu starts it, with the PATH Debian gives its users ---------
useradd --create-home --home-dir "$lavoro/$alunno" --shell /usr/sbin/nologin "$alunno"
install -d -m 700 -o "$alunno" "$lavoro/$alunno/run"
source "$(dirname "$0")/../e2e/keyboard_game.sh"
# An Italian keyboard has the ò: xdotool then types it as a key of the keyboard, instead of
# binding a spare key to it for an instant (a key the game may read after that instant).
setxkbmap it
comando=$(sed -n '/^\[Desktop Entry\]/,/^\[/s/^Exec=//p' "$voce") # the main entry, not its actions
partita() { # name, right answers, messages before the end, then prom.txt and nrom.txt
    runuser -u "$alunno" -- env -i HOME="$lavoro/$alunno" USER="$alunno" LANG=C.UTF-8 \
        PATH=/usr/local/bin:/usr/bin:/bin:/usr/local/games:/usr/games DISPLAY="$DISPLAY" \
        XDG_RUNTIME_DIR="$lavoro/$alunno/run" $comando &
    pid=$!
    gioca "$1" "$2"
    pid=
    ((messaggi == $3)) || fallisci "$1: attesi $3 messaggi prima della fine, visti $messaggi"
    cmp -s "$record/prom.txt" <(printf "$4") && cmp -s "$record/nrom.txt" <(printf "$5") &&
        [ "$(stat -c %U "$record/prom.txt" "$record/nrom.txt")" = "$alunno"$'\n'"$alunno" ] ||
        fallisci "$1: record $(od -c "$record/prom.txt" "$record/nrom.txt")"
}
partita Giulia 3 2 '3\r\n' 'Giulia\r\n' # the goodbye and the new record
partita Marco 3 1 '3\r\n' 'Giulia\r\n'  # a tie saves nothing and shows only the goodbye
partita "Nicolò" 4 2 '4\r\n' 'Nicol\xf2\r\n'
# Each game left its line in the history, private to the account.
storico=$lavoro/$alunno/.local/share/Cifrolandia/partite.csv
[ "$(stat -c %a "$storico")" = 600 ] || fallisci "lo storico non è privato"
cut -d, -f3,5-9 "$storico" | tail -n +2 | cmp -s - <(printf '%s\n' Giulia,gara,3,0,3,uscita \
    Marco,gara,3,0,3,uscita "Nicolò,gara,4,0,4,uscita") || fallisci "storico: $(cat "$storico")"

# --- Removed, then purged ---------------------------------------------------------------------
apt_get remove cifrolandia
[ ! -e /usr/games/cifrolandia ] && [ -s "$record/prom.txt" ] || fallisci "rimosso: $(ls -A "$record")"
apt_get purge cifrolandia
installato=0
[ ! -e "$record" ] || fallisci "$record resta dopo l'eliminazione completa: $(ls -A "$record")"
echo "1 passed, 0 failed"
