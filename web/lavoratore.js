'use strict';
// "Molti casi": termix54-batch on the chosen file. The module compiles as the
// worker starts, before a file is chosen. The file is read through WORKERFS
// (a regular file, as the tool sees one) 4 MB at a time: each FileReaderSync
// call is a round trip to the browser. The output gathers in an 8 MB buffer
// that becomes a Blob when full, so the worker's memory stays flat whatever
// the file's size (the Blobs live in the browser's store, on disk if need be).
const modulo = CreaTermix54({  // CreaTermix54 comes before this script
  print: (t) => postMessage({ messaggio: t }),
  printErr: (t) => postMessage({ messaggio: t }),
});
const Pezzo = 4 << 20, Blocco = 8 << 20;

onmessage = async (e) => {
  const { file, conserva } = e.data;
  const M = await modulo;
  const blocchi = [];
  const sosta = new Uint8Array(Blocco);
  let pieni = 0;
  const dispositivo = M.FS.makedev(64, 0);
  M.FS.registerDevice(dispositivo, {
    open() {}, close() {}, read() { return 0; },
    write(stream, buffer, offset, length) {
      for (let da = offset, fine = offset + length; da < fine;) {
        const n = Math.min(fine - da, Blocco - pieni);
        sosta.set(buffer.subarray(da, da + n), pieni);
        pieni += n;
        da += n;
        if (pieni === Blocco) { blocchi.push(new Blob([sosta])); pieni = 0; }
      }
      return length;
    },
  });
  M.FS.mkdev('/uscita', dispositivo);
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
