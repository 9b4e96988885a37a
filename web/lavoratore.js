'use strict';
// "Molti casi": termix54-batch on the chosen file, shared by a team of
// workers. The reader reads the file and cuts it into batches of records; the
// others compute the batches (elaboraLotto) and send the results back through
// their ports; the reader takes their messages and passes their output lines
// on, in order, without copying them.
// The page starts the team before a file is chosen: the module compiles, and
// a warm-up run lets the browser finish optimising the hot code (a first run
// otherwise spends a third of its time in the baseline code).
// The reader reads the file through WORKERFS (a regular file, as the tool
// sees one) 16 MB at a time: each FileReaderSync call is a round trip to the
// browser, and a file that fits is read once for its encoding and its records
// both. The output streams into a Blob, which the browser moves to disk as it
// grows; while the stream is full no batch goes out, so memory stays bounded
// whatever the file's size.
let zitto = true;  // the warm-up's messages are nobody's
const Pezzo = 16 << 20, RecordPerLotto = 512, Avanti = 2;

// Fuels of every kind, as a generated file has them, some ten thousand times.
const Riscaldamento = 'Impianto;Combustibile;Tipo;Composizione;PortataComb;AtomiC;AtomiH;AtomiO;AtomiCl;AtomiS;AtomiN;' +
  'FrazC;FrazH;FrazO;FrazCl;FrazS;FrazN;Inerti;Acqua;PotereCalorifico;EccessoAria;TempAria;UmiditaRelativa;' +
  'TempCeneri;Dispersioni\r\n' + [
  'A;solvente;Altri;Atomica;4256,6;4;15;0;0;0;0;;;;;;;0,092;0,145;;80,9;-9,6;54;128;8,5',
  'A;rifiuto;Altri;Ponderale;2503,6;;;;;;;0,3383;0,1193;0,0861;0,0000;0,0187;0,0113;0,148;0,093;5778;86,2;38,9;10;36;7,6',
  'A;gas naturale;Metano;;3256,8;;;;;;;;;;;;;0,000;0,000;;57,7;18,0;71;64;2,3',
  '"B; rotativo";solvente;Altri;Atomica;626,5;1;11;0;1;1;0;;;;;;;0,136;0,071;10112;62,4;7,1;42;509;1,1',
  'C;solvente;Altri;Atomica;1579,6;2;3;2;1;1;1;;;;;;;0,017;0,078;;29,3;16,0;61;395;1,8',
].join('\r\n').concat('\r\n').repeat(2000);

// The messages go to the page in bunches, with the next post or at the end of
// the step that said them: a run can leave a warning on every row.
let detti = [];
const di = (t) => {
  if (zitto) return;
  if (!detti.length) queueMicrotask(() => detti.length && manda({}));
  detti.push(t);
};
const manda = (m) => {
  if (detti.length) { m.messaggi = detti; detti = []; }
  postMessage(m);
};

const modulo = CreaTermix54({  // CreaTermix54 comes before this script
  print: di,
  printErr: di,
}).then((M) => {
  const dispositivo = M.FS.makedev(64, 0);
  M.FS.registerDevice(dispositivo, { open() {}, close() {}, read() { return 0; }, write: (s, b, o, n) => n });
  M.FS.mkdev('/scarto', dispositivo);
  M.FS.writeFile('/riscaldamento.csv', Riscaldamento);
  M.batch('/riscaldamento.csv', '/scarto', '', '', '');
  M.FS.unlink('/riscaldamento.csv');
  zitto = false;
  return M;
});

// A fault of ours, said under the bar.
const interno = (errore) => di('termix54-batch: errore interno: ' + errore);

onmessage = async (e) => {
  const M = await modulo;
  if (e.data.porta) return calcola(M, e.data.porta);
  try {
    manda(await leggi(M, e.data));
  } catch (errore) {  // the run ends as a failed one
    interno(errore);
    manda({ fine: true, esito: 2, memoria: M.HEAPU8.length, uscita: null });
  }
};

// A computing worker: a batch in, its result out, both through the port. The
// header comes with the first batch.
function calcola(M, porta) {
  porta.onmessage = (e) => {
    const { n, lotto } = e.data;
    try {
      if (e.data.testa) M.testaLotti(e.data.testa);
      M.areaLotto(lotto.length).set(lotto);
      const r = M.elaboraLotto();
      r.n = n;
      porta.postMessage(r, [r.esito.buffer, r.righe.buffer]);
    } catch (errore) {
      porta.postMessage({ n, guasto: String(errore) });
    }
  };
}

