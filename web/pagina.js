'use strict';
// The page: the fields are the batch tool's input columns (their names are
// the elements' ids), every text and number shown comes from the module.
(() => {
  const $ = (id) => document.getElementById(id);
  // The module ran inline before this script (parsed once, as the page
  // loads); the worker takes its text from the same element.
  let M = null;
  const pronto = CreaTermix54().then((m) => { M = m; return m; });

  const Termix54 = {
    pronto,
    // The record as the batch tool reads one (values as numbers, or texts
    // with the decimal point); the output columns, values as numbers.
    calcola: (record) => M.risultato(record, ','),
    // Date and time for the report's lines 3 and 4.
    orologio: () => {
      const d = new Date();
      return {
        data: d.toLocaleDateString('it-IT', { day: '2-digit', month: '2-digit', year: 'numeric' }),
        ora: d.toLocaleTimeString('it-IT', { hour: '2-digit', minute: '2-digit', second: '2-digit' }),
      };
    },
  };
  window.Termix54 = Termix54;

  const Memoria = 'termix54.caso';
  let ultimo = null;          // the last case computed
  let ultimaAndamento = null; // the last sweep's output bytes
  const descrizioni = {};     // quantity name -> label, unit

  function scarica(dati, nome, tipo) {
    const a = document.createElement('a');
    a.href = URL.createObjectURL(dati instanceof Blob ? dati : new Blob([dati], { type: tipo }));
    a.download = nome;
    document.body.appendChild(a);
    a.click();
    a.remove();
    setTimeout(() => URL.revokeObjectURL(a.href), 60000);
  }

  function schede() {
    const nav = $('schede');
    const sezioni = [...document.querySelectorAll('.scheda')];
    const mostra = (id) => {
      for (const s of sezioni) s.hidden = s.id !== id;
      for (const b of nav.children) b.setAttribute('aria-selected', String(b.dataset.scheda === id));
    };
    for (const s of sezioni) {
      const b = document.createElement('button');
      b.type = 'button';
      b.role = 'tab';
      b.dataset.scheda = s.id;
      b.id = 'scheda' + s.id;
      b.textContent = s.dataset.titolo;
      b.onclick = () => mostra(s.id);
      nav.appendChild(b);
    }
    mostra('Combustibile');
    return mostra;
  }

  // "Eccesso d'aria (%)": the table's label and unit.
  const etichetta = (c) => (c.unita ? `${c.etichetta} (${c.unita})` : c.etichetta);

  function campi(colonne) {
    for (const c of colonne) {
      if (c.tipo === 'opzione') {
        document.querySelector(`legend[data-colonna="${c.nome}"]`).textContent = c.etichetta;
        continue;
      }
      const dove = c.tipo === 'testo' ? 'campiTesto' : c.condizione ? 'campiCondizioni' : 'campiCombustibile';
      const l = document.createElement('label');
      l.htmlFor = c.nome;
      l.textContent = etichetta(c);
      const i = document.createElement('input');
      i.id = c.nome;
      i.name = c.nome;
      i.autocomplete = 'off';
      if (c.tipo === 'numero') i.inputMode = 'decimal';
      $(dove).append(l, i);
    }
  }

  // What the user typed, as a record of the ';' convention.
  function record(colonne) {
    const r = {};
    for (const c of colonne) {
      if (c.tipo === 'opzione') {
        const s = document.querySelector(`input[name="${c.nome}"]:checked`);
        r[c.nome] = s ? s.value : '';
      } else {
        r[c.nome] = $(c.nome).value;
      }
    }
    return r;
  }

  function avviso(testo) {
    $('avvisoTitolo').textContent = M.titoloMessaggi;
    $('avvisoTesto').textContent = testo;
    $('avviso').hidden = false;
    $('avvisoOk').focus();
  }

  function calcola(colonne, mostra) {
    const r = record(colonne);
    localStorage.setItem(Memoria, JSON.stringify(r));
    const o = Termix54.orologio();
    const c = M.caso(r, ';', o.data, o.ora);
    // The boxes the calculation writes into (fractions, heating value).
    for (const col of colonne) {
      const t = c.testi[col.nome];
      if (col.tipo === 'numero' && t !== undefined && t !== r[col.nome]) $(col.nome).value = t;
    }
    const corpo = $('tabellaRisultati').tBodies[0];
    corpo.textContent = '';
    const ingressi = new Set(colonne.map((x) => x.nome));
    // What the result forms show: each box's text, cut to its decimals.
    for (const g of M.colonneUscita()) {
      if (ingressi.has(g.nome) || !g.mostrata) continue;
      const riga = corpo.insertRow();
      const th = document.createElement('th');
      th.textContent = etichetta(g);
      riga.appendChild(th);
      const td = riga.insertCell();
      td.id = g.nome;
      td.textContent = c.testi[g.nome] ?? '';
    }
    ultimo = { record: r, caso: c };
    if (!c.completato) {
      $('testoRapporto').textContent = '';
      for (const m of c.risultato.Esito.split(' | ')) avviso(m);
      return;
    }
    $('testoRapporto').textContent = c.righe.join('\n');
    mostra('Risultati');
  }

  function vaiAvanti(e) {
    if (e.key !== 'Enter' || e.target.tagName !== 'INPUT' || e.target.type === 'file') return;
    e.preventDefault();
    const tutti = [...document.querySelectorAll('main input:not([type=radio]):not([type=file])')]
      .filter((x) => !x.closest('[hidden]'));
    const k = tutti.indexOf(e.target);
    if (k >= 0 && k + 1 < tutti.length) tutti[k + 1].focus();
    else if (e.target.closest('#Condizioni')) $('Calcola').click();
  }

  // --- Andamento: the batch tool's --variando on the case as typed.
  function csvCampo(v) {
    return /[;"\r\n]/.test(v) ? `"${v.replace(/"/g, '""')}"` : v;
  }
  function leggiCsv(testo) {
    const righe = [];
    let riga = [], campo = '', q = false;
    for (let i = 0; i < testo.length; ++i) {
      const ch = testo[i];
      if (q) {
        if (ch === '"' && testo[i + 1] === '"') { campo += '"'; ++i; } else if (ch === '"') q = false; else campo += ch;
      } else if (ch === '"') q = true;
      else if (ch === ';') { riga.push(campo); campo = ''; }
      else if (ch === '\r') continue;
      else if (ch === '\n') { riga.push(campo); righe.push(riga); riga = []; campo = ''; }
      else campo += ch;
    }
    return righe;
  }
  function variando(colonne, obiettivo) {
    const r = record(colonne);
    const nomi = Object.keys(r);
    const testo = nomi.join(';') + '\r\n' + nomi.map((n) => csvCampo(r[n])).join(';') + '\r\n';
    M.FS.writeFile('/andamento.csv', new TextEncoder().encode(testo));
    const v = `${$('variaColonna').value}=${$('variaDa').value}:${$('variaA').value}:${$('variaPasso').value}`;
    const esito = M.batch('/andamento.csv', '/andamento-uscita.csv', '', v, obiettivo);
    if (esito === 2 || !M.FS.analyzePath('/andamento-uscita.csv').exists) return { errore: true };
    const byte = M.FS.readFile('/andamento-uscita.csv');
    M.FS.unlink('/andamento-uscita.csv');
    return { byte, righe: leggiCsv(new TextDecoder().decode(byte)), r };
  }
  const numero = (t) => (t === '' ? null : Number(t.replace(',', '.')));

  function grafico(righe, r) {
    const testa = righe[0];
    const kx = 4, ky = testa.indexOf($('variaRisultato').value);
    const punti = righe.slice(1).map((x) => [numero(x[kx]), numero(x[ky])]);
    const W = 640, H = 360, m = { s: 70, d: 20, a: 20, b: 50 };
    const xs = punti.map((p) => p[0]), ys = punti.filter((p) => p[1] !== null).map((p) => p[1]);
    const temperatura = testa[ky] === 'TempFumi';
    if (temperatura) ys.push(850, 1100);
    const x0 = Math.min(...xs), x1 = Math.max(...xs);
    let y0 = Math.min(...ys), y1 = Math.max(...ys);
    if (!(y1 > y0)) { y0 -= 1; y1 += 1; }
    const titolo = (nome) => (descrizioni[nome] ? etichetta(descrizioni[nome]) : nome);
    const X = (x) => m.s + ((x - x0) / (x1 - x0 || 1)) * (W - m.s - m.d);
    const Y = (y) => H - m.b - ((y - y0) / (y1 - y0)) * (H - m.a - m.b);
    const ns = 'http://www.w3.org/2000/svg';
    const svg = document.createElementNS(ns, 'svg');
    svg.setAttribute('xmlns', ns);
    svg.setAttribute('viewBox', `0 0 ${W} ${H}`);
    svg.setAttribute('width', W);
    svg.setAttribute('height', H);
    const el = (tipo, attr, testo) => {
      const e = document.createElementNS(ns, tipo);
      for (const [k, v] of Object.entries(attr)) e.setAttribute(k, v);
      if (testo !== undefined) e.textContent = testo;
      svg.appendChild(e);
      return e;
    };
    el('rect', { x: 0, y: 0, width: W, height: H, fill: 'white' });
    el('line', { x1: m.s, y1: H - m.b, x2: W - m.d, y2: H - m.b, stroke: 'black' });
    el('line', { x1: m.s, y1: m.a, x2: m.s, y2: H - m.b, stroke: 'black' });
    for (let k = 0; k <= 4; ++k) {
      const vx = x0 + ((x1 - x0) * k) / 4, vy = y0 + ((y1 - y0) * k) / 4;
      el('text', { x: X(vx), y: H - m.b + 16, 'text-anchor': 'middle', 'font-size': 11 }, M.testoNumero(Number(vx.toPrecision(6))));
      el('text', { x: m.s - 4, y: Y(vy) + 4, 'text-anchor': 'end', 'font-size': 11 }, M.testoNumero(Number(vy.toPrecision(6))));
    }
    el('text', { x: (m.s + W - m.d) / 2, y: H - 8, 'text-anchor': 'middle', 'font-size': 13, class: 'titoloAsse' }, titolo(testa[kx]));
    el('text', { x: 14, y: (m.a + H - m.b) / 2, 'text-anchor': 'middle', 'font-size': 13, class: 'titoloAsse',
                 transform: `rotate(-90 14 ${(m.a + H - m.b) / 2})` }, titolo(testa[ky]));
    if (temperatura) {
      for (const t of [850, 1100])
        el('line', { x1: m.s, x2: W - m.d, y1: Y(t), y2: Y(t), stroke: 'grey', 'stroke-dasharray': '6 4', class: 'soglia' });
    }
    // A stopped run is a gap: one polyline per run of computed values.
    let tratto = [];
    const chiudi = () => {
      if (tratto.length) el('polyline', { points: tratto.join(' '), fill: 'none', stroke: '#0645ad', 'stroke-width': 2, class: 'linea' });
      tratto = [];
    };
    for (const [x, y] of punti) {
      if (y === null) chiudi(); else tratto.push(`${X(x)},${Y(y)}`);
    }
    chiudi();
    if (ultimo && ultimo.caso.completato) {
      const cx = numero(r[testa[kx]] || '0'), cy = ultimo.caso.risultato[testa[ky]];
      if (cx !== null && cy !== null && cx >= x0 && cx <= x1)
        el('circle', { cx: X(cx), cy: Y(cy), r: 5, fill: '#c00', class: 'corrente' });
    }
    $('grafico').replaceChildren(svg);
  }

  // --- Molti casi: the batch tool in a worker, the output streamed into a Blob.
  // One blob with the module in it: a file page's worker may not load another
  // blob URL. The next run's worker is started ahead, its module compiled
  // while the user picks a file.
  function nuovoLavoratore() {
    const url = URL.createObjectURL(new Blob([$('sorgenteModulo').textContent, '\n', $('sorgenteLavoratore').textContent],
                                             { type: 'text/javascript' }));
    const w = new Worker(url);
    URL.revokeObjectURL(url);
    return w;
  }
  let lavoratore = null, prossimo = null;
  const preparaLavoratore = () => { prossimo = prossimo || nuovoLavoratore(); };
  function moltiCasi(file) {
    if (lavoratore) lavoratore.terminate();
    $('messaggiBatch').textContent = '';
    $('progresso').value = 0;
    $('Annulla').disabled = false;
    delete document.body.dataset.batch;
    const inizio = performance.now();
    preparaLavoratore();
    lavoratore = prossimo;
    prossimo = null;
    lavoratore.onmessage = (e) => {
      const d = e.data;
      if (d.progresso !== undefined) $('progresso').value = d.progresso;
      if (d.messaggio) $('messaggiBatch').textContent += d.messaggio + '\n';
      if (d.fine) {
        $('progresso').value = 1;
        $('Annulla').disabled = true;
        lavoratore.terminate();
        lavoratore = null;
        Termix54.batchMs = performance.now() - inizio;  // for the benchmark
        Termix54.batchMemoria = d.memoria;
        document.body.dataset.batch = String(d.esito);
        if (d.uscita) scarica(d.uscita, file.name.replace(/\.csv$/i, '') + '_termix54.csv');
        preparaLavoratore();
      }
    };
    lavoratore.postMessage({ file, conserva: $('conserva').value });
  }

  async function avvia() {
    const mostra = schede();
    await pronto;
    const colonne = M.colonneIngresso();
    campi(colonne);
    const salvato = localStorage.getItem(Memoria);
    if (salvato) {
      const r = JSON.parse(salvato);
      for (const c of colonne) {
        if (c.tipo === 'opzione') {
          const s = document.querySelector(`input[name="${c.nome}"][value="${r[c.nome]}"]`);
          if (s) s.checked = true;
        } else if (r[c.nome] !== undefined) $(c.nome).value = r[c.nome];
      }
    }
    for (const c of colonne) if (c.tipo === 'numero') $('variaColonna').add(new Option(c.etichetta, c.nome));
    $('variaColonna').value = 'EccessoAria';
    for (const g of M.colonneUscita()) $('variaRisultato').add(new Option(g.etichetta, g.nome));
    for (const g of colonne.concat(M.colonneUscita())) descrizioni[g.nome] = g;
    $('variaRisultato').value = 'TempFumi';
    document.addEventListener('keydown', vaiAvanti);
    $('Calcola').onclick = () => calcola(colonne, mostra);
    $('avvisoOk').onclick = () => { $('avviso').hidden = true; };
    $('NuovoCaso').onclick = () => {
      localStorage.removeItem(Memoria);
      for (const i of document.querySelectorAll('main input')) {
        if (i.type === 'radio') i.checked = false; else if (i.type !== 'file' && !i.closest('.comandi')) i.value = '';
      }
      $('tabellaRisultati').tBodies[0].textContent = '';
      $('testoRapporto').textContent = '';
      ultimo = null;
      mostra('Combustibile');
    };
    $('Salva').onclick = () => {
      if (ultimo && ultimo.caso.rapporto) scarica(ultimo.caso.rapporto, $('nomeRapporto').value + '.TXT', 'text/plain');
    };
    $('Stampa').onclick = () => window.print();
    $('Traccia').onclick = () => {
      const v = variando(colonne, '');
      if (v.errore) return;
      ultimaAndamento = v.byte;
      grafico(v.righe, v.r);
    };
    $('Trova').onclick = () => {
      const v = variando(colonne, $('obiettivo').value);
      if (v.errore) return;
      const riga = v.righe[1] || [];
      $('trovato').textContent = riga[4] ? `${riga[3]}: ${v.righe[0][4]} = ${riga[4]}` : riga[3] || '';
    };
    $('EsportaCsv').onclick = () => ultimaAndamento && scarica(ultimaAndamento, 'andamento.csv', 'text/csv');
    $('EsportaSvg').onclick = () => {
      const s = $('grafico').querySelector('svg');
      if (s) scarica(new XMLSerializer().serializeToString(s), 'andamento.svg', 'image/svg+xml');
    };
    $('EsportaPng').onclick = () => {
      const s = $('grafico').querySelector('svg');
      if (!s) return;
      const img = new Image();
      img.onload = () => {
        const c = document.createElement('canvas');
        c.width = img.width; c.height = img.height;
        c.getContext('2d').drawImage(img, 0, 0);
        c.toBlob((b) => scarica(b, 'andamento.png'), 'image/png');
      };
      img.src = URL.createObjectURL(new Blob([new XMLSerializer().serializeToString(s)], { type: 'image/svg+xml' }));
    };
    $('fileCasi').onchange = (e) => e.target.files[0] && moltiCasi(e.target.files[0]);
    const zona = $('zonaFile');
    zona.ondragover = (e) => e.preventDefault();
    zona.ondrop = (e) => { e.preventDefault(); if (e.dataTransfer.files[0]) moltiCasi(e.dataTransfer.files[0]); };
    $('Annulla').onclick = () => {
      if (lavoratore) lavoratore.terminate();
      lavoratore = null;
      preparaLavoratore();
      $('Annulla').disabled = true;
      $('progresso').value = 0;
    };
    Termix54.prontoMs = performance.now();  // since navigation began
    document.body.dataset.pronto = '1';
    (window.requestIdleCallback || setTimeout)(preparaLavoratore);
  }
  avvia();
})();
