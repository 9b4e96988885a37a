"""The user scenarios of tests/support/scenari.json on the page, through its real controls (Selenium),
and on the batch tool through a CSV file: the page's case must end where the tool computes the scenario's
case (within the WebAssembly last-bit bound), with the same warnings."""
import csv
import io
import json
import pathlib
import struct
import subprocess
import tempfile
import time

from selenium import webdriver
from selenium.webdriver.chrome.options import Options
from selenium.webdriver.chrome.service import Service
from selenium.webdriver.common.by import By
from selenium.webdriver.common.keys import Keys
from selenium.webdriver.support.ui import Select

# The failures so far: a check goes on after one, so that a run lists them all.
errori = []


def verifica(condizione, messaggio):
    if not condizione:
        errori.append(messaggio)
        print('FALLITO:', messaggio)


def attendi(condizione, secondi=30, cosa=''):
    fine = time.monotonic() + secondi
    while time.monotonic() < fine:
        if valore := condizione():
            return valore
        time.sleep(0.05)
    raise TimeoutError(cosa)


def chromium(scaricati=None):
    """Headless Chromium as the tests drive it: Italian, 1024×900, downloads into `scaricati`."""
    o = Options()
    o.binary_location = '/usr/bin/chromium'
    for a in ('--headless=new', '--no-sandbox', '--disable-gpu', '--window-size=1024,900', '--lang=it-IT'):
        o.add_argument(a)
    if scaricati:
        o.add_experimental_option('prefs', {'download.default_directory': str(scaricati),
                                            'download.prompt_for_download': False})
    o.set_capability('goog:loggingPrefs', {'browser': 'ALL', 'performance': 'ALL'})
    return webdriver.Chrome(service=Service('/usr/bin/chromedriver'), options=o)


TABELLA = pathlib.Path(__file__).resolve().parents[1] / 'support' / 'scenari.json'


def bit(x):
    return struct.unpack('<q', struct.pack('<d', x))[0]


def caso_di(tabella, scenario):
    c = dict(tabella[scenario.get('base', 'metano')])
    c.update(scenario.get('caso', {}))
    return c


def esegui_batch(batch, caso, opzioni=()):
    """The tool's output record for one input record: {column: cell}."""
    with tempfile.TemporaryDirectory() as cartella:
        ingresso = pathlib.Path(cartella) / 'in.csv'
        nomi = list(caso)
        ingresso.write_text(';'.join(nomi) + '\r\n' + ';'.join(caso[n] for n in nomi) + '\r\n', encoding='utf-8')
        uscita = pathlib.Path(cartella) / 'out.csv'
        subprocess.run([str(batch), str(ingresso), '-o', str(uscita), *opzioni], check=True, timeout=60,
                       stderr=subprocess.DEVNULL)
        righe = list(csv.reader(io.StringIO(uscita.read_text(encoding='utf-8'), newline=''), delimiter=';'))
    return dict(zip(righe[0], righe[1]))