// The reader: the file in, batches out to the ports, their results taken in
// order, the output streamed into a Blob. Its last message for the page.
async function leggi(M, { file, conserva, codifica, porte }) {
  M.FS.mkdir('/ingresso');
  M.FS.mount(M.WORKERFS, { files: [file] }, '/ingresso');
  const lettore = new FileReaderSync();
  let pezzo = new Uint8Array(0), inizio = 0, letto = 0;
  M.WORKERFS.stream_ops.read = (stream, buffer, offset, length, position) => {
    let letti = 0;
    while (letti < length && position < file.size) {
      if (position < inizio || position >= inizio + pezzo.length) {
        inizio = position - (position % Pezzo);
        pezzo = new Uint8Array(lettore.readAsArrayBuffer(file.slice(inizio, inizio + Pezzo)));
      }
      const n = Math.min(length - letti, inizio + pezzo.length - position);
      buffer.set(pezzo.subarray(position - inizio, position - inizio + n), offset + letti);
      letti += n;
      position += n;
    }
    letto = position;
    return letti;
  };

  let riprendi = () => {}, flusso;
  const uscita = new Response(new ReadableStream({
    start(c) { flusso = c; },
    pull() { riprendi(); },
  }, new ByteLengthQueuingStrategy({ highWaterMark: 32 << 20 }))).blob();
  const b = new M.LottiPagina('/ingresso/' + file.name, conserva, codifica, RecordPerLotto);
  const squadra = porte.map((porta) => ({ porta, fuori: 0, testa: false }));
  const fatti = new Map();
  let inviati = 0, scritti = 0, finiti = false, ok = true, finito;
  // The rows back so far by outcome, and how far into the file they reach,
  // for the page's status line (four times a second at most). The reading
  // goes a block at a time: a batch's last record is put as far into the
  // bytes of the block it came from as it is into the block's records.
  const conti = { righe: 0, completati: 0, conAvvisi: 0, frazione: 0 }, finoA = new Map();
  const blocco = { da: 0, a: 0, primo: 0, ultimo: 0 };
  let detto = 0, mandati = 0;
  const tutti = new Promise((r) => { finito = r; });
  // A fault of ours (a worker's, or the module's here): said, and the run ends
  // at once as a failed one, the results still out dropped.
  const guasto = (errore) => {
    interno(errore);
    ok = false;
    finito();
  };
  // The results back in order, their lines on to the stream; then batches out
  // to each worker with room, while the stream has room too.
  const rifornisci = () => {
    while (fatti.has(scritti)) {
      const { esito, righe, record, completati, conAvvisi } = fatti.get(scritti);
      b.area(esito.length).set(esito);
      b.rientra();
      flusso.enqueue(righe);
      conti.righe += record;
      conti.completati += completati;
      conti.conAvvisi += conAvvisi;
      conti.frazione = finoA.get(scritti) / (file.size || 1);
      finoA.delete(scritti);
      fatti.delete(scritti++);
      const adesso = performance.now();
      if (adesso - detto >= 250) { detto = adesso; manda({ conti }); }
    }
    for (const c of squadra) {
      while (!finiti && c.fuori < Avanti && flusso.desiredSize > 0) {
        const prima = letto, primo = b.letti();
        const lotto = b.prossimo();
        if (lotto.length === 0) { finiti = true; break; }
        if (letto !== prima) Object.assign(blocco, { da: prima, a: letto, primo, ultimo: b.letti() });
        mandati = Math.min(mandati + RecordPerLotto, blocco.ultimo);
        if (inviati === 0) flusso.enqueue(b.inizio());
        finoA.set(inviati, blocco.da + (blocco.a - blocco.da) * (mandati - blocco.primo) / Math.max(1, blocco.ultimo - blocco.primo));
        const m = { n: inviati++, lotto };
        if (!c.testa) { m.testa = b.testa(); c.testa = true; }
        c.porta.postMessage(m, [lotto.buffer]);
        ++c.fuori;
      }
    }
    if (finiti && scritti === inviati) finito();
  };
  // Once at a time: the stream asks for more (pull) from inside an enqueue.
  let dentro = false, ancora = false;
  const avanti = () => {
    if (!ok) return;
    if (dentro) { ancora = true; return; }
    dentro = true;
    try {
      do {
        ancora = false;
        rifornisci();
      } while (ancora && ok);
    } catch (errore) {
      guasto(errore);
    } finally {
      dentro = false;
    }
  };
  riprendi = avanti;
  for (const c of squadra) {
    c.porta.onmessage = (e) => {
      --c.fuori;
      if (e.data.guasto) return ok && guasto(e.data.guasto);
      fatti.set(e.data.n, e.data);
      avanti();
    };
  }
  avanti();
  await tutti;
  for (const c of squadra) c.porta.onmessage = null;
  if (ok && inviati === 0) flusso.enqueue(b.inizio());  // a header and no records, or nothing
  let esito = ok ? b.termina() : 2;
  b.delete();
  flusso.close();
  let blob = null;
  try {
    blob = await uscita;
  } catch (errore) {
    di('termix54-batch: impossibile scrivere l\'uscita: ' + errore.message);
    esito = 2;
  }
  // The module's memory only grows: its size now is its peak.
  // Exit status 2 (no header, a bad one, a fault) leaves nothing to download,
  // whatever was written before it; nor is an empty file ever one.
  return { fine: true, esito, conti, memoria: M.HEAPU8.length, uscita: esito === 2 || !blob?.size ? null : blob };
}
