#!/usr/bin/env python3
"""termix54-batch.exe under wine against the Linux build, run for run.

  wine_prova.py LINUX_EXE WINDOWS_EXE GENERA_CSV [WINE]

Every run gets the same input in a folder of its own for each build; exit
status, standard output and error, the output file and every report must be
the same. Texts must match exactly (in messages '\\' may stand for '/', and
the lines of the reports that carry the date and time are left out). A number
of the output may differ only in its last bits, the platforms' exp, log and pow
being their own: the values that differ are counted with their distance in
units in the last place, and the run fails past ULP_MASSIMI.
"""
import os, shutil, stat, struct, subprocess, sys, tempfile

# Measured on Debian 12's mingw-w64 (msvcrt) and glibc 2.36: see the README.
ULP_MASSIMI = 4
TESTA = ("Impianto;Combustibile;Tipo;Composizione;PortataComb;AtomiC;AtomiH;AtomiO;AtomiCl;AtomiS;AtomiN;FrazC;FrazH;"
         "FrazO;FrazCl;FrazS;FrazN;Inerti;Acqua;PotereCalorifico;EccessoAria;TempAria;UmiditaRelativa;TempCeneri;"
         "Dispersioni\r\n")
# The worked cases, a record that never settles, one stopped by a check, a malformed one, quotes.
CASI = TESTA + (
    "Forno di Forlì;Metano;Metano;;100;;;;;;;;;;;;;;;;20;20;50;20;5\r\n"
    "Linea 2;Cloruro di vinile;Altri;Atomica;50;2;3;0;1;0;0;;;;;;;;;;60;15;70;300;3\r\n"
    "Caldaia «B»;Rifiuto clorurato;Altri;Ponderale;100;;;;;;;0,5;0,06;0,1;0,05;0,01;0,01;0,17;0,1;5000;50;20;50;400;5\r\n"
    "Vuoto;;Altri;Atomica;0;0;0;0;0;0;0;;;;;;;;;;0;0;0;0;0\r\n"
    "\"Forno; 2\";\"gas \"\"N\"\"\";Metano;;1,5.0;;;;;;;;;;;;;;;;20;20;50;20;5\r\n"
    "Rotto\";x;Metano\r\n"
    "Città €;Gasolio;Metano;;1e300;;;;;;;;;;;;;;;;20;20;50;20;5\r\n")


def ulp(a, b):
    ia, ib = (struct.unpack("<q", struct.pack("<d", x))[0] for x in (a, b))
    ia, ib = (i if i >= 0 else -(i & 0x7FFFFFFFFFFFFFFF) for i in (ia, ib))
    return abs(ia - ib)


