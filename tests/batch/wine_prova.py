#!/usr/bin/env python3
"""wine_prova.py LINUX_EXE WINDOWS_EXE GENERA_CSV [WINE]: termix54-batch.exe under wine against the
Linux build, each run on the same input in a folder of its own. Exit status, messages ('\\' read as '/'),
every text and every report line but the date and time must be equal; a number may differ in its last
bits only (each platform's own exp, log and pow), counted with its ulp distance, within the bounds.
Both run as a user who may not write into a read-only folder: as root, without the capabilities that
override file permissions, and wine in a prefix of its own whose server starts so too."""
import os, re, shutil, signal, struct, subprocess, sys, tempfile, time

# Measured with Debian 12's mingw-w64 (msvcrt) under wine 8 against glibc 2.36
# (see the README): the most values that may differ, and by how many ulp.
DIVERSI_MASSIMI, ULP_MASSIMI = 752, 1171
CASI = (  # the worked cases, stopped and malformed records, quotes
    "Impianto;Combustibile;Tipo;Composizione;PortataComb;AtomiC;AtomiH;AtomiO;AtomiCl;AtomiS;AtomiN;FrazC;FrazH;"
    "FrazO;FrazCl;FrazS;FrazN;Inerti;Acqua;PotereCalorifico;EccessoAria;TempAria;UmiditaRelativa;TempCeneri;"
    "Dispersioni\r\n"
    "Forno di Forlì;Metano;Metano;;100;;;;;;;;;;;;;;;;20;20;50;20;5\r\n"
    "Linea 2;Cloruro di vinile;Altri;Atomica;50;2;3;0;1;0;0;;;;;;;;;;60;15;70;300;3\r\n"
    "Caldaia «B»;Rifiuto clorurato;Altri;Ponderale;100;;;;;;;0,5;0,06;0,1;0,05;0,01;0,01;0,17;0,1;5000;50;20;50;400;5\r\n"
    "Vuoto;;Altri;Atomica;0;0;0;0;0;0;0;;;;;;;;;;0;0;0;0;0\r\n"
    "\"Forno; 2\";\"gas \"\"N\"\"\";Metano;;1,5.0;;;;;;;;;;;;;;;;20;20;50;20;5\r\n"
    "Rotto\";x;Metano\r\n"
    "Città €;Gasolio;Metano;;1e300;;;;;;;;;;;;;;;;20;20;50;20;5\r\n")


def ordinato(x):  # doubles in the order of their bit patterns, for the ulp distance
    i = struct.unpack("<q", struct.pack("<d", float(x.decode().replace(",", "."))))[0]
    return i if i >= 0 else -(i & 0x7FFFFFFFFFFFFFFF)


def senza_data(t):  # lines 3 and 4 of a report from column 50: the date and time
    r = t.split(b"\r\n")
    return r[:2] + [x[:50] for x in r[2:4]] + r[4:]


