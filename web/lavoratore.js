'use strict';
// "Molti casi": termix54-batch on the chosen file. The page starts the worker
// before a file is chosen: the module compiles, and a warm-up run lets the
// browser finish optimising the hot code (a first run otherwise spends a
// third of its time in the baseline code). The file is read through WORKERFS
// (a regular file, as the tool sees one) 4 MB at a time: each FileReaderSync
// call is a round trip to the browser. The output gathers in an 8 MB buffer
// that becomes a Blob when full, so the worker's memory stays flat whatever
// the file's size (the Blobs live in the browser's store).
let zitto = true;  // the warm-up's messages are nobody's
const Pezzo = 4 << 20, Blocco = 8 << 20;
const sosta = new Uint8Array(Blocco);
let pieni = 0, blocchi = [];

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

const modulo = CreaTermix54({  // CreaTermix54 comes before this script
  print: (t) => zitto || postMessage({ messaggio: t }),
  printErr: (t) => zitto || postMessage({ messaggio: t }),
}).then((M) => {
  const dispositivo = M.FS.makedev(64, 0);
  M.FS.registerDevice(dispositivo, {
    open() {}, close() {}, read() { return 0; },
    write(stream, buffer, offset, length) {
      for (let da = offset, fine = offset + length; da < fine;) {
        const n = Math.min(fine - da, Blocco - pieni);
        sosta.set(buffer.subarray(da, da + n), pieni);
        pieni += n;
        da += n;
        if (pieni === Blocco) { if (!zitto) blocchi.push(new Blob([sosta])); pieni = 0; }
      }
      return length;
    },
  });
  M.FS.mkdev('/uscita', dispositivo);
  M.FS.writeFile('/riscaldamento.csv', Riscaldamento);
  M.batch('/riscaldamento.csv', '/uscita', '', '', '');
  M.FS.unlink('/riscaldamento.csv');
  pieni = 0;
  zitto = false;
  return M;
});

onmessage = async (e) => {
  const { file, conserva } = e.data;
  const M = await modulo;
  M.FS.mkdir('/ingresso');
  M.FS.mount(M.WORKERFS, { files: [file] }, '/ingresso');
  const lettore = new FileReaderSync();
  let pezzo = new Uint8Array(0), inizio = 0, ultimo = 0;
  M.WORKERFS.stream_ops.read = (stream, buffer, offset, length, position) => {
    const adesso = Date.now();
    if (adesso - ultimo > 250) { ultimo = adesso; postMessage({ progresso: position / (file.size || 1) }); }
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
    return letti;
  };
  const esito = M.batch('/ingresso/' + file.name, '/uscita', conserva, '', '');
  blocchi.push(new Blob([sosta.subarray(0, pieni)]));
  // The module's memory only grows: its size now is its peak.
  postMessage({ fine: true, esito, memoria: M.HEAPU8.length, uscita: esito === 2 ? null : new Blob(blocchi, { type: 'text/csv' }) });
};