class Confronto:
    def __init__(self, linux, windows, wine):
        self.linux, self.windows, self.wine = linux, windows, wine
        self.radice = tempfile.mkdtemp(prefix="termix54-wine-")
        self.errori, self.valori, self.diversi, self.istogramma = [], 0, 0, {}

    def esegui(self, nome, file, argomenti, pipe=None, prepara=None):
        """The same run in two folders; returns the two folders."""
        risultati = []
        for chi in ("linux", "windows"):
            d = os.path.join(self.radice, nome, chi)
            os.makedirs(d)
            for n, contenuto in file.items():
                os.makedirs(os.path.join(d, os.path.dirname(n)), exist_ok=True)
                with open(os.path.join(d, n), "wb") as f:
                    f.write(contenuto)
            if prepara:
                prepara(d)
            comando = [self.linux] if chi == "linux" else [self.wine, self.windows]
            ingresso = open(os.path.join(d, pipe), "rb") if pipe else subprocess.DEVNULL
            # From a pipe, not a file: cat feeds it.
            cat = subprocess.Popen(["cat"], stdin=ingresso, stdout=subprocess.PIPE) if pipe else None
            p = subprocess.run(comando + argomenti, cwd=d, stdin=cat.stdout if cat else subprocess.DEVNULL,
                               capture_output=True, timeout=600)
            if cat:
                cat.wait()
            risultati.append((d, p))
        (dl, pl), (dw, pw) = risultati
        errore_w = pw.stderr.replace(b"\r\n", b"\n").replace(b"\\", b"/")
        if pl.returncode != pw.returncode:
            self.errori.append(f"{nome}: exit {pl.returncode} on Linux, {pw.returncode} under wine\n{pw.stderr!r}")
        if pl.stderr != errore_w:
            self.errori.append(f"{nome}: messages differ\n  Linux: {pl.stderr!r}\n  wine:  {errore_w!r}")
        self.confronta_csv(nome + " stdout", pl.stdout, pw.stdout)
        self.confronta_cartelle(nome, dl, dw)
        return dl, dw

    def confronta_csv(self, nome, a, b):
        if a == b:
            self.valori += a.count(b";") + a.count(b",")
            return
        ra, rb = a.split(b"\r\n"), b.split(b"\r\n")
        if len(ra) != len(rb):
            self.errori.append(f"{nome}: {len(ra)} lines on Linux, {len(rb)} under wine")
            return
        for n, (la, lb) in enumerate(zip(ra, rb)):
            if la == lb:
                self.valori += la.count(b";") + la.count(b",")
                continue
            sep = b";" if la.count(b";") > la.count(b",") else b","
            ca, cb = la.split(sep), lb.split(sep)
            if len(ca) != len(cb):
                self.errori.append(f"{nome}, line {n + 1}: fields differ\n  {la!r}\n  {lb!r}")
                continue
            for x, y in zip(ca, cb):
                self.valori += 1
                if x == y:
                    continue
                try:
                    fx, fy = (float(v.decode().replace(",", ".")) for v in (x, y))
                except ValueError:
                    self.errori.append(f"{nome}, line {n + 1}: text {x!r} against {y!r}")
                    continue
                d = ulp(fx, fy)
                self.diversi += 1
                self.istogramma[d] = self.istogramma.get(d, 0) + 1

    def confronta_cartelle(self, nome, dl, dw):
        for cartella, _, file in os.walk(dl):
            for n in file:
                pl = os.path.join(cartella, n)
                rel = os.path.relpath(pl, dl)
                pw = os.path.join(dw, rel)
                if not os.path.exists(pw):
                    self.errori.append(f"{nome}: {rel} missing under wine")
                    continue
                a, b = open(pl, "rb").read(), open(pw, "rb").read()
                if rel.endswith(".TXT"):  # the date and time on lines 3 and 4 from column 50
                    a, b = (senza_data(x) for x in (a, b))
                if rel.endswith(".termix54-batch"):  # sizes only: the times are the run's own
                    a, b = (b"\n".join(r.split(b"\t")[0] for r in x.split(b"\n")) for x in (a, b))
                if rel.endswith((".csv", ".CSV")):
                    self.confronta_csv(f"{nome} {rel}", a, b)
                elif a != b:
                    self.errori.append(f"{nome}: {rel} differs")
        for cartella, _, file in os.walk(dw):
            for n in file:
                rel = os.path.relpath(os.path.join(cartella, n), dw)
                if not os.path.exists(os.path.join(dl, rel)):
                    self.errori.append(f"{nome}: {rel} written under wine only")


def senza_data(t):
    righe = t.split(b"\r\n")
    for i in (2, 3):
        if len(righe) > i:
            righe[i] = righe[i][:50]
    return b"\r\n".join(righe)


def codifica(testo, nome):
    if nome == "utf-8":
        return testo.encode()
    if nome == "utf-8 con BOM":
        return b"\xef\xbb\xbf" + testo.encode()
    if nome == "windows-1252":
        return testo.encode("cp1252")
    return b"\xff\xfe" + testo.encode("utf-16-le")


