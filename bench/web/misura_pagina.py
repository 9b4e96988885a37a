#!/usr/bin/python3
"""termix54.html in headless Chromium: page opened from file:// to
interactive, one calculation, and the worker's records/s on a generated file,
printed beside termix54-batch's rate on one core (taskset -c 0).

misura_pagina.py PAGINA BATCH GENERA [RECORD]"""
import pathlib
import statistics
import subprocess
import sys
import tempfile
import time

from selenium import webdriver
from selenium.webdriver.chrome.options import Options
from selenium.webdriver.chrome.service import Service
from selenium.webdriver.common.by import By

PAGINA, BATCH, GENERA = (pathlib.Path(a).resolve() for a in sys.argv[1:4])
RECORD = int(sys.argv[4]) if len(sys.argv) > 4 else 100000
cartella = pathlib.Path(tempfile.mkdtemp(prefix='termix54-misura-'))


def attendi(condizione, secondi):
    fine = time.monotonic() + secondi
    while time.monotonic() < fine:
        v = condizione()
        if v:
            return v
        time.sleep(0.01)
    raise TimeoutError


o = Options()
o.binary_location = '/usr/bin/chromium'
for a in ('--headless=new', '--no-sandbox', '--disable-gpu'):
    o.add_argument(a)
o.add_experimental_option('prefs', {'download.default_directory': str(cartella)})
d = webdriver.Chrome(service=Service('/usr/bin/chromedriver'), options=o)
d.set_script_timeout(300)
try:
    aperture = []
    for _ in range(5):
        d.get(PAGINA.as_uri())
        aperture.append(attendi(lambda: d.execute_script('return Termix54.prontoMs'), 30))
    print(f'apertura fino a interattiva: mediana {statistics.median(aperture):.0f} ms (5 aperture: '
          + ', '.join(f'{x:.0f}' for x in aperture) + ')')
    ms = d.execute_script('''
        const r = {Tipo: 'Metano', PortataComb: 100, EccessoAria: 20, TempAria: 20, UmiditaRelativa: 50,
                   TempCeneri: 20, Dispersioni: 5};
        for (let i = 0; i < 100; ++i) Termix54.calcola(r);
        const t = performance.now();
        for (let i = 0; i < 1000; ++i) Termix54.calcola(r);
        return (performance.now() - t) / 1000;''')
    print(f'un calcolo (metano, Termix54.calcola): {ms * 1000:.0f} us')

    casi = cartella / 'casi.csv'
    casi.write_bytes(subprocess.run([GENERA, str(RECORD)], check=True, capture_output=True, timeout=300).stdout)
    t = time.monotonic()
    subprocess.run(['taskset', '-c', '0', BATCH, casi, '-o', cartella / 'nativo.csv'], check=True, timeout=600,
                   stderr=subprocess.DEVNULL)
    nativo = RECORD / (time.monotonic() - t)
    d.find_element(By.ID, 'schedaMoltiCasi').click()
    d.find_element(By.ID, 'fileCasi').send_keys(str(casi))
    attendi(lambda: d.execute_script('return document.body.dataset.batch'), 600)
    web = RECORD / (d.execute_script('return Termix54.batchMs') / 1000)
    print(f'molti casi, {RECORD} record: worker {web:,.0f} record/s; termix54-batch su un core {nativo:,.0f} record/s')
finally:
    d.quit()
