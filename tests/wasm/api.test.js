// The browser module's API under node: refusals, and 2,000 generated records against the native batch tool (values,
// reports' bytes, the page's steps). Env: TERMIX54_MODULO (termix54-node.js), TERMIX54_BATCH, TERMIX54_GENERA (genera_csv).
'use strict';
const test = require('node:test');
const assert = require('node:assert');
const fs = require('node:fs'), os = require('node:os'), path = require('node:path');
const { execFileSync } = require('node:child_process');

const modulo = require(process.env.TERMIX54_MODULO)();
const cartella = fs.mkdtempSync(path.join(os.tmpdir(), 'termix54-wasm-'));
// The browser's exp, log and pow against the C library's, measured on the 2,000 records below: 7 cells of 122,000
// differ, by at most 6 units in the last place.
const UlpMassimi = 6;
const Metano = { Impianto: 'Impianto Nord', Tipo: 'Metano', PortataComb: 100, EccessoAria: 20, TempAria: 20,
                 UmiditaRelativa: 50, TempCeneri: 20, Dispersioni: 5 };

test('refusals and unusable columns', { timeout: 30000 }, async () => {
  const M = await modulo;
  const casi = [
    // No flow, no heat: the heating value check, then the run's stop.
    [{ ...Metano, PortataComb: 0 }, 'Combustibile con inadeguato potere calorifico ! | Verificare che gli input siano corretti !'],
    [{ ...Metano, EccessoAria: 'venti' }, 'Usare i numeri !'],
    // A formula with no atoms.
    [{ Tipo: 'Altri', Composizione: 'Atomica', PortataComb: 100 }, 'Verificare che gli input siano corretti !'],
  ];
  for (const [record, atteso] of casi) {
    const c = M.caso(record, ',', null, null);
    assert.deepStrictEqual([c.risultato.Esito, c.risultato.TempFumi, c.rapporto], [atteso, null, undefined],
                           JSON.stringify(record));
  }
  assert.throws(() => M.caso({ EcessoAria: 20 }, ',', null, null), /forse EccessoAria/);
});

// The record typed on the page as a user goes: the choices, each box filled and left, the fuel's "Calcola", the
// heating value typed or "No" for another fuel, the conditions' "Calcola". The messages shown, and the report.
function comeUtente(M, record) {
  M.sessioneNuovo();
  const messaggi = [];
  const passo = (esito) => {
    for (const e of esito.effetti) if (e.tipo === 'messaggio') messaggi.push(e.testo);
    return esito.completato;
  };
  // Into the box, typed, left: no message on the way.
  const scrivi = (nome) => {
    M.sessioneEntra(nome);
    passo(M.sessioneScrive(nome, String(record[nome])));
    return passo(M.sessioneLascia());
  };
  const lascia = (nome) => record[nome] && assert.ok(scrivi(nome), nome);
  for (const [nome, v] of Object.entries(record)) {
    if (nome === 'Tipo' || nome === 'Composizione') v && passo(M.sessioneScelta(nome + v));
    else if (nome === 'Impianto' || nome === 'Combustibile') scrivi(nome);
    else if (nome !== 'PotereCalorifico' && !Condizioni.includes(nome)) lascia(nome);
  }
  let fatto = passo(M.sessioneCombustibile());
  if (fatto && record.PotereCalorifico) lascia('PotereCalorifico');
  else if (fatto && record.Tipo === 'Altri') fatto = passo(M.sessioneStima());
  Condizioni.forEach(lascia);
  fatto = fatto && passo(M.sessioneCalcolo());
  return { messaggi: messaggi.join(' | '), rapporto: fatto ? M.sessioneRapporto('-', '-').rapporto : undefined };
}
const Condizioni = ['EccessoAria', 'TempAria', 'UmiditaRelativa', 'TempCeneri', 'Dispersioni'];

// Cells that differ between the two tools: their count, and the largest distance in units of the last place.
function confronta(nativo, web) {
  const a = nativo.split('\r\n'), b = web.split('\r\n');
  assert.strictEqual(a.length, b.length);
  let diversi = 0, ulpMax = 0;
  const buf = new DataView(new ArrayBuffer(16));
  for (let i = 0; i < a.length; ++i) {
    if (a[i] === b[i]) continue;
    const x = a[i].split(';'), y = b[i].split(';');
    assert.strictEqual(x.length, y.length, `riga ${i}`);
    for (let k = 0; k < x.length; ++k) {
      if (x[k] === y[k]) continue;
      const u = Number(x[k].replace(',', '.')), v = Number(y[k].replace(',', '.'));
      assert.ok(Number.isFinite(u) && Number.isFinite(v), `riga ${i} campo ${k}: ${x[k]} / ${y[k]}`);
      buf.setFloat64(0, u); buf.setFloat64(8, v);
      const d = buf.getBigInt64(0) - buf.getBigInt64(8);
      ulpMax = Math.max(ulpMax, Number(d < 0n ? -d : d)), ++diversi;
    }
  }
  return { diversi, ulpMax };
}

