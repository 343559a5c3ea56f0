#!/usr/bin/env python3
"""Mutation testing of core/: seeds one small fault at a time and runs the core tests on it.

Mutations: a flipped comparison (< <=, > >=, == !=), an integer literal +1 or -1, a deleted
statement, && swapped with ||. Each mutant is built in a copy of the sources (the worktree is
never touched): one object file is recompiled and core_tests relinked. A mutant is killed when
a test fails, crashes or runs past the timeout; one that does not compile is discarded.
Mutants listed in scripts/mutanti-equivalenti.txt change nothing observable and are skipped.

Files under ui/ can be mutated too (FILES=ui/controlli.cpp): the whole program is then built, and
each of their mutants is tried against the window's three test programs (offscreen, scale 1).

Variables (from make or the environment): FILES (space-separated, default every core/*.cpp),
SAMPLE (how many mutants, default 300; 0 for all), SEED (default 9), JOBS (parallel builds,
default 2), BUILD (default build-mutate), UCCISORI=1 (runs every test on each mutant and
lists, for each test, the mutants no other test kills). The slow rows of core_tests (names with
"Lento") are not run: they take over 20 s each and test the record store, which the other rows
cover too.
"""

import concurrent.futures
import os
import random
import re
import shutil
import signal
import subprocess
import sys
import time
from pathlib import Path

RADICE = Path(__file__).resolve().parent.parent
EQUIVALENTI = RADICE / "scripts" / "mutanti-equivalenti.txt"
CONFRONTI = {" < ": " <= ", " <= ": " < ", " > ": " >= ", " >= ": " > ", " == ": " != ",
             " != ": " == ", " && ": " || ", " || ": " && "}
LETTERALE = re.compile(r"(?<![\w.])(0[xX][0-9a-fA-F]+|\d+)(?![\w.'])")


def codice_visibile(righe):
    """Each line with strings, characters and comments blanked, so that columns stay put."""
    dentro_commento = False
    for riga in righe:
        fuori = []
        i = 0
        while i < len(riga):
            if dentro_commento:
                if riga.startswith("*/", i):
                    dentro_commento = False
                    fuori.append("  ")
                    i += 2
                else:
                    fuori.append(" ")
                    i += 1
            elif riga.startswith("/*", i):
                dentro_commento = True
                fuori.append("  ")
                i += 2
            elif riga.startswith("//", i):
                fuori.append(" " * (len(riga) - i))
                break
            elif riga[i] in "\"'":
                chiusura = riga[i]
                j = i + 1
                while j < len(riga) and riga[j] != chiusura:
                    j += 2 if riga[j] == "\\" else 1
                fuori.append(chiusura + "_" * (min(j, len(riga)) - i - 1) + chiusura)
                i = j + 1
            else:
                fuori.append(riga[i])
                i += 1
        yield "".join(fuori)[: len(riga)]


def mutanti_di(file):
    """(file, line number, original line, mutated line, description) for every mutant."""
    righe = (RADICE / file).read_text(encoding="utf-8").split("\n")
    quante = {}
    for riga in righe:
        quante[riga.strip()] = quante.get(riga.strip(), 0) + 1
    precedente = ""
    precedente_testo = ""
    for n, (riga, vis) in enumerate(zip(righe, codice_visibile(righe)), start=1):
        # A line's text names its mutants; a line that occurs more than once takes the line
        # before it as well.
        testo = riga.strip() if quante[riga.strip()] == 1 else f"{precedente_testo} / {riga.strip()}"
        codice = vis.strip()
        if not codice or codice.startswith("#") or "static_assert" in codice:
            continue
        for vecchio, nuovo in CONFRONTI.items():
            for k, m in enumerate(re.finditer(re.escape(vecchio), vis)):
                mutata = riga[: m.start()] + nuovo + riga[m.end():]
                yield file, n, testo, mutata, f"{vecchio.strip()} -> {nuovo.strip()} #{k}"
        for k, m in enumerate(LETTERALE.finditer(vis)):
            letterale = m.group(1)
            base = 16 if letterale[:2].lower() == "0x" else 8 if len(letterale) > 1 and letterale[0] == "0" else 10
            valore = int(letterale, base)
            for delta in (1, -1):
                if valore + delta < 0:
                    continue
                nuovo = {16: hex, 8: lambda v: "0" + format(v, "o"), 10: str}[base](valore + delta)
                mutata = riga[: m.start()] + nuovo + riga[m.end():]
                yield file, n, testo, mutata, f"{m.group(1)} -> {nuovo} #{k}"
        inizio_istruzione = precedente.endswith((";", "{", "}", ":")) or not precedente
        if (codice.endswith(";") and inizio_istruzione and codice.count("(") == codice.count(")")
                and not re.match(r"(return|using|namespace|static|constexpr|const|auto|struct|class)\b", codice)
                and "{" not in codice and "}" not in codice and not re.search(r"= (delete|default);", codice)):
            yield file, n, testo, "", "statement deleted"
        precedente = codice
        if riga.strip():
            precedente_testo = riga.strip()


