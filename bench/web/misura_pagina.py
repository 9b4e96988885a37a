#!/usr/bin/python3
"""termix54.html in headless Chromium, every figure in one run: the page opened
from file:// to interactive (beside an empty page of the same size, Chromium's
own floor), one calculation, the workers' records/s on a generated file
(three runs) beside termix54-batch's on one core (taskset -c 0), and the
memory of a 100 MB input through the workers. Wall-clock figures, and the CPU
time of the workers' threads and of the native tool, since the machine is shared.

misura_pagina.py PAGINA BATCH GENERA [RECORD] [MB]"""
import os
import pathlib
import resource
import statistics
import subprocess
import sys
import tempfile
import threading
import time

from selenium import webdriver
from selenium.webdriver.chrome.options import Options
from selenium.webdriver.chrome.service import Service
from selenium.webdriver.common.by import By

PAGINA, BATCH, GENERA = (pathlib.Path(a).resolve() for a in sys.argv[1:4])
RECORD = int(sys.argv[4]) if len(sys.argv) > 4 else 100000
MB = int(sys.argv[5]) if len(sys.argv) > 5 else 100
cartella = pathlib.Path(tempfile.mkdtemp(prefix='termix54-misura-'))


def attendi(condizione, secondi):
    fine = time.monotonic() + secondi
    while time.monotonic() < fine:
        v = condizione()
        if v:
            return v
        time.sleep(0.01)
    raise TimeoutError


def processi():
    """Chromium's processes: pid -> (kind, /proc/pid/task)."""
    trovati = {}
    for pid in filter(str.isdigit, os.listdir('/proc')):
        try:
            riga = pathlib.Path(f'/proc/{pid}/cmdline').read_bytes()
        except OSError:
            continue
        if riga.startswith(b'/usr/lib/chromium/chromium'):
            trovati[pid] = riga.split(b'--type=')[1].replace(b'\0', b' ').split()[0].decode() if b'--type=' in riga else 'browser'
    return trovati


def cpu_lavoratore():
    """CPU ms of the renderers' DedicatedWorker threads (the team of workers), by thread id."""
    tempi = {}
    for pid, tipo in processi().items():
        if tipo != 'renderer':
            continue
        try:
            for tid in os.listdir(f'/proc/{pid}/task'):
                stat = pathlib.Path(f'/proc/{pid}/task/{tid}/stat').read_bytes()
                if stat[stat.index(b'(') + 1:].startswith(b'DedicatedWorker'):
                    campi = stat.rsplit(b')', 1)[1].split()
                    tempi[tid] = (int(campi[11]) + int(campi[12])) * 1000 // os.sysconf('SC_CLK_TCK')
        except OSError:
            pass
    return tempi


def rss():
    """Resident MB now, by kind of process (renderers summed)."""
    somma = {}
    for pid, tipo in processi().items():
        try:
            for riga in pathlib.Path(f'/proc/{pid}/status').read_text().splitlines():
                if riga.startswith('VmRSS:'):
                    somma[tipo] = somma.get(tipo, 0) + int(riga.split()[1]) / 1024
        except OSError:
            pass
    return somma


def browser():
    o = Options()
    o.binary_location = '/usr/bin/chromium'
    for a in ('--headless=new', '--no-sandbox', '--disable-gpu'):
        o.add_argument(a)
    o.add_experimental_option('prefs', {'download.default_directory': str(cartella)})
    d = webdriver.Chrome(service=Service('/usr/bin/chromedriver'), options=o)
    d.set_script_timeout(300)
    return d


def nativo(casi, record):
    prima = resource.getrusage(resource.RUSAGE_CHILDREN)
    t = time.monotonic()
    subprocess.run(['taskset', '-c', '0', BATCH, casi, '-o', cartella / 'nativo.csv'], check=True, timeout=1800,
                   stderr=subprocess.DEVNULL)
    muro = time.monotonic() - t
    dopo = resource.getrusage(resource.RUSAGE_CHILDREN)
    cpu = dopo.ru_utime + dopo.ru_stime - prima.ru_utime - prima.ru_stime
    (cartella / 'nativo.csv').unlink()
    return record / muro, record / cpu


def molti_casi(d, casi):
    """Chooses `casi` on the page; (wall ms, worker-thread CPU ms, peak resident MB
    by kind of process, resident MB before). Sampled every 50 ms: the workers
    end with the run, their threads' last 50 ms may go uncounted."""
    d.execute_script("delete document.body.dataset.batch; document.getElementById('fileCasi').value = ''")
    d.find_element(By.ID, 'schedaMoltiCasi').click()
    prima_cpu, prima_rss = cpu_lavoratore(), rss()
    ultimi, picchi, fermo = {}, {}, threading.Event()

    def campiona():
        while not fermo.wait(0.05):
            ultimi.update(cpu_lavoratore())
            for tipo, mb in rss().items():
                picchi[tipo] = max(picchi.get(tipo, 0), mb)
    campionatore = threading.Thread(target=campiona)
    campionatore.start()
    try:
        d.find_element(By.ID, 'fileCasi').send_keys(str(casi))
        attendi(lambda: d.execute_script('return document.body.dataset.batch'), 1800)
    finally:
        fermo.set()
        campionatore.join()
    cpu = sum(v - prima_cpu.get(k, 0) for k, v in ultimi.items())
    return d.execute_script('return Termix54.batchMs'), cpu, picchi, prima_rss