test('2,000 generated records: the batch tool\'s output, reports\' texts equal', { timeout: 120000 }, async () => {
  const M = await modulo;
  const ingresso = path.join(cartella, 'casi.csv');
  fs.writeFileSync(ingresso, execFileSync(process.env.TERMIX54_GENERA, ['2000', ';', 'cloro']));
  const nativo = path.join(cartella, 'nativo.csv');
  execFileSync(process.env.TERMIX54_BATCH, [ingresso, '-o', nativo, '--rapporti', path.join(cartella, 'rapporti')]);
  M.FS.writeFile('/casi.csv', fs.readFileSync(ingresso));
  assert.strictEqual(M.batch('/casi.csv', '/uscita.csv', '', '', ''), 0);
  const web = Buffer.from(M.FS.readFile('/uscita.csv')).toString('latin1');
  const { diversi, ulpMax } = confronta(fs.readFileSync(nativo, 'latin1'), web);
  console.log(`# celle diverse dal nativo: ${diversi}, al piu' ${ulpMax} ulp (limite ${UlpMassimi})`);
  assert.ok(ulpMax <= UlpMassimi, `${ulpMax} ulp`);

  // Every displayed text: the report of each completed record, but for its date and time lines.
  const righe = fs.readFileSync(ingresso, 'latin1').split(/\r?\n/).filter((r) => r.trim());
  const nomi = righe[0].split(';');
  let rapporti = 0;
  for (let i = 1; i < righe.length; ++i) {
    if (righe[i].includes('"')) continue;  // quoted names: the rest are enough
    const record = {}, digitato = {};
    righe[i].split(';').forEach((v, k) => { record[nomi[k]] = k < 4 ? v : v.replace(',', '.'); digitato[nomi[k]] = v; });
    const c = M.caso(record, ',', '-', '-');
    assert.deepStrictEqual(M.risultato(record, ','), c.risultato);
    // The page's steps give what the tool gives.
    const u = comeUtente(M, digitato);
    assert.deepStrictEqual([u.messaggi || 'OK', u.rapporto], [c.risultato.Esito, c.rapporto], `riga ${i}`);
    const file = path.join(cartella, 'rapporti', `${i}.TXT`);
    assert.strictEqual(fs.existsSync(file), !!c.completato, file);
    if (!c.completato) continue;
    const atteso = fs.readFileSync(file, 'latin1').split('\r\n'), ottenuto = Buffer.from(c.rapporto).toString('latin1').split('\r\n');
    atteso.splice(2, 2); ottenuto.splice(2, 2);
    assert.deepStrictEqual(ottenuto, atteso, `riga ${i}`);
    ++rapporti;
  }
  assert.ok(rapporti > 1000, `${rapporti}`);
});

test('--obiettivo as the tool runs it; a usage error', { timeout: 60000 }, async () => {
  const M = await modulo;
  const ingresso = path.join(cartella, 'uno.csv'), nativo = path.join(cartella, 'obiettivo.csv');
  fs.writeFileSync(ingresso, 'Tipo;PortataComb;EccessoAria;TempAria;UmiditaRelativa\r\nMetano;100;20;20;50\r\n');
  execFileSync(process.env.TERMIX54_BATCH, [ingresso, '-o', nativo, '--variando', 'EccessoAria=0:200:2,5', '--obiettivo', '1100']);
  M.FS.writeFile('/uno.csv', fs.readFileSync(ingresso));
  assert.strictEqual(M.batch('/uno.csv', '/obiettivo.csv', '', 'EccessoAria=0:200:2,5', '1100'), 0);
  const { ulpMax } = confronta(fs.readFileSync(nativo, 'latin1'), Buffer.from(M.FS.readFile('/obiettivo.csv')).toString('latin1'));
  assert.ok(ulpMax <= UlpMassimi, `${ulpMax} ulp`);
  assert.strictEqual(M.batch('/uno.csv', '/no.csv', '', 'Nessuna=0:1:1', ''), 2);  // nothing written
  assert.ok(!M.FS.analyzePath('/no.csv').exists);
});
