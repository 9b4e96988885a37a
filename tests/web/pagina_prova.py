#!/usr/bin/python3
"""termix54.html opened as a file in headless Chromium, against the native tool.
pagina_prova.py PAGINA BATCH GENERA [SCREENSHOT]"""
import base64
import io
import json
import math
import pathlib
import re
import subprocess
import sys
import tempfile
import time
from csv import reader as leggi_csv

from selenium.webdriver.common.by import By
from selenium.webdriver.common.keys import Keys
from selenium.webdriver.support.ui import Select

sys.path.insert(0, str(pathlib.Path(__file__).resolve().parent))
import scenari  # noqa: E402
from scenari import attendi, bit, chromium, errori, verifica  # noqa: E402

PAGINA, BATCH, GENERA = (pathlib.Path(a).resolve() for a in sys.argv[1:4])
SCHERMATA = sys.argv[4] if len(sys.argv) > 4 else None
ULP_MASSIMI = 6  # the bound the module's own tests measured
cartella = pathlib.Path(tempfile.mkdtemp(prefix='termix54-pagina-'))
scaricati = cartella / 'scaricati'
scaricati.mkdir()


def presto(condizione, secondi=5):
    """Whether `condizione` holds within a few seconds: the page applies a step's effects in turn, and the
    team of workers may be warming up on the same cores."""
    try:
        return attendi(condizione, secondi)
    except TimeoutError:
        return False


def scaricato(nome, secondi=60):
    p = scaricati / nome
    attendi(lambda: p.exists() and not list(scaricati.glob('*.crdownload')), secondi, nome)
    dati = p.read_bytes()
    p.unlink()
    return dati


def confronta(nativo, web):
    """(differing cells, largest last-bit distance), or None if a line differs otherwise."""
    a, b = nativo.split(b'\r\n'), web.split(b'\r\n')
    if len(a) != len(b) or any(x.count(b';') != y.count(b';') for x, y in zip(a, b)):
        return None
    coppie = [(u, v) for x, y in zip(a, b) if x != y for u, v in zip(x.split(b';'), y.split(b';')) if u != v]
    try:
        distanze = [abs(bit(float(u.replace(b',', b'.'))) - bit(float(v.replace(b',', b'.')))) for u, v in coppie]
    except ValueError:
        return None
    return len(coppie), max(distanze, default=0)