def genera(nome, record):
    casi = cartella / nome
    with casi.open('wb') as f:
        subprocess.run([GENERA, str(record)], check=True, stdout=f, timeout=1800)
    return casi


print(f'carico medio {os.getloadavg()[0]:.1f} su {os.cpu_count()} core')
d = browser()
try:
    # Chromium's own floor: a page of the same bytes whose script is inert text.
    vuota = cartella / 'vuota.html'
    dimensione = PAGINA.stat().st_size
    testa = b'<!DOCTYPE html><meta charset="utf-8"><script>addEventListener("DOMContentLoaded", () => ' \
            b'{ window.prontoMs = performance.now(); })</script><script type="text/plain">'
    vuota.write_bytes(testa + b'x' * (dimensione - len(testa) - 9) + b'</script>')
    # Alternated, after one opening of each to warm the browser up.
    aperture = {'vuota': [], 'termix54.html': []}
    for k in range(6):
        for nome, pagina, pronto in (('vuota', vuota, 'window.prontoMs'), ('termix54.html', PAGINA, 'Termix54.prontoMs')):
            d.get(pagina.as_uri())
            ms = attendi(lambda: d.execute_script(f'return typeof Termix54 === "undefined" ? window.prontoMs : {pronto}'), 30)
            if k:
                aperture[nome].append(ms)
    for nome, tempi in aperture.items():
        print(f'apertura fino a interattiva, {nome} ({dimensione:,} byte): mediana {statistics.median(tempi):.0f} ms'
              f' (5 aperture: ' + ', '.join(f'{x:.0f}' for x in tempi) + ')')
    us = d.execute_script('''
        const r = {Tipo: 'Metano', PortataComb: 100, EccessoAria: 20, TempAria: 20, UmiditaRelativa: 50,
                   TempCeneri: 20, Dispersioni: 5};
        for (let i = 0; i < 100; ++i) Termix54.calcola(r);
        const t = performance.now();
        for (let i = 0; i < 1000; ++i) Termix54.calcola(r);
        return (performance.now() - t);''')
    print(f'un calcolo (metano, Termix54.calcola): {us:.0f} us')

    casi = genera('casi.csv', RECORD)
    byte_record = casi.stat().st_size / RECORD
    nat, nat_cpu = nativo(casi, RECORD)
    attendi(lambda: d.execute_script('return document.body.dataset.pronto'), 30)
    corse = []
    for _ in range(3):
        time.sleep(3)  # the next run's team warms up while the user looks at the last one
        corse.append(molti_casi(d, casi)[:2])
    print(f'molti casi, {RECORD:,} record: worker ' +
          ', '.join(f'{RECORD / ms * 1000:,.0f}' for ms, _ in corse) + ' record/s (' +
          ', '.join(f'{RECORD / cpu * 1000:,.0f}' for _, cpu in corse) + ' per secondo di CPU dei worker); '
          f'termix54-batch su un core {nat:,.0f} record/s ({nat_cpu:,.0f} per secondo di CPU)')
    casi.unlink()
    for f in cartella.glob('*_termix54.csv'):
        f.unlink()
finally:
    d.quit()

# The 100 MB input in a browser of its own: peak resident memory of its
# processes while the worker runs, and the module's memory at the end.
grande = genera('grande.csv', int(MB * 1e6 / byte_record))
d = browser()
try:
    d.get(PAGINA.as_uri())
    attendi(lambda: d.execute_script('return document.body.dataset.pronto'), 30)
    time.sleep(3)
    ms, cpu, picchi, prima = molti_casi(d, grande)
    memoria = d.execute_script('return [Termix54.batchMemoria, performance.memory.usedJSHeapSize]')
    righe = sum(1 for _ in grande.open('rb')) - 1
    print(f'molti casi, {grande.stat().st_size / 1e6:.0f} MB ({righe:,} record) in {ms / 1000:.1f} s: memoria del modulo '
          f'{memoria[0] / 2**20:.0f} MB, heap JS della pagina {memoria[1] / 2**20:.0f} MB; residente di picco '
          + ', '.join(f'{tipo} {picchi[tipo]:.0f} MB (prima {prima.get(tipo, 0):.0f})' for tipo in sorted(picchi)))
finally:
    d.quit()
    for f in cartella.glob('*.csv'):
        f.unlink()