def chiave(file, riga, descrizione):
    return f"{file} ## {riga.strip()} ## {descrizione}"


def equivalenti():
    if not EQUIVALENTI.exists():
        return set()
    chiavi = set()
    for riga in EQUIVALENTI.read_text(encoding="utf-8").splitlines():
        parti = [p.strip() for p in riga.split(" ## ")]
        if len(parti) == 4 and not riga.startswith("#"):
            chiavi.add(" ## ".join(parti[:3]))
    return chiavi


def uccidi(gruppo):
    try:
        os.killpg(gruppo, signal.SIGKILL)
    except ProcessLookupError:
        pass


def esegui(comando, **kw):
    return subprocess.run(comando, stdout=subprocess.PIPE, stderr=subprocess.STDOUT, text=True, **kw)


def copia_aggiornata(destinazione, completa):
    """Copies what the build needs (the core alone, or with `completa` every file git tracks),
    rewriting only the files that differ (so that a second run rebuilds little) and removing
    those that are gone."""
    if completa:
        elenco = esegui(["git", "-C", RADICE, "ls-files"], check=True).stdout.split("\n")
        sorgenti = {Path(r) for r in elenco if r and (RADICE / r).is_file()}
    else:
        sorgenti = {p.relative_to(RADICE) for d in ("core", "tests/core")
                    for p in (RADICE / d).rglob("*") if p.is_file()}
        sorgenti.add(Path("CMakeLists.txt"))
    for rel in sorgenti:
        d = destinazione / rel
        if not d.exists() or d.read_bytes() != (RADICE / rel).read_bytes():
            d.parent.mkdir(parents=True, exist_ok=True)
            # A fresh timestamp: a copy restored after an interrupted run is rebuilt.
            shutil.copy(RADICE / rel, d)
    for p in list(destinazione.rglob("*")):
        if p.is_file() and p.relative_to(destinazione) not in sorgenti:
            p.unlink()


# The window's test programs: the game window, the keypad, the results and the pause.
FINESTRA = ["ui_tests", "ui_tastierino_tests", "risultati_tests"]


def della_finestra(file):
    return file.startswith("ui/")


IN_CORSO = set()  # test processes running, killed on Ctrl-C
UCCISORI = {}  # mutant: the tests that failed on it


