#!/bin/bash
# Runs a command against a CUPS server of its own: private configuration,
# spool and socket, one queue "Termix54Prova" whose backend stores every job's
# file in $TERMIX54_LAVORI, made the default. Usage: cups-prova.sh COMMAND...
# The command sees CUPS_SERVER, TERMIX54_LAVORI and TERMIX54_CUPSD_PID, with
# lpadmin and cupsdisable on the PATH (so it can change the queue or kill the server). Exit 77 when cupsd
# cannot start at all.
set -u

radice=$(mktemp -d /tmp/termix54-cups.XXXXXX) || exit 1
chmod 755 "$radice"
pid=
fine() {
    if [ -n "$pid" ]; then
        kill "$pid" 2>/dev/null
        wait "$pid" 2>/dev/null
    fi
    rm -rf "$radice"
}
trap fine EXIT
[ -n "${CUPS_PROVA_DEBUG:-}" ] && set -x

mkdir -p "$radice"/{conf,spool,cache,state,log,bin,lavori,tmp} "$radice/conf/ppd"
lavori="$radice/lavori"
chmod 1777 "$lavori" "$radice/tmp"

# Our ServerBin: the system's filters and helpers, plus our backend.
for d in /usr/lib/cups/*; do
    [ "$(basename "$d")" = backend ] || ln -s "$d" "$radice/bin/"
done
mkdir "$radice/bin/backend"
cat > "$radice/bin/backend/archivio" <<'BACKEND'
#!/bin/sh
# CUPS backend: no arguments lists the device; otherwise store the job file.
if [ $# -eq 0 ]; then
    echo 'direct archivio "Termix54" "Termix54 test archive"'
    exit 0
fi
dest="LAVORI/job-$1.tmp"
if [ $# -ge 6 ]; then cat "$6" > "$dest"; else cat > "$dest"; fi
chmod 644 "$dest"
mv "$dest" "LAVORI/job-$1.pdf"
exit 0
BACKEND
sed -i "s#LAVORI#$lavori#g" "$radice/bin/backend/archivio"
# Mode 0700 makes cupsd run the backend as root, so it can write our folder.
chmod 700 "$radice/bin/backend/archivio"

presa="$radice/cups.sock"
cat > "$radice/conf/cupsd.conf" <<CONF
Listen $presa
LogLevel warn
WebInterface No
Browsing No
DefaultAuthType None
<Location />
  Order allow,deny
  Allow all
</Location>
<Location /admin>
  Order allow,deny
  Allow all
</Location>
<Policy default>
  <Limit All>
    Order deny,allow
  </Limit>
</Policy>
CONF
utente=$(id -un)
gruppo=$(id -gn)
cat > "$radice/conf/cups-files.conf" <<CONF
ServerRoot $radice/conf
ServerBin $radice/bin
RequestRoot $radice/spool
CacheDir $radice/cache
StateDir $radice/state
TempDir $radice/tmp
DataDir /usr/share/cups
DocumentRoot /usr/share/cups/doc-root
AccessLog $radice/log/access_log
ErrorLog $radice/log/error_log
PageLog $radice/log/page_log
SystemGroup $gruppo
CONF
if [ "$(id -u)" -eq 0 ]; then
    echo "User lp" >> "$radice/conf/cups-files.conf"
    echo "Group lp" >> "$radice/conf/cups-files.conf"
else
    echo "User $utente" >> "$radice/conf/cups-files.conf"
    echo "Group $gruppo" >> "$radice/conf/cups-files.conf"
fi

export PATH="$PATH:/usr/sbin:/sbin"
cupsd=$(command -v cupsd)
if [ -z "$cupsd" ]; then
    echo "SKIP: cupsd is not installed"
    exit 77
fi
"$cupsd" -f -c "$radice/conf/cupsd.conf" -s "$radice/conf/cups-files.conf" &
pid=$!
export CUPS_SERVER="$presa"
for _ in $(seq 1 100); do
    [ -S "$presa" ] && lpstat -r >/dev/null 2>&1 && break
    if ! kill -0 "$pid" 2>/dev/null; then break; fi
    sleep 0.1
done
if ! lpstat -r >/dev/null 2>&1; then
    echo "SKIP: cupsd could not start:"
    cat "$radice/log/error_log" 2>/dev/null
    exit 77
fi

# A raw queue: the job reaches the backend as the program sent it (PDF).
if ! lpadmin -p Termix54Prova -E -v archivio:/ -m raw 2>"$radice/lpadmin.err" \
   || ! lpadmin -d Termix54Prova; then
    cat "$radice/lpadmin.err"
    cat "$radice/log/error_log"
    echo "FAIL: cannot create the test queue"
    exit 1
fi

export TERMIX54_LAVORI="$lavori" TERMIX54_CUPSD_PID="$pid"
# No user or system default may override ours.
export HOME="$radice" LPDEST= PRINTER=
unset LPDEST PRINTER
"$@"
stato=$?
if [ $stato -ne 0 ]; then
    echo "--- cupsd error_log"
    cat "$radice/log/error_log"
fi
exit $stato
