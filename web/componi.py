#!/usr/bin/env python3
"""termix54.html: the page from web/ with its stylesheet, scripts, the chart's
scales (Debian's node-d3-scale) and the module (WebAssembly inside) inlined, so
that the one file works offline."""
import pathlib
import sys

LIMITE = 1_500_000

# d3-scale and what it needs, each defining its part of the global d3 in turn.
D3 = pathlib.Path('/usr/share/nodejs')
PARTI_D3 = ('array', 'collection', 'color', 'interpolate', 'format', 'time', 'time-format', 'scale')


def d3():
    testi = []
    for parte in PARTI_D3:
        f = D3 / f'd3-{parte}' / 'dist' / f'd3-{parte}.min.js'
        if not f.exists():
            sys.exit(f'componi.py: {f} missing (Debian package node-d3-scale)')
        testi.append(f.read_text(encoding='utf-8'))
    return '\n'.join(testi)


# The module would fetch its own inlined bytes (a data: URL, which the page's
# policy refuses); with no fetch in its scope it decodes them in place.
MODULO = """(function () {{
var fetch;
{}
self.CreaTermix54 = CreaTermix54;
}})();
"""

def main():
    modulo, uscita = sys.argv[1], sys.argv[2]
    cartella = pathlib.Path(__file__).resolve().parent
    pagina = (cartella / 'pagina.html').read_text(encoding='utf-8')
    sostituzioni = {
        '/*STILE*/': (cartella / 'stile.css').read_text(encoding='utf-8'),
        # Run inline by the page; the worker loads it again from the element's text.
        '/*MODULO*/': MODULO.format(pathlib.Path(modulo).read_text(encoding='utf-8')),
        '/*LAVORATORE*/': (cartella / 'lavoratore.js').read_text(encoding='utf-8'),
        '/*D3*/': d3(),
        '/*PAGINA*/': (cartella / 'pagina.js').read_text(encoding='utf-8'),
    }
    for segnaposto, testo in sostituzioni.items():
        if pagina.count(segnaposto) != 1:
            sys.exit(f'componi.py: {segnaposto} not once in pagina.html')
        for vietato in ('</script', '<!--'):  # would end or upset the script element
            if vietato in testo.lower():
                sys.exit(f'componi.py: "{vietato}" inside {segnaposto}')
        pagina = pagina.replace(segnaposto, testo)
    dati = pagina.encode('utf-8')
    if len(dati) > LIMITE:
        sys.exit(f'componi.py: {len(dati)} bytes, more than {LIMITE}')
    pathlib.Path(uscita).write_bytes(dati)

main()
