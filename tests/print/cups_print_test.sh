#!/usr/bin/env bash
# Printing against a real print system: starts its own cupsd (private
# configuration, a Unix socket in a scratch folder, no systemd), adds a
# CUPS-PDF printer and makes it the default, runs the window's printing
# tests against it (Print through the dialog, Quick Print, Print Setup, page
# metrics from that printer; each printed file checked by its text and a
# picture), then stops cupsd and removes what it added. Needs root (the
# CUPS-PDF backend runs only as root) and the packages cups and
# printer-driver-cups-pdf; without them the test skips and says so.
# Usage: cups_print_test.sh <test_gui executable>
set -u
test_gui=$1

skip() { echo "SKIP: $*"; exit 77; }
for tool in cupsd lpadmin lpstat pdftotext pdftoppm; do
  command -v "$tool" >/dev/null 2>&1 || skip "$tool is not installed (scripts/setup installs cups, printer-driver-cups-pdf and poppler-utils)"
done
backend=/usr/lib/cups/backend/cups-pdf
ppd=/usr/share/ppd/cups-pdf/CUPS-PDF_opt.ppd
[ -e "$backend" ] && [ -e "$ppd" ] || skip "the CUPS-PDF printer is not installed (package printer-driver-cups-pdf)"
[ "$(id -u)" -eq 0 ] || skip "starting cupsd with the CUPS-PDF backend needs root"

scratch=$(mktemp -d)
chmod 755 "$scratch"
queue="korvo-test-$$"
# CUPS-PDF reads the settings of a queue named by its device URI from here.
queue_conf="/etc/cups/cups-pdf-$queue.conf"
cupsd_pid=""
cleanup() {
  [ -n "$cupsd_pid" ] && kill "$cupsd_pid" 2>/dev/null && wait "$cupsd_pid" 2>/dev/null
  [ -n "${KORVO_CUPS_KEEP:-}" ] && cp -r "$out" "$KORVO_CUPS_KEEP"
  rm -f "$queue_conf"
  rm -rf "$scratch"
}
trap cleanup EXIT

conf="$scratch/cups"
out="$scratch/out"
mkdir -p "$conf/ppd" "$conf/spool/tmp" "$conf/cache" "$conf/state" "$conf/log" "$out"
chmod -R 755 "$conf"
chmod 1777 "$conf/spool/tmp" "$out"
socket="$scratch/cups.sock"
cat >"$conf/cupsd.conf" <<CONF
Listen $socket
LogLevel warn
DefaultAuthType None
WebInterface No
Browsing No
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
cat >"$conf/cups-files.conf" <<CONF
ServerRoot $conf
RequestRoot $conf/spool
TempDir $conf/spool/tmp
CacheDir $conf/cache
StateDir $conf/state
AccessLog $conf/log/access_log
ErrorLog $conf/log/error_log
PageLog $conf/log/page_log
ServerBin /usr/lib/cups
DataDir /usr/share/cups
SystemGroup root
CONF
cat >"$queue_conf" <<CONF
Out $out
AnonDirName $out
Spool $conf/spool/tmp
Grp root
Log $conf/log
CONF

cupsd -f -c "$conf/cupsd.conf" -s "$conf/cups-files.conf" &
cupsd_pid=$!
export CUPS_SERVER="$socket"
# lpstat -r exits 0 whether or not the scheduler answers; only its text
# tells, so wait for that (up to 20 s on a loaded machine).
scheduler_up() { [ "$(LC_ALL=C lpstat -r 2>/dev/null)" = "scheduler is running" ]; }
for i in $(seq 200); do scheduler_up && break; kill -0 "$cupsd_pid" 2>/dev/null || break; sleep 0.1; done
scheduler_up || { echo "FAIL: cupsd did not start"; cat "$conf/log/error_log" 2>/dev/null; exit 1; }

lpadmin -p "$queue" -E -v "cups-pdf:/$queue" -P "$ppd" || { echo "FAIL: lpadmin could not add the printer"; exit 1; }
# Ghostscript turns the page into PostScript with its fonts intact, so the
# printed file keeps its text.
lpadmin -p "$queue" -o pdftops-renderer-default=gs
lpadmin -d "$queue"
[ "$(lpstat -d | sed 's/.*: //')" = "$queue" ] || { echo "FAIL: $queue is not the default printer"; lpstat -d; exit 1; }

mkdir -p "$scratch/home"
HOME="$scratch/home" XDG_CONFIG_HOME="$scratch/home/.config" KORVO_CUPS_PRINTER="$queue" KORVO_CUPS_OUT="$out" QT_QPA_PLATFORM=offscreen \
  "$test_gui" --gtest_filter='CupsPrinting.*'
status=$?
if [ $status -ne 0 ]; then
  echo "--- cupsd error log"
  tail -n 40 "$conf/log/error_log" 2>/dev/null
fi
exit $status