class Officina:
    """One copy of the sources with its own build directory; builds and tests one mutant at a time."""

    def __init__(self, cartella, completa):
        self.sorgenti = cartella / "src"
        self.build = cartella / "obj"
        copia_aggiornata(self.sorgenti, completa)
        esegui(["cmake", "-S", self.sorgenti, "-B", self.build, "-G", "Ninja",
                f"-DCIFROLANDIA_CORE_ONLY={'OFF' if completa else 'ON'}",
                "-DCMAKE_BUILD_TYPE=None", "-DCMAKE_CXX_FLAGS=-O1 -w",
                # tests are listed when ctest runs, not after every link
                "-DCMAKE_GTEST_DISCOVER_TESTS_DISCOVERY_MODE=PRE_TEST"], check=True)
        for finestra in (False, True) if completa else (False,):
            self.compila(finestra, check=True)
        self.durata = {}

    def compila(self, finestra, check=False):
        bersagli = FINESTRA if finestra else ["core_tests"]
        r = esegui(["nice", "cmake", "--build", self.build, "-j1", "--target", *bersagli])
        if check and r.returncode:
            sys.exit(r.stdout)
        return r.returncode == 0

    def prova(self, finestra, limite):
        """True when every test passes. With UCCISORI=1 (and always for the window tests) every
        test runs, and the names of the failed ones are kept in self.falliti ("timeout" or
        "crash" when the run did not end)."""
        tutti = finestra or os.environ.get("UCCISORI") == "1"
        if finestra:
            ui = self.build / "tests" / "ui"
            comandi = [["nice", ui / programma, "-silent"] for programma in FINESTRA]
            ambiente = dict(os.environ, LC_ALL="C.UTF-8", QT_SCALE_FACTOR="1",
                            QT_QPA_PLATFORM=f"offscreen:configfile={ui}/schermo-3840x2160.json")
            fallito = r"^FAIL!  : (\S+?)(?: |$)"
        else:
            comandi = [["nice", self.build / "tests" / "core" / "core_tests", "--gtest_brief=1",
                        "--gtest_filter=-*Lento*"] + ([] if tutti else ["--gtest_fail_fast"])]
            ambiente = None
            fallito = r"^\[  FAILED  \] (\S+?)(?:,| \(\d+ ms\)|$)"
        superati, falliti = True, set()
        for comando in comandi:
            if not self.lancia(comando, ambiente, fallito, tutti, limite):
                superati = False
                falliti |= self.falliti
        self.falliti = falliti
        return superati

    def lancia(self, comando, ambiente, fallito, tutti, limite):
        """Runs one test program; True when it passes, else its failed tests in self.falliti."""
        with subprocess.Popen(comando, stdout=subprocess.PIPE if tutti else subprocess.DEVNULL,
                              stderr=subprocess.DEVNULL, text=True, errors="replace", env=ambiente,
                              cwd=self.build, start_new_session=True) as p:
            IN_CORSO.add(p.pid)
            try:
                uscita, _ = p.communicate(timeout=limite)
                self.falliti = set(re.findall(fallito, uscita or "", re.M))
                if p.returncode and not self.falliti:
                    self.falliti = {"crash"}
                return p.returncode == 0
            except subprocess.TimeoutExpired:
                self.falliti = {"timeout"}
                return False
            finally:
                uccidi(p.pid)
                IN_CORSO.discard(p.pid)

    def mutante(self, m, limite):
        """'killed', 'survived' or 'discarded'; the original file is back in place afterwards."""
        file, n, _, mutata, _ = m
        percorso = self.sorgenti / file
        originale = percorso.read_text(encoding="utf-8")
        righe = originale.split("\n")
        righe[n - 1] = mutata
        finestra = della_finestra(file)
        try:
            percorso.write_text("\n".join(righe), encoding="utf-8")
            if not self.compila(finestra):
                return "discarded"
            if self.prova(finestra, limite[finestra]):
                return "survived"
            UCCISORI[m] = self.falliti
            return "killed"
        finally:
            percorso.write_text(originale, encoding="utf-8")


