#!/usr/bin/python3
"""Cases typed into LibreOffice Calc (through UNO), saved as Italian CSV (';', decimal comma, Windows-1252),
computed by termix54-batch, and the output opened again: every cell equals the tool's value to the last bit.
Usage: libreoffice_prova.py TERMIX54_BATCH. Exit 77 when soffice is not installed."""
import csv, io, os, shutil, signal, subprocess, sys, tempfile, time

COLONNE = ['Impianto', 'Tipo', 'Composizione', 'PortataComb', 'AtomiC', 'AtomiH', 'FrazC', 'FrazH', 'FrazO',
           'Acqua', 'PotereCalorifico', 'EccessoAria', 'TempAria', 'UmiditaRelativa', 'TempCeneri', 'Dispersioni']
CASI = [  # names with letters of Windows-1252 that Latin-1 lacks (€, Œ, “”)
    ['Città di Forlì', 'Metano', '', 1234.5, '', '', '', '', '', '', '', 20.25, 15, 60, 250, 5],
    ['Caldaia Né € 2', 'Altri', 'Atomica', 80, 2, 6, '', '', '', '', 7500.75, 35, 22, 45, 300, 3.5],
    ['Forno Œ “Sud”', 'Altri', 'Ponderale', 1000, '', '', 0.6, 0.08, 0.1, 0.05, '', 50, 10, 80, 400, 8],
    ['Über', 'Altri', 'Ponderale', 100, '', '', 0.01, '', '', 0.9, '', 20, 20, 50, 20, 5],  # no energy left
]
# ';', '"', Windows-1252, from line 1, no column formats, Italian
CSV = dict(FilterName='Text - txt - csv (StarCalc)', FilterOptions='59,34,1,1,,1040')


def main():
    if not shutil.which('soffice'):
        return print('soffice not installed: skipped') or 77
    import uno
    from com.sun.star.beans import PropertyValue
    from com.sun.star.connection import NoConnectException
    from com.sun.star.lang import DisposedException
    opzioni = lambda **kw: tuple(PropertyValue(Name=k, Value=v) for k, v in kw.items())
    d = tempfile.mkdtemp(prefix='termix54-libreoffice-')
    canale = 'termix54_%d' % os.getpid()
    env = dict(os.environ, HOME=os.path.join(d, 'home'), LANG='it_IT.UTF-8', LC_ALL='it_IT.UTF-8')
    # soffice forks soffice.bin: both in a process group of their own, ended as a group on the way
    # out, on SIGTERM, past our own time limit (below ctest's 300 s), and by a watcher should this
    # script be killed outright.
    soffice = subprocess.Popen(['soffice', '--headless', '--invisible', '--norestore', '--nologo',
                                '--accept=pipe,name=%s;urp;' % canale], env=env, start_new_session=True,
                               stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    subprocess.Popen(['sh', '-c', 'while kill -0 %d; do sleep 1; done 2>/dev/null; kill -KILL -%d 2>/dev/null'
                      % (os.getpid(), soffice.pid)], start_new_session=True)
    for segnale in (signal.SIGTERM, signal.SIGALRM):
        signal.signal(segnale, lambda n, _: sys.exit('stopped by signal %d' % n))
    signal.alarm(240)
    try:
        locale = uno.getComponentContext()
        risolutore = locale.ServiceManager.createInstanceWithContext('com.sun.star.bridge.UnoUrlResolver', locale)
        for prova in range(600):  # up to 60 s for soffice to answer
            try:
                ctx = risolutore.resolve('uno:pipe,name=%s;urp;StarOffice.ComponentContext' % canale)
                break
            except NoConnectException:
                time.sleep(0.1) if prova < 599 else exit('soffice did not answer within 60 s')
        desktop = ctx.ServiceManager.createInstanceWithContext('com.sun.star.frame.Desktop', ctx)

        foglio = desktop.loadComponentFromURL('private:factory/scalc', '_blank', 0, opzioni(Hidden=True))
        celle = foglio.Sheets.getByIndex(0)
        for i, riga in enumerate([COLONNE] + CASI):
            for j, v in enumerate(riga):
                c = celle.getCellByPosition(j, i)
                v != '' and (c.setString if isinstance(v, str) else c.setValue)(v)
        ingresso = os.path.join(d, 'casi.csv')
        foglio.storeToURL(uno.systemPathToFileUrl(ingresso), opzioni(**CSV))
        foglio.close(True)
        grezzo = open(ingresso, 'rb').read()
        assert b'Citt\xe0 di Forl\xec' in grezzo and b'\x80' in grezzo and b'1234,5' in grezzo, grezzo[:300]

        uscita = os.path.join(d, 'uscita.csv')
        r = subprocess.run([sys.argv[1], ingresso, '-o', uscita], capture_output=True, timeout=60)
        assert r.returncode == 0, r.stderr
        grezza = open(uscita, 'rb').read()
        assert not grezza.startswith(b'\xef\xbb\xbf') and b'Citt\xe0' in grezza, grezza[:200]  # Windows-1252
        attese = list(csv.reader(io.StringIO(grezza.decode('cp1252'), newline=''), delimiter=';'))
        assert [a[1] for a in attese[1:]] == [c[0] for c in CASI], attese
        assert [a[3] for a in attese[1:]].count('OK') == 3, attese

        url = uno.systemPathToFileUrl(uscita)
        riaperto = desktop.loadComponentFromURL(url, '_blank', 0, opzioni(Hidden=True, **CSV))
        celle = riaperto.Sheets.getByIndex(0)
        numeri = 0
        for i, a in enumerate(attese):
            for j, testo in enumerate(a + ['']):  # and nothing after the last column
                c = celle.getCellByPosition(j, i)
                if i and j not in (1, 2, 3, len(a) - 1) and testo:  # the names, Esito and Avvisi are texts
                    assert c.getValue() == float(testo.replace(',', '.')), (i, attese[0][j], c.getValue(), testo)
                    numeri += 1
                else:
                    assert c.getString() == testo, (i, j, c.getString(), testo)
        print('%d rows; %d numbers read by LibreOffice equal to the bit' % (len(attese), numeri))
        riaperto.close(True)
        try:
            desktop.terminate()
        except DisposedException:  # the office went before its answer: what was asked of it
            pass
    finally:
        try:
            soffice.wait(timeout=10)
        except subprocess.TimeoutExpired:
            pass
        try:
            os.killpg(soffice.pid, signal.SIGKILL)
        except ProcessLookupError:
            pass
        shutil.rmtree(d, ignore_errors=True)
    return 0


if __name__ == '__main__':
    sys.exit(main())