def esegui(d, uri, batch, ulp_massimi):
    """Every scenario on a fresh page; failures go to `verifica`. Returns how many ran."""
    tabella = json.loads(TABELLA.read_text(encoding='utf-8'))
    campo = lambda i: d.find_element(By.ID, i)

    def pronta():
        attendi(lambda: d.execute_script('return document.body.dataset.pronto'), 30, 'pagina pronta')

    def passi(lista, nome):
        for p in lista:
            azione, a = p[0], (p[1] if len(p) > 1 else None)
            if azione == 'usa':
                passi(tabella['giri'][a], nome)
            elif azione == 'scrivi':
                e = campo(a)
                e.click()
                e.send_keys(Keys.CONTROL, 'a')
                e.send_keys(p[2] if p[2] else Keys.DELETE)
            elif azione == 'digita':
                d.switch_to.active_element.send_keys(a)
            elif azione == 'tasto':
                d.switch_to.active_element.send_keys(Keys.TAB if a == 'Tab' else Keys.ENTER)
            elif azione in ('premi', 'scegli'):
                campo(a).click()
            elif azione == 'scheda':
                campo('scheda' + a).click()
            elif azione == 'verifica':
                campo('schedaVerifica').click()
                attendi(lambda: campo('Verdetto').text, 10, 'verdetto')
            elif azione == 'fuoco':
                try:
                    attendi(lambda: d.switch_to.active_element.get_attribute('id') == a, 5, a)
                except TimeoutError:
                    verifica(False, f'{nome}: fuoco su {d.switch_to.active_element.get_attribute("id")!r}, atteso {a!r}')
            elif azione == 'andamento':
                campo('schedaAndamento').click()
            elif azione == 'camino':
                campo('schedaCamino').click()
            elif azione == 'lista':
                Select(campo(a)).select_by_value(p[2])
            elif azione == 'ricarica':
                d.refresh()
                pronta()
            elif azione == 'messaggio':
                try:
                    attendi(lambda: campo('avviso').is_displayed(), 5, a)
                    verifica(campo('avvisoTesto').text == a, f'{nome}: messaggio {campo("avvisoTesto").text!r}, '
                                                              f'atteso {a!r}')
                    campo('avvisoOk').click()
                    attendi(lambda: not campo('avviso').is_displayed(), 5, 'OK')
                except TimeoutError:
                    verifica(False, f'{nome}: nessun messaggio {a!r}')
            else:
                raise ValueError(azione)
            # The step's effects are applied in turn: the next step waits for them.
            d.execute_script('return 0')

    for scenario in tabella['scenari']:
        nome = scenario['nome']
        # A fresh page: the reload itself would keep the last scenario's case and boxes.
        d.execute_script("localStorage.clear(); addEventListener('pagehide', () => localStorage.clear())")
        d.refresh()
        pronta()
        passi(scenario['passi'], nome)
        verifica(not campo('avviso').is_displayed(),
                 f'{nome}: messaggio inatteso {campo("avvisoTesto").text!r}')
        atteso = esegui_batch(batch, caso_di(tabella, scenario))
        verifica(atteso['Esito'] == 'OK', f'{nome}: Esito {atteso["Esito"]!r}')
        valori = d.execute_script('return Termix54.valori()')
        for nome_col, x in valori.items():
            if nome_col not in atteso:
                continue
            t = float(atteso[nome_col].replace(',', '.'))
            verifica(abs(bit(x) - bit(t)) <= ulp_massimi, f'{nome}: {nome_col} pagina {x!r}, strumento {t!r}')
        verifica(len(valori) > 60, f'{nome}: {len(valori)} valori')
        for id_, testo in scenario.get('testi', {}).items():
            e = campo(id_)
            mostrato = e.get_attribute('value') if e.tag_name == 'input' else e.text
            verifica(mostrato == testo, f'{nome}: {id_} {mostrato!r}, atteso {testo!r}')
        elenco = d.execute_script(
            "return [...document.querySelectorAll('#avvisiRisultati li')].map((li) => li.textContent)")
        for parole in scenario.get('avvisi', []):
            verifica(any(parole in a for a in elenco), f'{nome}: avviso {parole!r} non nella pagina: {elenco}')
            verifica(parole in atteso.get('Avvisi', ''), f'{nome}: avviso {parole!r} non nello strumento')
        # Every check and stack result is the tool's (--verifica, --camino), to the bound: the window's boxes show them.
        for chiave, opzione, tabella_id in (('verifica', '--verifica', 'tabellaVerifica'), ('camino', '--camino', 'tabellaCamino')):
            if chiave not in scenario:
                continue
            strumento = esegui_batch(batch, {**caso_di(tabella, scenario), **scenario[chiave]}, [opzione])
            valori = d.execute_script(f'return Termix54.{chiave}') or {}
            for nome_col in d.execute_script(f"return [...document.querySelectorAll('#{tabella_id} td')].map((c) => c.id)"):
                if nome_col not in strumento:
                    continue  # the window's copy of a result of the run
                cella, x = strumento[nome_col], valori.get(nome_col)
                verifica((x is None) == (cella == '') and (x is None or abs(bit(x) - bit(float(cella.replace(',', '.'))))
                                                           <= ulp_massimi), f'{nome}: {nome_col} pagina {x!r}, strumento {cella!r}')
            if chiave == 'verifica':
                verdetto = campo('Verdetto').text
                verifica(verdetto == strumento['Verdetto'] and verdetto.startswith(scenario['verdetto']),
                         f'{nome}: verdetto {verdetto!r}, strumento {strumento["Verdetto"]!r}')
                lista = [li.text for li in d.find_elements(By.CSS_SELECTOR, '#AvvisiVerifica li')]
                verifica(all(any(p in a for a in lista) for p in scenario.get('avvisi', [])) and
                         ('non valutabile' in verdetto) == bool(lista), f'{nome}: avvisi della verifica {lista}')
            else:
                note = d.execute_script("return [...document.querySelectorAll('#NoteCamino li')]"
                                        ".map((li) => li.textContent).join(' | ')")
                verifica(note == strumento['NoteCamino'] and all(p in note for p in scenario.get('note', [])),
                         f'{nome}: note {note!r}, strumento {strumento["NoteCamino"]!r}')
        if not scenario.get('avvisi'):
            verifica(elenco == [] and atteso.get('Avvisi') == '', f'{nome}: avvisi inattesi {elenco}')
    return len(tabella['scenari'])


if __name__ == '__main__':
    # The scenarios alone: scenari.py PAGINA BATCH (pagina_prova.py runs them with everything else).
    import sys
    d = chromium()
    try:
        pagina = pathlib.Path(sys.argv[1]).resolve().as_uri()
        d.get(pagina)
        n = esegui(d, pagina, pathlib.Path(sys.argv[2]).resolve(), 6)
    finally:
        d.quit()
    print(f'scenari: {n}, {len(errori)} falliti')
    sys.exit(1 if errori else 0)