class Confronto:
    def __init__(self, linux, windows, wine):
        utente = ["setpriv", "--inh-caps=-dac_override,-dac_read_search",
                  "--bounding-set=-dac_override,-dac_read_search"] if os.geteuid() == 0 else []
        self.comandi = {"linux": utente + [linux], "windows": utente + [wine, windows]}
        self.radice = tempfile.mkdtemp(prefix="termix54-wine-")
        self.ambiente = dict(os.environ, WINEPREFIX=os.path.join(self.radice, "prefisso"), WINEARCH="win64",
                             WINEDEBUG="-all", WINEDLLOVERRIDES="mscoree,mshtml=")
        subprocess.run(utente + [wine, "wineboot", "--init"], env=self.ambiente, capture_output=True, timeout=300, check=True)
        self.errori, self.valori, self.istogramma, self.lontano, self.per_prova = [], 0, {}, (0, ""), {}

    def esegui(self, nome, file, argomenti, pipe=False, prepara=None):
        esiti = {}
        for chi, comando in self.comandi.items():
            d = os.path.join(self.radice, "prove", nome, chi)
            for n, contenuto in {"": None, **file}.items():
                os.makedirs(os.path.dirname(os.path.join(d, n)), exist_ok=True)
                contenuto is None or open(os.path.join(d, n), "wb").write(contenuto)
            prepara and prepara(d)
            # From a pipe, not a file: cat feeds it.
            cat = subprocess.Popen(["cat", "in.csv"], cwd=d, stdout=subprocess.PIPE) if pipe else None
            esiti[chi] = d, subprocess.run(comando + argomenti, cwd=d, stdin=cat.stdout if cat else subprocess.DEVNULL,
                                           env=self.ambiente, capture_output=True, timeout=600)
            cat and cat.wait()
        (dl, pl), (dw, pw) = esiti["linux"], esiti["windows"]
        err_l, err_w = pl.stderr, pw.stderr.replace(b"\r\n", b"\n").replace(b"\\", b"/")
        if (pl.returncode, err_l) != (pw.returncode, err_w):
            self.errori.append(f"{nome}: exit {pl.returncode} {err_l!r}\n  under wine {pw.returncode} {err_w!r}")
        self.confronta(nome, pl.stdout, pw.stdout)
        file_l, file_w = ({os.path.relpath(os.path.join(c, n), d) for c, _, ff in os.walk(d) for n in ff} for d in (dl, dw))
        if file_l != file_w: self.errori.append(f"{nome}: files {sorted(file_l ^ file_w)} on one side only")
        for rel in (file_l & file_w) - set(file):  # what the tool wrote
            a, b = (open(os.path.join(d, rel), "rb").read() for d in (dl, dw))
            if rel.endswith(".TXT"): a, b = senza_data(a), senza_data(b)
            elif rel.endswith(".termix54-batch"):  # names in any order; times and sizes are the run's own
                a, b = (sorted(r.split(b"\t")[0] for r in x.split(b"\n")) for x in (a, b))
            elif rel.endswith(".csv"):
                self.confronta(f"{nome} {rel}", a, b)
                continue
            if a != b: self.errori.append(f"{nome}: {rel} differs")

    def confronta(self, nome, a, b):
        ra, rb = a.split(b"\r\n"), b.split(b"\r\n")
        testa = ra[0].split(sep := b";" if ra[0].count(b";") > ra[0].count(b",") else b",")
        if len(ra) != len(rb):
            return self.errori.append(f"{nome}: {len(ra)} lines on Linux, {len(rb)} under wine")
        for n, (la, lb) in enumerate(zip(ra, rb)):
            ca, cb = la.split(sep), lb.split(sep)
            self.valori += len(ca)
            if la != lb and len(ca) != len(cb):
                self.errori.append(f"{nome}, line {n + 1}: {la!r}\n  under wine {lb!r}")
            if la == lb or len(ca) != len(cb):
                continue
            for colonna, x, y in ((c, x, y) for c, x, y in zip(testa, ca, cb) if x != y):
                try:
                    d = abs(ordinato(x) - ordinato(y))
                except ValueError:
                    self.errori.append(f"{nome}, line {n + 1}: text {x!r}, under wine {y!r}")
                    continue
                self.istogramma[d] = self.istogramma.get(d, 0) + 1
                self.per_prova[nome] = self.per_prova.get(nome, 0) + 1
                self.lontano = max(self.lontano, (d, f"{colonna.decode()} {x.decode()} / {y.decode()}"))


def fermato(c):
    """A run stopped half-way, its input a pipe kept open: Ctrl+C (SIGINT, which wine passes on as the console's
    Ctrl+C) and SIGTERM (for a Windows program, the end the task manager gives: no handler runs). Either way the
    old output byte for byte and no temporary file; after Ctrl+C the message Linux gives, but for the signal's name."""
    testa = "Impianto;Tipo;PortataComb;EccessoAria;TempAria;UmiditaRelativa;TempCeneri;Dispersioni\r\n"
    csv = (testa + "\n" * 300000 + ";Metano;100;20;-60;50;20;5\r\n" * 600 + "\n" * 300000).encode()
    for segnale, nome in ((signal.SIGINT, "Ctrl+C"), (signal.SIGTERM, None)):
        messaggi = {}
        for chi, comando in c.comandi.items():
            d = os.path.join(c.radice, "fermato", f"{segnale.name} {chi}")
            os.makedirs(d)
            open(os.path.join(d, "out.csv"), "wb").write(b"vecchio\r\n")
            with open(os.path.join(d, "err"), "wb") as err:
                p = subprocess.Popen(comando + ["-", "-o", "out.csv"], cwd=d, stdin=subprocess.PIPE, stderr=err,
                                     env=c.ambiente)
                p.stdin.write(csv)
                p.stdin.flush()
                fine = time.monotonic() + 120
                while b"riga 512 (" not in open(os.path.join(d, "err"), "rb").read() and time.monotonic() < fine:
                    time.sleep(0.05)
                p.send_signal(segnale)
                p.wait(60)
                p.stdin.close()
            messaggi[chi] = open(os.path.join(d, "err"), "rb").read().replace(b"\r\n", b"\n").splitlines()[-1].decode()
            if open(os.path.join(d, "out.csv"), "rb").read() != b"vecchio\r\n" or sorted(os.listdir(d)) != ["err", "out.csv"]:
                c.errori.append(f"fermato da {segnale.name} ({chi}): {sorted(os.listdir(d))}")
        atteso = messaggi["linux"].replace(f"({segnale.name})", f"({nome})")
        if nome and messaggi["windows"] != atteso:
            c.errori.append(f"fermato da {segnale.name}: {messaggi['windows']!r}, atteso {atteso!r}")