def main():
    files = os.environ.get("FILES", "").split() or sorted(
        str(p.relative_to(RADICE)) for p in (RADICE / "core").glob("*.cpp"))
    campione = int(os.environ.get("SAMPLE") or 300)
    seme = int(os.environ.get("SEED") or 9)
    lavori = max(1, int(os.environ.get("JOBS") or 2))
    cartella = RADICE / os.environ.get("BUILD", "build-mutate")

    esclusi = equivalenti()
    tutti = [m for f in files for m in mutanti_di(f)]
    # The sample is drawn before the equivalent mutants are taken out, so that listing one
    # leaves the rest of the sample as it was.
    scelti = tutti if not 0 < campione < len(tutti) else random.Random(seme).sample(tutti, campione)
    mutanti = sorted((m for m in scelti if chiave(m[0], m[2], m[4]) not in esclusi),
                     key=lambda m: (m[0], m[1]))
    equivalenti_scelti = [m for m in scelti if chiave(m[0], m[2], m[4]) in esclusi]
    print(f"{len(tutti)} mutants, {len(scelti)} drawn (SEED={seme}, SAMPLE={campione}), "
          f"{len(equivalenti_scelti)} of them equivalent and skipped", flush=True)

    inizio = time.monotonic()
    completa = any(della_finestra(f) for f in files)
    officine = [Officina(cartella / f"w{i}", completa) for i in range(lavori)]
    limite = {}
    for finestra in (False, True) if completa else (False,):
        for o in officine:
            t = time.monotonic()
            if not o.prova(finestra, 120):
                sys.exit(f"the tests fail on the unmutated sources: {sorted(o.falliti)}")
            o.durata[finestra] = time.monotonic() - t
        limite[finestra] = max(10.0, 4 * max(o.durata[finestra] for o in officine))

    libere = list(officine)
    esiti = {}

    def lavora(m):
        o = libere.pop()
        try:
            return o.mutante(m, limite)
        finally:
            libere.append(o)

    ex = concurrent.futures.ThreadPoolExecutor(lavori)
    try:
        futuri = {ex.submit(lavora, m): m for m in mutanti}
        for i, f in enumerate(concurrent.futures.as_completed(futuri), 1):
            esiti[futuri[f]] = f.result()
            print(f"\r{i}/{len(mutanti)}", end="", file=sys.stderr, flush=True)
    except BaseException:
        ex.shutdown(wait=False, cancel_futures=True)
        for pid in list(IN_CORSO):
            uccidi(pid)
        raise
    ex.shutdown()
    print(file=sys.stderr)

    print(f"\n{'file':<20} {'killed':>6} {'survived':>8} {'discarded':>9} {'equiv.':>6} {'score':>6}")
    totale_uccisi = totale_validi = 0
    for f in files:
        e = [v for m, v in esiti.items() if m[0] == f]
        uccisi, vivi = e.count("killed"), e.count("survived")
        totale_uccisi, totale_validi = totale_uccisi + uccisi, totale_validi + uccisi + vivi
        punteggio = f"{100 * uccisi / (uccisi + vivi):.0f} %" if uccisi + vivi else "-"
        equivalenti_file = sum(m[0] == f for m in equivalenti_scelti)
        print(f"{f:<20} {uccisi:>6} {vivi:>8} {e.count('discarded'):>9} {equivalenti_file:>6} {punteggio:>6}")
    if totale_validi:
        print(f"{'all':<20} {totale_uccisi:>6} {totale_validi - totale_uccisi:>8} "
              f"{list(esiti.values()).count('discarded'):>9} {len(equivalenti_scelti):>6} "
              f"{100 * totale_uccisi / totale_validi:>4.0f} %")
    print("\nSurvivors:")
    for m in sorted((m for m, v in esiti.items() if v == "survived"), key=lambda m: (m[0], m[1])):
        print(f"{m[0]}:{m[1]}: {m[4]}    | {m[2].strip()}")
    if os.environ.get("UCCISORI") == "1":
        # A test that is the only one to kill some mutant is needed; the others may go.
        unici = {}
        for m, falliti in UCCISORI.items():
            for t in falliti:
                unici.setdefault(t, [])
            if len(falliti) == 1:
                unici[next(iter(falliti))].append(m)
        print("\nTests and the mutants only they kill:")
        for t, ms in sorted(unici.items(), key=lambda v: len(v[1])):
            print(f"{len(ms):4}  {t}  " + ", ".join(f"{m[0]}:{m[1]} {m[4]}" for m in ms[:6]))
    print(f"\n{time.monotonic() - inizio:.0f} s")


if __name__ == "__main__":
    try:
        main()
    except KeyboardInterrupt:
        sys.exit(130)