def main():
    if len(sys.argv) < 4:
        print(__doc__)
        return 2
    linux, windows, genera = sys.argv[1:4]
    wine = sys.argv[4] if len(sys.argv) > 4 else "wine"
    c = Confronto(linux, windows, wine)
    try:
        casuali = {sep: subprocess.run([genera, "2000", sep] + (["cloro"] if sep == ";" else []), check=True,
                                       capture_output=True).stdout.decode() for sep in (";", ",")}
        for sep, testo in casuali.items():  # accented names in every encoding
            testo = testo.replace("Forno", "Città di Forlì €")
            for cod in ("utf-8", "utf-8 con BOM", "windows-1252", "utf-16"):
                c.esegui(f"casuali {sep} {cod}", {"in.csv": codifica(testo, cod)},
                         ["in.csv", "-o", "out.csv", "--rapporti", "r"])
        caso = {"in.csv": codifica(CASI, "windows-1252")}
        c.esegui("casi svolti", caso, ["in.csv", "-o", "out.csv", "--rapporti", "r"])
        c.esegui("da una pipe", caso, ["-"], pipe="in.csv")
        c.esegui("nomi accentati", {"Forlì/Città di Forlì.csv": CASI.encode()},
                 ["Forlì/Città di Forlì.csv", "-o", "Forlì/Risultati Łódź.csv", "--rapporti", "Rapporti Città"])
        c.esegui("cartella esistente", caso, ["in.csv", "--rapporti", "r"],
                 prepara=lambda d: (os.makedirs(os.path.join(d, "r")),
                                    open(os.path.join(d, "r", "2.TXT"), "wb").write(b"mio")))
        def sola_lettura(d):
            os.makedirs(os.path.join(d, "r"))
            os.chmod(os.path.join(d, "r"), stat.S_IRUSR | stat.S_IXUSR)
        if os.geteuid() != 0:  # root writes into a read-only folder anyway
            c.esegui("cartella in sola lettura", caso, ["in.csv", "--rapporti", "r"], prepara=sola_lettura)
        c.esegui("variando", caso, ["in.csv", "--variando", "EccessoAria=0:200:50"])
        c.esegui("obiettivo", caso, ["in.csv", "--variando", "EccessoAria=0:200:5", "--obiettivo", "1100"])
        for nome, csv, argomenti in [
            ("colonna sconosciuta", "EcessoAria;Tipo\r\n", ["in.csv"]),
            ("file assente", "", ["manca.csv"]),
            ("uscita uguale all'ingresso", "Tipo\r\nMetano\r\n", ["in.csv", "-o", "in.csv"]),
            ("opzione sconosciuta", "", ["in.csv", "-x"]),
            ("codifica sconosciuta", "", ["in.csv", "--codifica", "latin-9"]),
            ("virgolette nell'intestazione", "Tipo;\"Eccesso\nMetano;1\n", ["in.csv", "-o", "no.csv"]),
            ("aiuto", "", ["--help"]),
        ]:
            c.esegui(nome, {"in.csv": csv.encode()}, argomenti)
        # A full disk, where wine reaches Linux's /dev/full through drive Z:.
        c.esegui("disco pieno", caso, ["in.csv", "-o", "/dev/full"])
    finally:
        for cartella, sotto, _ in os.walk(c.radice):
            for s in sotto:
                os.chmod(os.path.join(cartella, s), 0o755)
        shutil.rmtree(c.radice, ignore_errors=True)
    massimo = max(c.istogramma, default=0)
    print(f"{c.valori} values compared, {c.diversi} differ in their last bits; ulp distances: "
          + (", ".join(f"{d}: {n}" for d, n in sorted(c.istogramma.items())) or "none"))
    if massimo > ULP_MASSIMI:
        c.errori.append(f"a value {massimo} ulp away, more than the bound of {ULP_MASSIMI}")
    for e in c.errori:
        print("FAIL:", e)
    return 1 if c.errori else 0


if __name__ == "__main__":
    sys.exit(main())