def console(c):
    """The tool in a console of its own (wine's, on a terminal): accents right whatever the code page, the help
    whole, also for -? and /?; started with no arguments, a few lines and a wait for Enter."""
    import pty, select, termios

    def in_console(argomenti, invio=False):
        pid, fd = pty.fork()
        if pid == 0:
            os.chdir(c.radice)
            os.execvpe(c.comandi["windows"][-2], c.comandi["windows"][-2:] + argomenti, c.ambiente)
        testo, fine = b"", time.monotonic() + 120
        while time.monotonic() < fine:
            if select.select([fd], [], [], 0.2)[0]:
                try:
                    dati = os.read(fd, 65536)
                except OSError:
                    break
                if not dati:
                    break
                testo += dati
                if invio and b"Invio" in testo:  # Enter, as a keyboard gives it: CR, not turned into LF
                    modo = termios.tcgetattr(fd)
                    modo[0] &= ~termios.ICRNL
                    termios.tcsetattr(fd, termios.TCSANOW, modo)
                    os.write(fd, b"\r")
                    invio = False
        _, stato = os.waitpid(pid, 0)
        # The console draws blanks as it likes (a cursor move may stand for a space): they are compared apart.
        testo = re.sub(rb"\x1b\[[0-9;?]*[A-Za-z]", b"", testo).replace(b"\r", b"")
        return os.waitstatus_to_exitcode(stato), testo.decode("utf-8", "replace")

    aiuto = subprocess.run(c.comandi["linux"] + ["--help"], capture_output=True).stdout.decode()
    for opzione in ("--help", "-?", "/?"):
        stato, testo = in_console([opzione])
        if stato != 0 or re.sub(r"\s+", "", testo) != re.sub(r"\s+", "", aiuto):
            c.errori.append(f"console {opzione}: stato {stato}, {len(testo)} caratteri di {len(aiuto)}; "
                            f"diverso da: {next((r for r in testo.splitlines() if r not in aiuto), '')!r}")
    stato, testo = in_console(["--rapporti="])
    if "il nome della cartella dopo --rapporti è vuoto" not in testo:
        c.errori.append(f"console, messaggio accentato: {testo!r}")
    stato, testo = in_console([], invio=True)
    if stato != 0 or not testo.startswith("termix54-batch calcola") or "Premere Invio per chiudere." not in testo:
        c.errori.append(f"console senza argomenti: stato {stato}, {testo!r}")


def codifica(testo, nome):
    return {"utf-8": testo.encode(), "utf-8 con BOM": b"\xef\xbb\xbf" + testo.encode(),
            "windows-1252": testo.encode("cp1252"), "utf-16": b"\xff\xfe" + testo.encode("utf-16-le")}[nome]


