# LEGGIMI.txt for the Windows ZIP: a few lines on how to start, then the
# tool's own --help, as UTF-8 with its mark and CRLF line ends (Notepad).
#   cmake -DEMULATORE=... -DPROGRAMMA=... -DUSCITA=... -P Leggimi.cmake
execute_process(COMMAND ${EMULATORE} ${PROGRAMMA} --help
                OUTPUT_VARIABLE aiuto RESULT_VARIABLE esito)
if(NOT esito EQUAL 0 OR NOT aiuto MATCHES "^Uso: termix54-batch")
  message(FATAL_ERROR "${PROGRAMMA} --help: ${esito}")
endif()
set(testo "Termix54 - calcolo in serie (termix54-batch.exe)

termix54-batch.exe calcola, dal Prompt dei comandi, ogni riga di un file CSV
come la calcolerebbero le maschere di Termix54. Per provarlo, nella cartella
dove si è estratto questo archivio:

  termix54-batch.exe esempio.csv -o risultati.csv --rapporti rapporti

esempio.csv è scritto come lo salva un foglio di calcolo con le impostazioni
italiane (separatore ';', virgola decimale, Windows-1252); risultati.csv si
apre con lo stesso foglio di calcolo. Quello che segue è il testo di
termix54-batch.exe --help.

${aiuto}")
string(REPLACE "\r\n" "\n" testo "${testo}")
string(REPLACE "\n" "\r\n" testo "${testo}")
string(ASCII 239 187 191 marchio)
file(WRITE ${USCITA} "${marchio}${testo}")
