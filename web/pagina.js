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
    // The case now on the page, as a record of the batch tool (';' convention).
    caso: () => M.sessioneRecord(),
    // What the page's record holds now, every input and result at full precision (read only).
    valori: () => M.sessioneValori(),
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

  const Memoria = 'termix54.sessione';
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

  let mostra = null;  // shows a section by its name
  function schede() {
    const nav = $('schede');
    const sezioni = [...document.querySelectorAll('.scheda')];
    mostra = (nome) => {
      for (const s of sezioni) s.hidden = s.dataset.nome !== nome;
      for (const b of nav.children) b.setAttribute('aria-selected', String(b.dataset.scheda === nome));
      if (nome === 'Verifica') apriVerifica();
    };
    for (const s of sezioni) {
      const b = document.createElement('button');
      b.type = 'button';
      b.role = 'tab';
      b.dataset.scheda = s.dataset.nome;
      b.id = 'scheda' + s.dataset.nome;
      b.textContent = s.dataset.titolo;
      b.onclick = () => mostra(s.dataset.nome);
      nav.appendChild(b);
    }
    mostra('Combustibile');
  }

  // "Eccesso d'aria (%)": the table's label and unit.
  const etichetta = (c) => (c.unita ? `${c.etichetta} (${c.unita})` : c.etichetta);
  const numerici = new Set();  // the boxes that take a number
  const prossimo = {};         // box -> where Enter moves on, as on the forms

  // A label and a box for each name of the groups' lists, from the table of quantities.
  function caselle(colonne) {
    const ingressi = new Set(colonne.map((c) => c.nome));
    for (const gruppo of document.querySelectorAll('[data-campi]')) {
      const nomi = gruppo.dataset.campi.split(' ');
      const modificabili = nomi.filter((n) => ingressi.has(n));
      for (const nome of nomi) {
        const c = descrizioni[nome];
        const l = document.createElement('label');
        l.htmlFor = nome;
        l.textContent = etichetta(c);
        const i = document.createElement('input');
        i.id = nome;
        i.autocomplete = 'off';
        if (!ingressi.has(nome)) {
          i.readOnly = true;
          i.tabIndex = -1;
          i.classList.add('rosso');
        } else if (c.tipo === 'numero') {
          i.inputMode = 'decimal';
          numerici.add(nome);
        }
        const k = modificabili.indexOf(nome);
        if (k >= 0) prossimo[nome] = modificabili[k + 1] || gruppo.dataset.poi;
        gruppo.append(l, i);
      }
    }
    for (const c of colonne) {
      if (c.tipo === 'opzione') document.querySelector(`legend[data-colonna="${c.nome}"]`).textContent = c.etichetta;
    }
    mostraCasella('PesoMolecolare', false);
  }

  function mostraCasella(nome, visibile) {
    $(nome).hidden = !visibile;
    document.querySelector(`label[for="${nome}"]`).hidden = !visibile;
  }

  // The case as the module holds it, kept for a reload.
  const conserva = () => localStorage.setItem(Memoria, M.sessioneSalvato());

  // A message as the forms show one: title, text, OK; nothing else can be
  // used until it is closed. It stands next to `vicino`.
  function avviso(testo, vicino) {
    const d = $('avviso');
    $('avvisoTitolo').textContent = M.titoloMessaggi;
    $('avvisoTesto').textContent = testo;
    const r = vicino && !vicino.closest('[hidden]') ? vicino.getBoundingClientRect() : null;
    d.style.top = r ? `${Math.min(r.bottom + 4, innerHeight - 160)}px` : '';
    d.style.left = r ? `${Math.max(4, Math.min(r.left, innerWidth - 340))}px` : '';
    d.classList.toggle('vicino', !!r);
    return new Promise((fatto) => {
      d.addEventListener('close', () => fatto(), { once: true });
      d.showModal();
      $('avvisoOk').focus();
    });
  }

  // Typing: the module takes the box's text at once; a '.' is refused there.
  function scritto(e) {
    const box = e.target;
    if (!(box.id in prossimo)) return;
    applica(M.sessioneScrive(box.id, box.value), box).then(conserva);
  }

  // A box of the forms' sections gets the focus: it is the one being edited.
  function entrato(e) {
    if (numerici.has(e.target.id)) M.sessioneEntra(e.target.id);
  }

  // The box being edited is left, however: another box, a button, a tab, a
  // click anywhere on the page. Not when the page itself loses the focus
  // (another window), nor for the message that a refusal brings up.
  function lasciato(e) {
    const box = e.target;
    if (!numerici.has(box.id) || M.sessioneInModifica() !== box.id) return;
    if ($('avviso').open || !document.hasFocus() || e.relatedTarget === box) return;
    applica(M.sessioneLascia(), box).then(conserva);
  }

  // What a box or a result cell shows.
  function scrivi(nome, testo) {
    const el = $(nome);
    if (el.tagName === 'INPUT') el.value = testo; else el.textContent = testo;
  }

  // The fuel form's choices: what each does when chosen.
  const atomici = ['AtomiC', 'AtomiH', 'AtomiO', 'AtomiCl', 'AtomiS', 'AtomiN'];
  const ponderali = ['FrazC', 'FrazH', 'FrazO', 'FrazCl', 'FrazS', 'FrazN'];
  // What each choice shows or hides; its texts, colours and focus come from the module.
  const scelte = {
    TipoMetano: () => {
      $('riquadroComposizione').hidden = true;
      mostraCasella('PesoMolecolare', true);
    },
    TipoAltri: () => { $('riquadroComposizione').hidden = false; },
    ComposizioneAtomica: () => { if ($('TipoAltri').checked) mostraCasella('PesoMolecolare', true); },
    ComposizionePonderale: () => { if ($('TipoAltri').checked) mostraCasella('PesoMolecolare', false); },
  };
  async function scelto(opzione) {
    await applica(M.sessioneScelta(opzione.id), opzione);
    conserva();
  }

  // A handler's effects, in order; a message waits for its OK as on the forms.
  async function applica(esito, vicino) {
    for (const e of esito.effetti) {
      if (e.tipo === 'testo') scrivi(e.bersaglio, e.testo);
      else if (e.tipo === 'colore') $(e.bersaglio).classList.toggle('rosso', e.rosso);
      else if (e.tipo === 'selezione') {
        const o = $(e.bersaglio);
        o.checked = e.selezionato;
        if (e.selezionato) scelte[o.id]();
      } else if (e.tipo === 'focus') {
        // A refused box may be on a section the user was leaving for another.
        const sezione = $(e.bersaglio).closest('.scheda');
        if (sezione && sezione.hidden) mostra(sezione.dataset.nome);
        $(e.bersaglio).focus();
      }
      else if (e.tipo === 'messaggio') await avviso(e.testo, vicino);
      else if (e.tipo === 'mostra') mostra(e.sezione);
    }
    return esito.completato;
  }

  // The warnings of the last run, beside the results.
  function mostraAvvisi() {
    const lista = M.sessioneAvvisi();
    $('avvisiRisultati').replaceChildren(...lista.map((a) => {
      const li = document.createElement('li');
      li.textContent = a.testo;
      li.dataset.grandezza = a.grandezza;
      return li;
    }));
    $('riquadroAvvisi').hidden = lista.length === 0;
  }

  // The conditions' "Calcola": the run on the record, then the report of what the page shows.
  async function calcola(bottone) {
    ultimo = null;
    $('testoRapporto').textContent = '';
    const esito = M.sessioneCalcolo();
    mostraAvvisi();
    conserva();
    if (!(await applica(esito, bottone))) return;
    const o = Termix54.orologio();
    ultimo = M.sessioneRapporto(o.data, o.ora);
    $('testoRapporto').textContent = ultimo.righe.join('\n');
  }

  function vaiAvanti(e) {
    if (e.key !== 'Enter' || e.target.tagName !== 'INPUT') return;
    if (e.target.closest('#sezioneVerifica')) {
      e.preventDefault();
      calcolaVerifica();
    } else if (prossimo[e.target.id]) {
      e.preventDefault();
      $(prossimo[e.target.id]).focus();
    }
  }

  // --- Verifica: the checks on a copy of the case now on the page, drawn from its view model.
  let T = null;              // the section's inputs, result boxes and texts
  let righeVerifica = [];    // what "Salva" writes

  function preparaVerifica() {
    T = M.testiVerifica();
    $('titoloFrazioni').textContent = T.titoloFrazioni;
    $('titoloAvvisi').textContent = T.titoloAvvisi;
    for (const c of T.campi) {
      const l = document.createElement('label');
      l.htmlFor = c.nome;
      l.textContent = c.etichetta;
      let i;
      if (c.scelte.length) {
        i = document.createElement('select');
        for (const s of c.scelte) i.add(new Option(s.testo, s.nome));
      } else {
        i = document.createElement('input');
        i.autocomplete = 'off';
        i.inputMode = 'decimal';
      }
      i.id = c.nome;
      const gruppo = document.querySelector(`#sezioneVerifica [data-gruppo="${c.gruppo}"]`);
      if (c.gruppo !== 'Frazioni') {
        gruppo.append(l, i);
        continue;
      }
      const campo = document.createElement('div');  // a fraction: its caption over its box
      campo.append(l, i);
      gruppo.append(campo);
    }
    const corpo = $('tabellaVerifica').tBodies[0];
    for (const r of T.risultati) {
      const riga = corpo.insertRow();
      const th = document.createElement('th');
      th.textContent = r.etichetta;
      riga.appendChild(th);
      riga.insertCell().id = r.id;
    }
  }

  // Every input's text; a list gives its choice's name.
  function ingressiVerifica() {
    const testi = {};
    for (const c of T.campi) testi[c.nome] = $(c.nome).value;
    return testi;
  }

  // A refusal: its message, then back to the input it names.
  async function rifiutoVerifica(o, bottone) {
    const box = o.casella ? $(o.casella) : null;
    await avviso(o.messaggio, box || bottone);
    if (box) {
      box.focus();
      if (box.select) box.select();
    }
  }

  function mostraAvvisiVerifica(avvisi) {
    $('AvvisiVerifica').replaceChildren(...avvisi.map((t) => {
      const li = document.createElement('li');
      li.textContent = t;
      return li;
    }));
    $('riquadroAvvisiVerifica').hidden = avvisi.length === 0;
  }

  async function calcolaVerifica() {
    const o = M.sessioneVerifica(ingressiVerifica());
    if (o.messaggio) return rifiutoVerifica(o, $('CalcolaVerifica'));  // the results stay as they were
    for (const [id, testo] of Object.entries(o.testi)) $(id).textContent = testo;
    $('Verdetto').textContent = o.verdetto;
    mostraAvvisiVerifica(o.avvisi);
    righeVerifica = o.righe;
  }

  async function trovaSupporto() {
    const o = M.sessioneTrovaSupporto(ingressiVerifica());
    if (o.messaggio) return rifiutoVerifica(o, $('TrovaSupporto'));
    if (o.portata !== undefined) {
      $('SupportoPortata').value = o.portata;
      await calcolaVerifica();
    }
    $('Risposta').textContent = o.frase;
    if (righeVerifica.length) righeVerifica.push(o.frase);
  }

  // Opened on a completed run: what each empty box stands for on this case, and the checks.
  function apriVerifica() {
    if (!ultimo || !T) return;
    const vuoti = M.sessioneSegnaposti();
    for (const c of T.campi) if (!c.scelte.length) $(c.nome).placeholder = vuoti[c.nome];
    calcolaVerifica();
  }

  // --- Andamento: the batch tool's --variando on the case now on the page.
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
  function variando(obiettivo) {
    const r = M.sessioneRecord();
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
    const attuale = ultimo ? M.risultato(r, ';') : null;
    if (attuale && attuale.Esito === 'OK') {
      const cx = numero(r[testa[kx]] || '0'), cy = attuale[testa[ky]];
      if (cx !== null && cy !== null && cx >= x0 && cx <= x1)
        el('circle', { cx: X(cx), cy: Y(cy), r: 5, fill: '#c00', class: 'corrente' });
    }
    $('grafico').replaceChildren(svg);
  }

  // --- Molti casi: the batch tool in a team of workers, one reading the file and
  // passing the output on, one computing per core (at most four), the output
  // streamed into a Blob.
  // One blob with the module in it: a file page's worker may not load another
  // blob URL. The next run's team is started ahead, its modules compiled
  // while the user picks a file.
  function nuovaSquadra() {
    const url = URL.createObjectURL(new Blob([$('sorgenteModulo').textContent, '\n', $('sorgenteLavoratore').textContent],
                                             { type: 'text/javascript' }));
    const n = Math.max(1, Math.min(4, navigator.hardwareConcurrency || 1));
    const squadra = { lettore: new Worker(url), calcolatori: Array.from({ length: n }, () => new Worker(url)) };
    URL.revokeObjectURL(url);
    return squadra;
  }
  const congeda = (s) => { if (s) for (const w of [s.lettore, ...s.calcolatori]) w.terminate(); };
  let squadra = null, inAttesa = null;
  const preparaSquadra = () => { inAttesa = inAttesa || nuovaSquadra(); };
  function moltiCasi(file) {
    congeda(squadra);
    $('messaggiBatch').textContent = '';
    $('progresso').value = 0;
    $('Annulla').disabled = false;
    delete document.body.dataset.batch;
    const inizio = performance.now();
    preparaSquadra();
    squadra = inAttesa;
    inAttesa = null;
    const lavoratore = squadra.lettore;
    lavoratore.onmessage = (e) => {
      const d = e.data;
      if (d.progresso !== undefined) $('progresso').value = d.progresso;
      if (d.messaggio) $('messaggiBatch').textContent += d.messaggio + '\n';
      if (d.fine) {
        $('progresso').value = 1;
        $('Annulla').disabled = true;
        congeda(squadra);
        squadra = null;
        Termix54.batchMs = performance.now() - inizio;  // for the benchmark
        Termix54.batchMemoria = d.memoria;
        document.body.dataset.batch = String(d.esito);
        if (d.uscita) scarica(d.uscita, file.name.replace(/\.csv$/i, '') + '_termix54.csv');
        preparaSquadra();
      }
    };
    // Each computing worker gets a port to the reader, which gets the other ends.
    const porte = squadra.calcolatori.map((w) => {
      const canale = new MessageChannel();
      w.postMessage({ porta: canale.port1 }, [canale.port1]);
      return canale.port2;
    });
    lavoratore.postMessage({ file, conserva: $('conserva').value, porte }, porte);
  }

  // The last case back after a reload: the module's record, every box and
  // choice as it was, the box left mid-edit left now; then its report.
  async function ripristina() {
    const salvato = localStorage.getItem(Memoria);
    const esito = salvato && M.sessioneRipristina(salvato);
    if (!esito) return;
    await applica(esito);
    mostraAvvisi();
    if (esito.effetti.some((e) => e.bersaglio === 'TempFumi')) {
      const o = Termix54.orologio();
      ultimo = M.sessioneRapporto(o.data, o.ora);
      $('testoRapporto').textContent = ultimo.righe.join('\n');
    }
    conserva();
  }

  async function avvia() {
    schede();
    await pronto;
    const colonne = M.colonneIngresso();
    // An input that is also an output column (the fractions, the heating value) is described as an input.
    for (const g of M.colonneUscita().concat(colonne)) descrizioni[g.nome] = g;
    caselle(colonne);
    preparaVerifica();
    const corpo = $('tabellaRisultati').tBodies[0];
    const ingressi = new Set(colonne.map((x) => x.nome));
    for (const g of M.colonneUscita()) {
      if (ingressi.has(g.nome) || !g.mostrata) continue;
      const riga = corpo.insertRow();
      const th = document.createElement('th');
      th.textContent = etichetta(g);
      riga.appendChild(th);
      riga.insertCell().id = g.nome;
    }
    await ripristina();
    for (const c of colonne) if (c.tipo === 'numero') $('variaColonna').add(new Option(c.etichetta, c.nome));
    $('variaColonna').value = 'EccessoAria';
    for (const g of M.colonneUscita()) $('variaRisultato').add(new Option(g.etichetta, g.nome));
    $('variaRisultato').value = 'TempFumi';
    document.addEventListener('keydown', vaiAvanti);
    document.addEventListener('input', scritto);
    document.addEventListener('focusout', lasciato);
    document.addEventListener('focusin', entrato);
    // A reload or a closed tab keeps the case (a box mid-edit is left on the way back).
    addEventListener('pagehide', conserva);
    for (const o of document.querySelectorAll('input[type=radio]')) o.onchange = () => scelto(o);
    // Each button leaves the box being edited first (in the module), as the forms do.
    const pulsante = (id, azione) => {
      $(id).onclick = async (e) => {
        await applica(azione(), e.currentTarget);
        conserva();
      };
    };
    pulsante('CalcolaCombustibile', () => M.sessioneCombustibile());
    pulsante('Si', () => M.sessioneSi());
    pulsante('No', () => M.sessioneStima());
    pulsante('Precedente', () => M.sessionePrecedente());
    $('Continua').onclick = async (e) => {
      if (await applica(M.sessioneLascia(), e.currentTarget)) mostra('Condizioni');
      conserva();
    };
    $('Calcola').onclick = (e) => calcola(e.currentTarget);
    $('avvisoOk').onclick = () => $('avviso').close();
    $('CalcolaVerifica').onclick = calcolaVerifica;
    $('TrovaSupporto').onclick = trovaSupporto;
    $('SalvaVerifica').onclick = async (e) => {
      if (!righeVerifica.length) await avviso(T.nessunRisultato, e.currentTarget);
      else scarica(M.byteVerifica(righeVerifica), 'verifica.txt', 'text/plain');
    };
    $('NuovoCaso').onclick = () => {
      localStorage.removeItem(Memoria);
      M.sessioneNuovo();
      for (const i of document.querySelectorAll('main input')) {
        if (i.type === 'radio') i.checked = false;
        else if (i.type !== 'file' && !i.closest('.comandi') && !i.closest('#sezioneVerifica')) i.value = '';
        i.classList.toggle('rosso', i.readOnly);
      }
      for (const c of document.querySelectorAll('#sezioneRisultati td, #tabellaVerifica td')) c.textContent = '';
      mostraAvvisi();
      $('riquadroComposizione').hidden = true;
      mostraCasella('PesoMolecolare', false);
      $('testoRapporto').textContent = '';
      $('Verdetto').textContent = '';
      $('Risposta').textContent = '';
      mostraAvvisiVerifica([]);
      righeVerifica = [];
      ultimo = null;
      mostra('Combustibile');
    };
    $('Salva').onclick = () => {
      if (!ultimo) return;
      const o = Termix54.orologio();
      scarica(M.sessioneRapporto(o.data, o.ora).rapporto, $('nomeRapporto').value + '.TXT', 'text/plain');
    };
    $('Stampa').onclick = () => window.print();
    $('Traccia').onclick = () => {
      const v = variando('');
      if (v.errore) return;
      ultimaAndamento = v.byte;
      grafico(v.righe, v.r);
    };
    $('Trova').onclick = () => {
      const v = variando($('obiettivo').value);
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
      congeda(squadra);
      squadra = null;
      preparaSquadra();
      $('Annulla').disabled = true;
      $('progresso').value = 0;
    };
    Termix54.prontoMs = performance.now();  // since navigation began
    document.body.dataset.pronto = '1';
    (window.requestIdleCallback || setTimeout)(preparaSquadra);
  }
  avvia();
})();