d = chromium(scaricati)
d.set_page_load_timeout(30)
d.set_script_timeout(60)
try:
    d.execute_cdp_cmd('Browser.setDownloadBehavior', {'behavior': 'allow', 'downloadPath': str(scaricati)})
    d.get(PAGINA.as_uri())
    attendi(lambda: d.execute_script('return document.body.dataset.pronto'), 30, 'pagina pronta')
    verifica(d.switch_to.active_element.get_attribute('id') == 'Impianto', 'il fuoco sul primo campo')
    d.execute_script('localStorage.clear()')
    d.execute_script("Termix54.orologio = () => ({data: '06/12/2026', ora: '03:04:05'})")
    campo = lambda i: d.find_element(By.ID, i)

    # The methane walk by keys (Enter's chain from box to box is the scenario table's): the option by space, the
    # fuel's "Calcola", then "Continua", the conditions, "Si" (the box no longer red), Enter on "Calcola".
    attivo = lambda: d.switch_to.active_element.get_attribute('id')
    campo('Impianto').send_keys('Impianto Nord', Keys.ENTER)
    campo('TipoMetano').send_keys(Keys.SPACE)
    campo('PortataComb').send_keys('100', Keys.ENTER)
    campo('CalcolaCombustibile').send_keys(Keys.ENTER)
    verifica(presto(lambda: attivo() == 'Continua' and campo('FrazC').get_attribute('value') == '0,7487'), 'frazioni del metano')
    d.switch_to.active_element.send_keys(Keys.ENTER)
    for nome, testo in (('EccessoAria', '20'), ('TempAria', '20'), ('UmiditaRelativa', '50'), ('TempCeneri', '20'),
                        ('Dispersioni', '5')):
        campo(nome).send_keys(testo, Keys.ENTER)
    campo('Si').click()
    verifica(presto(lambda: 'rosso' not in campo('PotereCalorifico').get_attribute('class')), 'Si')
    campo('Calcola').send_keys(Keys.ENTER)
    attendi(lambda: campo('sezioneRisultati').is_displayed(), 10, 'risultati')
    # Worked methane figures: 11958 preset, flue gas 1314,6 °C, energies 1195800 and 1136010.
    verifica(campo('PotereCalorifico').get_attribute('value') == '11958', 'potere calorifico del metano')
    verifica(campo('TempFumi').text.startswith('1314,6'), 'TempFumi ' + campo('TempFumi').text)
    verifica(campo('EnergiaIngresso').text == '1195800', 'EnergiaIngresso')
    verifica(campo('EnergiaNetta').text == '1136010', 'EnergiaNetta')
    verifica(not campo('avviso').is_displayed(), 'nessun avviso')
    if SCHERMATA:
        d.save_screenshot(SCHERMATA)

    # The report: the download's bytes against the native tool's for the same record.
    campo('schedaRapporto').click()
    righe = campo('testoRapporto').text.split('\n')
    verifica(len(righe) == 67, f'{len(righe)} righe nel rapporto')
    campo('Salva').click()
    rapporto = scaricato('RAPPORTO.TXT')
    ingresso = cartella / 'metano.csv'
    ingresso.write_bytes(b'Impianto;Tipo;PortataComb;EccessoAria;TempAria;UmiditaRelativa;TempCeneri;Dispersioni\r\n'
                         b'Impianto Nord;Metano;100;20;20;50;20;5\r\n')
    subprocess.run([BATCH, ingresso, '-o', cartella / 'metano-uscita.csv', '--rapporti', cartella / 'rapporti'],
                   check=True, timeout=60)
    nativo = (cartella / 'rapporti' / '1.TXT').read_bytes().split(b'\r\n')
    for k, testo in ((2, b'06/12/2026'), (3, b'03:04:05')):  # the tool's own clock
        nativo[k] = nativo[k][:nativo[k].index(b'= ') + 2] + testo
    verifica(rapporto == b'\r\n'.join(nativo), 'rapporto diverso da quello nativo')
    verifica('Propriet\xe0'.encode('cp1252') in rapporto, 'rapporto in Windows-1252')

    # "Stampa": the print dialog opens (stubbed), and what prints is the 67
    # lines alone, in order, 12-point bold monospace, as the desktop prints them.
    d.execute_script('window.stampe = 0; window.print = () => { ++window.stampe; }')
    campo('Stampa').click()
    verifica(d.execute_script('return window.stampe') == 1, 'Stampa apre la stampa')
    d.execute_cdp_cmd('Emulation.setEmulatedMedia', {'media': 'print'})
    stile = d.execute_script('const s = getComputedStyle(testoRapporto); '
                             'return [s.fontFamily, s.fontWeight, s.fontSize, s.whiteSpace]')
    d.execute_cdp_cmd('Emulation.setEmulatedMedia', {'media': ''})
    verifica(stile == ['monospace', '700', '16px', 'pre'], f'stile di stampa {stile}')
    pdf = cartella / 'stampa.pdf'
    pdf.write_bytes(base64.b64decode(d.execute_cdp_cmd('Page.printToPDF', {})['data']))
    stampate = subprocess.run(['pdftotext', '-layout', pdf, '-'], check=True, capture_output=True, timeout=60).stdout
    parole = lambda righe: [r.split() for r in righe if r.split()]
    verifica(parole(stampate.decode().replace('\f', '\n').splitlines()) == parole(righe), 'righe stampate')
    # The first line's box 500 twips (25 pt) from the paper's top-left corner.
    scatole = subprocess.run(['pdftotext', '-bbox', '-l', '1', pdf, '-'], check=True, capture_output=True, timeout=60).stdout
    angolo = [float(scatole.split(f' {a}="'.encode())[1].split(b'"')[0]) for a in ('xMin', 'yMin')]
    verifica(all(abs(v - 25) < 1 for v in angolo), f'prima riga a {angolo} pt')

    # Andamento, through its controls: one line, the two dashed thresholds, the current case; ticks at round
    # values (a run of multiples of 1, 2 or 5 x 10^k); NASA's temperature on the same axis; the tool's bytes.
    campo('schedaAndamento').click()
    campo('Traccia').click()
    linee = d.find_elements(By.CSS_SELECTOR, '#grafico polyline.linea')
    verifica(len(linee) == 1 and len(linee[0].get_attribute('points').split()) == 41, 'una linea di 41 punti')
    verifica(len(d.find_elements(By.CSS_SELECTOR, '#grafico line.soglia')) == 2, 'linee a 850 e 1100')
    verifica(len(d.find_elements(By.CSS_SELECTOR, '#grafico circle.corrente')) == 1, 'il caso corrente')
    verifica(campo('statoAndamento').text == '41 casi, 0 interrotti (lacune nel grafico)', campo('statoAndamento').text)
    for classe in ('taccaX', 'taccaY'):
        valori = [float(t.get_attribute('textContent').replace(',', '.'))
                  for t in d.find_elements(By.CSS_SELECTOR, f'#grafico text.{classe}')]
        passo = valori[1] - valori[0] if len(valori) > 1 else 0
        esponente = math.floor(math.log10(passo)) if passo > 0 else 0
        verifica(len(valori) >= 4 and any(abs(passo - m * 10 ** esponente) < 1e-9 * passo for m in (1, 2, 5))
                 and all(abs(v / passo - round(v / passo)) < 1e-6 for v in valori)
                 and all(abs(b - a - passo) < 1e-6 * passo for a, b in zip(valori, valori[1:])), f'tacche {classe}: {valori}')
    campo('tracciaTempFumiRif').click()
    verifica(len(d.find_elements(By.CSS_SELECTOR, '#grafico polyline.linea[data-risultato="TempFumiRif"]')) == 1
             and {t.get_attribute('data-asse') for t in d.find_elements(By.CSS_SELECTOR, '#grafico text.taccaY')} == {'0'},
             'le due temperature sullo stesso asse')
    campo('tracciaTempFumiRif').click()
    campo('EsportaCsv').click()
    csv = scaricato('andamento.csv')
    caso = d.execute_script('return Termix54.caso()')  # the case on the page, as the tool reads one
    (cartella / 'caso.csv').write_text(';'.join(caso) + '\r\n' + ';'.join(caso.values()) + '\r\n', 'cp1252')
    subprocess.run([BATCH, cartella / 'caso.csv', '-o', cartella / 'var.csv', '--variando', 'EccessoAria=0:200:5'],
                   check=True, timeout=60)
    c = confronta((cartella / 'var.csv').read_bytes(), csv)
    verifica(c is not None and c[1] <= ULP_MASSIMI, f'Esporta CSV: {c}')
    # "Trova"'s answers are the scenario table's; its mark on the chart is where the sentence says.
    campo('obiettivo').clear()
    campo('obiettivo').send_keys('1100')
    campo('Trova').click()
    segni = d.find_elements(By.CSS_SELECTOR, '#grafico rect.obiettivo')
    x = campo('trovato').text.split(': ')[1].split(' %')[0].replace(',', '.')
    verifica(len(segni) == 1 and abs(float(segni[0].get_attribute('data-x')) - float(x)) < 0.01, f'Trova: {campo("trovato").text}')

    if SCHERMATA:
        campo('tracciaTempFumiRif').click()
        d.execute_script('window.scrollTo(0, 0)')
        d.save_screenshot(str(pathlib.Path(SCHERMATA).with_name('pagina-andamento.png')))
        campo('tracciaTempFumiRif').click()

    if SCHERMATA:  # the Camino section on the methane boiler's readings
        campo('schedaCamino').click()
        for nome, testo in (('O2Misurato', '3,5'), ('COMisurato', '50'), ('TempCamino', '180')):
            campo(nome).send_keys(testo)
        Select(campo('BaseO2')).select_by_value('secco')
        campo('CalcolaCamino').click()
        d.save_screenshot(str(pathlib.Path(SCHERMATA).with_name('pagina-camino.png')))

    # Verifica on the same case (its boxes, refusals and verdict are the scenario table's): empty boxes say what they
    # stand for, "Salva" downloads the lines in Windows-1252.
    campo('schedaVerifica').click()
    attendi(lambda: campo('Verdetto').text, 10, 'verdetto')
    verifica(campo('ObiettivoVerifica').get_attribute('placeholder') == '850' and not campo('ObiettivoVerifica').get_attribute('value'),
             'obiettivo vuoto: 850 per il metano')
    campo('SalvaVerifica').click()
    righe = scaricato('verifica.txt').split(b'\r\n')
    verifica(righe[0] == b'Verifica - Termix54' and campo('Verdetto').text.encode('cp1252') in righe, 'verifica salvata')
    if SCHERMATA:
        d.save_screenshot(SCHERMATA.replace('.png', '-verifica.png'))

    # Files through the team of workers against termix54-batch on one thread: the output's bytes (the last bits of
    # the values within the bound), the messages, the exit status, a download exactly when the tool leaves a file,
    # and the status line's counts as the tool's output has them (Esito "OK", Avvisi not empty). 2,000 generated
    # records; a Windows-1252 file with a column kept, malformed records and a quoted line end, in several batches;
    # files the tool refuses; UTF-16 without its mark, guessed (the advice names the page's choice, not the option;
    # the long name makes a message with no blank to wrap at) and chosen.
    campo('schedaMoltiCasi').click()
    d.execute_script("window.scaricamenti = []; document.addEventListener('click', (e) => e.target.download && scaricamenti.push(e.target.download), true)")
    casi = cartella / 'casi.csv'
    casi.write_bytes(subprocess.run([GENERA, '2000'], check=True, capture_output=True, timeout=60).stdout)
    testa = 'Impianto;Tipo;PortataComb;EccessoAria;TempAria;UmiditaRelativa;TempCeneri;Dispersioni\r\n'
    righe = [f'"Forno {i}\nsud";Metano;{100 + i};20;20;50;20;5' if i % 97 == 0 else
             f'Città {i} €;{"Metano" if i % 13 else "Gasolio"};{100 + i};{i % 60};{i % 200 - 100};50;20;5' for i in range(1500)]
    strano = cartella / 'strano.csv'
    strano.write_bytes((testa + '\r\n'.join(righe) + '\r\n;;;\r\nx;Metano;1,5;20\r\n').encode('cp1252'))
    vuoto, bianche = cartella / 'vuoto.csv', cartella / 'bianche.csv'
    vuoto.write_bytes(b'')
    bianche.write_bytes(b'\r\n  \r\n\r\n')
    sedici = cartella / ('utf16_senza_marchio_' + 'x' * 150 + '.csv')
    sedici.write_bytes((testa + 'Impianto Nord;Metano;100;20;20;50;20;5\r\n').encode('utf-16-le'))
    NUMERO = r'\d{1,3}(?:\.\d{3})*'
    numero = lambda t: int(t.replace('.', ''))
    # "Annulla" half-way through a long run: the team stopped, nothing downloaded, the status line says so; the next
    # runs below work. The run is fast (300,000 rows in about a second): the click comes from inside the page, at the
    # first count the status line shows, as a user's would in the middle of a run. The file's rows are estimated from
    # how far into it the rows back reach.
    lungo = cartella / 'lungo.csv'
    lungo.write_bytes(subprocess.run([GENERA, '300000'], check=True, capture_output=True, timeout=120).stdout)
    d.execute_script("""new MutationObserver((_, o) => {
        if (!/ righe di circa /.test(statoBatch.textContent)) return;
        o.disconnect(); window.annullatoA = statoBatch.textContent; document.getElementById('Annulla').click();
      }).observe(statoBatch, { childList: true });""")
    campo('fileCasi').send_keys(str(lungo))
    corsa = presto(lambda: d.execute_script('return window.annullatoA'), 30) or ''
    m = re.fullmatch(f'({NUMERO}) righe di circa ({NUMERO})( · {NUMERO} righe/s)?( · (circa \\d+ (s|min)|meno di 1 s) alla fine)?', corsa)
    verifica(m and 0 < numero(m[1]) < 300000 and abs(numero(m[2]) - 300000) <= 30000, f'in corso: {corsa!r}')
    time.sleep(2)
    verifica(campo('Annulla').get_attribute('disabled') is not None and campo('progresso').get_attribute('value') == '0'
             and d.execute_script('return document.body.dataset.batch') is None and not list(scaricati.iterdir())
             and campo('statoBatch').text == 'annullato: nessun file scaricato', 'Annulla: ' + campo('statoBatch').text)
    # The pace and the time left over the reports of the last seconds ([s, rows back, fraction of the file]).
    for campioni, atteso in (([[0.3, 512, 0.0017]], '512 righe di circa 300.000'),
                             ([[1, 12000, 0.04], [2, 53500, 0.178]],
                              '53.500 righe di circa 300.000 · 41.500 righe/s · circa 6 s alla fine'),
                             ([[0, 100, 0.01], [2, 300, 0.02]], '300 righe di circa 15.000 · 100 righe/s · circa 4 min alla fine')):
        verifica(d.execute_script('return Termix54.statoInCorso(arguments[0])', campioni) == atteso, f'in corso: {atteso}')

    cifre = lambda n: f'{n:,}'.replace(',', '.')
    quante = lambda n, una, tante: cifre(n) + ' ' + (una if n == 1 else tante)
    for file, conserva, codifica, esito in ((casi, '', '', 0), (strano, 'impianto', '', 1), (vuoto, '', '', 2),
                                            (bianche, '', '', 2), (sedici, '', '', 2), (sedici, '', 'utf-16', 0)):
        nome = f'{file.name[:24]} {codifica}'
        uscita = cartella / 'nativo.csv'
        uscita.unlink(missing_ok=True)
        nativo = subprocess.run([BATCH, file.name, '-o', uscita.name] + (['--conserva', conserva] if conserva else []) +
                                (['--codifica', codifica] if codifica else []), cwd=cartella, capture_output=True, timeout=120)
        campo('conserva').clear()
        campo('conserva').send_keys(conserva)
        Select(campo('codificaCasi')).select_by_value(codifica)
        d.execute_script("delete document.body.dataset.batch; scaricamenti.length = 0; fileCasi.value = ''")
        campo('fileCasi').send_keys(str(file))
        attendi(lambda: d.execute_script('return document.body.dataset.batch'), 120, 'molti casi')
        verifica(d.execute_script('return document.body.dataset.batch') == str(nativo.returncode) == str(esito),
                 f'esito su {nome}: {nativo.returncode}')
        messaggi = campo('messaggiBatch').get_attribute('textContent')
        verifica(messaggi == nativo.stderr.decode().replace('provare --codifica utf-16', 'scegliere la codifica UTF-16 qui sopra'),
                 f'messaggi su {nome}: {messaggi[:300]!r}')
        # A message too long for a line, with no blank to break at, wraps in its box: the page never widens.
        for larghezza in (360, 1024) if file == sedici and not codifica else ():
            d.set_window_size(larghezza, 900)
            verifica(presto(lambda: d.execute_script('return document.documentElement.scrollWidth <= innerWidth')),
                     f'messaggi lunghi a {larghezza} px')
            if SCHERMATA:
                d.save_screenshot(str(pathlib.Path(SCHERMATA).with_name(f'pagina-molticasi-{larghezza}.png')))
        stato = campo('statoBatch').text
        if not uscita.exists():
            verifica(stato == 'errore: nessun file scaricato' and d.execute_script('return scaricamenti') == [],
                     f'su {nome}: {stato}')
            continue
        c = confronta(uscita.read_bytes(), scaricato(file.stem + '_termix54.csv'))
        verifica(c is not None and c[1] <= ULP_MASSIMI, f'molti casi su {nome}: {c}')
        print(f'molti casi su {nome}: celle diverse dal nativo e ulp massimi: {c}')
        testa_u, *record = leggi_csv(io.StringIO(uscita.read_bytes().decode('utf-8-sig', 'replace'), newline=''), delimiter=';')
        ok, avvisi = sum(r[testa_u.index('Esito')] == 'OK' for r in record), sum(r[-1] != '' for r in record)
        atteso = (f'completato: {quante(len(record), "riga", "righe")}, {quante(ok, "calcolata", "calcolate")}, '
                  f'{quante(len(record) - ok, "fermata", "fermate")}, {cifre(avvisi)} con avvisi, in ')
        verifica(stato.startswith(atteso) and re.fullmatch(r'\d+(,\d)? s|\d+ min \d+ s', stato[len(atteso):]),
                 f'su {nome}: {stato} / {atteso}')
    d.execute_script("fileCasi.value = ''")

    # "Nuovo caso" asks first: "No" (the default, Enter) keeps the case, "Sì" clears it and the chart.
    campo('schedaCondizioni').click()
    for risposta, resta in ((Keys.ENTER, True), ('No', True), ('Sì', False)):
        campo('NuovoCaso').click()
        attendi(lambda: campo('conferma').is_displayed(), 5, 'conferma')
        verifica((campo('confermaTitolo').text, campo('confermaTesto').text, attivo()) ==
                 ('Termix54', 'Cancellare tutti i dati del caso ?', 'confermaNo'), 'conferma: ' + campo('conferma').text)
        if risposta == Keys.ENTER:
            d.switch_to.active_element.send_keys(Keys.ENTER)
        else:
            campo('confermaSi' if risposta == 'Sì' else 'confermaNo').click()
        verifica(presto(lambda: not campo('conferma').is_displayed()), 'conferma chiusa')
        verifica((campo('PortataComb').get_attribute('value') == '100') == resta and
                 (d.execute_script("return document.querySelector('#grafico svg') !== null") == resta),
                 f'Nuovo caso, risposta {risposta!r}')

    # The user scenarios shared with the forms and the batch tool.
    print('scenari:', scenari.esegui(d, PAGINA.as_uri(), BATCH, ULP_MASSIMI))

    # Nothing but the file itself and its own blobs was asked for.
    richieste = set()
    for voce in d.get_log('performance'):
        m = json.loads(voce['message'])['message']
        if m['method'] == 'Network.requestWillBeSent':
            richieste.add(m['params']['request']['url'].split(':')[0])
    verifica(richieste <= {'file', 'blob'}, f'richieste: {richieste}')
    gravi = [v for v in d.get_log('browser') if v['level'] == 'SEVERE']
    verifica(not gravi, f'errori nella console: {gravi}')
except Exception:
    for v in d.get_log('browser'):
        print('console:', v['message'][:500])
    raise
finally:
    d.quit()
print('pagina_prova:', 'OK' if not errori else f'{len(errori)} FALLITI')
sys.exit(1 if errori else 0)