def main():
    if len(sys.argv) < 4:
        return print(__doc__) or 2
    c = Confronto(*(os.path.abspath(a) for a in sys.argv[1:3]), sys.argv[4] if len(sys.argv) > 4 else "wine")
    genera = os.path.abspath(sys.argv[3])
    caso = {"in.csv": CASI.encode("cp1252")}

    def sola_lettura(d):
        os.makedirs(r := os.path.join(d, "r"))
        os.chmod(r, 0o500)
    try:
        for sep in (";", ","):  # 2,000 records with accented names in every encoding
            testo = subprocess.run([genera, "2000", sep] + (["cloro"] if sep == ";" else []), check=True,
                                   capture_output=True).stdout.decode().replace("Forno", "Città di Forlì €")
            for cod in ("utf-8", "utf-8 con BOM", "windows-1252", "utf-16"):
                c.esegui(f"casuali {sep} {cod}", {"in.csv": codifica(testo, cod)},
                         ["in.csv", "-o", "out.csv"] + (["--rapporti", "r"] if sep == ";" else []))
        for nome, file, argomenti, altro in [
            ("casi svolti", caso, ["in.csv", "-o", "out.csv", "--rapporti", "r"], {}),
            ("da una pipe", caso, ["-"], {"pipe": True}),
            ("nomi accentati", {"Forlì/Città di Forlì.csv": CASI.encode()},
             ["Forlì/Città di Forlì.csv", "-o", "Forlì/Risultati Łódź.csv", "--rapporti", "Rapporti Città"], {}),
            ("cartella esistente", {**caso, "r/2.TXT": b"mio"}, ["in.csv", "--rapporti", "r"], {}),
            ("cartella in sola lettura", caso, ["in.csv", "--rapporti", "r"], {"prepara": sola_lettura}),
            ("uscita in sola lettura", caso, ["in.csv", "-o", "r/out.csv"], {"prepara": sola_lettura}),
            # A read-only output file: refused as before, not replaced by the rename.
            ("file di uscita in sola lettura", {**caso, "out.csv": b"vecchio"}, ["in.csv", "-o", "out.csv"],
             {"prepara": lambda d: os.chmod(os.path.join(d, "out.csv"), 0o444)}),
            ("uscita su una cartella", {**caso, "d/": None}, ["in.csv", "-o", "d"], {}),
            ("uscita sotto un file", caso, ["in.csv", "-o", "in.csv/out.csv"], {}),
            ("ingresso con la barra finale", caso, ["in.csv/"], {}),
            ("uscita con la barra finale", caso, ["in.csv", "-o", "out.csv/"], {}),
            ("ingresso cartella", {"d/": None}, ["d"], {}),
            ("variando", caso, ["in.csv", "--variando", "EccessoAria=0:200:50"], {}),
            ("obiettivo", caso, ["in.csv", "--variando", "EccessoAria=0:200:5", "--obiettivo", "1100"], {}),
            # Linux's /dev/full, which wine reaches through drive Z:.
            ("disco pieno", {"in.csv": "".join(CASI.splitlines(True)[:4]).encode()}, ["in.csv", "-o", "/dev/full"], {}),
            ("colonna sconosciuta", {"in.csv": b"EcessoAria;Tipo\r\n"}, ["in.csv"], {}),
            ("file assente", {}, ["manca.csv"], {}),
            ("uscita uguale all'ingresso", caso, ["in.csv", "-o", "in.csv"], {}),
            ("opzione sconosciuta", caso, ["in.csv", "-x"], {}),
            ("codifica sconosciuta", caso, ["in.csv", "--codifica", "latin-9"], {}),
            ("virgolette nell'intestazione", {"in.csv": b"Tipo;\"Eccesso\nMetano;1\n"}, ["in.csv", "-o", "no.csv"], {}),
            ("aiuto", {}, ["--help"], {}),
            ("file vuoto", {"in.csv": b"", "out.csv": b"vecchio"}, ["in.csv", "-o", "out.csv"], {}),
            ("celle non numeriche", {"in.csv": b"Tipo;PortataComb;EccessoAria;Costo;Ecceso\nMetano;1OO;20%\n"},
             ["in.csv"], {}),
            ("celle non numeriche, colonne note", {"in.csv": b"Tipo;PortataComb;EccessoAria\nMetano;1OO;20%\n"},
             ["in.csv"], {}),
        ]:
            c.esegui(nome, file, argomenti, **altro)
        fermato(c)
        console(c)
    finally:
        subprocess.run(["wineserver", "-k"], env=c.ambiente, timeout=60)
        for cartella, sotto, _ in os.walk(c.radice): [os.chmod(os.path.join(cartella, s), 0o755) for s in sotto]
        shutil.rmtree(c.radice, ignore_errors=True)
    diversi = sum(c.istogramma.values())
    print(f"{c.valori} values compared, {diversi} differ in their last bits; ulp distances: "
          + (", ".join(f"{d}: {n}" for d, n in sorted(c.istogramma.items())) or "none") + "\nwhere: "
          + (", ".join(f"{n}: {k}" for n, k in c.per_prova.items()) or "nowhere")
          + (f"\nfarthest: {c.lontano[0]} ulp, {c.lontano[1]}" if c.lontano[0] else ""))
    if c.lontano[0] > ULP_MASSIMI or diversi > DIVERSI_MASSIMI: c.errori.append(f"more than the bounds of {DIVERSI_MASSIMI} values and {ULP_MASSIMI} ulp")
    print("".join(f"FAIL: {e}\n" for e in c.errori), end="")
    return 1 if c.errori else 0


if __name__ == "__main__":
    sys.exit(main())
