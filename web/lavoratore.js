'use strict';
// "Molti casi": termix54-batch on the chosen file, read through WORKERFS (a
// regular file, as the tool sees one) and written into an output device
// whose bytes go into Blobs a few MB at a time, so the heap stays small.
onmessage = async (e) => {
  const { file, conserva } = e.data;  // CreaTermix54 comes before this script
  const M = await CreaTermix54({
    print: (t) => postMessage({ messaggio: t }),
    printErr: (t) => postMessage({ messaggio: t }),
  });
  const blocchi = [];
  let parti = [], inParti = 0;
  const dispositivo = M.FS.makedev(64, 0);
  M.FS.registerDevice(dispositivo, {
    open() {}, close() {}, read() { return 0; },
    write(stream, buffer, offset, length) {
      parti.push(buffer.slice(offset, offset + length));
      inParti += length;
      if (inParti > (8 << 20)) { blocchi.push(new Blob(parti)); parti = []; inParti = 0; }
      return length;
    },
  });
  M.FS.mkdev('/uscita', dispositivo);
  M.FS.mkdir('/ingresso');
  M.FS.mount(M.WORKERFS, { files: [file] }, '/ingresso');
  const leggi = M.WORKERFS.stream_ops.read;
  let ultimo = 0;
  M.WORKERFS.stream_ops.read = function (stream, buffer, offset, length, position) {
    const adesso = Date.now();
    if (adesso - ultimo > 200) { ultimo = adesso; postMessage({ progresso: position / (file.size || 1) }); }
    return leggi.call(this, stream, buffer, offset, length, position);
  };
  const esito = M.batch('/ingresso/' + file.name, '/uscita', conserva, '', '');
  blocchi.push(new Blob(parti));
  postMessage({ fine: true, esito, uscita: esito === 2 ? null : new Blob(blocchi, { type: 'text/csv' }) });
};
