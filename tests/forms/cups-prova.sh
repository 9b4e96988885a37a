#!/bin/bash
# Runs a command against a CUPS server of its own (private configuration, spool
# and socket) with one raw queue "Termix54Prova", the default, whose backend
# stores each job's file in $TERMIX54_LAVORI. The command sees CUPS_SERVER and
# TERMIX54_LAVORI and TERMIX54_CUPSD_PID, with lpadmin and cupsdisable on the
# PATH (so it can change the queue or kill the server). Exit 77 when cupsd cannot start.
set -u
radice=$(mktemp -d /tmp/termix54-cups.XXXXXX) || exit 1
chmod 755 "$radice"
pid=
trap '[ -n "$pid" ] && kill "$pid" 2>/dev/null && wait "$pid" 2>/dev/null; rm -rf "$radice"' EXIT
mkdir -p "$radice"/{conf/ppd,spool,cache,state,log,bin/backend,lavori,tmp}
lavori="$radice/lavori"
chmod 1777 "$lavori" "$radice/tmp"
# Our ServerBin: the system's filters and helpers, plus our backend, run as
# root (mode 0700) so it can write our folder.
for d in /usr/lib/cups/*; do [ "${d##*/}" = backend ] || ln -s "$d" "$radice/bin/"; done
cat > "$radice/bin/backend/archivio" <<BACKEND
#!/bin/sh
[ \$# -eq 0 ] && { echo 'direct archivio "Termix54" "Termix54 test archive"'; exit 0; }
if [ \$# -ge 6 ]; then cat "\$6"; else cat; fi > "$lavori/job-\$1.tmp"
chmod 644 "$lavori/job-\$1.tmp" && mv "$lavori/job-\$1.tmp" "$lavori/job-\$1.pdf"
BACKEND
chmod 700 "$radice/bin/backend/archivio"
presa="$radice/cups.sock"
printf '%s\n' "Listen $presa" "LogLevel warn" "WebInterface No" "Browsing No" "DefaultAuthType None" \
    "<Location />" "Order allow,deny" "Allow all" "</Location>" "<Policy default>" "<Limit All>" \
    "Order deny,allow" "</Limit>" "</Policy>" > "$radice/conf/cupsd.conf"
utente=$(id -un) gruppo=$(id -gn)
[ "$(id -u)" -eq 0 ] && utente=lp gruppo=lp
printf '%s\n' "ServerRoot $radice/conf" "ServerBin $radice/bin" "RequestRoot $radice/spool" \
    "CacheDir $radice/cache" "StateDir $radice/state" "TempDir $radice/tmp" "DataDir /usr/share/cups" \
    "DocumentRoot /usr/share/cups/doc-root" "AccessLog $radice/log/access_log" "ErrorLog $radice/log/error_log" \
    "PageLog $radice/log/page_log" "SystemGroup $(id -gn)" "User $utente" "Group $gruppo" \
    > "$radice/conf/cups-files.conf"
export PATH="$PATH:/usr/sbin:/sbin"
cupsd=$(command -v cupsd) || { echo "SKIP: cupsd is not installed"; exit 77; }
"$cupsd" -f -c "$radice/conf/cupsd.conf" -s "$radice/conf/cups-files.conf" &
pid=$!
export CUPS_SERVER="$presa"
# lpstat -r exits 0 also before the socket exists: wait for the socket first.
for _ in $(seq 1 100); do
    [ -S "$presa" ] && lpstat -r >/dev/null 2>&1 && break
    kill -0 "$pid" 2>/dev/null || break
    sleep 0.1
done
if ! [ -S "$presa" ] || ! lpstat -r >/dev/null 2>&1; then
    echo "SKIP: cupsd could not start:"; cat "$radice/log/error_log" 2>/dev/null; exit 77
fi
if ! lpadmin -p Termix54Prova -E -v archivio:/ -m raw || ! lpadmin -d Termix54Prova; then
    cat "$radice/log/error_log"; echo "FAIL: cannot create the test queue"; exit 1
fi
# No user or system default may override ours.
export TERMIX54_LAVORI="$lavori" TERMIX54_CUPSD_PID="$pid" HOME="$radice"
unset LPDEST PRINTER
"$@"
stato=$?
[ $stato -ne 0 ] && { echo "--- cupsd error_log"; cat "$radice/log/error_log"; }
exit $stato
