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
        if (c.nota) l.title = c.nota;  // the heating value's basis, as --help says it
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

  // A dialog of the page stands next to `vicino` (when it is shown), titled as the forms' boxes.
  function accanto(d, titolo, vicino) {
    titolo.textContent = M.titoloMessaggi;
    const r = vicino && !vicino.closest('[hidden]') ? vicino.getBoundingClientRect() : null;
    d.style.top = r ? `${Math.min(r.bottom + 4, innerHeight - 160)}px` : '';
    d.style.left = r ? `${Math.max(4, Math.min(r.left, innerWidth - 340))}px` : '';
    d.classList.toggle('vicino', !!r);
  }

  // A message as the forms show one: title, text, OK; nothing else can be
  // used until it is closed. It stands next to `vicino`.
  function avviso(testo, vicino) {
    const d = $('avviso');
    $('avvisoTesto').textContent = testo;
    accanto(d, $('avvisoTitolo'), vicino);
    return new Promise((fatto) => {
      d.addEventListener('close', () => fatto(), { once: true });
      d.showModal();
      $('avvisoOk').focus();
    });
  }

  // A question with "Sì" and "No", "No" the default (Enter or Esc answer No, as
  // the forms' exit question); true for "Sì".
  function conferma(vicino) {
    const d = $('conferma');
    accanto(d, $('confermaTitolo'), vicino);
    d.returnValue = '';
    return new Promise((fatto) => {
      d.addEventListener('close', () => fatto(d.returnValue === 'si'), { once: true });
      d.showModal();
      $('confermaNo').focus();
    });
  }

  // Typing: the module takes the box's text at once; a '.' is refused there.
  function scritto(e) {
    const box = e.target;
    if (box.closest('#sezioneVerifica, #sezioneCamino') && box.id) {  // kept with the case for a reload
      M.sessioneAltro(box.id, box.value);
      conserva();
    }
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
    } else if (e.target.closest('#sezioneCamino')) {
      e.preventDefault();
      calcolaCamino();
    } else if (e.target.closest('#sezioneAndamento')) {
      if (e.target.type === 'checkbox') return;
      e.preventDefault();  // or the key would also press the message's OK
      if (e.target.id === 'obiettivo') trova(); else traccia();
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
      const sezione = c.gruppo === 'Camino' ? '#sezioneCamino' : '#sezioneVerifica';
      const gruppo = document.querySelector(`${sezione} [data-gruppo="${c.gruppo}"]`);
      if (c.gruppo !== 'Frazioni') {
        gruppo.append(l, i);
        continue;
      }
      const campo = document.createElement('div');  // a fraction: its caption over its box
      campo.append(l, i);
      gruppo.append(campo);
    }
    const corpo = $('tabellaVerifica').tBodies[0];
    let gruppo = '';
    for (const r of T.risultati) {
      if (r.gruppo !== gruppo) {  // a group's heading over its rows
        gruppo = r.gruppo;
        const th = document.createElement('th');
        th.colSpan = 2;
        th.className = 'gruppo';
        th.textContent = gruppo;
        corpo.insertRow().appendChild(th);
      }
      const riga = corpo.insertRow();
      const th = document.createElement('th');
      th.textContent = r.etichetta;
      riga.appendChild(th);
      riga.insertCell().id = r.id;
    }
    $('titoloNoteCamino').textContent = T.titoloNoteCamino;
    const camino = $('tabellaCamino').tBodies[0];
    for (const r of T.risultatiCamino) {
      const riga = camino.insertRow();
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

  // A list of sentences under its heading, hidden when empty.
  function mostraElenco(lista, riquadro, testi) {
    $(lista).replaceChildren(...testi.map((t) => {
      const li = document.createElement('li');
      li.textContent = t;
      return li;
    }));
    $(riquadro).hidden = testi.length === 0;
  }
  const mostraAvvisiVerifica = (avvisi) => mostraElenco('AvvisiVerifica', 'riquadroAvvisiVerifica', avvisi);
  const mostraNoteCamino = (note) => mostraElenco('NoteCamino', 'riquadroNoteCamino', note);

  async function calcolaVerifica() {
    const o = M.sessioneVerifica(ingressiVerifica());
    if (o.messaggio) return rifiutoVerifica(o, $('CalcolaVerifica'));  // the results stay as they were
    for (const [id, testo] of Object.entries(o.testi)) $(id).textContent = testo;
    $('Verdetto').textContent = o.verdetto;
    mostraAvvisiVerifica(o.avvisi);
    Termix54.verifica = o.valori;  // for the tests
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

  // The stack's readings on the case now on the page, with Verifica's support fuel.
  async function calcolaCamino() {
    const o = M.sessioneCamino(ingressiVerifica());
    if (o.messaggio) {  // the results stay as they were
      if (o.casella && $(o.casella).closest('#sezioneVerifica')) mostra('Verifica');
      await rifiutoVerifica(o, $('CalcolaCamino'));
      return null;
    }
    for (const [id, testo] of Object.entries(o.testi)) $(id).textContent = testo;
    mostraNoteCamino(o.note);
    Termix54.camino = o.valori;  // for the tests
    return o;
  }

  // The excess air the readings give becomes the case's, as if typed in its box.
  async function applicaEccesso(e) {
    const bottone = e.currentTarget;
    const o = await calcolaCamino();
    if (!o) return;
    if (o.eccesso === undefined) return avviso(T.nessunEccesso, bottone);
    await applica(M.sessioneDigita('EccessoAria', o.eccesso), bottone);
    conserva();
  }

  // Opened on a completed run: what each empty box stands for on this case, and the checks.
  function apriVerifica() {
    if (!ultimo || !T) return;
    const vuoti = M.sessioneSegnaposti();
    for (const c of T.campi) if (!c.scelte.length) $(c.nome).placeholder = vuoti[c.nome];
    calcolaVerifica();
  }

  // --- Andamento: the window's view model (src/vista/Andamento) on the case now on the page.
  let A = null;  // the section's lists
  const caselleAndamento = { da: 'variaDa', a: 'variaA', passo: 'variaPasso', obiettivo: 'obiettivo' };
  const intervallo = ['variaDa', 'variaA', 'variaPasso'];
  const riempiIntervallo = (testi) => intervallo.forEach((id, k) => { $(id).value = testi[k]; });

  function preparaAndamento() {
    A = M.andamentoTesti();
    for (const i of A.ingressi) $('variaColonna').add(new Option(i.titolo, i.nome));
    A.risultati.forEach((r, k) => {
      const l = document.createElement('label');
      const c = document.createElement('input');
      c.type = 'checkbox';
      c.id = 'traccia' + r.nome;
      c.checked = k === 0;
      c.onchange = disegnaAndamento;
      l.append(c, ' ' + r.etichetta);
      $('risultatiAndamento').append(l);
    });
    riempiIntervallo(M.andamentoPredefinito($('variaColonna').value));
  }

  // A refusal: the answer goes (and its mark on the chart), the message, then back to the box it names.
  async function rifiutoAndamento(o, bottone) {
    $('trovato').textContent = '';
    disegnaAndamento();
    const box = o.casella ? $(caselleAndamento[o.casella]) : null;
    await avviso(o.messaggio, box || bottone);
    if (box) {
      box.focus();
      box.select();
    }
  }

  async function traccia() {
    const o = M.andamentoTraccia($('variaColonna').value, ...intervallo.map((id) => $(id).value));
    if (o.messaggio) {
      await rifiutoAndamento(o, $('Traccia'));
      return false;
    }
    riempiIntervallo(o.testi);  // an empty box shows the default it took
    $('trovato').textContent = '';
    disegnaAndamento();
    return true;
  }

  async function trova() {
    if (!M.andamentoTracciato() && !(await traccia())) return;
    const o = M.andamentoTrova($('obiettivo').value);
    if (o.messaggio) return rifiutoAndamento(o, $('Trova'));
    $('trovato').textContent = o.frase;
    $('traccia' + A.risultati[0].nome).checked = true;  // the crossing is on the flue-gas temperature
    disegnaAndamento();
  }

  function disegnaAndamento() {
    const scelti = A.risultati.map((r) => r.nome).filter((n) => $('traccia' + n).checked);
    const g = M.andamentoGrafico(scelti);
    $('grafico').replaceChildren(...(g ? [graficoSvg(g)] : []));
    $('statoAndamento').textContent = g ? g.stato : '';
  }

  // The chart as SVG: the x axis, one y axis per unit (the first on the left),
  // ticks at round values (d3-scale's nice ticks), a gap for a stopped run,
  // the case itself, the thresholds and the crossing found, a legend below.
  function graficoSvg(g) {
    const ns = 'http://www.w3.org/2000/svg';
    const Alto = 360, Assi = 70, Tacche = 8, n = Math.max(1, g.assi.length);  // about 8 ticks an axis, the y ends on two of them
    const m = { s: 75, d: 20 + Assi * (n - 1), a: 20, b: 50 };
    const W = 640 + Assi * (n - 1);
    const voci = g.serie.map((s) => ({ testo: s.etichetta, colore: s.colore, tipo: 'linea' }));
    if (g.serie.some((s) => s.caso)) voci.push({ testo: 'Caso', colore: '#444', tipo: 'caso' });
    if (g.assi.some((a) => a.soglie.length)) voci.push({ testo: '850 e 1100 °C', colore: 'grey', tipo: 'soglia' });
    if (g.serie.some((s) => s.obiettivo)) voci.push({ testo: 'Obiettivo', colore: 'black', tipo: 'obiettivo' });
    let lx = m.s, ly = Alto + 4;
    for (const v of voci) {  // rows of legend entries, about 7 px a character
      const largo = 34 + 7 * v.testo.length;
      if (lx + largo > W - 10 && lx > m.s) { lx = m.s; ly += 20; }
      Object.assign(v, { x: lx, y: ly });
      lx += largo;
    }
    const H = ly + (voci.length ? 20 : 0);
    const svg = document.createElementNS(ns, 'svg');
    svg.setAttribute('xmlns', ns);
    svg.setAttribute('viewBox', `0 0 ${W} ${H}`);
    svg.setAttribute('width', W);
    svg.setAttribute('height', H);
    svg.setAttribute('font-family', 'sans-serif');
    const el = (tipo, attr, testo) => {
      const e = document.createElementNS(ns, tipo);
      for (const [k, v] of Object.entries(attr)) e.setAttribute(k, v);
      if (testo !== undefined) e.textContent = testo;
      svg.appendChild(e);
      return e;
    };
    const titolo = (t, u) => (u ? `${t} [${u}]` : t);
    const fondo = Alto - m.b;
    el('rect', { x: 0, y: 0, width: W, height: H, fill: 'white' });
    const X = d3.scaleLinear().domain([g.da, g.a]).range([m.s, W - m.d]);
    for (const v of X.ticks(Tacche)) {
      el('line', { x1: X(v), x2: X(v), y1: m.a, y2: fondo, stroke: '#e4e4e4' });
      el('line', { x1: X(v), x2: X(v), y1: fondo, y2: fondo + 5, stroke: 'black' });
      el('text', { x: X(v), y: fondo + 18, 'text-anchor': 'middle', 'font-size': 11, class: 'taccaX' }, M.testoNumero(v));
    }
    el('line', { x1: m.s, y1: fondo, x2: W - m.d, y2: fondo, stroke: 'black' });
    el('text', { x: (m.s + W - m.d) / 2, y: Alto - 10, 'text-anchor': 'middle', 'font-size': 13, class: 'titoloAsse' },
       titolo(g.titoloX, g.unitaX));
    // The window's rule: 5 % of room beyond what is drawn, then round ends.
    const Y = g.assi.map((a, k) => {
      let y0 = a.minimo ?? 0, y1 = a.massimo ?? 1;
      const margine = y1 > y0 ? (y1 - y0) * 0.05 : Math.max(1, Math.abs(y1) * 0.05);
      y0 -= margine;
      y1 += margine;
      const scala = d3.scaleLinear().domain([y0, y1]).nice(Tacche).range([fondo, m.a]);
      const sola = g.serie.filter((s) => s.asse === k);
      const colore = sola.length === 1 ? sola[0].colore : 'black';
      const x = k === 0 ? m.s : W - m.d + Assi * (k - 1), verso = k === 0 ? -1 : 1;
      el('line', { x1: x, x2: x, y1: m.a, y2: fondo, stroke: colore });
      for (const v of scala.ticks(Tacche)) {
        if (k === 0) el('line', { x1: m.s, x2: W - m.d, y1: scala(v), y2: scala(v), stroke: '#e4e4e4' });
        el('line', { x1: x, x2: x + 5 * verso, y1: scala(v), y2: scala(v), stroke: colore });
        el('text', { x: x + 8 * verso, y: scala(v) + 4, 'text-anchor': k === 0 ? 'end' : 'start', 'font-size': 11,
                     class: 'taccaY', 'data-asse': k }, M.testoNumero(v));
      }
      const tx = k === 0 ? 14 : x + Assi - 14, ty = (m.a + fondo) / 2;
      el('text', { x: tx, y: ty, 'text-anchor': 'middle', 'font-size': 13, class: 'titoloAsse', fill: colore,
                   transform: `rotate(${k === 0 ? -90 : 90} ${tx} ${ty})` }, titolo(a.titolo, a.unita));
      for (const t of a.soglie)
        el('line', { x1: m.s, x2: W - m.d, y1: scala(t), y2: scala(t), stroke: 'grey', 'stroke-dasharray': '6 4', class: 'soglia' });
      return scala;
    });
    for (const s of g.serie) {
      const y = Y[s.asse];
      for (const t of s.tratti) {  // one line per run of computed values: a stopped run is a gap
        const punti = [];
        for (let i = 0; i < t.length; i += 2) punti.push(`${X(t[i])},${y(t[i + 1])}`);
        el('polyline', { points: punti.join(' '), fill: 'none', stroke: s.colore, 'stroke-width': 2, class: 'linea',
                         'data-risultato': s.nome });
      }
      if (s.caso) el('circle', { cx: X(s.caso[0]), cy: y(s.caso[1]), r: 5, fill: s.colore, class: 'corrente' });
      if (s.obiettivo)
        el('rect', { x: X(s.obiettivo[0]) - 5, y: y(s.obiettivo[1]) - 5, width: 10, height: 10, fill: 'black',
                     class: 'obiettivo', 'data-x': s.obiettivo[0] });
    }
    for (const v of voci) {
      const cy = v.y + 10;
      if (v.tipo === 'caso') el('circle', { cx: v.x + 12, cy, r: 5, fill: v.colore });
      else if (v.tipo === 'obiettivo') el('rect', { x: v.x + 7, y: cy - 5, width: 10, height: 10, fill: v.colore });
      else el('line', { x1: v.x, x2: v.x + 24, y1: cy, y2: cy, stroke: v.colore, 'stroke-width': v.tipo === 'linea' ? 2 : 1,
                        'stroke-dasharray': v.tipo === 'soglia' ? '6 4' : 'none' });
      el('text', { x: v.x + 30, y: cy + 4, 'font-size': 12, class: 'voce' }, v.testo);
    }
    return svg;
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

  // The status line's numbers: thousands by '.', decimals by ','; a count
  // with its noun in the singular for 1.
  const cifre = (x, decimali = 0) => {
    const [intera, resto] = x.toFixed(decimali).split('.');
    return intera.replace(/\B(?=(\d{3})+$)/g, '.') + (resto ? ',' + resto : '');
  };
  const quante = (n, una, tante) => cifre(n) + ' ' + (n === 1 ? una : tante);
  // Rounded to `k` significant digits: an estimate shows no more than it knows.
  const tonda = (x, k) => {
    const passo = 10 ** Math.max(0, Math.floor(Math.log10(Math.max(x, 1))) + 1 - k);
    return Math.round(x / passo) * passo;
  };
  const durata = (s) => s < 9.95 ? cifre(s, 1) + ' s' : Math.round(s) < 60 ? cifre(Math.round(s)) + ' s'
    : cifre(Math.floor(Math.round(s) / 60)) + ' min ' + cifre(Math.round(s) % 60) + ' s';
  // While running: the rows back, how many the file seems to hold (from how
  // far into it they reach); then the pace over the last few seconds (the
  // first batches also wait for the team to start) and the time left at it.
  // `campioni`: the reader's reports, [time in s, rows, fraction of the file].
  function statoInCorso(campioni) {
    const [t, righe, frazione] = campioni.at(-1) || [0, 0, 0];
    if (!righe) return 'in corso…';
    const parti = [quante(righe, 'riga', 'righe') + (frazione > 0 && frazione < 1 ? ' di circa ' + cifre(Math.max(righe, tonda(righe / frazione, 2))) : '')];
    const [t0, righe0, frazione0] = campioni[0];
    if (t > t0 && righe > righe0) parti.push(cifre(tonda((righe - righe0) / (t - t0), 3)) + ' righe/s');
    if (frazione > frazione0 && frazione < 1) {
      const resta = (t - t0) * (1 - frazione) / (frazione - frazione0);
      parti.push(resta < 1 ? 'meno di 1 s alla fine' : resta < 60 ? 'circa ' + cifre(Math.ceil(resta)) + ' s alla fine'
        : 'circa ' + cifre(Math.ceil(resta / 60)) + ' min alla fine');
    }
    return parti.join(' · ');
  }
  Termix54.statoInCorso = statoInCorso;  // for the tests
  function statoFinale(esito, c, secondi) {
    if (esito === 2)
      return (c.righe ? 'errore dopo ' + quante(c.righe, 'riga', 'righe') : 'errore') + ': nessun file scaricato';
    return 'completato: ' + quante(c.righe, 'riga', 'righe') + ', ' + quante(c.completati, 'calcolata', 'calcolate') + ', ' +
      quante(c.righe - c.completati, 'fermata', 'fermate') + ', ' + cifre(c.conAvvisi) + ' con avvisi, in ' + durata(secondi);
  }
  // The run's messages, a text node each, in blocks of a few hundred lines: a
  // line more lays out its own block again, not all of them, and the blocks
  // out of sight are skipped (a run can leave a warning on every row).
  const RigheBlocco = 256;
  let bloccoMessaggi = null, righeBlocco = RigheBlocco;
  function messaggio(testo) {
    if (righeBlocco === RigheBlocco) {
      bloccoMessaggi = $('messaggiBatch').appendChild(document.createElement('div'));
      righeBlocco = 0;
    }
    bloccoMessaggi.append(testo + '\n');
    ++righeBlocco;
  }
  // A screen reader hears the line, so while running it changes once a second
  // at most; the pace is taken over the last few seconds.
  const OgniStato = 1000, Finestra = 3;

  function moltiCasi(file) {
    congeda(squadra);
    $('messaggiBatch').textContent = '';
    righeBlocco = RigheBlocco;
    $('progresso').value = 0;
    $('Annulla').disabled = false;
    $('statoBatch').textContent = statoInCorso([]);
    delete document.body.dataset.batch;
    const inizio = performance.now(), campioni = [];
    let detto = -Infinity;
    preparaSquadra();
    squadra = inAttesa;
    inAttesa = null;
    const lavoratore = squadra.lettore;
    lavoratore.onmessage = (e) => {
      const d = e.data;
      if (d.conti) {
        $('progresso').value = d.conti.frazione;
        const adesso = performance.now();
        campioni.push([(adesso - inizio) / 1000, d.conti.righe, d.conti.frazione]);
        while (campioni.length > 2 && campioni[1][0] <= campioni.at(-1)[0] - Finestra) campioni.shift();
        if (adesso - detto >= OgniStato) {
          detto = adesso;
          $('statoBatch').textContent = statoInCorso(campioni);
        }
      }
      if (d.messaggi) for (const m of d.messaggi) messaggio(m);
      if (d.fine) {
        $('progresso').value = d.esito === 2 ? d.conti?.frazione || 0 : 1;  // a failed run shows how far it got
        $('Annulla').disabled = true;
        congeda(squadra);
        squadra = null;
        Termix54.batchMs = performance.now() - inizio;  // for the benchmark
        Termix54.batchMemoria = d.memoria;
        $('statoBatch').textContent = statoFinale(d.esito, d.conti || { righe: 0 }, Termix54.batchMs / 1000);
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
    lavoratore.postMessage({ file, conserva: $('conserva').value, codifica: $('codificaCasi').value, porte }, porte);
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
    for (const [id, testo] of Object.entries(M.sessioneAltri())) {
      const box = document.querySelector(`#sezioneVerifica #${id}, #sezioneCamino #${id}`);
      if (box) box.value = testo;
    }
    preparaAndamento();
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
    $('CalcolaCamino').onclick = calcolaCamino;
    $('ApplicaEccesso').onclick = applicaEccesso;
    $('SalvaVerifica').onclick = async (e) => {
      if (!righeVerifica.length) await avviso(T.nessunRisultato, e.currentTarget);
      else scarica(M.byteVerifica(righeVerifica), 'verifica.txt', 'text/plain');
    };
    $('confermaSi').onclick = () => $('conferma').close('si');
    $('confermaNo').onclick = () => $('conferma').close('no');
    $('NuovoCaso').onclick = async (e) => {
      if (!(await conferma(e.currentTarget))) return;
      localStorage.removeItem(Memoria);
      M.sessioneNuovo();
      // Verifica's boxes are the section's settings: they stay, and stay with the new case.
      for (const box of document.querySelectorAll('#sezioneVerifica :is(input, select), #sezioneCamino :is(input, select)'))
        if (box.id) M.sessioneAltro(box.id, box.value);
      for (const i of document.querySelectorAll('main input')) {
        if (i.type === 'radio') i.checked = false;
        else if (i.type !== 'file' && !i.closest('.comandi') && !i.closest('#sezioneVerifica, #sezioneCamino')) i.value = '';
        i.classList.toggle('rosso', i.readOnly);
      }
      for (const c of document.querySelectorAll('#sezioneRisultati td, #tabellaVerifica td, #tabellaCamino td'))
        c.textContent = '';
      mostraNoteCamino([]);
      mostraAvvisi();
      $('riquadroComposizione').hidden = true;
      mostraCasella('PesoMolecolare', false);
      $('testoRapporto').textContent = '';
      $('Verdetto').textContent = '';
      $('Risposta').textContent = '';
      mostraAvvisiVerifica([]);
      righeVerifica = [];
      ultimo = null;
      M.andamentoNuovo();
      $('trovato').textContent = '';
      disegnaAndamento();
      mostra('Combustibile');
    };
    $('Salva').onclick = () => {
      if (!ultimo) return;
      const o = Termix54.orologio();
      scarica(M.sessioneRapporto(o.data, o.ora).rapporto, $('nomeRapporto').value + '.TXT', 'text/plain');
    };
    $('Stampa').onclick = () => window.print();
    $('variaColonna').onchange = () => {  // as the window's list: the input's default range, then the sweep
      riempiIntervallo(M.andamentoPredefinito($('variaColonna').value));
      traccia();
    };
    $('Traccia').onclick = traccia;
    $('Trova').onclick = trova;
    $('EsportaCsv').onclick = () => {
      const b = M.andamentoCsv();
      if (b) scarica(b, 'andamento.csv', 'text/csv');
    };
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
      $('statoBatch').textContent = 'annullato: nessun file scaricato';
    };
    // The first box of the section shown has the focus, as a form opens, unless the case restored put it elsewhere.
    if (document.activeElement === document.body) document.querySelector('.scheda:not([hidden]) input:not([readonly])')?.focus();
    Termix54.prontoMs = performance.now();  // since navigation began
    document.body.dataset.pronto = '1';
    (window.requestIdleCallback || setTimeout)(preparaSquadra);
  }
  avvia();
})();
